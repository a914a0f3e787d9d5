#pragma once
// The communication settings dialog: edits CurrentRecipient in place.

#include "windows.h"

constexpr int kRecipientDialogMarkerId = 1008;  // a parent with it is the recipient list

extern "C" INT_PTR CALLBACK CommDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
