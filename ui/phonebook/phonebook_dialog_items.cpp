// New items and properties of items, from the phonebook list and from the
// list of picked recipients.
#include "entry_codec.h"
#include "entry_dialog_ids.h"
#include "entry_dialogs.h"
#include "entry_edit.h"
#include "dialog_help.h"
#include "group_dialogs.h"
#include "list_routines.h"
#include "messages.h"
#include "phonebook_dialog_internal.h"
#include "shared_state.h"
#include "store.h"
#include "store_state.h"
#include "text_routines.h"

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

const FlowErrors kNewGroupErrors = {
    WIDE("Uusi ryhmä"), WIDE("Muisti ei riitä puhelinmuistiotiedoston avaamiseen.\nUutta ryhmää ei voi luoda."),
    WIDE("Levytila ei riitä jatkamiseen.\nUutta ryhmää ei voi luoda.")};

const FlowErrors kGroupPropertiesErrors = {
    WIDE("Muokkaa ryhmän ominaisuuksia"),
    WIDE("Muisti ei riitä puhelinmuistiotiedoston avaamiseen.\nRyhmän ominaisuuksia ei voi muokata."),
    WIDE("Levytila ei riitä jatkamiseen.\nRyhmän ominaisuuksia ei voi muokata.")};

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

// The group dialog on CurrentGroupName, then the store and the list: the
// group edited had oldItemText (null for a new group).
DBResult RunGroupFlow(HWND dialog, const WCHAR* oldItemText) {
    const int32_t saved = CurrentDetails.workFlag;
    CurrentDetails.workFlag = IDC_PB_PHONEBOOK_LIST;
    DBResult rc = DB_DONE;
    if (DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_GROUP_EDIT), dialog, EditDBGrpDlgProc, 0) == IDOK) {
        const int mode = CurrentDetails.workFlag;
        rc = DBWriteGroup(oldItemText, GroupRecordBuffer.data, GroupRecordBuffer.length, static_cast<UpdateMode>(mode));
        if (rc == DB_DONE && mode != kModeSameKey) {
            if (mode == kModeKeyChanged && oldItemText) RemoveItemWithText(dialog, IDC_PB_PHONEBOOK_LIST, oldItemText);
            AddAndSelectOnly(dialog, IDC_PB_PHONEBOOK_LIST, GroupListText(CurrentGroupName).c_str(), kItemGroup);
        }
        FreeGroupRecord();
    }
    CurrentDetails.workFlag = saved;
    return rc;
}

void NewGroup(HWND dialog) {
    CurrentGroupName[0] = 0;
    ShowFlowError(dialog, kNewGroupErrors, RunGroupFlow(dialog, nullptr));
}

void GroupProperties(HWND dialog, const WideString& text) {
    if (!SplitListText(text.c_str(), CurrentGroupName, 31)) CurrentGroupName[0] = 0;
    ShowFlowError(dialog, kGroupPropertiesErrors, RunGroupFlow(dialog, text.c_str()));
}

}  // namespace

void OnNewItem(HWND dialog) {
    INT_PTR kind = DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_NEW_ENTRY), dialog, NewEntryDlgProc, 0);
    if (kind == IDC_NEW_INDIVIDUAL) NewIndividual(dialog);
    else if (kind == IDC_NEW_GROUP) NewGroup(dialog);
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
    if (data == kItemGroup)
        GroupProperties(dialog, text);
    else
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
    if (FindRecordItem(GetDlgItem(dialog, IDC_PB_PHONEBOOK_LIST), text.c_str()) == LB_ERR) return;
    EditEntryProperties(dialog, IDC_PB_PICKED_LIST, text.c_str());
}
