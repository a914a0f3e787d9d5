#include "doc_events.h"

#include <cstring>
#include <ctime>

#include "job_identity.h"
#include "job_image.h"
#include "jobwatch_client.h"
#include "print_names.h"

namespace {

const char* const kTrayNames[kOutputTrayCount] = {
    "Keskialusta", "Sivualusta", "Viimeistelylaite - Yl\xE4", "Viimeistelylaite - Ala"};

// The job-monitor record of one job, in shareable global memory.
class MonitorRecord {
public:
    MonitorRecord() : handle_(GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, sizeof(JobwatchData))) {
        data_ = handle_ ? static_cast<JobwatchData*>(GlobalLock(handle_)) : nullptr;
        if (data_) InitJobwatchData(data_);
    }
    ~MonitorRecord() {
        if (data_) GlobalUnlock(handle_);
        if (handle_) GlobalFree(handle_);
    }
    MonitorRecord(const MonitorRecord&) = delete;
    MonitorRecord& operator=(const MonitorRecord&) = delete;
    JobwatchData* get() { return data_; }

private:
    HGLOBAL handle_;
    JobwatchData* data_ = nullptr;
};

// A monitor connection for this page, when the user asked for one.
struct Monitor {
    JobwatchHandle handle = 0;
    MonitorRecord* record = nullptr;
    bool open() const { return handle != 0 && record && record->get(); }
};

bool AccountMissing(const HostSubBlock& sub) {
    static const char kZero[4] = {};
    return std::memcmp(sub.accountUser, kZero, sizeof kZero) == 0;
}

void OpenMonitor(JobImage& image, Monitor* monitor) {
    std::memset(image.ds().clientId, 0, sizeof image.ds().clientId);
    if (!monitor->record->get()) return;
    monitor->handle = JobwatchOpen();
    if (!monitor->handle) return;
    JobwatchMakeIds(monitor->handle, image.ds().clientId, monitor->record->get()->entry.jobId);
}

void FillFaxEntry(JobImage& image, JobwatchEntry* e) {
    const FaxSS& ss = image.ss();
    int count = ClampedRecipientCount(ss);
    e->isFax = 1;
    e->outputOption = 0;
    std::memset(e->trayName, 0, sizeof e->trayName);
    const FaxRecipient& first = ss.recipients[0];
    BuildNumberDisplay(first, count, e->numberDisplay);
    BuildRecipientDisplay(first, count, e->recipientDisplay);
}

void FillPrintEntry(JobImage& image, JobwatchEntry* e) {
    const HostJobSettings& s = image.settings();
    e->isFax = 0;
    std::memset(e->numberDisplay, 0, sizeof e->numberDisplay);
    std::memset(e->recipientDisplay, 0, sizeof e->recipientDisplay);
    e->outputOption = s.outputOption > 0 ? 1 : 0;
    std::memset(e->trayName, 0, sizeof e->trayName);
    if (s.outputTray >= 0 && s.outputTray < kOutputTrayCount)
        std::strcpy(e->trayName, kTrayNames[s.outputTray]);
}

void CompleteRecord(JobwatchData* d) {
    const PrintNames& names = CapturedNames();
    std::memcpy(d->portName, names.port, sizeof d->portName);
    std::memcpy(d->printerName, names.printer, sizeof d->printerName);
    std::memcpy(d->entry.portName, names.port, sizeof d->entry.portName);
    std::memcpy(d->entry.documentName, names.document, sizeof d->entry.documentName);
    d->entry.submitTime = static_cast<int32_t>(std::time(nullptr));
    WCHAR user[257] = {};
    DWORD length = 256;
    if (GetUserNameW(user, &length)) {
        const char16_t* u = reinterpret_cast<const char16_t*>(user);
        size_t n = 0;
        while (n < 256 && u[n]) ++n;
        ToAnsiField(std::u16string(u, n), d->userName, sizeof d->userName);
    }
}

void ReportCancelled(HDC dc) {
    AbortDoc(dc);
    MessageBeep(MB_OK);
    MessageBoxW(nullptr, WIDE("Faksity\u00f6 on peruutettu!"), WIDE("Peruuta faksity\u00f6"),
                MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL);
}

int32_t StartDocument(const AddonMCB& mcb, HANDLE printer, HDC dc, void* docInfoRef) {
    JobImage image;
    if (image.Read(dc, mcb) != ImageState::Usable) return 1;
    if (image.sub2().suppressAddon == 1 || image.settings().jobMonitor != 1) return 1;
    const DOCINFOW* docInfo = docInfoRef ? *static_cast<const DOCINFOW* const*>(docInfoRef) : nullptr;
    CaptureNames(printer, docInfo);
    return 1;
}

// A fax job whose recipients do not reach this job's settings would go out
// to whatever the host's image held before: it is stopped instead.
int32_t StopFaxJob(HDC dc) {
    ReportCancelled(dc);
    return kDocEventCancelled;
}

int32_t StartPage(const AddonMCB& mcb, HDC dc, FaxFlowFn faxFlow) {
    if (ExtEscape(dc, kEscapeAddonDue, 0, nullptr, 0, nullptr) != 1) return 1;
    JobImage image;
    const ImageState state = image.Read(dc, mcb);
    if (state == ImageState::Missing) return 1;
    const bool fax = image.settings().jobType == kJobTypeFax;
    if (state == ImageState::Unusable) return fax ? StopFaxJob(dc) : 1;
    if (image.sub2().suppressAddon == 1) return 1;

    if (AccountMissing(image.sub())) {
        FillAccountUser(image.sub().accountUser);
        image.Store(dc);
    }

    MonitorRecord record;
    Monitor monitor;
    monitor.record = &record;
    const bool watched = image.settings().jobMonitor == 1;
    if (watched) OpenMonitor(image, &monitor);

    int32_t result = 1;
    if (fax) {
        const bool sent = faxFlow && faxFlow(GetActiveWindow(), image.sub(), image.ss()) == 1;
        if (sent && monitor.open()) FillFaxEntry(image, &record.get()->entry);
        if (!sent || !image.Store(dc)) result = StopFaxJob(dc);
    } else if (watched) {
        if (monitor.open()) FillPrintEntry(image, &record.get()->entry);
        // The client id, new or cleared, reaches every job the monitor is on for.
        image.Store(dc);
    }

    if (monitor.open() && result == 1) {
        CompleteRecord(record.get());
        JobwatchSend(monitor.handle, record.get());
    }
    if (monitor.handle) JobwatchClose(monitor.handle);
    return result;
}

}  // namespace

int32_t HandleDocumentEvent(const HostDriverContext* host, HANDLE printer, HDC dc, int32_t event,
                            void* docInfoRef, FaxFlowFn faxFlow) {
    const AddonMCB* mcb = host ? FindFaxAddonMCB(host) : nullptr;
    if (!mcb) return 1;
    switch (event) {
    case kDocEventStartDoc:
        return StartDocument(*mcb, printer, dc, docInfoRef);
    case kDocEventStartPage:
        return StartPage(*mcb, dc, faxFlow);
    default:
        return 1;
    }
}
