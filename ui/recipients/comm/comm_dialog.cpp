#include "comm_dialog.h"

#include <cstring>

#include "comm_modes.h"
#include "dialog_help.h"
#include "edit_filters.h"
#include "list_routines.h"
#include "relay_codes.h"
#include "resource.h"
#include "shared_state.h"
#include "text_convert.h"
#include "text_routines.h"

namespace {

constexpr DWORD kHelpContext = 15508;
constexpr int kMaxDestinations = 20;
constexpr char kOptionSecure = '4';
constexpr char kOptionRelay = '1';
constexpr char kOptionNone = '0';

const WCHAR kCaptionSecure[] = WIDE("Suojatun faksin asetukset eivät kelpaa");
const WCHAR kCaptionRelay[] = WIDE("Jatkolähetysfaksin asetukset eivät kelpaa");

CommSettings& Comm() { return CurrentRecipient.comm; }

void Show(HWND dialog, int id, bool show) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return;
    ShowWindow(control, show ? SW_SHOW : SW_HIDE);
    EnableWindow(control, show);
}

void FocusOk(HWND dialog) { SetFocus(GetDlgItem(dialog, IDOK)); }

void SelectAllOf(HWND dialog, int id) {
    SetFocus(GetDlgItem(dialog, id));
    SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, -1);
}

void ShowError(HWND dialog, const WCHAR* text, const WCHAR* caption) {
    MessageBoxW(dialog, text, caption, MB_ICONSTOP | MB_OK);
}

bool GroupSend(HWND dialog) { return IsDlgButtonChecked(dialog, IDC_GROUP_SEND) == BST_CHECKED; }

int DestinationCount() {
    int n = Comm().relayDestCount;
    return n < 0 ? 0 : (n > kMaxDestinations ? kMaxDestinations : n);
}

void SetFieldText(HWND dialog, int id, const char* field, size_t size) {
    WCHAR text[32] = {0};
    AnsiToWideField(field, strnlen(field, size), text, 32);
    SetDlgItemTextW(dialog, id, text);
}

// The value of a digit field, read within its bounds.
int FieldValue(const char* field, size_t size) {
    char text[32] = {0};
    memcpy(text, field, strnlen(field, size < sizeof text ? size : sizeof text - 1));
    return DigitValue(text);
}

// Labels of the destination number, and the number's length with them.
void UpdateDestinationLabels(HWND dialog, bool relayShown) {
    const bool group = GroupSend(dialog);
    Show(dialog, IDC_DEST_LABEL_99, relayShown && !group);
    Show(dialog, IDC_DEST_LABEL_9, relayShown && group);
    if (relayShown) SendDlgItemMessageW(dialog, IDC_DEST_NUMBER, EM_LIMITTEXT, group ? 1 : 2, 0);
}

void ShowSecureGroup(HWND dialog, bool show) {
    for (int id : {IDC_MAILBOX_LABEL, IDC_MAILBOX, IDC_MAILBOX_PASS_LABEL, IDC_MAILBOX_PASS}) Show(dialog, id, show);
}

void ShowRelayGroup(HWND dialog, bool show) {
    for (int id = IDC_STATION_LABEL; id <= IDC_GROUP_SEND; ++id) Show(dialog, id, show);
    UpdateDestinationLabels(dialog, show);
}

void UpdateDestinationButtons(HWND dialog) {
    const int n = DestinationCount();
    EnableDialogControl(dialog, IDC_DEST_REMOVE, n > 0);
    EnableDialogControl(dialog, IDC_DEST_ADD, n < kMaxDestinations);
}

// relayDests from the list: the first 3 characters of item i at 3 x i.
void StoreDestinations(HWND dialog, int count) {
    for (int i = 0; i < count && i < kMaxDestinations; ++i) {
        WCHAR item[64] = {0};
        if (SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_GETTEXTLEN, i, 0) < 64)
            SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
        item[3] = 0;
        char code[8] = {0};
        WideToAnsiField(item, 4, code, sizeof code);
        memcpy(Comm().relayDests + 3 * i, code, 3);
    }
}

