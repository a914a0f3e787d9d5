#include "jobwatch_record.h"

#include <cstring>

JobwatchEntryRef MakeEntryRef(const void* record, size_t offset) {
#if UINTPTR_MAX == 0xFFFFFFFFu
    return static_cast<JobwatchEntryRef>(reinterpret_cast<uintptr_t>(record) + offset);
#else
    (void)record;
    return static_cast<JobwatchEntryRef>(offset);
#endif
}

void InitJobwatchData(JobwatchData* data) {
    std::memset(data, 0, sizeof *data);
    data->headerSize = kJobwatchHeaderSize;
    data->entryCount = 1;
    data->field8 = 3;
    data->field12 = 11;
    data->firstEntry = MakeEntryRef(data, offsetof(JobwatchData, entry));
    data->entry.entrySize = kJobwatchEntrySize;
}

size_t JobwatchCompactSize(int32_t entryCount) {
    size_t n = entryCount > 0 ? static_cast<size_t>(entryCount) : 0;
    return sizeof(JobwatchCompactHeader) + n * sizeof(JobwatchCompactEntry);
}

namespace {

// Copies a fixed text field into one of the same size, always terminated.
template <size_t N>
void CopyField(char (&to)[N], const char (&from)[N]) {
    std::memcpy(to, from, N - 1);
    to[N - 1] = '\0';
}

}  // namespace

int32_t BuildJobwatchCompact(const JobwatchData& data, void* out, size_t outSize) {
    // The record holds one entry whatever its count field says.
    int32_t count = data.entryCount > 0 ? 1 : 0;
    if (!out || outSize < JobwatchCompactSize(count)) return -1;
    std::memset(out, 0, JobwatchCompactSize(count));

    JobwatchCompactHeader header{};
    header.entryCount = count;
    header.kind = data.field8 == 3 ? 2 : 0;
    header.field8 = data.field12;
    CopyField(header.portName, data.portName);
    CopyField(header.printerName, data.printerName);
    header.firstEntry = MakeEntryRef(out, sizeof header);
    std::memcpy(out, &header, sizeof header);
    if (count == 0) return 0;

    const JobwatchEntry& e = data.entry;
    JobwatchCompactEntry c{};
    c.entrySize = kJobwatchCompactEntrySize;
    c.kindFlag = e.isFax == 6 ? 1 : 0;
    c.submitTime = e.submitTime;
    CopyField(c.portName, e.portName);
    CopyField(c.jobId, e.jobId);
    CopyField(c.documentName, e.documentName);
    CopyField(c.recipientDisplay, e.recipientDisplay);
    CopyField(c.numberDisplay, e.numberDisplay);
    std::memcpy(static_cast<char*>(out) + sizeof header, &c, sizeof c);
    return count;
}
