#include "recipient_dialog.h"

#include "comm_dialog.h"
#include "comm_dialog_ids.h"
#include "comm_modes.h"
#include "current_phonebook.h"
#include "dialog_help.h"
#include "edit_filters.h"
#include "entry_dialog_ids.h"
#include "entry_dialogs.h"
#include "list_extent.h"
#include "list_routines.h"
#include "messages.h"
#include "recipient_dialog_ids.h"
#include "recipient_dialog_state.h"
#include "recipient_list_text.h"
#include "shared_state.h"
#include "store_dialogs.h"
#include "store_state.h"
#include "text_convert.h"
#include "text_routines.h"

// Opened from here by resource number.
extern "C" INT_PTR CALLBACK ShowDBInfoDlgProc(HWND, UINT, WPARAM, LPARAM);

RecipientDialogState RecipientState = {0, 200};

namespace {

constexpr DWORD kHelpContext = 15500;
constexpr int kTextChars = 31;     // a name or number field with its terminator
constexpr int kFieldChars = 30;
constexpr int kSpeedDialChars = 3;
constexpr UINT kDeleteKey = VK_DELETE;

const HostSubBlock* hostBlock = nullptr;

const WCHAR* const kAddCaption = WIDE("Lisää luetteloon vastaanottaja");

void ReadField(HWND dialog, int id, WCHAR (&text)[64]) {
    text[0] = 0;
    GetDlgItemTextW(dialog, id, text, 64);
}

void OnInitDialog(HWND dialog) {
    ScrollToWidestItem(GetDlgItem(dialog, IDC_RCP_LIST));
    SendDlgItemMessageW(dialog, IDC_RCP_NAME, EM_LIMITTEXT, kFieldChars, 0);
    SendDlgItemMessageW(dialog, IDC_RCP_NUMBER, EM_LIMITTEXT, kFieldChars, 0);
    SetDlgItemTextW(dialog, IDC_RCP_NAME, WIDE(""));
    SetDlgItemTextW(dialog, IDC_RCP_NUMBER, WIDE(""));
    ShowWindow(GetDlgItem(dialog, IDC_RCP_SPEED_LABEL_200), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_RCP_SPEED_LABEL_999), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_RCP_FAX_LABEL), SW_SHOW);
    CheckDlgButton(dialog, IDC_RCP_SPEED_DIAL, BST_UNCHECKED);
    RecipientState.speedDialMode = 0;

    SetRecipientCommModes(hostBlock && hostBlock->g4Available != 0);
    RecipientState.speedDialMax = hostBlock && hostBlock->speedDial999 != 0 ? 999 : 200;

    bool usable = DBOpenCurrentPhonebook(dialog) == 1 && DBValidateCurrentPhonebook(dialog) == 1;
    StoreState.noPhonebook = usable ? 0 : 1;

    WorkingRecipients.recipientCount = 0;
    ExchangeRecipients.recipientCount = 0;
    ShowCurrentPhonebook(dialog);

    EnableDialogControl(dialog, IDC_RCP_DETAILS, FALSE);
    EnableDialogControl(dialog, IDC_RCP_DELETE, FALSE);
    EnableDialogControl(dialog, IDC_RCP_COMM, FALSE);
    EnableDialogControl(dialog, IDC_RCP_STORE, FALSE);
    EnableDialogControl(dialog, IDC_RCP_ADD, TRUE);
    SetFocus(GetDlgItem(dialog, IDC_RCP_NAME));
}

void OnFieldChanged(HWND dialog, int id) {
    WCHAR text[64];
    ReadField(dialog, id, text);
    if (id == IDC_RCP_NAME)
        FilterEditChars(dialog, id, text, '[', ']', kFilterExclude);
    else if (RecipientState.speedDialMode)
        FilterEditChars(dialog, id, text, '0', '9', kFilterRangeStar);
    else
        FilterFaxNumber(dialog, id, text);
}

void OnSpeedDialToggled(HWND dialog) {
    int checked = IsDlgButtonChecked(dialog, IDC_RCP_SPEED_DIAL) == BST_CHECKED ? 1 : 0;
    if (checked == RecipientState.speedDialMode) return;
    SetDlgItemTextW(dialog, IDC_RCP_NUMBER, WIDE(""));
    RecipientState.speedDialMode = checked;
    if (checked) {
        int label = RecipientState.speedDialMax == 999 ? IDC_RCP_SPEED_LABEL_999 : IDC_RCP_SPEED_LABEL_200;
        ShowWindow(GetDlgItem(dialog, label), SW_SHOW);
        ShowWindow(GetDlgItem(dialog, IDC_RCP_FAX_LABEL), SW_HIDE);
        SendDlgItemMessageW(dialog, IDC_RCP_NUMBER, EM_LIMITTEXT, kSpeedDialChars, 0);
    } else {
        ShowWindow(GetDlgItem(dialog, IDC_RCP_SPEED_LABEL_200), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_RCP_SPEED_LABEL_999), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_RCP_FAX_LABEL), SW_SHOW);
        SendDlgItemMessageW(dialog, IDC_RCP_NUMBER, EM_LIMITTEXT, kFieldChars, 0);
    }
}

