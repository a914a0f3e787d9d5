// A stand-in for the document monitor's API library: it implements the
// entry points the fax module looks up, writes every call and every record
// it receives to the file named by FAX_JOBWATCH_LOG, and fails the calls
// named in FAX_JOBWATCH_FAIL (comma-separated). FAX_JOBWATCH_CLIENT_ID and
// FAX_JOBWATCH_JOB_ID replace the ids it hands out.
// Built three ways: complete, without the optional entry points, and
// without one required entry point.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "callconv.h"
#include "jobwatch_record.h"

#if defined(_WIN32)
// Looked up by name in a DLL: exported here, undecorated (see CMakeLists).
#undef FAX_EXPORT
#define FAX_EXPORT __declspec(dllexport)
#endif

namespace {

void Log(const std::string& line) {
    const char* path = std::getenv("FAX_JOBWATCH_LOG");
    if (!path || !*path) return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

bool Fails(const char* call) {
    const char* list = std::getenv("FAX_JOBWATCH_FAIL");
    if (!list) return false;
    std::string all = std::string(",") + list + ",";
    return all.find(std::string(",") + call + ",") != std::string::npos;
}

template <size_t N>
std::string Text(const char (&field)[N]) {
    return "\"" + std::string(field, strnlen(field, N)) + "\"";
}

std::string Num(long long v) { return std::to_string(v); }

int32_t Answer(const char* call, uintptr_t h, int32_t result) {
    if (Fails(call)) result = 0;
    Log(std::string(call) + " " + Num(static_cast<long long>(h)) + " -> " + Num(result));
    return result;
}

void WriteId(const char* call, const char* env, const char* fallback, uintptr_t h, char* out) {
    const char* id = std::getenv(env);
    if (!id) id = fallback;
    if (Fails(call)) id = "";
    if (out) std::strcpy(out, id);
    Log(std::string(call) + " " + Num(static_cast<long long>(h)) + " -> \"" + id + "\"");
}

// What the entry reference must hold for an entry at 'offset' of 'record'.
const char* RefCheck(const void* record, uint32_t ref, size_t offset) {
    return ref == MakeEntryRef(record, offset) ? "ok" : "wrong";
}

}  // namespace

extern "C" {

FAX_EXPORT uintptr_t FAXAPI QjwInitializeJobwatch(int32_t flags) {
    uintptr_t h = Fails("QjwInitializeJobwatch") ? 0 : 0x51;
    Log("QjwInitializeJobwatch " + Num(flags) + " -> " + Num(static_cast<long long>(h)));
    return h;
}
FAX_EXPORT int32_t FAXAPI QjwUnInitializeJobwatch(uintptr_t h) {
    return Answer("QjwUnInitializeJobwatch", h, 1);
}
FAX_EXPORT int32_t FAXAPI QjwCreateClientId(uintptr_t h, char* out) {
    WriteId("QjwCreateClientId", "FAX_JOBWATCH_CLIENT_ID", "CLIENT7", h, out);
    return 1;
}
FAX_EXPORT int32_t FAXAPI QjwCreateJobId(uintptr_t h, char* out) {
    WriteId("QjwCreateJobId", "FAX_JOBWATCH_JOB_ID", "JOB42", h, out);
    return 1;
}
FAX_EXPORT int32_t FAXAPI QjwExecJobwatch(uintptr_t h) { return Answer("QjwExecJobwatch", h, 1); }

FAX_EXPORT int32_t FAXAPI QjwSetGroupStyle(uintptr_t h) { return Answer("QjwSetGroupStyle", h, 1); }
FAX_EXPORT int32_t FAXAPI QjwSetJobId(uintptr_t h) { return Answer("QjwSetJobId", h, 1); }
FAX_EXPORT int32_t FAXAPI QjwSetDestinationCount(uintptr_t h) { return Answer("QjwSetDestinationCount", h, 1); }
FAX_EXPORT int32_t FAXAPI QjwSetPortName(uintptr_t h) { return Answer("QjwSetPortName", h, 1); }
FAX_EXPORT int32_t FAXAPI QjwSetFriendlyName(uintptr_t h) { return Answer("QjwSetFriendlyName", h, 1); }
FAX_EXPORT int32_t FAXAPI QjwSetParamStyle(uintptr_t h) { return Answer("QjwSetParamStyle", h, 1); }
FAX_EXPORT int32_t FAXAPI QjwExecJobwatchPreferences(uintptr_t h) {
    return Answer("QjwExecJobwatchPreferences", h, 1);
}
FAX_EXPORT int32_t FAXAPI QjwSetJobDestinations(uintptr_t h) { return Answer("QjwSetJobDestinations", h, 1); }

#ifndef JOBWATCH_LACKS_REQUIRED
FAX_EXPORT int32_t FAXAPI QjwSetQjwData(uintptr_t h, const void* record) {
    const auto* c = static_cast<const JobwatchCompactHeader*>(record);
    const auto* e = reinterpret_cast<const JobwatchCompactEntry*>(c + 1);
    Log("record compact: count " + Num(c->entryCount) + " kind " + Num(c->kind) + " field8 " +
        Num(c->field8) + " port " + Text(c->portName) + " printer " + Text(c->printerName) +
        " entryref " + RefCheck(record, c->firstEntry, sizeof *c));
    if (c->entryCount >= 1)
        Log("entry compact: size " + Num(e->entrySize) + " flag " + Num(e->kindFlag) + " time " +
            Num(e->submitTime) + " port " + Text(e->portName) + " job " + Text(e->jobId) + " doc " +
            Text(e->documentName) + " recipient " + Text(e->recipientDisplay) + " number " +
            Text(e->numberDisplay));
    return Answer("QjwSetQjwData", h, 1);
}
#endif

#ifndef JOBWATCH_LACKS_OPTIONAL
FAX_EXPORT int32_t FAXAPI QjwSetQjwDataEx(uintptr_t h, const void* record) {
    const auto* d = static_cast<const JobwatchData*>(record);
    const JobwatchEntry& e = d->entry;
    Log("record: header " + Num(d->headerSize) + " count " + Num(d->entryCount) + " field8 " +
        Num(d->field8) + " field12 " + Num(d->field12) + " port " + Text(d->portName) + " printer " +
        Text(d->printerName) + " user " + Text(d->userName) + " entryref " +
        RefCheck(record, d->firstEntry, offsetof(JobwatchData, entry)));
    Log("entry: size " + Num(e.entrySize) + " fax " + Num(e.isFax) + " time " + Num(e.submitTime) +
        " port " + Text(e.portName) + " job " + Text(e.jobId) + " doc " + Text(e.documentName) +
        " recipient " + Text(e.recipientDisplay) + " number " + Text(e.numberDisplay) + " output " +
        Num(e.outputOption) + " tray " + Text(e.trayName));
    return Answer("QjwSetQjwDataEx", h, 1);
}
FAX_EXPORT int32_t FAXAPI QjwExecJobwatchWithStatus(uintptr_t h) {
    return Answer("QjwExecJobwatchWithStatus", h, 1);
}
FAX_EXPORT int32_t FAXAPI QjwExecJobwatchPreferencesWithStatus(uintptr_t h) {
    return Answer("QjwExecJobwatchPreferencesWithStatus", h, 1);
}
#endif

}  // extern "C"
