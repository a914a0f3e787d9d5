#include "group_lists.h"

#include <new>

#include "list_routines.h"

namespace {

const WCHAR* const kPropertiesCaption = WIDE("Muokkaa ominaisuuksia");
const WCHAR* const kNeedOneItem =
    WIDE("Yhden vastaanottajan ominaisuudet -valintaikkunan näyttäminen ei onnistunut.\n"
         "Näyttääksesi ikkunan sinun on valittava yksi kohta luettelosta.");

}  // namespace

WideString GroupItemText(HWND list, int index) {
    LRESULT len = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (len <= 0) return WideString();
    WideString text(static_cast<size_t>(len) + 1, 0);
    LRESULT got = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 && got <= len ? static_cast<size_t>(got) : 0);
    return text;
}

std::vector<int> GroupSelectedItems(HWND list, bool* shortOfMemory) {
    if (shortOfMemory) *shortOfMemory = false;
    LRESULT n = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (n <= 0) return {};
    int* indexes = new (std::nothrow) int[static_cast<size_t>(n)];
    if (!indexes) {
        if (shortOfMemory) *shortOfMemory = true;
        return {};
    }
    LRESULT got = SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(indexes));
    std::vector<int> out(indexes, indexes + (got > 0 && got <= n ? got : 0));
    delete[] indexes;
    return out;
}

bool GroupListHolds(HWND list, const WideString& text) { return FindRecordItem(list, text.c_str()) != LB_ERR; }

void GroupListAppend(HWND list, const WideString& text, LPARAM data) {
    LRESULT i = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (i >= 0) SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(i), data);
}

bool OneSelectedForProperties(HWND dialog, int listId, WideString& text, LPARAM* data) {
    HWND list = GetDlgItem(dialog, listId);
    int index = -1;
    if (SendMessageW(list, LB_GETSELCOUNT, 0, 0) != 1 ||
        SendMessageW(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&index)) != 1) {
        MessageBoxW(dialog, kNeedOneItem, kPropertiesCaption, MB_ICONERROR | MB_OK);
        return false;
    }
    text = GroupItemText(list, index);
    if (data) *data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return true;
}
