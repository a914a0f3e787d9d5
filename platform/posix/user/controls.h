#pragma once
// Window procedures of the standard controls the window table creates.
#include "posix/win_user.h"

namespace winuser {

LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);

}  // namespace winuser
