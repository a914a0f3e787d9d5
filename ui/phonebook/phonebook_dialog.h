#pragma once
// The phonebook dialog: the manager (template 106) and the picker with its
// list of picked recipients (template 600), one dialog procedure for both.

#include "shared_state.h"
#include "windows.h"

extern "C" INT_PTR CALLBACK PhonebookDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#include "recipient_list_text.h"  // FillRecipientList: slot i of a block as item i
