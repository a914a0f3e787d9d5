// The picker's list of picked recipients: adding from the phonebook,
// removing, and reading the details of the picked ones on OK.
#include "list_routines.h"
#include "messages.h"
#include "phonebook_dialog_internal.h"
#include "shared_state.h"
#include "store.h"
#include "store_dialogs.h"
#include "text_routines.h"

namespace {

const WCHAR* const kAddCaption = WIDE("Lisää luetteloon vastaanottaja");

void WarnFull(HWND dialog, const WCHAR* text) { MessageBoxW(dialog, text, kAddCaption, MB_ICONWARNING | MB_OK); }

// Adds an individual's text to the picked list as a new slot; false when
// the list and the slots were out of step (nothing is added then).
bool AddPickedIndividual(HWND dialog, const WideString& text) {
    LRESULT index = SendDlgItemMessageW(dialog, IDC_PB_PICKED_LIST, LB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(text.c_str()));
    if (index != ExchangeRecipients.recipientCount) {
        if (index >= 0) SendDlgItemMessageW(dialog, IDC_PB_PICKED_LIST, LB_DELETESTRING, index, 0);
        return false;
    }
    ExchangeRecipients.recipients[index] = DefaultRecipient;
    ClearEntryDetails(ExchangeDetails[index]);
    ExchangeDetails[index].workFlag = 1;
    ++ExchangeRecipients.recipientCount;
    return true;
}

// Asks whether a recipient already picked is to be added again.
bool ConfirmDuplicate(HWND dialog, const WideString& text, const WCHAR* suffix, const WCHAR* caption, UINT type,
                      int yes) {
    WCHAR name[31], fax[31];
    SplitListText(text.c_str(), name, 31, fax, 31);
    return ShowRecipientMessage(dialog, name, fax, suffix, caption, type) == yes;
}

}  // namespace

void PrepareExchangeBlock() {
    // The count comes from the opener's buffer: never index past the slots.
    if (ExchangeRecipients.recipientCount < 0) ExchangeRecipients.recipientCount = 0;
    if (ExchangeRecipients.recipientCount > kMaxRecipients) ExchangeRecipients.recipientCount = kMaxRecipients;
    if (!ExchangeDetails) AllocateExchangeDetails();
}

void OnAddRecipients(HWND dialog) {
    if (!ExchangeDetails) return;
    if (ExchangeRecipients.recipientCount >= kMaxRecipients) {
        WarnFull(dialog, WIDE("Luettelon vastaanottajien maksimimäärä 50 on jo täynnä.\n"
                              "Vastaanottajaa ei lisätty luetteloon."));
        return;
    }
    std::vector<int> selected = SelectedItems(dialog, IDC_PB_PHONEBOOK_LIST);
    for (size_t k = selected.size(); k-- > 0 && ExchangeRecipients.recipientCount < kMaxRecipients;) {
        WideString text = ListItemText(dialog, IDC_PB_PHONEBOOK_LIST, selected[k]);
        LRESULT kind = SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_GETITEMDATA, selected[k], 0);
        if (kind == kItemGroup) {
            WCHAR group[31];
            SplitListText(text.c_str(), group, 31);
            if (!DBListGroupMembers(dialog, IDC_PB_PICKED_LIST, group, TRUE)) return;
            continue;
        }
        if (ListHoldsText(dialog, IDC_PB_PICKED_LIST, text) &&
            !ConfirmDuplicate(dialog, text, WIDE("\n\nVastaanottaja on jo luettelossa.\nHaluatko silti lisätä sen?"),
                              kAddCaption, MB_YESNO | MB_ICONQUESTION, IDYES))
            continue;
        if (!AddPickedIndividual(dialog, text)) return;
        if (ExchangeRecipients.recipientCount >= kMaxRecipients && k > 0) {
            WarnFull(dialog, WIDE("Luettelon vastaanottajien maksimimäärä 50 on jo täynnä.\n"
                                  "Joitakin vastaanottajia ei ole lisätty luetteloon."));
            return;
        }
    }
}

INT_PTR OnRemoveRecipients(HWND dialog) {
    if (SelectedItems(dialog, IDC_PB_PICKED_LIST).empty()) return -1;
    if (MessageBoxW(dialog, WIDE("Haluatko poistaa valitut vastaanottajat luettelosta?"),
                    WIDE("Poista luettelosta vastaanottajia"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return -1;
    DeleteSelectedItems(dialog, IDC_PB_PICKED_LIST, kMaxRecipients, &ExchangeRecipients, ExchangeDetails);
    return -2;
}

void ReadPickedDetails(HWND dialog) {
    if (!ExchangeDetails) return;
    for (int i = 0; i < ExchangeRecipients.recipientCount; ++i) {
        FaxRecipient& slot = ExchangeRecipients.recipients[i];
        EntryDetails& details = ExchangeDetails[i];
        if (details.workFlag != 1 || slot.faxNumber[0] != 0) continue;
        WideString text = ListItemText(dialog, IDC_PB_PICKED_LIST, i);
        if (DBReadEntry(text.c_str(), CurrentRecipient, CurrentDetails) == DB_DONE) {
            slot = CurrentRecipient;
            slot.comm.speedDial = 0;
            details = CurrentDetails;
            details.workFlag = 1;
            continue;
        }
        SplitListText(text.c_str(), details.name, 31, details.faxNumber, 31);
        WideToAnsiField(details.name, 31, slot.name, sizeof slot.name);
        WideToAnsiField(details.faxNumber, 31, slot.faxNumber, sizeof slot.faxNumber);
        ShowRecipientMessage(dialog, details.name, details.faxNumber,
                             WIDE("\n\nTietokantavirhe.\nVastaanottajan ominaisuuksia ei voitu hakea."),
                             WIDE("Lue vastaanottajan ominaisuudet"), MB_OK);
    }
}
