// The write hook: the module's lines of the PJL job header.

#include <cstring>

#include "addon.h"
#include "exports.h"
#include "faxnum.h"
#include "format.h"
#include "host_settings.h"
#include "pjl_strings.h"
#include "pjl_text.h"

namespace {

// Every piece goes out with one call of the host's write function.
struct Output {
    HostOutputContext* context;

    void Piece(const char* bytes, size_t length) const {
        context->write(context, 1, bytes, static_cast<int32_t>(length));
    }
    void Text(const char* text) const { Piece(text, std::strlen(text)); }
    // A settings field inside quotes, read within its size.
    void Field(const char* field, size_t fieldSize) const {
        char value[128];
        size_t n = CopyPjlText(value, sizeof value, field, fieldSize, PjlContext::QuotedValue);
        Piece(value, n);
    }
    void Number(const char* format, int32_t value) const {
        char text[16];
        Piece(text, FormatBounded(text, sizeof text, format, value));
    }
};

// The host places its blocks where it likes, on any byte boundary: each is
// read into a copy of its own. FaxSS is large and only a fax job's settings
// need it, so it is copied where the recipients are written.
struct Job {
    HostJobSettings settings;
    HostSubBlock sub;
    FaxDS ds;
    const void* ss;
    const HostOutputContext* out;
};

template <typename T>
void Copy(T* to, const void* from) {
    std::memcpy(to, from, sizeof *to);
}

// Keyword tables are indexed by stored values; a damaged image gets the
// default keyword (FINE, ONERROR) rather than a read past the table.
const char* Resolution(int32_t value) {
    return (value >= 0 && value <= kMaxResolution) ? ResString[value]
                                                   : ResString[DefaultFaxDS.resolution];
}
const char* Report(int32_t value) {
    return (value >= 0 && value <= kMaxTxReport) ? RptString[value]
                                                 : RptString[DefaultFaxDS.txReport];
}

void WriteTimeLine(const Output& w, const char* start) {
    char time[32];
    w.Text(start);
    w.Piece(time, static_cast<size_t>(DoTimeString(time)));
    w.Text(PJL_TimeEnd);
}

void WriteJobStart(const Output& w, const Job& job) {
    WriteTimeLine(w, PJL_CommentStartJob);

    w.Text(PJL_JobAccount);
    w.Field(job.sub.accountUser, sizeof job.sub.accountUser);
    w.Text(PJL_TimeEnd);

    if (job.settings.jobMonitor == 1 && job.ds.clientId[0]) {
        w.Text(PJL_ClientID);
        w.Field(job.ds.clientId, sizeof job.ds.clientId);
        w.Text(PJL_CommandEnd);
    }
}

void WriteUserAndDocName(const Output& w, const Job& job) {
    w.Text(PJL_PrintUserID);
    w.Field(job.ds.printUserId, sizeof job.ds.printUserId);
    w.Text(PJL_TimeEnd);

    w.Text(PJL_PrintDocName);
    if (job.ds.printDocName[0])
        w.Field(job.ds.printDocName, sizeof job.ds.printDocName);
    else
        w.Field(job.out->docName, kAppDocNameChars);
    w.Text(PJL_TimeEnd);
}

void WritePaddedNumber(const Output& w, const char* format, int32_t value) {
    if (value < 10) w.Text("0");
    w.Number(format, value);
}

void WriteFaxLines(const Output& w, const Job& job) {
    FaxSS ss;
    Copy(&ss, job.ss);
    int count = ClampedRecipientCount(ss);
    if (count == 0) return;
    for (int i = 0; i < count; ++i) {
        char param[kFaxNumParamSize];
        size_t n = BuildFaxNumParam(ss.recipients[i], param, sizeof param);
        w.Text(PJL_FaxNumber);
        w.Piece(param, n);
    }
    w.Text(PJL_FaxRes);
    w.Text(Resolution(job.ds.resolution));
    w.Text(PJL_CommandEnd);

    w.Text(PJL_TxReport);
    w.Text(Report(job.ds.txReport));
    w.Text(PJL_CommandEnd);

    w.Text(PJL_TxHeader);
    w.Text(job.ds.txHeader == 1 ? PJL_HeaderOn : PJL_HeaderOff);

    if (ss.delaySend == 1) {
        w.Text(PJL_DelaySend);
        WritePaddedNumber(w, PJL_NumberColon, ss.delayHour);
        WritePaddedNumber(w, PJL_NumberLine, ss.delayMinute);
    }
}

bool QuantityWanted(const Job& job) {
    const HostJobSettings& s = job.settings;
    const HostSubBlock& sub = job.sub;
    if (sub.collateMode != 1) return false;
    return s.jobType == kJobTypeProof || s.qtyForce == 1 ||
           (sub.optionA == 1 && s.outputOption > 0 && s.copies == 1) ||
           (sub.optionB == 1 && s.outputTray == 1 && s.copies == 1);
}

void WriteJobSettings(const Output& w, const Job& job) {
    switch (job.settings.jobType) {
        case kJobTypeSecure:
            WriteUserAndDocName(w, job);
            w.Text(PJL_PrintPassword);
            w.Field(job.ds.printPassword, sizeof job.ds.printPassword);
            w.Text(PJL_TimeEnd);
            w.Text(PJL_PrintSecure);
            break;
        case kJobTypeProof:
            WriteUserAndDocName(w, job);
            w.Text(PJL_PrintSample);
            break;
        case kJobTypeFax:
            WriteFaxLines(w, job);
            return;  // no quantity line for fax jobs
        default:
            break;
    }
    if (QuantityWanted(job)) {
        w.Text(PJL_CollateQty);
        w.Number(PJL_NumberLine, job.settings.copies);
    }
}

}  // namespace

extern "C" void FAXAPI AddOnWriteCallback(void* host, void* out, void* settings, void*,
                                          int32_t moduleId, int32_t event, int32_t skip,
                                          FaxDS* ds, void*) {
    if (moduleId != kFaxModuleId) return;
    const AddonMCB* mcb = GetFaxAddonMCB(static_cast<const HostDriverContext*>(host));
    auto* output = static_cast<HostOutputContext*>(out);
    if (!mcb || !output || !output->write || !settings) return;

    // The block offsets are the host's own bookkeeping, as is the pointer to
    // FaxDS; the image contents are what this hook must not trust.
    const auto* image = static_cast<const uint8_t*>(settings);
    Job job;
    Copy(&job.settings, image);
    Copy(&job.sub, image + job.settings.subBlockOffset);
    Copy(&job.ds, ds ? static_cast<const void*>(ds) : image + mcb->block1Offset);
    job.ss = image + mcb->block3Offset;
    job.out = output;
    Output w{output};

    switch (event) {
        case kEventJobStart:
            if (!skip) WriteJobStart(w, job);
            break;
        case kEventJobSettings:
            if (!skip) WriteJobSettings(w, job);
            break;
        case kEventJobEnd:
        case kEventJobEndAlt:
            WriteTimeLine(w, PJL_CommentEndJob);
            break;
        default:
            break;
    }
}
