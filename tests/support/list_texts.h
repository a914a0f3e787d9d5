#pragma once
// The texts of a list box in a dialog, as the user reads them.

#include <windows.h>

#include <string>
#include <vector>

inline std::u16string ListText(HWND dialog, int list, int i) {
    LRESULT len = SendDlgItemMessageW(dialog, list, LB_GETTEXTLEN, i, 0);
    if (len < 0) return u"";
    std::vector<WCHAR> buf(static_cast<size_t>(len) + 1, 0);
    SendDlgItemMessageW(dialog, list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf.data()));
    return reinterpret_cast<const char16_t*>(buf.data());
}

inline std::vector<std::u16string> ListTexts(HWND dialog, int list) {
    std::vector<std::u16string> out;
    LRESULT n = SendDlgItemMessageW(dialog, list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) out.push_back(ListText(dialog, list, static_cast<int>(i)));
    return out;
}
