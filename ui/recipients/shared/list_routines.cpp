#include "list_routines.h"

#include <vector>

#include "entry_codec.h"
#include "entry_dialog_ids.h"
#include "phonebook_dialog_ids.h"

namespace {

WideString ItemText(HWND list, LRESULT index) {
    LRESULT len = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len <= 0) return WideString();
    WideString text(static_cast<size_t>(len) + 1, 0);
    LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 && got <= len ? static_cast<size_t>(got) : 0);
    return text;
}

}  // namespace

void DeleteSelectedItems(HWND dialog, int listId, int maxSelected, RecipientBlock* block, EntryDetails* details) {
    if (maxSelected <= 0) return;
    std::vector<int> selected(static_cast<size_t>(maxSelected));
    LRESULT n = SendDlgItemMessageW(dialog, listId, LB_GETSELITEMS, maxSelected,
                                    reinterpret_cast<LPARAM>(selected.data()));
    if (n <= 0) return;
    if (n > maxSelected) n = maxSelected;
    for (LRESULT k = n; k-- > 0;) {
        int index = selected[static_cast<size_t>(k)];
        SendDlgItemMessageW(dialog, listId, LB_DELETESTRING, index, 0);
        if (block) RemoveRecipientSlot(*block, details, index);
    }
    LRESULT count = SendDlgItemMessageW(dialog, listId, LB_GETCOUNT, 0, 0);
    if (count <= 0) return;
    int select = selected[0] < count ? selected[0] : static_cast<int>(count - 1);
    SendDlgItemMessageW(dialog, listId, LB_SETSEL, TRUE, select);
}

// The phonebook and group dialogs give their search edits one id.
static_assert(IDC_PB_SEARCH == IDC_GROUP_SEARCH, "one search edit id for the phonebook and group dialogs");

void SearchListByPrefix(HWND dialog, int listId) {
    WCHAR text[35] = {0};
    GetDlgItemTextW(dialog, IDC_PB_SEARCH, text, 35);
    int first = -1;
    if (SendDlgItemMessageW(dialog, listId, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) <= 0) first = -1;
    // LB_FINDSTRING starts after the given index; -1 searches from the top.
    WPARAM after = static_cast<WPARAM>(first > 0 ? first - 1 : -1);
    if (first == 0) {
        LRESULT count = SendDlgItemMessageW(dialog, listId, LB_GETCOUNT, 0, 0);
        after = static_cast<WPARAM>(count > 0 ? count - 1 : -1);
    }
    LRESULT found = SendDlgItemMessageW(dialog, listId, LB_FINDSTRING, after, reinterpret_cast<LPARAM>(text));
    if (found == LB_ERR) return;
    SendDlgItemMessageW(dialog, listId, LB_SETSEL, FALSE, -1);
    SendDlgItemMessageW(dialog, listId, LB_SETSEL, TRUE, found);
    SendDlgItemMessageW(dialog, listId, LB_SETTOPINDEX, found, 0);
}

void AddAndSelectOnly(HWND dialog, int listId, const WCHAR* text, LPARAM data) {
    LRESULT i = SendDlgItemMessageW(dialog, listId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (i < 0) return;
    SendDlgItemMessageW(dialog, listId, LB_SETITEMDATA, i, data);
    SendDlgItemMessageW(dialog, listId, LB_SETSEL, FALSE, -1);
    SendDlgItemMessageW(dialog, listId, LB_SETSEL, TRUE, i);
}

void RemoveItemWithText(HWND dialog, int listId, const WCHAR* text) {
    // Items that differ only in case may be different records: the one with
    // this very text goes.
    HWND list = GetDlgItem(dialog, listId);
    const WideString wanted(text);
    LRESULT i = LB_ERR;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT k = 0; k < count && i == LB_ERR; ++k) {
        if (ItemText(list, k) == wanted) i = k;
    }
    if (i == LB_ERR) i = FindRecordItem(list, text);
    if (i != LB_ERR) SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
}

LRESULT FindRecordItem(HWND list, const WCHAR* text) {
    const LRESULT count = list ? SendMessageW(list, LB_GETCOUNT, 0, 0) : 0;
    for (LRESULT k = 0; k < count; ++k) {
        if (SameRecordKey(ItemText(list, k).c_str(), text)) return k;
    }
    return LB_ERR;
}
