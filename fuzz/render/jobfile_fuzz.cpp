// Arbitrary text as a faxhost job file. Oracles besides the sanitizers: a
// job the parser accepts stays inside the limits of the records it fills,
// and the header printed from it is well-formed PJL, line by line.

#include <cstdint>
#include <cstring>
#include <string>

#include "exports.h"
#include "header_printer.h"
#include "job_file.h"
#include "pjl_lines.h"

namespace {
void CheckTerminated(const char* field, size_t size) {
    if (!std::memchr(field, 0, size)) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static JobDescription* job = new JobDescription;
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!ParseJobFile(text, job, &error)) {
        if (error.rfind("line ", 0) != 0) __builtin_trap();
        return 0;
    }
    const FaxSS& ss = job->ss;
    if (ss.recipientCount < 0 || ss.recipientCount > kMaxRecipients) __builtin_trap();
    CheckTerminated(job->accountUser, sizeof job->accountUser);
    CheckTerminated(job->appDocName, sizeof job->appDocName);
    CheckTerminated(job->ds.printUserId, sizeof job->ds.printUserId);
    CheckTerminated(job->ds.clientId, sizeof job->ds.clientId);
    for (int i = 0; i < ss.recipientCount; ++i) {
        const FaxRecipient& r = ss.recipients[i];
        CheckTerminated(r.faxNumber, sizeof r.faxNumber);
        CheckTerminated(r.comm.mailboxId, sizeof r.comm.mailboxId);
        CheckTerminated(r.comm.relayStationId, sizeof r.comm.relayStationId);
        CheckTerminated(r.comm.fCode, sizeof r.comm.fCode);
        if (r.comm.relayDestCount < 0 || r.comm.relayDestCount > kMaxRelayDests) __builtin_trap();
    }
    if (ss.delaySend == 1 && (ss.delayHour > 23 || ss.delayMinute > 59)) __builtin_trap();

    std::string pjl;
    if (!PrintHeader(GetFuncTable(), AddOnWriteCallback, "faxrender", *job, &pjl, &error)) __builtin_trap();
    CheckPjlLines(pjl);
    return 0;
}
