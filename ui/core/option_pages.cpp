#include "option_pages.h"

#include <cstring>

#include "host_pages.h"
#include "job_image.h"
#include "page_data.h"
#include "page_dispatch.h"
#include "page_help.h"
#include "page_services.h"
#include "page_tables.h"
#include "pages_ids.h"
#include "phonebook_dialog_ids.h"

namespace {

constexpr int kAboutBitmapWidth = 324;
constexpr int kAboutBitmapY = 20;

bool IsOptionPage(HWND page) { return GetDlgItem(page, IDC_RES_GROUP) != nullptr; }
bool IsAboutPage(HWND page) { return GetDlgItem(page, IDC_ABOUT_NAME) != nullptr; }

FaxDS* PageFaxDS(HWND page) {
    PageData* d = GetPageData(page);
    return d ? d->ds : nullptr;
}

void CheckPosition(HWND page, const int* radios, int32_t position) {
    for (int i = 0; radios[i] != -1; ++i) CheckDlgButton(page, radios[i], BST_UNCHECKED);
    for (int i = 0; radios[i] != -1; ++i)
        if (i == position) CheckDlgButton(page, radios[i], BST_CHECKED);
}

// Position of the first checked radio; the last one when none is checked.
int32_t CheckedPosition(HWND page, const int* radios) {
    int i = 0;
    for (; radios[i + 1] != -1; ++i)
        if (IsDlgButtonChecked(page, radios[i]) == BST_CHECKED) return i;
    return i;
}

void ShowSettings(HWND page, const FaxDS& ds) {
    CheckPosition(page, kResolutionRadios, ds.resolution);
    CheckPosition(page, kReportRadios, ds.txReport);
    CheckDlgButton(page, IDC_SEND_HEADER, ds.txHeader == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void ReportChange(HWND page) { SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0); }

void EnableOptions(HWND page, BOOL enable) {
    for (int id = IDC_RES_GROUP; id <= IDC_RESTORE_DEFAULTS; ++id)
        if (HWND control = GetDlgItem(page, id)) EnableWindow(control, enable);
}

INT_PTR OnInit(HWND page, UINT, WPARAM, LPARAM lParam) {
    if (!IsOptionPage(page)) return TRUE;
    const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    auto* context = sheetPage ? reinterpret_cast<HostPageContext*>(sheetPage->lParam) : nullptr;
    AttachPageData(page, context, sheetPage ? sheetPage->hInstance : nullptr);
    if (const FaxDS* ds = PageFaxDS(page)) ShowSettings(page, *ds);
    return TRUE;
}

void PaintAboutBitmap(HWND page) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(page, &ps);
    const PageData* d = GetPageData(page);
    HINSTANCE instance = d ? d->instance : reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(page, GWLP_HINSTANCE));
    if (HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_FAX_ABOUT))) {
        RECT client;
        GetClientRect(page, &client);
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(dc, client.right / 2 - kAboutBitmapWidth / 2, kAboutBitmapY, info.bmWidth, info.bmHeight, memory,
               0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
    EndPaint(page, &ps);
}

INT_PTR OnPaint(HWND page, UINT, WPARAM, LPARAM) {
    if (IsAboutPage(page)) {
        PaintAboutBitmap(page);
        SetHelpPage(IDD_FAX_ABOUT);
        return TRUE;
    }
    SetHelpPage(IDD_FAX_OPTIONS);
    return FALSE;
}

INT_PTR OnSetActive(HWND page, UINT, WPARAM, LPARAM) {
    if (!IsOptionPage(page)) return 1;
    const FaxDS* ds = PageFaxDS(page);
    EnableOptions(page, ds && ds->jobMode == kJobTypeFax);
    return 1;
}

void StoreIfChanged(HWND page, int32_t* field, int32_t value) {
    if (*field == value) return;
    *field = value;
    ReportChange(page);
}

// The phonebook manager is reached through the module's own export, the
// way every caller outside the phonebook reaches it.
void OpenPhonebook(HWND page) {
    const PageData* d = GetPageData(page);
    HINSTANCE instance = d ? d->instance : nullptr;
    auto proc = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(GetProcAddress(instance, "PhonebookDlgProc")));
    if (!proc) {
        MessageBeep(MB_OK);
        return;
    }
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PHONEBOOK), page, proc, 0);
}