void FillCommModes(HWND dialog, const int* table) {
    SendDlgItemMessageW(dialog, IDC_COMM_MODE, CB_RESETCONTENT, 0, 0);
    for (const int* id = table; *id != kCommModeListEnd; ++id) {
        WCHAR text[65] = {0};
        LoadStringW(DialogModule(), *id, text, 65);
        SendDlgItemMessageW(dialog, IDC_COMM_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

// A mode the table does not offer (past its end marker, or not a mode at
// all) becomes the default recipient's.
void SelectCommMode(HWND dialog, const int* table) {
    int offered = 0;
    while (table[offered] != kCommModeListEnd) ++offered;
    if (Comm().commMode < 0 || Comm().commMode >= offered) Comm().commMode = DefaultRecipient.comm.commMode;
    SendDlgItemMessageW(dialog, IDC_COMM_MODE, CB_SETCURSEL, Comm().commMode, 0);
}

void SetTitle(HWND dialog, bool fromRecipientList) {
    if (!fromRecipientList) {
        SetWindowTextW(dialog, WIDE("Tietoliikenneasetukset"));
        return;
    }
    WCHAR name[32] = {0}, fax[32] = {0}, title[128] = {0};
    AnsiToWideField(CurrentRecipient.name, strnlen(CurrentRecipient.name, 31), name, 32);
    AnsiToWideField(CurrentRecipient.faxNumber, strnlen(CurrentRecipient.faxNumber, 31), fax, 32);
    if (Comm().speedDial == 1)
        wsprintfW(title, WIDE("%s - %s %c%c%s%c%c"), WIDE("Tiet.liik.asetukset"), name, '<', '\'', fax, '\'', '>');
    else
        wsprintfW(title, WIDE("%s - %s %c%s%c"), WIDE("Tiet.liik.asetukset"), name, '<', fax, '>');
    SetWindowTextW(dialog, title);
}

void OpenCommSettings(HWND dialog) {
    const bool fromRecipientList = GetDlgItem(GetParent(dialog), IDC_RCP_LIST) != nullptr;
    const int* table = fromRecipientList ? RecipientCommModes : EntryCommModes;
    SetTitle(dialog, fromRecipientList);

    struct { int id; int limit; } limits[] = {
        {IDC_MAILBOX, 3}, {IDC_MAILBOX_PASS, 4}, {IDC_STATION, 2}, {IDC_FCODE, 20}, {IDC_FCODE_PASS, 20}};
    for (const auto& l : limits) SendDlgItemMessageW(dialog, l.id, EM_LIMITTEXT, l.limit, 0);

    FillCommModes(dialog, table);
    SelectCommMode(dialog, table);
    SetFieldText(dialog, IDC_FCODE, Comm().fCode, sizeof Comm().fCode);
    SetFieldText(dialog, IDC_FCODE_PASS, Comm().fCodePassword, sizeof Comm().fCodePassword);

    const bool secure = Comm().commOption == kOptionSecure;
    CheckDlgButton(dialog, IDC_SECURE, secure ? BST_CHECKED : BST_UNCHECKED);
    ShowSecureGroup(dialog, secure);
    SetFieldText(dialog, IDC_MAILBOX, Comm().mailboxId, sizeof Comm().mailboxId);
    SetFieldText(dialog, IDC_MAILBOX_PASS, Comm().mailboxPassword, sizeof Comm().mailboxPassword);

    const bool relay = Comm().commOption == kOptionRelay;
    CheckDlgButton(dialog, IDC_RELAY, relay ? BST_CHECKED : BST_UNCHECKED);
    ShowRelayGroup(dialog, relay);
    SetFieldText(dialog, IDC_STATION, Comm().relayStationId, sizeof Comm().relayStationId);
    CheckDlgButton(dialog, IDC_RELAY_PRINT, Comm().relayPrint == '1' ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(dialog, IDC_DEST_NUMBER, WIDE(""));
    SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < DestinationCount(); ++i) {
        WCHAR code[4] = {0};
        AnsiToWideField(Comm().relayDests + 3 * i, strnlen(Comm().relayDests + 3 * i, 3), code, 4);
        SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code));
    }
    if (relay) UpdateDestinationButtons(dialog);
    FocusOk(dialog);
}

// Digit fields and the F-code password: filtered, then stored at once.
void OnFieldChange(HWND dialog, int id, char* field, size_t size, int mode) {
    WCHAR text[64] = {0};
    GetDlgItemTextW(dialog, id, text, 64);
    if (FilterEditChars(dialog, id, text, '0', '9', mode)) WideToAnsiField(text, 64, field, size);
}

// The destination number is filtered but not stored.
void OnDestinationChange(HWND dialog) {
    WCHAR text[16] = {0};
    GetDlgItemTextW(dialog, IDC_DEST_NUMBER, text, 16);
    const bool group = GroupSend(dialog);
    for (int i = 0; text[i]; ++i) {
        if (DestinationCharAllowed(text[i], group)) continue;
        MessageBeep(0xFFFFFFFF);
        SendDlgItemMessageW(dialog, IDC_DEST_NUMBER, EM_SETSEL, 0, i + 1);
        text[i] = 0;
        SendDlgItemMessageW(dialog, IDC_DEST_NUMBER, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
        return;
    }
}

void OnSecureClicked(HWND dialog) {
    const bool checked = IsDlgButtonChecked(dialog, IDC_SECURE) == BST_CHECKED;
    if (checked == (Comm().commOption == kOptionSecure)) return;
    if (checked && Comm().commOption == kOptionRelay) {
        CheckDlgButton(dialog, IDC_RELAY, BST_UNCHECKED);
        ShowRelayGroup(dialog, false);
    }
    ShowSecureGroup(dialog, checked);
    Comm().commOption = checked ? kOptionSecure : kOptionNone;
}

void OnRelayClicked(HWND dialog) {
    const bool checked = IsDlgButtonChecked(dialog, IDC_RELAY) == BST_CHECKED;
    if (checked == (Comm().commOption == kOptionRelay)) return;
    if (checked && Comm().commOption == kOptionSecure) {
        CheckDlgButton(dialog, IDC_SECURE, BST_UNCHECKED);
        ShowSecureGroup(dialog, false);
    }
    ShowRelayGroup(dialog, checked);
    if (checked) UpdateDestinationButtons(dialog);
    Comm().commOption = checked ? kOptionRelay : kOptionNone;
}

void OnAddDestination(HWND dialog) {
    if (Comm().relayDestCount >= kMaxDestinations) {
        FocusOk(dialog);
        return;
    }
    WCHAR typed[7] = {0};
    GetDlgItemTextW(dialog, IDC_DEST_NUMBER, typed, 7);
    if (!typed[0]) {
        SetFocus(GetDlgItem(dialog, IDC_DEST_NUMBER));
        return;
    }
    WCHAR code[4] = {0};
    const WCHAR* error = nullptr;
    switch (MakeDestinationCode(typed, GroupSend(dialog), code)) {
    case DestinationCheck::Ok: break;
    case DestinationCheck::NeedGroupNumber:
        error = WIDE("Faksin jatkolähetystä varten on annettava ryhmäkohteen tunnus 1 - 9.");
        break;
    case DestinationCheck::NeedNumber:
        error = WIDE("Faksin jatkolähetystä varten on annettava ryhmäkohteen tunnus 1 - 99.");
        break;
    case DestinationCheck::NoDigitsAfterStar:
        error = WIDE("Jokerimerkin '*' (lyhytvalinta) jälkeen ei tarvitse kirjoittaa numeroa syötettäessä "
                     "lyhytvalintanumeroa faksin jatkolähetyksen kohdeluetteloon.");
        break;
    }
    if (error) {
        ShowError(dialog, error, kCaptionRelay);
        SelectAllOf(dialog, IDC_DEST_NUMBER);
        return;
    }
    if (SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_FINDSTRING, (WPARAM)-1, reinterpret_cast<LPARAM>(code)) == LB_ERR) {
        const int index = (int)SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code));
        const int count = (int)SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_GETCOUNT, 0, 0);
        Comm().relayDestCount = count;
        StoreDestinations(dialog, count);
        UpdateDestinationButtons(dialog);
        SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_SETSEL, FALSE, -1);
        SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_SETSEL, TRUE, index);
        SetDlgItemTextW(dialog, IDC_DEST_NUMBER, WIDE(""));
    }
    FocusOk(dialog);
}

