// New items and properties of items, from the phonebook list and from the
// list of picked recipients.
#include "entry_dialog_ids.h"
#include "entry_dialogs.h"
#include "entry_edit.h"
#include "dialog_help.h"
#include "messages.h"
#include "phonebook_dialog_internal.h"
#include "shared_state.h"
#include "store.h"
#include "store_state.h"

namespace {

// The messages of one flow for the store results that have their own text.
struct FlowErrors {
    const WCHAR* caption;
    const WCHAR* noMemory;
    const WCHAR* diskFull;
};

const FlowErrors kNewIndividualErrors = {
    WIDE("Lisää yksi"), WIDE("Muisti ei riitä puhelinmuistiotiedoston avaamiseen.\nTietoja ei voi luoda."),
    WIDE("Levytila ei riitä jatkamiseen.\nTietoja ei voi luoda.")};

void ShowFlowError(HWND dialog, const FlowErrors& errors, DBResult rc) {
    switch (rc) {
    case DB_DONE: return;
    case DB_NO_MEMORY: MessageBoxW(dialog, errors.noMemory, errors.caption, MB_ICONERROR | MB_OK); return;
    case DB_WRITE_FAILED: MessageBoxW(dialog, errors.diskFull, errors.caption, MB_ICONERROR | MB_OK); return;
    // Any other failure is one of the file: it is never passed over in silence.
    default: ShowPhonebookFileError(dialog, StoreState.currentPath, errors.caption, rc); return;
    }
}

void NewIndividual(HWND dialog) {
    CurrentRecipient = DefaultRecipient;
    ClearEntryDetails(CurrentDetails);
    ShowFlowError(dialog, kNewIndividualErrors, RunEntryEditStep(dialog, IDC_PB_PHONEBOOK_LIST, nullptr));
}

}  // namespace

void OnNewItem(HWND dialog) {
    INT_PTR kind = DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_NEW_ENTRY), dialog, NewEntryDlgProc, 0);
    if (kind == IDC_NEW_INDIVIDUAL) NewIndividual(dialog);
}

void OnItemProperties(HWND dialog) {
    std::vector<int> selected = SelectedItems(dialog, IDC_PB_PHONEBOOK_LIST);
    if (selected.size() != 1) {
        MessageBoxW(dialog,
                    WIDE("Yhden vastaanottajan ominaisuudet -valintaikkunan näyttäminen ei onnistunut.\n"
                         "Näyttääksesi ikkunan sinun on valittava yksi kohta luettelosta."),
                    WIDE("Muokkaa ominaisuuksia"), MB_ICONERROR | MB_OK);
        return;
    }
    WideString text = ListItemText(dialog, IDC_PB_PHONEBOOK_LIST, selected[0]);
    LRESULT data = SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_GETITEMDATA, selected[0], 0);
    if (data == kItemGroup) return;
    EditEntryProperties(dialog, IDC_PB_PHONEBOOK_LIST, text.c_str());
}

void OnPickedDoubleClick(HWND dialog) {
    std::vector<int> selected = SelectedItems(dialog, IDC_PB_PICKED_LIST);
    if (selected.empty()) return;
    int slot = selected[0];
    if (slot >= ExchangeRecipients.recipientCount || slot >= kMaxRecipients || !ExchangeDetails) return;
    // Only a recipient picked here and not read yet is still the phonebook's.
    if (ExchangeDetails[slot].workFlag != 1 || ExchangeRecipients.recipients[slot].faxNumber[0] != 0) return;
    WideString text = ListItemText(dialog, IDC_PB_PICKED_LIST, slot);
    if (!ListHoldsText(dialog, IDC_PB_PHONEBOOK_LIST, text)) return;
    EditEntryProperties(dialog, IDC_PB_PICKED_LIST, text.c_str());
}
