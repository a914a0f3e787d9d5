#include "recipient_dialog_ids.h"
#include "recipient_dialog_state.h"
#include "shared_state.h"
#include "dialog_help.h"
#include "store_state.h"

bool PhonebookUsable() {
    return StoreState.noPhonebook == 0;
}

void ShowCurrentPhonebook(HWND dialog) {
    SetDlgItemTextW(dialog, IDC_RCP_PHONEBOOK_PATH, PhonebookUsable() ? StoreState.currentPath : WIDE("--Ei--"));
}

int SingleSelection(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_RCP_LIST);
    if (SendMessageW(list, LB_GETSELCOUNT, 0, 0) != 1) return -1;
    int index = -1;
    if (SendMessageW(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&index)) != 1) return -1;
    return index >= 0 && index < WorkingRecipients.recipientCount ? index : -1;
}

void ApplySelectionRules(HWND dialog) {
    int i = SingleSelection(dialog);
    EnableDialogControl(dialog, IDC_RCP_DETAILS, i >= 0 && WorkingDetails[i].workFlag != 0);
    EnableDialogControl(dialog, IDC_RCP_COMM, i >= 0 && WorkingRecipients.recipients[i].comm.speedDial == 0);
}

void ApplyRecipientButtonRules(HWND dialog) {
    int count = WorkingRecipients.recipientCount;
    EnableDialogControl(dialog, IDC_RCP_ADD, count < kMaxRecipients);
    EnableDialogControl(dialog, IDC_RCP_DELETE, count > 0);
    EnableDialogControl(dialog, IDC_RCP_STORE, PhonebookUsable() && count > 0);
    ApplySelectionRules(dialog);
}
