#pragma once
// A dialog's state as the user sees it: texts whole, whatever their length.

#include <windows.h>

#include <string>
#include <vector>

#include "wide_text.h"

inline std::u16string Title(HWND window) {
    std::vector<WCHAR> buf(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, 0);
    GetWindowTextW(window, buf.data(), static_cast<int>(buf.size()));
    return U16(buf.data());
}
inline std::u16string Text(HWND dialog, int id) { return Title(GetDlgItem(dialog, id)); }
inline bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
