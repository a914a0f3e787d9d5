// The recipient list and the import program: starting it, reading its result.
#include <cstring>
#include <iterator>

#include "current_phonebook.h"
#include "handoff.h"
#include "handoff_file.h"
#include "recipient_dialog_ids.h"
#include "recipient_dialog_state.h"
#include "recipient_list_text.h"
#include "shared_state.h"
#include "store_state.h"
#include "text_convert.h"

void OnImport(HWND dialog) {
    if (WorkingRecipients.recipientCount > 0 &&
        MessageBoxW(dialog,
                    WIDE("Tuodut vastaanottajat korvaavat kaikki luetteloruudussa parhaillaan olevat "
                         "vastaanottajat.\nHaluatko jatkaa?"),
                    WIDE("Tuo faksin vastaanottaja"), MB_ICONQUESTION | MB_OKCANCEL) != IDOK)
        return;
    StartRecipientImport();
}

// The import program's completion command arrives as the id of a hidden
// control; the command is read as the hand-off's record layout.
static_assert(IDC_RCP_IMPORT_NAMES == kImportDoneNames && IDC_RCP_IMPORT_FULL == kImportDoneFull,
              "completion controls carry the hand-off commands");

void OnRecipientImportResult(HWND dialog, int command) {
    if (StoreState.handoffPath[0] == 0) return;  // no import of ours is under way
    int n = ReadRecipientImportFile(StoreState.handoffPath, HandoffLayout::Standard, command,
                                    ExchangeRecipients.recipients, kMaxRecipients);
    if (n < 0) return;  // no file: nothing was imported
    std::memset(StoreState.handoffPath, 0, sizeof StoreState.handoffPath);
    for (int i = 0; i < n; ++i) {
        const FaxRecipient& r = ExchangeRecipients.recipients[i];
        EntryDetails& d = WorkingDetails[i];
        ClearEntryDetails(d);
        AnsiToWideField(r.name, sizeof r.name, d.name, std::size(d.name));
        AnsiToWideField(r.faxNumber, sizeof r.faxNumber, d.faxNumber, std::size(d.faxNumber));
    }
    ExchangeRecipients.recipientCount = n;
    WorkingRecipients = ExchangeRecipients;
    FillRecipientList(dialog, IDC_RCP_LIST, WorkingRecipients);
    HWND list = GetDlgItem(dialog, IDC_RCP_LIST);
    if (n > 0) SendMessageW(list, LB_SETSEL, TRUE, 0);
    ApplyRecipientButtonRules(dialog);
    SetFocus(list);
}
