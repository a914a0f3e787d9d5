#include "page_dispatch.h"

#include "page_data.h"
#include "page_help.h"
#include "page_services.h"

namespace {

const WCHAR kHintOwnerProp[] = {'H', 'i', 'n', 't', 'O', 'w', 'n', 'e', 'r', 0};

INT_PTR Run(int key, HWND page, UINT message, WPARAM wParam, LPARAM lParam, int count,
            const PageActionEntry* actions) {
    for (int i = 0; i < count; ++i)
        if (actions[i].key == key) return actions[i].action(page, message, wParam, lParam);
    return 0;
}

HWND HintWindow(HWND page) {
    const PageData* d = GetPageData(page);
    return d && d->hint && IsWindow(d->hint) ? d->hint : nullptr;
}

void HideHint(HWND page) {
    if (HWND hint = HintWindow(page)) ShowWindow(hint, SW_HIDE);
}

void SetResult(HWND page, LRESULT result) { SetWindowLongPtrW(page, DWLP_MSGRESULT, result); }

INT_PTR Notify(HWND page, const NMHDR* header, WPARAM wParam, LPARAM lParam, int count,
               const PageActionEntry* actions) {
    auto run = [&](int key) { return Run(key, page, WM_NOTIFY, wParam, lParam, count, actions); };
    HWND hint = HintWindow(page);
    switch (header->code) {
    case PSN_SETACTIVE:
        if (hint) {
            SetPropW(hint, kHintOwnerProp, page);
            EnableWindow(hint, TRUE);
        }
        run(kActSetActive);
        return 1;
    case PSN_KILLACTIVE:
        if (hint) {
            RemovePropW(hint, kHintOwnerProp);
            EnableWindow(hint, FALSE);
        }
        SetResult(page, run(kActKillActive) ? PSNRET_NOERROR : PSNRET_INVALID);
        return 1;
    case PSN_QUERYCANCEL:
        SetResult(page, run(kActKillActive) ? 0 : 1);
        return 1;
    case PSN_APPLY:
        SetResult(page, run(kActApply) ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
        return 1;
    case PSN_RESET:
        run(kActReset);
        return 1;
    case PSN_HELP:
        ShowPageHelp(page, HelpIdFor(0));
        return 1;
    default:
        return 0;
    }
}

}  // namespace

INT_PTR DispatchPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, int count,
                            const PageActionEntry* actions) {
    if (message == kHostPageMessage1 || message == kHostPageMessage2) {
        HostServices* services = RegisteredHostServices();
        return services && services->pageMessage ? services->pageMessage(page, message, lParam) : 0;
    }
    if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_KEYDOWN || message == WM_HELP ||
        message == WM_CONTEXTMENU)
        HideHint(page);

    switch (message) {
    case WM_INITDIALOG:
        return Run(kActInit, page, message, wParam, lParam, count, actions);
    case WM_DRAWITEM:
        return Run(kActDrawItem, page, message, wParam, lParam, count, actions);
    case WM_MEASUREITEM:
        return Run(kActMeasureItem, page, message, wParam, lParam, count, actions);
    case WM_COMMAND:
        return Run(kActCommand, page, message, wParam, lParam, count, actions);
    case WM_PAINT:
        return Run(kActPaint, page, message, wParam, lParam, count, actions);
    case WM_ERASEBKGND:
        return Run(kActEraseBackground, page, message, wParam, lParam, count, actions);
    case WM_DESTROY:
        Run(kActDestroy, page, message, wParam, lParam, count, actions);
        ReleasePageData(page);
        return 0;
    case WM_NOTIFY:
        return lParam ? Notify(page, reinterpret_cast<const NMHDR*>(lParam), wParam, lParam, count, actions) : 0;
    case WM_KEYDOWN:
        if (wParam != VK_F1) return 0;
        ShowPageHelp(page, HelpIdFor(GetFocus() ? GetDlgCtrlID(GetFocus()) : 0));
        return 1;
    case WM_HELP:
        ShowControlHelp(reinterpret_cast<const HELPINFO*>(lParam));
        return 1;
    case WM_CONTEXTMENU:
        ShowContextMenuHelp(reinterpret_cast<HWND>(wParam));
        return 1;
    default:
        return 0;
    }
}
