// The group edit dialog (template 107).
#include <algorithm>
#include <iterator>

#include "band_paint.h"
#include "dialog_help.h"
#include "edit_filters.h"
#include "entry_codec.h"
#include "entry_edit.h"
#include "group_dialogs.h"
#include "group_lists.h"
#include "group_record.h"
#include "list_extent.h"
#include "list_routines.h"
#include "resource.h"
#include "shared_state.h"
#include "store.h"
#include "store_dialogs.h"
#include "text_routines.h"

namespace {

constexpr DWORD kHelpContext = 15602;
constexpr int kNameLimit = 30;
constexpr int kSearchLimit = 32;

int ParentListId(HWND dialog) { return static_cast<int>(GetWindowLongPtrW(dialog, DWLP_USER)); }
HWND ParentList(HWND dialog) { return GetDlgItem(GetParent(dialog), ParentListId(dialog)); }
HWND Members(HWND dialog) { return GetDlgItem(dialog, IDC_GROUP_MEMBERS); }
HWND Available(HWND dialog) { return GetDlgItem(dialog, IDC_GROUP_AVAILABLE); }

// The dialog's title is the caption of its warnings.
void Warn(HWND dialog, const WCHAR* text) {
    WCHAR title[128] = {0};
    GetWindowTextW(dialog, title, 128);
    MessageBoxW(dialog, text, title, MB_ICONWARNING | MB_OK);
}

WideString CurrentName() { return WideString(CurrentGroupName, WideBoundedLen(CurrentGroupName, kNameLimit)); }

// ---- opening -------------------------------------------------------------

// Every item of the parent list but the edited group itself.
void OfferParentItems(HWND dialog) {
    HWND parent = ParentList(dialog);
    if (!parent) return;
    const WideString self = GroupListText(CurrentName().c_str());
    const LRESULT count = SendMessageW(parent, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        WideString text = GroupItemText(parent, static_cast<int>(i));
        if (SameRecordKey(text.c_str(), self.c_str())) continue;
        GroupListAppend(Available(dialog), text, SendMessageW(parent, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    }
}

BOOL OnInitDialog(HWND dialog) {
    // Opened straight from the module's export: the module it came from
    // holds the templates and the bitmap loaded below.
    if (!DialogModule()) SetHelpModule(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)));
    SetWindowLongPtrW(dialog, DWLP_USER, CurrentDetails.workFlag);
    FreeGroupRecord();  // one the last opener forgot
    ScrollToWidestItem(Members(dialog));
    ScrollToWidestItem(Available(dialog));
    SendMessageW(Members(dialog), LB_RESETCONTENT, 0, 0);
    SendMessageW(Available(dialog), LB_RESETCONTENT, 0, 0);
    const WideString name = CurrentName();
    if (!name.empty()) {
        SetWindowTextW(dialog, WIDE("Muokkaa ryhmän ominaisuuksia"));
        if (!DBListGroupMembers(dialog, IDC_GROUP_MEMBERS, name.c_str(), FALSE)) {
            EndDialog(dialog, IDCANCEL);  // the store has said why
            return FALSE;
        }
    } else {
        SetWindowTextW(dialog, WIDE("Uusi ryhmä"));
    }
    OfferParentItems(dialog);
    SendDlgItemMessageW(dialog, IDC_GROUP_NAME, EM_LIMITTEXT, kNameLimit, 0);
    SendDlgItemMessageW(dialog, IDC_GROUP_SEARCH, EM_LIMITTEXT, kSearchLimit, 0);
    SetDlgItemTextW(dialog, IDC_GROUP_NAME, name.c_str());
    SetFocus(GetDlgItem(dialog, IDC_GROUP_NAME));
    return FALSE;
}

// Two etched bands, under the name and above the bottom buttons.
void OnPaint(HWND dialog) { PaintEtchedBands(dialog, {1, 8}); }

// ---- members -------------------------------------------------------------

// The selected available items join the members in list order: a group
// with its members, an individual unless it is a member already.
void OnAddSelected(HWND dialog) {
    bool shortOfMemory = false;
    const std::vector<int> selected = GroupSelectedItems(Available(dialog), &shortOfMemory);
    if (shortOfMemory) {
        Warn(dialog, WIDE("Muisti ei riitä useiden kohtien lisäämiseen.\nVähennä kohtia ja yritä uudelleen."));
        return;
    }
    for (int index : selected) {
        const WideString text = GroupItemText(Available(dialog), index);
        if (SendMessageW(Available(dialog), LB_GETITEMDATA, static_cast<WPARAM>(index), 0) == kItemGroup) {
            WCHAR group[kNameLimit + 1];
            if (!SplitListText(text.c_str(), group, kNameLimit + 1)) continue;
            // The store has shown why the phonebook cannot be read.
            if (!DBListGroupMembers(dialog, IDC_GROUP_MEMBERS, group, FALSE)) return;
        } else if (!GroupListHolds(Members(dialog), text)) {
            GroupListAppend(Members(dialog), text, kItemIndividual);
        }
    }
}

void OnAvailableProperties(HWND dialog) {
    WideString text;
    LPARAM data = 0;
    if (!OneSelectedForProperties(dialog, IDC_GROUP_AVAILABLE, text, &data)) return;
    if (data == kItemGroup)
        DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_GROUP_VIEW), dialog, ShowDBGrpDlgProc, 0);
    else
        EditEntryProperties(dialog, IDC_GROUP_AVAILABLE, text.c_str());
}

