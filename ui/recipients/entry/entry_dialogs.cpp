#include "entry_dialogs.h"

#include <cstring>
#include <iterator>

#include "comm_dialog.h"
#include "dialog_help.h"
#include "edit_filters.h"
#include "list_routines.h"
#include "entry_codec.h"
#include "resource.h"
#include "shared_state.h"
#include "store.h"
#include "text_convert.h"
#include "text_routines.h"

namespace {

constexpr DWORD kHelpContext = 15601;


// The detail fields of CurrentDetails with their controls and edit limits.
struct DetailField {
    int id;
    WCHAR* text;
    int capacity;
};

void Show(HWND dialog, int id, bool show) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return;
    ShowWindow(control, show ? SW_SHOW : SW_HIDE);
    EnableWindow(control, show);
}

void SetBounded(HWND dialog, int id, const WCHAR* text, size_t capacity) {
    WideString value(text, WideBoundedLen(text, capacity - 1));
    SetDlgItemTextW(dialog, id, value.c_str());
}

void ReadOnly(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, EM_SETREADONLY, TRUE, 0); }

// ---- view --------------------------------------------------------------

void OpenView(HWND dialog) {
    for (int id : {IDC_ENTRY_FAX, IDC_ENTRY_COMM, IDOK, IDC_ENTRY_HELP}) Show(dialog, id, false);
    Show(dialog, IDC_ENTRY_FAX_VIEW, true);
    SetDlgItemTextW(dialog, IDCANCEL, WIDE("Sulje"));
    SetWindowTextW(dialog, WIDE("Vastaanottajan tiedot"));
    const EntryDetails& d = CurrentDetails;
    SetBounded(dialog, IDC_ENTRY_NAME, d.name, 31);
    SetBounded(dialog, IDC_ENTRY_FAX_VIEW, d.faxNumber, 31);
    SetBounded(dialog, IDC_ENTRY_COMPANY, d.company, 60);
    SetBounded(dialog, IDC_ENTRY_PHONE, d.phone, 47);
    SetBounded(dialog, IDC_ENTRY_EMAIL, d.email, 60);
    SetBounded(dialog, IDC_ENTRY_MEMO, d.memo, 255);
    for (int id : {IDC_ENTRY_NAME, IDC_ENTRY_COMPANY, IDC_ENTRY_FAX_VIEW, IDC_ENTRY_PHONE, IDC_ENTRY_EMAIL, IDC_ENTRY_MEMO})
        ReadOnly(dialog, id);
    SetFocus(GetDlgItem(dialog, IDCANCEL));
}

// ---- edit --------------------------------------------------------------

int ParentListId(HWND dialog) { return (int)GetWindowLongPtrW(dialog, DWLP_USER); }

void Title(HWND dialog, WCHAR* title, int capacity) { GetWindowTextW(dialog, title, capacity); }

void Warn(HWND dialog, const WCHAR* text) {
    WCHAR title[128] = {0};
    Title(dialog, title, 128);
    MessageBoxW(dialog, text, title, MB_ICONWARNING | MB_OK);
}

void OpenEdit(HWND dialog) {
    for (int id : {IDC_ENTRY_FAX, IDC_ENTRY_COMM, IDOK, IDC_ENTRY_HELP}) Show(dialog, id, true);
    Show(dialog, IDC_ENTRY_FAX_VIEW, false);
    SetDlgItemTextW(dialog, IDCANCEL, WIDE("Peruuta"));
    SetWindowTextW(dialog, CurrentRecipient.faxNumber[0] ? WIDE("Muokkaa ominaisuuksia") : WIDE("Lisää yksi"));
    SetWindowLongPtrW(dialog, DWLP_USER, CurrentDetails.workFlag);

    EntryDetails& d = CurrentDetails;
    const DetailField fields[] = {{IDC_ENTRY_NAME, d.name, 31},    {IDC_ENTRY_COMPANY, d.company, 60},
                                  {IDC_ENTRY_FAX, d.faxNumber, 31}, {IDC_ENTRY_PHONE, d.phone, 47},
                                  {IDC_ENTRY_EMAIL, d.email, 60},  {IDC_ENTRY_MEMO, d.memo, 255}};
    for (const DetailField& f : fields) {
        SendDlgItemMessageW(dialog, f.id, EM_SETREADONLY, FALSE, 0);
        SendDlgItemMessageW(dialog, f.id, EM_LIMITTEXT, f.capacity - 1, 0);
        SetBounded(dialog, f.id, f.text, f.capacity);
    }
    if (GetDlgItem(GetParent(dialog), IDC_GROUP_NAME) || ParentListId(dialog) != IDC_PB_PHONEBOOK_LIST) {
        ReadOnly(dialog, IDC_ENTRY_NAME);
        ReadOnly(dialog, IDC_ENTRY_FAX);
    }
    SetFocus(GetDlgItem(dialog, IDC_ENTRY_NAME));
}

