// Arbitrary bytes as the job's settings image faxui reads back from the
// host over the printer device context (escapes 15002 and 15000), through
// a start of document and a start of page of the document-event hook, then
// as the image behind the option page. Unlike the render side, faxui is told
// the image's size, so the offsets inside it (the sub-blocks at bytes
// 548/552) and the fax block offsets of the control block are fuzzed too:
// each one can be checked against the size. What stays fixed is what faxui
// cannot check and has to take as given: the driver context with its one
// control block and table, the page and sheet contexts, and the printer.
// The page also gets the image the other way a host gives it: inside a
// sheet block of its own whose word 47 says where (fuzzed as well).
//
// The fax flow is played by the host's side of the user: it cancels, keeps
// the job's own recipients, or writes a list as the real flow does, so the
// recipients the image brings reach the monitor record. A document monitor
// of our own (monitor_check.cpp) stops the run on any record text not
// terminated inside its field.
//
// Oracle besides the sanitizers: every image handed back (escape 15001) has
// the size that was read, and differs from the one given only in the fields
// faxui owns (the account identity when it was missing, FaxDS.clientId,
// FaxSS), never in the host's fixed part or its sub-blocks; the message box
// of a cancelled job is the only one.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "automation.h"
#include "doc_events.h"
#include "host_pages.h"
#include "image_input.h"
#include "jobwatch_client.h"
#include "option_pages.h"
#include "page_data.h"
#include "pages_ids.h"
#include "print_device.h"
#include "test_printer.h"
#include "fax_addon_table.h"
#include "scratch_dir.h"
#include "scripted_user.h"