void Warn(HWND dialog, const WCHAR* text) {
    MessageBoxW(dialog, text, kAddCaption, MB_ICONWARNING | MB_OK);
}

// The typed number, checked; false (after its message) when it cannot be added.
bool ReadNumberToAdd(HWND dialog, WCHAR (&number)[64]) {
    ReadField(dialog, IDC_RCP_NUMBER, number);
    if (number[0] == 0) {
        Warn(dialog, WIDE("Anna faksinumero."));
        SetFocus(GetDlgItem(dialog, IDC_RCP_NUMBER));
        return false;
    }
    if (WorkingRecipients.recipientCount >= kMaxRecipients) {
        Warn(dialog, WIDE("Luettelon vastaanottajien maksimimäärä 50 on jo täynnä.\n"
                          "Vastaanottajaa ei lisätty luetteloon."));
        return false;
    }
    if (!RecipientState.speedDialMode) return true;
    number[kSpeedDialChars] = 0;  // the edit's limit; a longer text is not a speed-dial number
    switch (ValidateSpeedDial(number, RecipientState.speedDialMax)) {
    case kSpeedDialOk: return true;
    case kSpeedDialBadWildcard:
        Warn(dialog, WIDE("Lyhytvalintanumero ei kelpaa.\n"
                          "Jokerimerkkiä (*) voi käyttää vain muodoissa nn* tai ***."));
        return false;
    default:
        Warn(dialog, WIDE("Annettu lyhytvalintanumero on liian suuri."));
        return false;
    }
}

void OnAdd(HWND dialog) {
    WCHAR number[64];
    if (!ReadNumberToAdd(dialog, number)) return;
    WCHAR name[64];
    ReadField(dialog, IDC_RCP_NAME, name);
    name[kFieldChars] = 0;
    TrimBlanks(name);
    number[kFieldChars] = 0;
    RecipientText text = RecipientListText(name, number, RecipientState.speedDialMode != 0);

    HWND list = GetDlgItem(dialog, IDC_RCP_LIST);
    if (SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())) !=
            LB_ERR &&
        ShowRecipientMessage(dialog, name, number,
                             WIDE("\n\nVastaanottaja on jo luettelossa.\nHaluatko silti lisätä sen?"), kAddCaption,
                             MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;

    LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) return;
    int slot = WorkingRecipients.recipientCount;
    if (slot == 0) {
        EnableDialogControl(dialog, IDC_RCP_COMM, RecipientState.speedDialMode == 0);
        EnableDialogControl(dialog, IDC_RCP_DETAILS, FALSE);
        EnableDialogControl(dialog, IDC_RCP_DELETE, TRUE);
        EnableDialogControl(dialog, IDC_RCP_STORE, PhonebookUsable());
    }
    if (slot + 1 == kMaxRecipients) EnableDialogControl(dialog, IDC_RCP_ADD, FALSE);

    FaxRecipient& r = WorkingRecipients.recipients[slot];
    r = DefaultRecipient;
    WideToAnsiField(name, kTextChars, r.name, sizeof r.name);
    WideToAnsiField(number, kTextChars, r.faxNumber, sizeof r.faxNumber);
    r.comm.speedDial = RecipientState.speedDialMode;
    EntryDetails& d = WorkingDetails[slot];
    ClearEntryDetails(d);
    lstrcpynW(d.name, name, kTextChars);
    lstrcpynW(d.faxNumber, number, kTextChars);
    WorkingRecipients.recipientCount = slot + 1;

    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, index);
    SetFocus(list);
    SetDlgItemTextW(dialog, IDC_RCP_NAME, WIDE(""));
    SetDlgItemTextW(dialog, IDC_RCP_NUMBER, WIDE(""));
}

// Delete key in the recipient list; -2 when handled, -1 for the default.
INT_PTR OnListKey(HWND dialog, UINT key, HWND list) {
    if (key != kDeleteKey || list != GetDlgItem(dialog, IDC_RCP_LIST)) return -1;
    if (SendMessageW(list, LB_GETSELCOUNT, 0, 0) <= 0) return -1;
    if (MessageBoxW(dialog, WIDE("Haluatko poistaa valitut vastaanottajat luettelosta?"),
                    WIDE("Poista luettelosta vastaanottajia"), MB_ICONQUESTION | MB_YESNO) != IDYES)
        return -1;
    DeleteSelectedItems(dialog, IDC_RCP_LIST, kMaxRecipients, &WorkingRecipients, WorkingDetails);
    ApplyRecipientButtonRules(dialog);
    return -2;
}