void OnEditChange(HWND dialog, int id) {
    WCHAR text[300] = {0};
    GetDlgItemTextW(dialog, id, text, 300);
    if (id == IDC_ENTRY_NAME)
        FilterEditChars(dialog, id, text, '[', ']', kFilterExclude);
    else
        FilterFaxNumber(dialog, id, text);
}

// The settings dialog edits CurrentRecipient in place; anything but OK
// puts the record back as it was.
void EditCommSettings(HWND dialog) {
    const FaxRecipient saved = CurrentRecipient;
    if (DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_COMM_SETTINGS), dialog, CommDlgProc, 0) != IDOK)
        CurrentRecipient = saved;
}

// Whether the parent list holds the record of this text, by the key the
// store finds records with.
bool ParentListHolds(HWND dialog, const WideString& text) {
    return FindRecordItem(GetDlgItem(GetParent(dialog), ParentListId(dialog)), text.c_str()) != LB_ERR;
}

void ReadTrimmed(HWND dialog, int id, WCHAR* field, int capacity) {
    GetDlgItemTextW(dialog, id, field, capacity);
    TrimBlanks(field);
}

void OnEditOk(HWND dialog) {
    WCHAR fax[31] = {0}, name[31] = {0};
    GetDlgItemTextW(dialog, IDC_ENTRY_FAX, fax, 31);
    if (!fax[0]) {
        Warn(dialog, WIDE("Anna faksinumero."));
        return;
    }
    ReadTrimmed(dialog, IDC_ENTRY_NAME, name, 31);

    WCHAR oldName[32] = {0}, oldFax[32] = {0};
    AnsiToWideField(CurrentRecipient.name, strnlen(CurrentRecipient.name, 31), oldName, std::size(oldName));
    AnsiToWideField(CurrentRecipient.faxNumber, strnlen(CurrentRecipient.faxNumber, 31), oldFax, std::size(oldFax));
    // A change the store would see as another key (a letter above ASCII in
    // another case, too) is a rename: references follow, the item is replaced.
    const WideString newText = IndividualListText(name, fax);
    const WideString oldText = IndividualListText(oldName, oldFax);
    UpdateMode mode = kModeSameKey;
    if (!SameRecordKey(newText.c_str(), oldText.c_str())) {
        if (ParentListHolds(dialog, newText)) {
            Warn(dialog, WIDE("Tämä nimi on jo puhelinmuistiotiedostossa.\nAnna jokin toinen nimi."));
            return;
        }
        mode = ParentListHolds(dialog, oldText) ? kModeKeyChanged : kModeNew;
    }
    EntryDetails& d = CurrentDetails;
    memcpy(d.faxNumber, fax, sizeof fax);
    memcpy(d.name, name, sizeof name);
    d.workFlag = mode;
    WideToAnsiField(name, 31, CurrentRecipient.name, sizeof CurrentRecipient.name);
    WideToAnsiField(fax, 31, CurrentRecipient.faxNumber, sizeof CurrentRecipient.faxNumber);
    GetDlgItemTextW(dialog, IDC_ENTRY_PHONE, d.phone, 47);
    ReadTrimmed(dialog, IDC_ENTRY_COMPANY, d.company, 60);
    ReadTrimmed(dialog, IDC_ENTRY_EMAIL, d.email, 60);
    ReadTrimmed(dialog, IDC_ENTRY_MEMO, d.memo, 255);
    CloseDialogHelp(dialog);
    EndDialog(dialog, IDOK);
}

void OnEditCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_ENTRY_NAME:
    case IDC_ENTRY_FAX:
    case IDC_ENTRY_PHONE:
        if (code == EN_CHANGE) OnEditChange(dialog, id);
        break;
    case IDC_ENTRY_COMM:
        if (code == BN_CLICKED) EditCommSettings(dialog);
        break;
    case IDOK:
        OnEditOk(dialog);
        break;
    case IDCANCEL:
        CloseDialogHelp(dialog);
        EndDialog(dialog, IDCANCEL);
        break;
    case IDC_ENTRY_HELP:
        ShowDialogHelp(dialog, kHelpContext);
        break;
    }
}

}  // namespace

extern "C" INT_PTR CALLBACK ShowDBInfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OpenView(dialog);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

extern "C" INT_PTR CALLBACK EditDBInfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OpenEdit(dialog);
        return FALSE;
    case WM_COMMAND:
        OnEditCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

extern "C" INT_PTR CALLBACK NewEntryDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        CheckRadioButton(dialog, IDC_NEW_INDIVIDUAL, IDC_NEW_GROUP, IDC_NEW_INDIVIDUAL);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            EndDialog(dialog, IsDlgButtonChecked(dialog, IDC_NEW_GROUP) == BST_CHECKED ? IDC_NEW_GROUP : IDC_NEW_INDIVIDUAL);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
