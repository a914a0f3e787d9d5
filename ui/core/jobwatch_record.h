#pragma once
// The job description handed to the document monitor, in its full form and
// in the compact form older monitor libraries take. Both are read by a
// separately built library, so every layout is fixed on every build.

#include <cstddef>
#include <cstdint>

constexpr int32_t kJobwatchHeaderSize = 600;
constexpr int32_t kJobwatchEntrySize = 812;
constexpr int32_t kJobwatchCompactHeaderSize = 532;
constexpr int32_t kJobwatchCompactEntrySize = 660;
constexpr int kJobwatchPortSize = 260;
constexpr int kJobwatchPrinterSize = 256;
constexpr int kJobwatchUserSize = 64;
constexpr int kJobwatchJobIdSize = 64;
constexpr int kJobwatchDocSize = 260;
constexpr int kJobwatchDisplaySize = 32;
constexpr int kJobwatchTraySize = 80;

// The entry reference is a 4-byte field. On the 32-bit product it holds
// the entry's address; a 64-bit build cannot put an address there and
// stores the entry's byte offset from the record start instead, which
// locates the same entry inside the one block the record is.
typedef uint32_t JobwatchEntryRef;

struct JobwatchEntry {
    int32_t entrySize;      // 812
    int32_t isFax;          // 1 fax job, 0 print job
    int32_t submitTime;     // seconds since 1 January 1970
    char portName[kJobwatchPortSize];
    char jobId[kJobwatchJobIdSize];
    char documentName[kJobwatchDocSize];
    char recipientDisplay[kJobwatchDisplaySize];
    char numberDisplay[kJobwatchDisplaySize];
    int32_t outputOption;   // print jobs: host outputOption > 0
    int32_t zero;
    char empty[64];
    char trayName[kJobwatchTraySize];
};
static_assert(sizeof(JobwatchEntry) == 812, "JobwatchEntry size");
static_assert(offsetof(JobwatchEntry, submitTime) == 8, "submitTime");
static_assert(offsetof(JobwatchEntry, portName) == 12, "entry portName");
static_assert(offsetof(JobwatchEntry, jobId) == 272, "jobId");
static_assert(offsetof(JobwatchEntry, documentName) == 336, "documentName");
static_assert(offsetof(JobwatchEntry, recipientDisplay) == 596, "recipientDisplay");
static_assert(offsetof(JobwatchEntry, numberDisplay) == 628, "numberDisplay");
static_assert(offsetof(JobwatchEntry, outputOption) == 660, "outputOption");
static_assert(offsetof(JobwatchEntry, zero) == 664, "zero");
static_assert(offsetof(JobwatchEntry, empty) == 668, "empty");
static_assert(offsetof(JobwatchEntry, trayName) == 732, "trayName");

struct JobwatchData {
    int32_t headerSize;     // 600
    int32_t entryCount;     // 1
    int32_t field8;         // 3
    int32_t field12;        // 11
    char portName[kJobwatchPortSize];
    char printerName[kJobwatchPrinterSize];
    char userName[kJobwatchUserSize];
    JobwatchEntryRef firstEntry;
    JobwatchEntry entry;
};
static_assert(sizeof(JobwatchData) == 1412, "JobwatchData size");
static_assert(offsetof(JobwatchData, field8) == 8, "field8");
static_assert(offsetof(JobwatchData, field12) == 12, "field12");
static_assert(offsetof(JobwatchData, portName) == 16, "portName");
static_assert(offsetof(JobwatchData, printerName) == 276, "printerName");
static_assert(offsetof(JobwatchData, userName) == 532, "userName");
static_assert(offsetof(JobwatchData, firstEntry) == 596, "firstEntry");
static_assert(offsetof(JobwatchData, entry) == 600, "entry");

struct JobwatchCompactEntry {
    int32_t entrySize;      // 660
    int32_t kindFlag;       // 1 for entry kind 6, else 0
    int32_t submitTime;
    char portName[kJobwatchPortSize];
    char jobId[kJobwatchJobIdSize];
    char documentName[kJobwatchDocSize];
    char recipientDisplay[kJobwatchDisplaySize];
    char numberDisplay[kJobwatchDisplaySize];
};
static_assert(sizeof(JobwatchCompactEntry) == 660, "JobwatchCompactEntry size");
static_assert(offsetof(JobwatchCompactEntry, portName) == 12, "compact entry portName");
static_assert(offsetof(JobwatchCompactEntry, jobId) == 272, "compact jobId");
static_assert(offsetof(JobwatchCompactEntry, documentName) == 336, "compact documentName");
static_assert(offsetof(JobwatchCompactEntry, recipientDisplay) == 596, "compact recipientDisplay");
static_assert(offsetof(JobwatchCompactEntry, numberDisplay) == 628, "compact numberDisplay");

struct JobwatchCompactHeader {
    int32_t entryCount;
    int32_t kind;           // 2 when the full header's field 8 is 3
    int32_t field8;         // the full header's field 12
    char portName[kJobwatchPortSize];
    char printerName[kJobwatchPrinterSize];
    JobwatchEntryRef firstEntry;
};
static_assert(sizeof(JobwatchCompactHeader) == 532, "JobwatchCompactHeader size");
static_assert(offsetof(JobwatchCompactHeader, portName) == 12, "compact portName");
static_assert(offsetof(JobwatchCompactHeader, printerName) == 272, "compact printerName");
static_assert(offsetof(JobwatchCompactHeader, firstEntry) == 528, "compact firstEntry");

// The value a record's entry reference holds for an entry at 'offset'
// inside the record block starting at 'record'.
JobwatchEntryRef MakeEntryRef(const void* record, size_t offset);

// A zeroed record for one job: header values, one entry, its reference.
void InitJobwatchData(JobwatchData* data);

// Size of the compact form of a record with this many entries.
size_t JobwatchCompactSize(int32_t entryCount);
// Writes the compact form of 'data' into 'out' (JobwatchCompactSize(n)
// bytes, n = the record's entry count cut to the one entry it holds).
// Returns the number of entries written.
int32_t BuildJobwatchCompact(const JobwatchData& data, void* out, size_t outSize);
