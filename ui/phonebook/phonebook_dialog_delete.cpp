// Deleting the selected items from the phonebook.
#include "messages.h"
#include "phonebook_dialog_internal.h"
#include "store.h"
#include "store_state.h"

INT_PTR OnDeleteFromPhonebook(HWND dialog) {
    std::vector<int> selected = SelectedItems(dialog, IDC_PB_PHONEBOOK_LIST);
    if (selected.empty()) return -1;
    const WCHAR* caption = WIDE("Poista kohtia muistiosta");
    if (MessageBoxW(dialog, WIDE("Haluatko poistaa valitut kohdat nykyisestä muistiosta?"), caption,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return -1;
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        WideString text = ListItemText(dialog, IDC_PB_PHONEBOOK_LIST, *it);
        LRESULT data = SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_GETITEMDATA, *it, 0);
        DBResult rc = DBDeleteItem(text.c_str(), data == kItemGroup ? kItemGroup : kItemIndividual);
        if (rc == DB_DONE) {
            SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_DELETESTRING, *it, 0);
            continue;
        }
        if (rc == DB_NO_MEMORY)
            MessageBoxW(dialog,
                        WIDE("Muisti ei riitä puhelinmuistion käsittelyyn.\n"
                             "Kaikkien valittujen kohtien poistaminen ei onnistunut."),
                        caption, MB_ICONERROR | MB_OK);
        else if (rc == DB_WRITE_FAILED)
            MessageBoxW(dialog,
                        WIDE("Levytila ei riitä jatkamiseen.\nKaikkien valittujen kohtien poistaminen ei onnistunut."),
                        caption, MB_ICONERROR | MB_OK);
        else
            ShowPhonebookFileError(dialog, StoreState.currentPath, caption, rc);
        break;
    }
    return -2;
}