namespace {

int g_flowMode = 0;  // 0 cancel, 1 keep the job's recipients, 2 write a list
int g_flowCalls = 0;

int FlowFromHost(HWND, const HostSubBlock&, FaxSS& ss) {
    ++g_flowCalls;
    if (g_flowMode == 0) return 0;
    if (g_flowMode == 2) {
        // What the real flow copies: the count and the whole recipient array.
        FaxSS list = DefaultFaxSS;
        list.recipientCount = 2;
        std::strcpy(list.recipients[0].name, "Matti Virtanen");
        std::strcpy(list.recipients[0].faxNumber, "09-1234567");
        std::strcpy(list.recipients[1].faxNumber, "0-800-FLOWERS");
        std::memcpy(&ss.recipientCount, &list.recipientCount, sizeof list - offsetof(FaxSS, recipientCount));
        ss.delaySend = 1;
        ss.delayHour = 18;
        ss.delayMinute = 30;
    }
    return 1;
}

struct Range {
    int64_t begin, end;
    bool Has(int64_t i) const { return i >= begin && i < end; }
};

// Where faxui may write, given the host's layout of the image it read.
struct Layout {
    Range account, clientId, ss;
    Range fixed, sub, sub2;
    std::vector<Range> hostFields;  // what the host and the add-ons read, account aside
};

bool ReadI32(const std::vector<uint8_t>& image, size_t at, int32_t* v) {
    if (image.size() < at + 4) return false;
    std::memcpy(v, image.data() + at, 4);
    return true;
}

Layout LayoutOf(const std::vector<uint8_t>& image, const AddonMCB& mcb) {
    int32_t sub = 0, sub2 = 0;
    ReadI32(image, offsetof(HostJobSettings, subBlockOffset), &sub);
    ReadI32(image, offsetof(HostJobSettings, subBlock2Offset), &sub2);
    Layout l;
    int64_t account = int64_t(sub) + offsetof(HostSubBlock, accountUser);
    l.account = {account, account + int64_t(sizeof(HostSubBlock::accountUser))};
    int64_t client = int64_t(mcb.block1Offset) + offsetof(FaxDS, clientId);
    l.clientId = {client, client + int64_t(sizeof(FaxDS::clientId))};
    l.ss = {mcb.block3Offset, int64_t(mcb.block3Offset) + int64_t(sizeof(FaxSS))};
    l.fixed = {0, sizeof(HostJobSettings)};
    l.sub = {sub, int64_t(sub) + int64_t(sizeof(HostSubBlock))};
    l.sub2 = {sub2, int64_t(sub2) + int64_t(sizeof(HostSubBlock2))};
    const struct {
        int64_t block, offset, size;
    } fields[] = {
        {0, 548, 8}, {0, 572, 4}, {0, 592, 4}, {0, 640, 4}, {0, 1800, 12},
        {sub, 4, 4}, {sub, 676, 12}, {sub, 692, 4}, {sub, 832, 4}, {sub2, 164, 4},
    };
    for (const auto& f : fields) l.hostFields.push_back({f.block + f.offset, f.block + f.offset + f.size});
    return l;
}

void Fail(const char* what, size_t at) {
    std::fprintf(stderr, "core image fuzz: %s (byte %zu)\n", what, at);
    std::abort();
}

// Every stored image against the image the hook read.
void CheckStores(const std::vector<uint8_t>& given, const TestPrinter& job, const AddonMCB& mcb) {
    if (job.stores.empty()) return;
    std::vector<uint8_t> read(static_cast<size_t>(*job.reportedSize), 0);
    if (!given.empty()) std::memcpy(read.data(), given.data(), std::min(read.size(), given.size()));
    Layout l = LayoutOf(read, mcb);
    bool accountMissing = read.size() >= size_t(l.account.begin) + 4 &&
                          std::memcmp(read.data() + l.account.begin, "\0\0\0\0", 4) == 0;
    for (const auto& stored : job.stores) {
        if (stored.size() != read.size()) Fail("stored image of another size", stored.size());
        for (size_t i = 0; i < read.size(); ++i) {
            if (stored[i] == read[i]) continue;
            int64_t at = static_cast<int64_t>(i);
            bool own = (accountMissing && l.account.Has(at)) || l.clientId.Has(at) || l.ss.Has(at);
            bool host = false;
            for (const Range& r : l.hostFields) host = host || r.Has(at);
            if (!own || host) Fail("stored image changed outside faxui's fields", i);
        }
    }
    // The texts faxui wrote end inside their fields, unless a later write
    // of its own (the client id, the recipients) lies over them.
    const auto& last = job.stores.back();
    auto ends = [&](const Range& r) {
        return std::memchr(last.data() + r.begin, 0, static_cast<size_t>(r.end - r.begin)) != nullptr;
    };
    auto apart = [](const Range& a, const Range& b) { return a.end <= b.begin || b.end <= a.begin; };
    int32_t monitor = 0;
    bool monitored = ReadI32(read, offsetof(HostJobSettings, jobMonitor), &monitor) && monitor == 1;
    if (accountMissing && apart(l.account, l.clientId) && apart(l.account, l.ss) && !ends(l.account))
        Fail("account identity not terminated", size_t(l.account.begin));
    // The client id is written once the monitor is opened, after the store
    // of a missing identity: only a later store carries it.
    bool storedAfterMonitor = job.stores.size() > (accountMissing ? 1u : 0u);
    if (monitored && storedAfterMonitor && apart(l.clientId, l.ss) && !ends(l.clientId))
        Fail("client id not terminated", size_t(l.clientId.begin));
}

// The option page: a window with the resolution group, so the procedure
// takes it for the fax option page.
HWND OptionPage() {
    static HWND page = [] {
        HWND sheet = CreateWindowExW(0, WIDE("STATIC"), WIDE(""), WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                     nullptr, nullptr);
        HWND p = CreateWindowExW(0, WIDE("STATIC"), WIDE(""), WS_CHILD, 0, 0, 400, 300, sheet, nullptr, nullptr,
                                 nullptr);
        CreateWindowExW(0, WIDE("BUTTON"), WIDE(""), WS_CHILD | BS_GROUPBOX, 0, 0, 10, 10, p,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RES_GROUP)), nullptr, nullptr);
        return p;
    }();
    return page;
}