void OnRemoveDestinations(HWND dialog) {
    if (Comm().relayDestCount > 0) {
        DeleteSelectedItems(dialog, IDC_DEST_LIST, kMaxDestinations, nullptr, nullptr);
        const int count = (int)SendDlgItemMessageW(dialog, IDC_DEST_LIST, LB_GETCOUNT, 0, 0);
        Comm().relayDestCount = count;
        if (count > 0) StoreDestinations(dialog, count);  // removed codes' bytes stay as they were
        UpdateDestinationButtons(dialog);
    }
    FocusOk(dialog);
}

// The first rule the settings break, reported with its field focused.
bool ValidateCommSettings(HWND dialog) {
    const CommSettings& c = Comm();
    if (c.commOption == kOptionSecure) {
        const int mailbox = FieldValue(c.mailboxId, sizeof c.mailboxId);
        if (mailbox < 1 || mailbox > 200) {
            ShowError(dialog, WIDE("Suojatun faksin lähetystä varten on annettava postilokeron tunnus (1 - 200)."),
                      kCaptionSecure);
            SelectAllOf(dialog, IDC_MAILBOX);
            return false;
        }
        const size_t password = strnlen(c.mailboxPassword, sizeof c.mailboxPassword);
        if (password > 0 && password < 4) {
            ShowError(dialog, WIDE("Suojattua faksilähetystä varten on annettava 4-numeroinen salasana."),
                      kCaptionSecure);
            SelectAllOf(dialog, IDC_MAILBOX_PASS);
            return false;
        }
    } else if (c.commOption == kOptionRelay) {
        if (FieldValue(c.relayStationId, sizeof c.relayStationId) == 0) {
            ShowError(dialog, WIDE("Faksin jatkolähetystä varten on annettava jatkolähetysaseman tunnus (1 - 99)."),
                      kCaptionRelay);
            SelectAllOf(dialog, IDC_STATION);
            return false;
        }
        if (c.relayDestCount <= 0) {
            ShowError(dialog, WIDE("Faksin jatkolähetystä varten on kohdeluetteloon lisättävä kohteen tunnus."),
                      kCaptionRelay);
            SetFocus(GetDlgItem(dialog, IDC_DEST_NUMBER));
            return false;
        }
    }
    return true;
}

