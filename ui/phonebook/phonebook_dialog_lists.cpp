#include <cstdio>
#include <cstring>

#include "phonebook_dialog.h"
#include "phonebook_dialog_internal.h"

WideString ListItemText(HWND dialog, int listId, int index) {
    LRESULT len = SendDlgItemMessageW(dialog, listId, LB_GETTEXTLEN, index, 0);
    if (len == LB_ERR || len < 0) return WideString();
    WideString text(static_cast<size_t>(len) + 1, WCHAR(0));
    LRESULT got = SendDlgItemMessageW(dialog, listId, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 && got <= len ? static_cast<size_t>(got) : 0);
    return text;
}

std::vector<int> SelectedItems(HWND dialog, int listId) {
    LRESULT n = SendDlgItemMessageW(dialog, listId, LB_GETSELCOUNT, 0, 0);
    if (n <= 0) return {};
    std::vector<int> items(static_cast<size_t>(n));
    LRESULT got = SendDlgItemMessageW(dialog, listId, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(items.data()));
    items.resize(got > 0 && got <= n ? static_cast<size_t>(got) : 0);
    return items;
}

bool ListHoldsText(HWND dialog, int listId, const WideString& text) {
    return SendDlgItemMessageW(dialog, listId, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(text.c_str())) != LB_ERR;
}