int32_t FAXAPI RegisterPages(void*, const void*, int32_t, void*, void*, void*, int32_t, int32_t, int32_t) {
    return 1;
}

// Only the three settings of FaxDS the page shows may change in the image
// that starts at 'start' of 'before' (-1: none), never a byte of the host's.
void CheckPageEdits(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, int64_t start,
                    const AddonMCB& mcb) {
    std::vector<uint8_t> image;
    if (start >= 0 && start < int64_t(before.size())) image.assign(before.begin() + start, before.end());
    Layout l = LayoutOf(image, mcb);
    Range settings = {int64_t(mcb.block1Offset) + int64_t(offsetof(FaxDS, resolution)),
                      int64_t(mcb.block1Offset) + int64_t(offsetof(FaxDS, clientId))};
    auto inside = [&](const Range& r) { return r.begin >= 0 && r.end <= int64_t(image.size()); };
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] == after[i]) continue;
        int64_t at = static_cast<int64_t>(i) - start;
        bool host = l.fixed.Has(at) || (inside(l.sub) && l.sub.Has(at)) || (inside(l.sub2) && l.sub2.Has(at));
        if (image.empty() || !settings.Has(at) || host) Fail("option page changed the image outside its settings", i);
    }
}

void SendPageMessages(HWND page, HostPageContext* context) {
    PROPSHEETPAGEW psp{};
    psp.dwSize = sizeof psp;
    psp.lParam = reinterpret_cast<LPARAM>(context);
    FaxPageDlgProc(page, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&psp));
    NMHDR active{};
    active.code = PSN_SETACTIVE;
    FaxPageDlgProc(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&active));
    for (int id : {IDC_RES_NORMAL, IDC_SEND_HEADER, IDC_RESTORE_DEFAULTS})
        FaxPageDlgProc(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    NMHDR apply{};
    apply.code = PSN_APPLY;
    FaxPageDlgProc(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply));
    FaxPageDlgProc(page, WM_DESTROY, 0, 0);
}

// The option page over the image: from the host's sheet context, or from a
// sheet block of the host's own that names the image by the offset in its
// 48th word, counted from byte 192.
void DrivePages(HostDriverContext* driver, std::vector<uint8_t>& image, const ImageInputHeader& head,
                const AddonMCB& mcb) {
    static HostSheetContext sheet{};
    static HostPageContext context{};
    sheet.driver = driver;
    sheet.image = image.data();
    sheet.imageSize = static_cast<int32_t>(image.size());
    context.sheet = &sheet;
    RegisterFaxPages(driver, &context, image.empty() ? nullptr : image.data(), nullptr);

    HWND page = OptionPage();
    const std::vector<uint8_t> before = image;
    if (!(head.flags & kInputSheetBlock)) {
        SendPageMessages(page, &context);
        CheckPageEdits(before, image, 0, mcb);
        return;
    }
    constexpr size_t kBase = 192;
    std::vector<uint8_t> block(kBase + image.size(), 0);
    std::memcpy(block.data() + 47 * 4, &head.sheetWord, sizeof head.sheetWord);
    if (!image.empty()) std::memcpy(block.data() + kBase, image.data(), image.size());
    HGLOBAL handle = GlobalAlloc(GHND, block.size());
    auto* bytes = static_cast<uint8_t*>(GlobalLock(handle));
    std::memcpy(bytes, block.data(), block.size());
    SetPropW(page, kHostSheetProp, handle);
    SendPageMessages(page, &context);
    std::vector<uint8_t> after(bytes, bytes + block.size());
    GlobalUnlock(handle);
    GlobalFree(handle);
    if (image != before) Fail("option page wrote the sheet's image while a sheet block names another", 0);
    int64_t start = head.sheetWord < 0 ? -1 : int64_t(kBase) + head.sheetWord;
    CheckPageEdits(block, after, start, mcb);
}