void OnCommSettings(HWND dialog) {
    if (WorkingRecipients.recipientCount <= 0) return;
    int i = SingleSelection(dialog);
    if (i < 0) {
        MessageBoxW(dialog,
                    WIDE("Tietoliikenneasetukset-valintaikkunan näyttäminen ei onnistunut.\n"
                         "Näyttääksesi ikkunan valitse ensin vastaanottaja luettelosta."),
                    WIDE("Tietoliikenneasetukset"), MB_ICONERROR | MB_OK);
        return;
    }
    CurrentRecipient = WorkingRecipients.recipients[i];
    if (DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_COMM_SETTINGS), dialog, CommDlgProc, 0) == 1)
        WorkingRecipients.recipients[i] = CurrentRecipient;
}

void OnDetails(HWND dialog) {
    if (WorkingRecipients.recipientCount <= 0) return;
    int i = SingleSelection(dialog);
    if (i < 0 || WorkingDetails[i].workFlag == 0) return;
    CurrentDetails = WorkingDetails[i];
    DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_ENTRY), dialog, ShowDBInfoDlgProc, 0);
}

void OnClose(HWND dialog, int id) {
    if (id == IDOK && WorkingRecipients.recipientCount == 0) {
        MessageBoxW(dialog, WIDE("Faksinumeroa ei ole annettu.\nFaksityötä ei voi lähettää."), WIDE("Faksityö"),
                    MB_ICONERROR | MB_OK);
        return;
    }
    CloseDialogHelp(dialog);
    EndDialog(dialog, id == IDOK ? 1 : 0);
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_RCP_NAME:
    case IDC_RCP_NUMBER:
        if (code == EN_CHANGE) OnFieldChanged(dialog, id);
        break;
    case IDC_RCP_SPEED_DIAL: OnSpeedDialToggled(dialog); break;
    case IDC_RCP_LIST:
        if (code == LBN_DBLCLK) OnDetails(dialog);
        ApplySelectionRules(dialog);
        break;
    case IDC_RCP_IMPORT_NAMES:
    case IDC_RCP_IMPORT_FULL:
        if (code == 0) OnRecipientImportResult(dialog, id);
        break;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
    case IDC_RCP_ADD: OnAdd(dialog); break;
    case IDC_RCP_DELETE:
        if (WorkingRecipients.recipientCount > 0)
            PostMessageW(dialog, WM_VKEYTOITEM, kDeleteKey, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_RCP_LIST)));
        break;
    case IDC_RCP_COMM: OnCommSettings(dialog); break;
    case IDC_RCP_DETAILS: OnDetails(dialog); break;
    case IDC_RCP_PHONEBOOK: OnPhonebook(dialog); break;
    case IDC_RCP_STORE: OnStoreInPhonebook(dialog); break;
    case IDC_RCP_IMPORT: OnImport(dialog); break;
    case IDC_RCP_HELP: ShowDialogHelp(dialog, kHelpContext); break;
    case IDOK:
    case IDCANCEL: OnClose(dialog, id); break;
    }
}

bool HasStar(const WCHAR* s) {
    for (; *s; ++s)
        if (*s == '*') return true;
    return false;
}

}  // namespace

void SetRecipientHostBlock(const HostSubBlock* host) {
    hostBlock = host;
}

SpeedDialCheck ValidateSpeedDial(WCHAR* number, int max) {
    int len = lstrlenW(number);
    if (len != kSpeedDialChars) {
        if (HasStar(number)) return kSpeedDialBadWildcard;
        if (len > kSpeedDialChars) return kSpeedDialOutOfRange;
        PadWithZeros(number, len, kSpeedDialChars);
    } else if (number[0] == '*') {
        return number[1] == '*' && number[2] == '*' ? kSpeedDialOk : kSpeedDialBadWildcard;
    } else if (number[1] == '*') {
        return kSpeedDialBadWildcard;
    }
    bool wildcard = number[2] == '*';
    int value = 0;
    for (int i = 0; i < kSpeedDialChars; ++i) {
        WCHAR c = number[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : 0;
        value = value * 10 + digit;
    }
    if (value > max || (!wildcard && value < 1)) return kSpeedDialOutOfRange;
    return kSpeedDialOk;
}

extern "C" INT_PTR CALLBACK RecipientDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE;  // the focus is set
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_VKEYTOITEM: return OnListKey(dialog, LOWORD(wParam), reinterpret_cast<HWND>(lParam));
    }
    return FALSE;
}
