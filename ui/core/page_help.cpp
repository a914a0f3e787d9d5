#include "page_help.h"

#include "dialog_help.h"
#include "page_tables.h"
#include "pages_ids.h"

namespace {

int g_helpPage = IDD_FAX_OPTIONS;

const int32_t* CurrentMap() { return g_helpPage == IDD_FAX_ABOUT ? kAboutPageHelpMap : kOptionPageHelpMap; }

}  // namespace

void SetHelpPage(int templateId) { g_helpPage = templateId; }

DWORD HelpIdFor(int controlId) {
    const int32_t* map = CurrentMap();
    for (const int32_t* p = map; p[0] != 0; p += 2)
        if (p[0] == controlId) return static_cast<DWORD>(p[1]);
    return static_cast<DWORD>(map[1]);
}

void ShowPageHelp(HWND page, DWORD context) { WinHelpW(page, DialogHelpFile(), HELP_CONTEXT, context); }

void ShowControlHelp(const HELPINFO* info) {
    if (!info) return;
    WinHelpW(static_cast<HWND>(info->hItemHandle), DialogHelpFile(), HELP_WM_HELP,
             reinterpret_cast<ULONG_PTR>(CurrentMap()));
}

void ShowContextMenuHelp(HWND control) {
    WinHelpW(control, DialogHelpFile(), HELP_CONTEXTMENU, reinterpret_cast<ULONG_PTR>(CurrentMap()));
}
