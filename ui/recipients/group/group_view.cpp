// The view of a group's members (template 700), opened from a dialog whose
// list 601 has the group selected.
#include "dialog_help.h"
#include "entry_edit.h"
#include "group_dialogs.h"
#include "group_lists.h"
#include "list_extent.h"
#include "list_routines.h"
#include "resource.h"
#include "store_dialogs.h"
#include "text_routines.h"

namespace {

constexpr int kNameLimit = 30;
constexpr int kSearchLimit = 30;

// The group selected first in the parent's list 601; false when there is
// none to show.
bool SelectedGroupName(HWND dialog, WCHAR (&name)[kNameLimit + 1]) {
    HWND list = GetDlgItem(GetParent(dialog), IDC_GROUP_AVAILABLE);
    if (!list) return false;
    const std::vector<int> selected = GroupSelectedItems(list);
    if (selected.empty()) return false;
    return SplitListText(GroupItemText(list, selected.front()).c_str(), name, kNameLimit + 1) && name[0];
}

BOOL OnInitDialog(HWND dialog) {
    // Opened straight from the module's export: the module it came from
    // holds the templates of the dialogs opened from here.
    if (!DialogModule()) SetHelpModule(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)));
    ScrollToWidestItem(GetDlgItem(dialog, IDC_GROUP_AVAILABLE));
    SendDlgItemMessageW(dialog, IDC_GROUP_AVAILABLE, LB_RESETCONTENT, 0, 0);
    WCHAR name[kNameLimit + 1] = {0};
    if (!SelectedGroupName(dialog, name)) {
        EndDialog(dialog, IDCANCEL);
        return FALSE;
    }
    WCHAR title[128] = {0};
    wsprintfW(title, WIDE("%s %s"), name, WIDE("Ryhmän ominaisuudet"));
    SetWindowTextW(dialog, title);
    if (!DBListGroupMembers(dialog, IDC_GROUP_AVAILABLE, name, FALSE)) {
        EndDialog(dialog, IDCANCEL);  // the store has said why
        return FALSE;
    }
    SendDlgItemMessageW(dialog, IDC_GROUP_SEARCH, EM_LIMITTEXT, kSearchLimit, 0);
    return TRUE;
}

void OnMemberProperties(HWND dialog) {
    WideString text;
    if (OneSelectedForProperties(dialog, IDC_GROUP_AVAILABLE, text)) EditEntryProperties(dialog, IDC_GROUP_AVAILABLE, text.c_str());
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    case IDC_GROUP_PROPERTIES:
        if (code == BN_CLICKED) OnMemberProperties(dialog);
        break;
    case IDC_GROUP_AVAILABLE:
        if (code == LBN_DBLCLK) OnMemberProperties(dialog);
        break;
    case IDC_GROUP_SEARCH: SearchListByPrefix(dialog, IDC_GROUP_AVAILABLE); break;
    default: break;
    }
}

}  // namespace

extern "C" INT_PTR CALLBACK ShowDBGrpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}
