// New items and properties: the entry and group dialogs opened from the
// phonebook list, and the list updates after them.
#include "dialog_help.h"
#include "entry_dialogs.h"
#include "messages.h"
#include "phonebook_dialog_internal.h"
#include "shared_state.h"
#include "store.h"
#include "store_state.h"
#include "text_routines.h"

namespace {

// The texts of one action's store failures: no memory, no disk space.
struct FailureTexts {
    const WCHAR* caption;
    const WCHAR* noMemory;
    const WCHAR* noSpace;
};

const FailureTexts kNewEntryTexts = {
    WIDE("Lisää yksi"),
    WIDE("Muisti ei riitä puhelinmuistiotiedoston avaamiseen.\nTietoja ei voi luoda."),
    WIDE("Levytila ei riitä jatkamiseen.\nTietoja ei voi luoda."),
};
const FailureTexts kNewGroupTexts = {
    WIDE("Uusi ryhmä"),
    WIDE("Muisti ei riitä puhelinmuistiotiedoston avaamiseen.\nUutta ryhmää ei voi luoda."),
    WIDE("Levytila ei riitä jatkamiseen.\nUutta ryhmää ei voi luoda."),
};
const FailureTexts kEditGroupTexts = {
    WIDE("Muokkaa ryhmän ominaisuuksia"),
    WIDE("Muisti ei riitä puhelinmuistiotiedoston avaamiseen.\nRyhmän ominaisuuksia ei voi muokata."),
    WIDE("Levytila ei riitä jatkamiseen.\nRyhmän ominaisuuksia ei voi muokata."),
};

void ReportStoreFailure(HWND dialog, DBResult rc, const FailureTexts& texts) {
    switch (rc) {
    case DB_DONE: return;
    case DB_NO_MEMORY: MessageBoxW(dialog, texts.noMemory, texts.caption, MB_ICONERROR | MB_OK); return;
    case DB_WRITE_FAILED: MessageBoxW(dialog, texts.noSpace, texts.caption, MB_ICONERROR | MB_OK); return;
    default: ShowPhonebookFileError(dialog, StoreState.currentPath, texts.caption, rc); return;
    }
}

// Runs the group dialog for the group in CurrentGroupName (empty: a new
// one) and stores its result; returns the store result (0 when cancelled).
DBResult RunGroupFlow(HWND dialog, const WCHAR* previousText) {
    int32_t savedFlag = CurrentDetails.workFlag;
    CurrentDetails.workFlag = IDC_PB_PHONEBOOK_LIST;
    DBResult rc = DB_DONE;
    if (DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_GROUP_EDIT), dialog, EditDBGrpDlgProc, 0) == 1) {
        // The mode comes from the group dialog; anything but a known one, or
        // no previous item, is a new group.
        UpdateMode mode = kModeNew;
        if (previousText && CurrentDetails.workFlag == kModeSameKey) mode = kModeSameKey;
        if (previousText && CurrentDetails.workFlag == kModeKeyChanged) mode = kModeKeyChanged;
        rc = DBWriteGroup(previousText, GroupRecordBuffer.data, GroupRecordBuffer.length, mode);
        if (rc == DB_DONE && mode != kModeSameKey) {
            if (mode == kModeKeyChanged) RemoveItemWithText(dialog, IDC_PB_PHONEBOOK_LIST, previousText);
            WideString name(CurrentGroupName, WideBoundedLen(CurrentGroupName, 30));
            AddAndSelectOnly(dialog, IDC_PB_PHONEBOOK_LIST, GroupListText(name), kItemGroup);
        }
        // Released on failure too: nothing else would free it before the
        // next group dialog.
        FreeGroupRecord();
    }
    CurrentDetails.workFlag = savedFlag;
    return rc;
}

}  // namespace

void OnNewItem(HWND dialog) {
    INT_PTR kind = DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_NEW_ENTRY), dialog, NewEntryDlgProc, 0);
    if (kind == IDC_NEW_INDIVIDUAL) {
        CurrentRecipient = DefaultRecipient;
        ClearEntryDetails(CurrentDetails);
        ReportStoreFailure(dialog, RunEntryEditStep(dialog, IDC_PB_PHONEBOOK_LIST, nullptr), kNewEntryTexts);
    } else if (kind == IDC_NEW_GROUP) {
        CurrentGroupName[0] = 0;
        ReportStoreFailure(dialog, RunGroupFlow(dialog, nullptr), kNewGroupTexts);
    }
}

void OnProperties(HWND dialog) {
    std::vector<int> selected = SelectedItems(dialog, IDC_PB_PHONEBOOK_LIST);
    if (selected.size() != 1) {
        MessageBoxW(dialog,
                    WIDE("Yhden vastaanottajan ominaisuudet -valintaikkunan näyttäminen ei onnistunut.\n"
                         "Näyttääksesi ikkunan sinun on valittava yksi kohta luettelosta."),
                    WIDE("Muokkaa ominaisuuksia"), MB_ICONERROR | MB_OK);
        return;
    }
    WideString text = ListItemText(dialog, IDC_PB_PHONEBOOK_LIST, selected[0]);
    LRESULT kind = SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_GETITEMDATA, selected[0], 0);
    if (kind == kItemGroup) {
        SplitListText(text.c_str(), CurrentGroupName, 31);
        ReportStoreFailure(dialog, RunGroupFlow(dialog, text.c_str()), kEditGroupTexts);
    } else {
        EditEntryProperties(dialog, IDC_PB_PHONEBOOK_LIST, text.c_str());
    }
}

void OnPickedDoubleClick(HWND dialog) {
    std::vector<int> selected = SelectedItems(dialog, IDC_PB_PICKED_LIST);
    if (selected.empty() || !ExchangeDetails) return;
    int slot = selected[0];
    if (slot >= ExchangeRecipients.recipientCount) return;
    if (ExchangeDetails[slot].workFlag != 1 || ExchangeRecipients.recipients[slot].faxNumber[0] != 0) return;
    WideString text = ListItemText(dialog, IDC_PB_PICKED_LIST, slot);
    if (!ListHoldsText(dialog, IDC_PB_PHONEBOOK_LIST, text)) return;
    EditEntryProperties(dialog, IDC_PB_PICKED_LIST, text.c_str());
}
