// A document-monitor library for the fuzz target: it accepts every call,
// hands out fixed ids, and stops the run when a record arrives with a text
// that does not end inside its field.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "callconv.h"
#include "jobwatch_record.h"

namespace {

template <size_t N>
void MustEnd(const char (&field)[N]) {
    if (!std::memchr(field, 0, N)) std::abort();
}

}  // namespace

#define ACCEPT(name) \
    FAX_EXPORT int32_t FAXAPI name(uintptr_t) { return 1; }

extern "C" {

FAX_EXPORT uintptr_t FAXAPI QjwInitializeJobwatch(int32_t) { return 0x51; }
FAX_EXPORT int32_t FAXAPI QjwCreateClientId(uintptr_t, char* out) {
    std::strcpy(out, "CLIENT7");
    return 1;
}
FAX_EXPORT int32_t FAXAPI QjwCreateJobId(uintptr_t, char* out) {
    std::strcpy(out, "JOB42");
    return 1;
}
ACCEPT(QjwUnInitializeJobwatch)
ACCEPT(QjwExecJobwatch)
ACCEPT(QjwSetGroupStyle)
ACCEPT(QjwSetJobId)
ACCEPT(QjwSetDestinationCount)
ACCEPT(QjwSetPortName)
ACCEPT(QjwSetFriendlyName)
ACCEPT(QjwSetParamStyle)
ACCEPT(QjwExecJobwatchPreferences)
ACCEPT(QjwSetJobDestinations)
ACCEPT(QjwExecJobwatchWithStatus)
ACCEPT(QjwExecJobwatchPreferencesWithStatus)

FAX_EXPORT int32_t FAXAPI QjwSetQjwData(uintptr_t, void*) { return 1; }

FAX_EXPORT int32_t FAXAPI QjwSetQjwDataEx(uintptr_t, void* record) {
    const auto* d = static_cast<const JobwatchData*>(record);
    const JobwatchEntry& e = d->entry;
    if (d->headerSize != kJobwatchHeaderSize || e.entrySize != kJobwatchEntrySize) std::abort();
    MustEnd(d->portName);
    MustEnd(d->printerName);
    MustEnd(d->userName);
    MustEnd(e.portName);
    MustEnd(e.jobId);
    MustEnd(e.documentName);
    MustEnd(e.recipientDisplay);
    MustEnd(e.numberDisplay);
    MustEnd(e.trayName);
    return 1;
}

}  // extern "C"
