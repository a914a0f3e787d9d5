#include "phonebook_dialog.h"

#include "current_phonebook.h"
#include "band_paint.h"
#include "dialog_help.h"
#include "list_extent.h"
#include "list_routines.h"
#include "phonebook_dialog_internal.h"
#include "store_dialogs.h"
#include "store_state.h"

namespace {

constexpr DWORD kHelpContext = 115;
constexpr int kSearchLimit = 32;

// Buttons that need a usable phonebook.
const int kPhonebookButtons[] = {IDC_PB_NEW_ITEM, IDC_PB_DELETE, IDC_PB_PROPERTIES,
                                 IDC_PB_IMPORT,   IDC_PB_SAVE_AS, IDC_PB_PICK};

BOOL OnInitDialog(HWND dialog) {
    // Opened straight from the module's export, before any hook call told
    // the dialogs their module: the one this dialog came from holds the
    // strings and templates they load.
    if (!DialogModule()) SetHelpModule(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)));
    ScrollToWidestItem(GetDlgItem(dialog, IDC_PB_PHONEBOOK_LIST));
    if (IsPickerDialog(dialog)) {
        ScrollToWidestItem(GetDlgItem(dialog, IDC_PB_PICKED_LIST));
        PrepareExchangeBlock();
        FillRecipientList(dialog, IDC_PB_PICKED_LIST, ExchangeRecipients);
    }
    SendDlgItemMessageW(dialog, IDC_PB_SEARCH, EM_LIMITTEXT, kSearchLimit, 0);
    bool usable = DBOpenCurrentPhonebook(dialog) && DBValidateCurrentPhonebook(dialog);
    StoreState.noPhonebook = usable ? 0 : 1;
    RefreshPhonebookView(dialog);
    // The list took the focus when it was filled.
    return StoreState.noPhonebook ? TRUE : FALSE;
}

// The etched band above the bottom buttons.
void OnPaint(HWND dialog) { PaintEtchedBands(dialog, {8}); }

void EndPhonebookDialog(HWND dialog, INT_PTR result) {
    CloseDialogHelp(dialog);
    EndDialog(dialog, result);
}

// The buttons that stand for the delete key post it to the dialog, as a
// key pressed in the list would arrive.
void PostDeleteKey(HWND dialog, int listId) {
    PostMessageW(dialog, WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 0),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, listId)));
}

INT_PTR OnVKeyToItem(HWND dialog, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) != VK_DELETE) return -1;
    int list = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    if (list == IDC_PB_PHONEBOOK_LIST) return OnDeleteFromPhonebook(dialog);
    if (list == IDC_PB_PICKED_LIST && IsPickerDialog(dialog)) return OnRemoveRecipients(dialog);
    return -1;
}

void OnCommand(HWND dialog, int id, int code) {
    bool picker = IsPickerDialog(dialog);
    switch (id) {
    case IDC_PB_SEARCH: SearchListByPrefix(dialog, IDC_PB_PHONEBOOK_LIST); break;
    case IDC_PB_NEW_BOOK: OnNewPhonebook(dialog); break;
    case IDC_PB_OPEN_BOOK: OnOpenPhonebook(dialog); break;
    case IDC_PB_SAVE_AS: OnSaveAs(dialog); break;
    case IDC_PB_DELETE: PostDeleteKey(dialog, IDC_PB_PHONEBOOK_LIST); break;
    case IDC_PB_IMPORT: OnStartImport(); break;
    case IDC_PB_IMPORT_NAMES:
    case IDC_PB_IMPORT_FULL: OnPhonebookImportResult(dialog, id); break;
    case IDC_PB_NEW_ITEM: OnNewItem(dialog); break;
    case IDC_PB_PROPERTIES: OnItemProperties(dialog); break;
    case IDC_PB_PHONEBOOK_LIST:
        if (code != LBN_DBLCLK) break;
        if (picker)
            OnAddRecipients(dialog);
        else
            OnItemProperties(dialog);
        break;
    case IDC_PB_PICKED_LIST:
        if (picker && code == LBN_DBLCLK) OnPickedDoubleClick(dialog);
        break;
    case IDC_PB_PICK:
        if (picker) OnAddRecipients(dialog);
        break;
    case IDC_PB_UNPICK:
        if (picker && ExchangeRecipients.recipientCount > 0) PostDeleteKey(dialog, IDC_PB_PICKED_LIST);
        break;
    case IDOK:
        if (!picker) break;
        ReadPickedDetails(dialog);
        EndPhonebookDialog(dialog, 1);
        break;
    case IDCANCEL: EndPhonebookDialog(dialog, 0); break;
    case IDC_PB_HELP: ShowDialogHelp(dialog, kHelpContext); break;
    default: break;
    }
}

}  // namespace

bool IsPickerDialog(HWND dialog) { return GetDlgItem(dialog, IDC_PB_PICKED_LIST) != nullptr; }

void SetPhonebookTitle(HWND dialog) {
    WideString title = WIDE("Puhelinmuistio");
    if (!StoreState.noPhonebook) {
        title += WIDE(" - ");
        title += WideString(StoreState.currentPath, WideBoundedLen(StoreState.currentPath, kStorePathChars - 1));
    }
    SetWindowTextW(dialog, title.c_str());
}

void RefreshPhonebookView(HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_RESETCONTENT, 0, 0);
    if (!StoreState.noPhonebook && DBFillList(dialog, IDC_PB_PHONEBOOK_LIST)) {
        SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_SETSEL, TRUE, 0);
        SetFocus(GetDlgItem(dialog, IDC_PB_PHONEBOOK_LIST));
    } else {
        StoreState.noPhonebook = 1;
    }
    SetPhonebookTitle(dialog);
    for (int id : kPhonebookButtons) EnableDialogControl(dialog, id, StoreState.noPhonebook ? FALSE : TRUE);
}

extern "C" INT_PTR CALLBACK PhonebookDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_PAINT: OnPaint(dialog); return TRUE;
    case WM_VKEYTOITEM: return OnVKeyToItem(dialog, wParam, lParam);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}
