#include "fax_prompt.h"

#include "dialog_help.h"
#include "fax_prompt_ids.h"
#include "recipient_list_text.h"
#include "shared_state.h"

DelayedSend PromptDelay = {0, 0, 0};

namespace {

constexpr DWORD kHelpContext = 15609;
constexpr int kTimeChars = 2;

void OnInitDialog(HWND dialog) {
    FillRecipientList(dialog, IDC_PROMPT_LIST, WorkingRecipients);
    PromptDelay = DelayedSend{0, 0, 0};
    SendDlgItemMessageW(dialog, IDC_PROMPT_HOUR, EM_LIMITTEXT, kTimeChars, 0);
    SendDlgItemMessageW(dialog, IDC_PROMPT_MINUTE, EM_LIMITTEXT, kTimeChars, 0);
    CheckDlgButton(dialog, IDC_PROMPT_DELAY, BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, IDC_PROMPT_HOUR), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_PROMPT_MINUTE), FALSE);
    SetDlgItemTextW(dialog, IDC_PROMPT_HOUR, WIDE("00"));
    SetDlgItemTextW(dialog, IDC_PROMPT_MINUTE, WIDE("00"));
    SetFocus(GetDlgItem(dialog, IDC_PROMPT_OK));
}

void OnDelayToggled(HWND dialog) {
    BOOL on = IsDlgButtonChecked(dialog, IDC_PROMPT_DELAY) == BST_CHECKED;
    PromptDelay.on = on ? 1 : 0;
    EnableWindow(GetDlgItem(dialog, IDC_PROMPT_HOUR), on);
    EnableWindow(GetDlgItem(dialog, IDC_PROMPT_MINUTE), on);
}

// A time field changed: digits only, and below 'limit'; a refused value
// puts the last accepted one back.
void OnTimeChanged(HWND dialog, int id, int limit, int32_t& accepted) {
    if (!PromptDelay.on) return;
    WCHAR text[kTimeChars + 1] = {0};
    GetDlgItemTextW(dialog, id, text, kTimeChars + 1);
    int value = 0;
    for (int i = 0; text[i]; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            MessageBeep(MB_OK);
            SendDlgItemMessageW(dialog, id, EM_SETSEL, i, i + 1);
            SendDlgItemMessageW(dialog, id, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(WIDE("")));
            return;
        }
        value = value * 10 + (text[i] - '0');
    }
    if (value < limit) {
        accepted = value;
        return;
    }
    MessageBeep(MB_OK);
    WCHAR back[12] = {0};
    wsprintfW(back, WIDE("%d"), accepted);
    SetDlgItemTextW(dialog, id, back);
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_PROMPT_DELAY:
        if (code == BN_CLICKED) OnDelayToggled(dialog);
        break;
    case IDC_PROMPT_HOUR:
        if (code == EN_CHANGE) OnTimeChanged(dialog, id, 24, PromptDelay.hour);
        break;
    case IDC_PROMPT_MINUTE:
        if (code == EN_CHANGE) OnTimeChanged(dialog, id, 60, PromptDelay.minute);
        break;
    case IDC_PROMPT_HELP:
        if (code == BN_CLICKED) ShowDialogHelp(dialog, kHelpContext);
        break;
    case IDC_PROMPT_OK:
    case IDC_PROMPT_CANCEL:
        if (code != BN_CLICKED) break;
        CloseDialogHelp(dialog);
        EndDialog(dialog, id == IDC_PROMPT_OK ? 1 : 0);
        break;
    }
    // Esc (IDCANCEL) and every other command do nothing: only the two
    // buttons end the dialog.
}

}  // namespace

INT_PTR CALLBACK FaxPromptDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE;  // the focus is on OK
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    }
    return FALSE;
}
