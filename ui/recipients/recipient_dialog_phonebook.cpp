// The recipient list and the phonebook: picking from it, storing into it.
#include <cstring>
#include <vector>

#include "dialog_help.h"
#include "list_routines.h"
#include "messages.h"
#include "phonebook_dialog.h"
#include "phonebook_dialog_ids.h"
#include "recipient_dialog_ids.h"
#include "recipient_dialog_state.h"
#include "recipient_list_text.h"
#include "shared_state.h"
#include "store.h"
#include "store_dialogs.h"
#include "store_state.h"
#include "text_routines.h"

namespace {

const WCHAR* const kStoreCaption = WIDE("Lisää muistioon");

int ClampedCount(const RecipientBlock& b) {
    return b.recipientCount < 0 ? 0 : (b.recipientCount > kMaxRecipients ? kMaxRecipients : b.recipientCount);
}

void StoreError(HWND dialog, const WCHAR* text) {
    MessageBoxW(dialog, text, kStoreCaption, MB_ICONERROR | MB_OK);
}

std::vector<int> SelectedItems(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_RCP_LIST);
    LRESULT n = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (n <= 0) return {};
    std::vector<int> items(static_cast<size_t>(n));
    n = SendMessageW(list, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(items.data()));
    items.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return items;
}

RecipientText ItemText(HWND list, int index) {
    LRESULT len = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (len <= 0) return RecipientText();
    RecipientText text(static_cast<size_t>(len) + 1, 0);
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(len));
    return text;
}

enum class StoreStep { Next, Stop };

// Stores one selected recipient; whether the loop goes on.
StoreStep StoreOne(HWND dialog, int index, bool& speedDialShown, bool onlyOne) {
    if (index < 0 || index >= WorkingRecipients.recipientCount) return StoreStep::Next;
    const FaxRecipient& r = WorkingRecipients.recipients[index];
    if (r.comm.speedDial != 0) {
        if (!speedDialShown) {
            speedDialShown = true;
            if (onlyOne)
                StoreError(dialog, WIDE("Lyhytvalintaa ei voi lisätä muistioon."));
            else
                MessageBoxW(dialog,
                            WIDE("Valintaan sisältyy vähintään yksi lyhytvalinta.\n"
                                 "Lyhytvalintoja ei lisätä muistioon."),
                            kStoreCaption, MB_ICONINFORMATION | MB_OK);
        }
        return StoreStep::Next;
    }
    RecipientText text = ItemText(GetDlgItem(dialog, IDC_RCP_LIST), index);
    UpdateMode mode = kModeNew;
    HWND known = GetDlgItem(dialog, IDC_RCP_SCRATCH);
    // Known by the key the store will write it under.
    if (FindRecordItem(known, text.c_str()) != LB_ERR) {
        WCHAR name[32] = {0};
        WCHAR number[32] = {0};
        SplitListText(text.c_str(), name, 32, number, 32);
        int answer = ShowRecipientMessage(
            dialog, name, number, WIDE("\n\nVastaanottajan nimi on jo nykyisessä muistiossa.\nHaluatko korvata sen?"),
            kStoreCaption, MB_ICONQUESTION | MB_YESNOCANCEL);
        if (answer == IDNO) return StoreStep::Next;
        if (answer != IDYES) return StoreStep::Stop;
        mode = kModeSameKey;
    }
    switch (DBWriteEntry(text.c_str(), r, WorkingDetails[index], mode)) {
    case DB_DONE: WorkingDetails[index].workFlag = 1; return StoreStep::Next;
    case DB_BAD_FORMAT: ShowPhonebookFileError(dialog, StoreState.currentPath, kStoreCaption, DB_BAD_FORMAT); break;
    case DB_NO_MEMORY: StoreError(dialog, WIDE("Muisti ei riitä jatkamiseen.")); break;
    case DB_WRITE_FAILED: StoreError(dialog, WIDE("Levytila ei riitä jatkamiseen.")); break;
    case DB_CANNOT_OPEN: ShowPhonebookFileError(dialog, StoreState.currentPath, kStoreCaption, DB_CANNOT_OPEN); break;
    default: break;
    }
    return StoreStep::Stop;
}

void StoreSelected(HWND dialog) {
    std::vector<int> selected = SelectedItems(dialog);
    if (selected.empty()) {
        MessageBoxW(dialog,
                    WIDE("Luettelosta on valittava ainakin yksi vastaanottaja lisättäväksi nykyiseen muistioon."),
                    kStoreCaption, MB_ICONWARNING | MB_OK);
        return;
    }
    if (DBFillList(dialog, IDC_RCP_SCRATCH) != 1) {
        StoreError(dialog, WIDE("Valittujen vastaanottajien lisääminen nykyiseen muistioon ei onnistunut."));
        return;
    }
    bool speedDialShown = false;
    for (int index : selected) {
        if (StoreOne(dialog, index, speedDialShown, selected.size() == 1) == StoreStep::Stop) break;
    }
}

}  // namespace

void OnStoreInPhonebook(HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_RCP_SCRATCH, LB_RESETCONTENT, 0, 0);
    StoreSelected(dialog);
    SendDlgItemMessageW(dialog, IDC_RCP_SCRATCH, LB_RESETCONTENT, 0, 0);
    int i = SingleSelection(dialog);
    EnableDialogControl(dialog, IDC_RCP_DETAILS, i >= 0 && WorkingDetails[i].workFlag != 0);
}

void OnPhonebook(HWND dialog) {
    ExchangeRecipients = WorkingRecipients;
    if (AllocateExchangeDetails()) {
        int count = WorkingRecipients.recipientCount;
        for (int i = 0; i < count && i < kMaxRecipients; ++i) ExchangeDetails[i] = WorkingDetails[i];
        INT_PTR result = DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_PHONEBOOK_PICK), dialog,
                                         PhonebookDlgProc, 0);
        if (result == 1) {
            WorkingRecipients = ExchangeRecipients;
            int n = ClampedCount(WorkingRecipients);
            WorkingRecipients.recipientCount = n;
            for (int i = 0; i < n; ++i) WorkingDetails[i] = ExchangeDetails[i];
            FillRecipientList(dialog, IDC_RCP_LIST, WorkingRecipients);
            ApplyRecipientButtonRules(dialog);
        }
    }
    ShowCurrentPhonebook(dialog);
    EnableDialogControl(dialog, IDC_RCP_STORE, PhonebookUsable());
    FreeExchangeDetails();
}
