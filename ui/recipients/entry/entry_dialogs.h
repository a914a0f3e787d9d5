#pragma once
// The dialogs of one phonebook individual: view, edit, and the choice of
// what a new phonebook item is.

#include "windows.h"

// View of CurrentDetails; always ends with 2.
extern "C" INT_PTR CALLBACK ShowDBInfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Edit of CurrentRecipient / CurrentDetails; workFlag holds the parent
// list id before and the update mode after OK.
extern "C" INT_PTR CALLBACK EditDBInfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// 500 individual, 501 group, 2 cancel.
extern "C" INT_PTR CALLBACK NewEntryDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