void EndCommSettings(HWND dialog, INT_PTR result) {
    CloseDialogHelp(dialog);
    EndDialog(dialog, result);
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_COMM_MODE: {
        const LRESULT sel = SendDlgItemMessageW(dialog, IDC_COMM_MODE, CB_GETCURSEL, 0, 0);
        if (sel != CB_ERR) Comm().commMode = (int32_t)sel;
        break;
    }
    case IDC_MAILBOX:
        if (code == EN_CHANGE) OnFieldChange(dialog, id, Comm().mailboxId, sizeof Comm().mailboxId, kFilterRange);
        break;
    case IDC_MAILBOX_PASS:
        if (code == EN_CHANGE)
            OnFieldChange(dialog, id, Comm().mailboxPassword, sizeof Comm().mailboxPassword, kFilterRange);
        break;
    case IDC_STATION:
        if (code == EN_CHANGE)
            OnFieldChange(dialog, id, Comm().relayStationId, sizeof Comm().relayStationId, kFilterRange);
        break;
    case IDC_FCODE:
        if (code == EN_CHANGE) OnFieldChange(dialog, id, Comm().fCode, sizeof Comm().fCode, kFilterRange);
        break;
    case IDC_FCODE_PASS:
        if (code == EN_CHANGE)
            OnFieldChange(dialog, id, Comm().fCodePassword, sizeof Comm().fCodePassword, kFilterRangeStarHash);
        break;
    case IDC_DEST_NUMBER:
        if (code == EN_CHANGE) OnDestinationChange(dialog);
        break;
    case IDC_SECURE:
        if (code == BN_CLICKED) OnSecureClicked(dialog);
        break;
    case IDC_RELAY:
        if (code == BN_CLICKED) OnRelayClicked(dialog);
        break;
    case IDC_RELAY_PRINT:
        if (code == BN_CLICKED)
            Comm().relayPrint = IsDlgButtonChecked(dialog, IDC_RELAY_PRINT) == BST_CHECKED ? '1' : '0';
        break;
    case IDC_GROUP_SEND:
        if (code == BN_CLICKED) UpdateDestinationLabels(dialog, Comm().commOption == kOptionRelay);
        break;
    case IDC_DEST_ADD:
        if (code == BN_CLICKED) OnAddDestination(dialog);
        break;
    case IDC_DEST_REMOVE:
        if (code == BN_CLICKED) OnRemoveDestinations(dialog);
        break;
    case IDOK:
        if (ValidateCommSettings(dialog)) EndCommSettings(dialog, IDOK);
        break;
    case IDCANCEL:
        EndCommSettings(dialog, IDCANCEL);
        break;
    case IDC_COMM_HELP:
        ShowDialogHelp(dialog, kHelpContext);
        break;
    }
}

}  // namespace

extern "C" INT_PTR CALLBACK CommDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OpenCommSettings(dialog);
        return FALSE;  // the focus is set
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