void SetUpSystem() {
    static ScratchDir scratch("fax-core-fuzz");
    const std::string& dir = scratch.dir();
    setenv("FAX_WINDIR", dir.c_str(), 1);
    setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
    setenv("FAX_USERNAME", "maija", 1);
    setenv("FAX_COMPUTERNAME", "TOIMISTO-PC", 1);
    std::string program = dir + "/jobwatch.exe";
    if (FILE* f = std::fopen(program.c_str(), "w")) std::fclose(f);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kJobwatchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        std::abort();
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                   static_cast<DWORD>(program.size() + 1));
    const char* monitor = CORE_FUZZ_MONITOR;
    RegSetValueExA(key, kJobwatchApiValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(monitor),
                   static_cast<DWORD>(std::strlen(monitor) + 1));
    RegCloseKey(key);
    // Kept loaded for the whole run: each page opens and closes it.
    LoadLibraryA(monitor);
    StartScriptedUser([](const std::string& m) {
        std::fprintf(stderr, "core image fuzz: unexpected user interface: %s\n", m.c_str());
        std::abort();
    });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetUpSystem();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const AddOnTable table = FaxAddOnTable();
    static HostServices services{};
    static HostContext* host = [] {
        auto* h = new HostContext(1);
        services.registerPages = RegisterPages;
        h->get()->services = &services;
        return h;
    }();
    static HANDLE printer = headless::CreatePrinterHandle(u"Kopiokone 3", u"IP_10.0.0.7", u"Tulostinajuri");

    ImageInputHeader head{};
    std::memcpy(&head, data, std::min(size, sizeof head));
    size_t skip = std::min(size, sizeof head);
    std::vector<uint8_t> given(data + skip, data + size);
    // The host's own copy: the images handed back replace it, not the one given.
    std::vector<uint8_t> held = given;
    TestPrinter job;
    job.Serve(held.data(), held.size());
    int32_t delta = head.sizeDelta % 65536;
    job.reportedSize = static_cast<int>(given.size()) + delta;
    job.due = head.flags & kInputPageNotDue ? 0 : 1;
    job.readAnswer = head.flags & kInputReadFails ? 0 : 1;
    g_flowMode = head.flags & kInputUserCancels ? 0 : head.flags & kInputFlowWritesList ? 2 : 1;
    g_flowCalls = 0;

    AddonMCB& mcb = host->block(0);
    mcb.table = &table;
    mcb.block1Offset = head.block1Offset;
    mcb.block3Offset = head.block3Offset;

    automation::Reset();
    // A cancelled flow, or a fax job stopped before it, ends with this message.
    automation::Play(automation::Script().answer(IDOK, u"Faksity\u00f6 on peruutettu!"));
    HDC dc = headless::CreatePrinterDC(&job);
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = WIDE("Kuukausiraportti.doc");
    const DOCINFOW* ref = &info;
    if (HandleDocumentEvent(host->get(), printer, dc, kDocEventStartDoc, &ref, FlowFromHost) != 1)
        Fail("start of document failed", 0);
    int32_t page = HandleDocumentEvent(host->get(), printer, dc, kDocEventStartPage, nullptr, FlowFromHost);
    headless::DeletePrinterDC(dc);
    // The page fails only for a fax job: cancelled in the flow, or stopped
    // without it because its recipients could not reach the image.
    const bool cancelled = g_flowMode == 0 && g_flowCalls == 1;
    int32_t type = 0;
    const bool stopped = g_flowCalls == 0 && ReadI32(given, offsetof(HostJobSettings, jobType), &type) &&
                         type == kJobTypeFax;
    if (page != 1 && !(page == kDocEventCancelled && (cancelled || stopped)))
        Fail("start of page failed without a cancelled or stopped fax job", 0);
    if (g_flowCalls > 1 || (page == kDocEventCancelled) != (job.aborts == 1) || job.aborts > 1)
        Fail("abort without a failed page", 0);
    if (cancelled && page != kDocEventCancelled) Fail("cancelled flow not aborted", 0);
    CheckStores(given, job, mcb);
    if (JobwatchOpenCount() != 0) Fail("monitor connection left open", 0);

    DrivePages(host->get(), given, head, mcb);
    return 0;
}