// A member's details; its name and number stay as they are here.
void OnMemberProperties(HWND dialog) {
    const std::vector<int> selected = GroupSelectedItems(Members(dialog));
    if (selected.empty()) return;
    EditEntryProperties(dialog, IDC_GROUP_MEMBERS, GroupItemText(Members(dialog), selected.front()).c_str());
}

// The delete key in the member list: -2 when handled, -1 otherwise.
INT_PTR OnVKeyToItem(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND list = reinterpret_cast<HWND>(lParam);
    if (LOWORD(wParam) != VK_DELETE || list != Members(dialog)) return -1;
    const LRESULT selected = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (selected <= 0) return -1;
    if (MessageBoxW(dialog, WIDE("Haluatko poistaa valitut ryhmän jäsenet luettelosta?"),
                    WIDE("Poista ryhmästä jäseniä"), MB_ICONQUESTION | MB_YESNO) != IDYES)
        return -1;
    DeleteSelectedItems(dialog, IDC_GROUP_MEMBERS, static_cast<int>(selected), nullptr, nullptr);
    return -2;
}

// ---- ending --------------------------------------------------------------

void Refuse(HWND dialog, const WCHAR* text) {
    Warn(dialog, text);
    HWND edit = GetDlgItem(dialog, IDC_GROUP_NAME);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void OnOk(HWND dialog) {
    WCHAR name[kNameLimit + 1] = {0};
    GetDlgItemTextW(dialog, IDC_GROUP_NAME, name, std::size(name));
    TrimBlanks(name);
    if (!name[0]) {
        Refuse(dialog, WIDE("Anna ryhmän nimi."));
        return;
    }
    // Names the store tells apart are different groups, however alike they look.
    const WideString newText = GroupListText(name);
    const WideString oldText = GroupListText(CurrentName().c_str());
    UpdateMode mode = kModeSameKey;
    if (!SameRecordKey(newText.c_str(), oldText.c_str())) {
        HWND parent = ParentList(dialog);
        if (GroupListHolds(parent, newText)) {
            Refuse(dialog, WIDE("Ryhmän nimi on jo nykyisessä puhelinmuistiotiedostossa.\nKirjoita jokin toinen nimi."));
            return;
        }
        mode = GroupListHolds(parent, oldText) ? kModeKeyChanged : kModeNew;
    }
    std::vector<WideString> members;
    const LRESULT count = SendMessageW(Members(dialog), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) members.push_back(GroupItemText(Members(dialog), static_cast<int>(i)));
    // The name and mode change only with a record built, so that a retry
    // after the warning still compares with the group's old name.
    if (!BuildGroupRecord(name, members)) {
        Warn(dialog, WIDE("Muisti ei riitä jatkamiseen.\nVähennä ryhmän jäsenten määrää ja yritä uudelleen."));
        return;
    }
    static_assert(sizeof CurrentGroupName == sizeof name, "group name buffers");
    std::copy(name, name + kNameLimit + 1, CurrentGroupName);
    CurrentDetails.workFlag = mode;
    CloseDialogHelp(dialog);
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_GROUP_NAME:
        if (code == EN_CHANGE) {
            WCHAR text[64] = {0};
            GetDlgItemTextW(dialog, id, text, 64);
            FilterEditChars(dialog, id, text, '[', ']', kFilterExclude);
        }
        break;
    case IDC_GROUP_SEARCH: SearchListByPrefix(dialog, IDC_GROUP_AVAILABLE); break;
    case IDC_GROUP_AVAILABLE:
        if (code == LBN_DBLCLK) OnAddSelected(dialog);
        break;
    case IDC_GROUP_MEMBERS:
        if (code == LBN_DBLCLK) OnMemberProperties(dialog);
        break;
    case IDC_GROUP_ADD:
        if (code == BN_CLICKED) OnAddSelected(dialog);
        break;
    case IDC_GROUP_PROPERTIES:
        if (code == BN_CLICKED) OnAvailableProperties(dialog);
        break;
    case IDC_GROUP_REMOVE:
        if (code == BN_CLICKED)
            PostMessageW(dialog, WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 0), reinterpret_cast<LPARAM>(Members(dialog)));
        break;
    case IDC_GROUP_HELP: ShowDialogHelp(dialog, kHelpContext); break;
    case IDOK: OnOk(dialog); break;
    case IDCANCEL:
        CloseDialogHelp(dialog);
        EndDialog(dialog, IDCANCEL);
        break;
    default: break;
    }
}

}  // namespace

extern "C" INT_PTR CALLBACK EditDBGrpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_PAINT: OnPaint(dialog); return TRUE;
    case WM_VKEYTOITEM: return OnVKeyToItem(dialog, wParam, lParam);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}