INT_PTR OnCommand(HWND page, UINT, WPARAM wParam, LPARAM) {
    if (!IsOptionPage(page)) return 0;
    int id = LOWORD(wParam);
    if (id == IDC_OPEN_PHONEBOOK) {
        OpenPhonebook(page);
        return 1;
    }
    FaxDS* ds = PageFaxDS(page);
    if (!ds) return 0;
    switch (id) {
    case IDC_RES_NORMAL: case IDC_RES_FINE: case IDC_RES_SUPERFINE: case IDC_RES_ULTRAFINE:
        StoreIfChanged(page, &ds->resolution, CheckedPosition(page, kResolutionRadios));
        return 1;
    case IDC_REPORT_ALWAYS: case IDC_REPORT_ON_ERROR: case IDC_REPORT_NONE:
        StoreIfChanged(page, &ds->txReport, CheckedPosition(page, kReportRadios));
        return 1;
    case IDC_SEND_HEADER:
        StoreIfChanged(page, &ds->txHeader, IsDlgButtonChecked(page, IDC_SEND_HEADER) == BST_CHECKED ? 1 : 0);
        return 1;
    case IDC_RESTORE_DEFAULTS:
        ds->resolution = DefaultFaxDS.resolution;
        ds->txReport = DefaultFaxDS.txReport;
        ds->txHeader = DefaultFaxDS.txHeader;
        ShowSettings(page, *ds);
        ReportChange(page);
        return 1;
    default:
        return 0;
    }
}

// The host's part of applying: commit when it asks for it, then copy the
// image out for a caller that wants it.
void CommitToHost(const PageData& d) {
    HostSheetContext* sheet = d.sheet;
    if (!sheet) return;
    int32_t commitPending;
    std::memcpy(&commitPending, sheet->commitPending, sizeof commitPending);
    HostServices* services = d.driver ? d.driver->services : nullptr;
    if (commitPending != 0 && (sheet->modeFlags & kSheetModeCommit)) {
        if (services && services->commit) services->commit(sheet);
        if (sheet->notifyOnCommit != 0 && sheet->changeCallback)
            sheet->changeCallback(sheet->callbackData, 9, 0, 1);
    }
    if ((sheet->modeFlags & (kSheetModeCopyOut | kSheetModeCopyOut2)) && sheet->outputBuffer && sheet->image &&
        sheet->imageSize > 0 && sheet->imageSize <= kMaxImageSize)
        std::memcpy(sheet->outputBuffer, sheet->image, static_cast<size_t>(sheet->imageSize));
}

INT_PTR OnApply(HWND page, UINT, WPARAM, LPARAM) {
    if (!IsOptionPage(page)) return 1;
    const PageData* d = GetPageData(page);
    if (d && !GetPropW(page, kHostSheetProp)) CommitToHost(*d);
    return 1;
}

INT_PTR Accept(HWND, UINT, WPARAM, LPARAM) { return 1; }
INT_PTR Nothing(HWND, UINT, WPARAM, LPARAM) { return 0; }

const PageActionEntry kActions[] = {
    {kActInit, OnInit},          {kActDrawItem, Accept}, {kActMeasureItem, Accept},
    {kActCommand, OnCommand},    {kActPaint, OnPaint},   {kActSetActive, OnSetActive},
    {kActKillActive, Accept},    {kActApply, OnApply},   {kActReset, Accept},
    {kActDestroy, Nothing},
};
constexpr int kActionCount = sizeof kActions / sizeof kActions[0];

HostServices* g_services = nullptr;

}  // namespace

void RegisterHostServices(HostServices* services) { g_services = services; }
HostServices* RegisteredHostServices() { return g_services; }

INT_PTR CALLBACK FaxPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return DispatchPageMessage(page, message, wParam, lParam, kActionCount, kActions);
}

int32_t RegisterFaxPages(void* host, void* pageContext, void* image, HINSTANCE instance) {
    auto* driver = static_cast<HostDriverContext*>(host);
    HostServices* services = driver ? driver->services : nullptr;
    RegisterHostServices(services);
    // The hook is not told the image's size; the host sheet behind the page
    // context is, and the fax flag is read only from a sub-block inside it.
    bool faxInstalled = false;
    const auto* context = static_cast<const HostPageContext*>(pageContext);
    int32_t size = context && context->sheet ? context->sheet->imageSize : 0;
    if (image && size >= static_cast<int32_t>(sizeof(HostJobSettings)) && size <= kMaxImageSize) {
        int32_t offset = static_cast<const HostJobSettings*>(image)->subBlockOffset;
        if (BlockFits<HostSubBlock>(static_cast<size_t>(size), offset) && offset % alignof(HostSubBlock) == 0)
            faxInstalled = BlockAt<HostSubBlock>(image, offset)->faxInstalled == 1;
    }
    if (services && services->registerPages)
        services->registerPages(pageContext, &PageSetFor(faxInstalled), 0, instance, instance,
                                reinterpret_cast<void*>(FaxPageDlgProc), 0, 0, 0);
    return 1;
}
