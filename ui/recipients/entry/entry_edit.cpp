#include "entry_edit.h"

#include <iterator>

#include "entry_codec.h"
#include "entry_dialogs.h"
#include "entry_dialog_ids.h"
#include "dialog_help.h"
#include "list_routines.h"
#include "messages.h"
#include "shared_state.h"
#include "store.h"
#include "store_state.h"
#include "text_routines.h"

namespace {

const WCHAR* const kPropertiesCaption = WIDE("Muokkaa ominaisuuksia");

WideString CurrentItemText() {
    WCHAR name[32] = {0}, fax[32] = {0};
    AnsiToWideField(CurrentRecipient.name, kfd::BoundedLen(CurrentRecipient.name, sizeof CurrentRecipient.name), name,
                    std::size(name));
    AnsiToWideField(CurrentRecipient.faxNumber,
                    kfd::BoundedLen(CurrentRecipient.faxNumber, sizeof CurrentRecipient.faxNumber), fax, std::size(fax));
    return IndividualListText(name, fax);
}

void UpdateList(HWND dialog, int listId, const WCHAR* oldItemText, int mode) {
    if (mode == kModeSameKey) return;
    if (mode == kModeKeyChanged && oldItemText) RemoveItemWithText(dialog, listId, oldItemText);
    AddAndSelectOnly(dialog, listId, CurrentItemText().c_str(), kItemIndividual);
}

void ShowNotFound(HWND dialog, const WCHAR* itemText) {
    WCHAR name[31] = {0}, fax[31] = {0};
    SplitListText(itemText, name, 31, fax, 31);
    WideString suffix = WIDE("\n\nTietokantavirhe.\nKohtaa ei löydy puhelinmuistiotiedostosta - ");
    suffix += WideString(StoreState.currentPath, WideBoundedLen(StoreState.currentPath, kStorePathChars - 1));
    ShowRecipientMessage(dialog, name, fax, suffix.c_str(), kPropertiesCaption, MB_ICONERROR | MB_OK);
}

void ShowPropertiesError(HWND dialog, const WCHAR* itemText, DBResult rc) {
    switch (rc) {
    case DB_DONE: return;
    case DB_NO_MEMORY:
        MessageBoxW(dialog, WIDE("Muisti ei riitä puhelinmuistiotiedoston avaamiseen.\nOminaisuuksia ei voi muokata."),
                    kPropertiesCaption, MB_ICONERROR | MB_OK);
        return;
    case DB_WRITE_FAILED:
        MessageBoxW(dialog, WIDE("Levytila ei riitä jatkamiseen.\nOminaisuuksia ei voi muokata."), kPropertiesCaption,
                    MB_ICONERROR | MB_OK);
        return;
    case DB_NOT_FOUND: ShowNotFound(dialog, itemText); return;
    case DB_CANNOT_OPEN:
        ShowPhonebookFileError(dialog, StoreState.currentPath, kPropertiesCaption, rc);
        return;
    default:  // older versions are no phonebook of this version either
        ShowPhonebookFileError(dialog, StoreState.currentPath, kPropertiesCaption, DB_BAD_FORMAT);
        return;
    }
}

}  // namespace

DBResult RunEntryEditStep(HWND dialog, int listId, const WCHAR* oldItemText) {
    const int32_t saved = CurrentDetails.workFlag;
    CurrentDetails.workFlag = listId;
    DBResult rc = DB_DONE;
    if (DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_ENTRY), dialog, EditDBInfoDlgProc, 0) == IDOK) {
        const int mode = CurrentDetails.workFlag;
        rc = DBWriteEntry(oldItemText, CurrentRecipient, CurrentDetails, static_cast<UpdateMode>(mode));
        if (rc == DB_DONE) UpdateList(dialog, listId, oldItemText, mode);
    }
    CurrentDetails.workFlag = saved;
    return rc;
}

void EditEntryProperties(HWND dialog, int listId, const WCHAR* itemText) {
    // Fields the record does not hold must not linger from the last recipient.
    CurrentRecipient = DefaultRecipient;
    DBResult rc = DBReadEntry(itemText, CurrentRecipient, CurrentDetails);
    if (rc == DB_DONE) rc = RunEntryEditStep(dialog, listId, itemText);
    ShowPropertiesError(dialog, itemText, rc);
}
