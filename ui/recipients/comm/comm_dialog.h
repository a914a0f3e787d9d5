#pragma once
// The communication settings dialog: edits CurrentRecipient in place.

#include "windows.h"

extern "C" INT_PTR CALLBACK CommDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
