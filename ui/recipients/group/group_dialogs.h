#pragma once
// The dialogs of one phonebook group: its edit (template 107) and the view
// of its members (template 700).

#include "windows.h"

// Edit of the group named in CurrentGroupName (empty: a new group);
// workFlag holds the parent list id before. 1 OK: the record in
// GroupRecordBuffer, the update mode in workFlag and the new name in
// CurrentGroupName; 2 Cancel, or members that could not be loaded.
extern "C" INT_PTR CALLBACK EditDBGrpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The members of the group selected first in the parent's list 601; always 2.
extern "C" INT_PTR CALLBACK ShowDBGrpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
