#pragma once
// Window procedures of the list and combo boxes the window table creates.
#include "posix/win_user.h"

namespace winuser {

LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);

}  // namespace winuser
