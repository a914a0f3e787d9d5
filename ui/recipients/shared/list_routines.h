#pragma once
// Routines over the list boxes of the dialogs.

#include "entry_details.h"
#include "shared_state.h"
#include "windows.h"

// Deletes the selected items (at most maxSelected of them), last first;
// with a recipient block the parallel slots and details go with them.
// Afterwards the item at the first formerly selected index (or the last
// item) is selected.
void DeleteSelectedItems(HWND dialog, int listId, int maxSelected, RecipientBlock* block, EntryDetails* details);

// Selects the first item, from the selection on and wrapping round, whose
// text begins with the text of the search edit (case-insensitive), and scrolls it
// to the top.
void SearchListByPrefix(HWND dialog, int listId);

// Adds a text with its item data and makes it the only selected item.
void AddAndSelectOnly(HWND dialog, int listId, const WCHAR* text, LPARAM data);
// Removes the item whose text is text; without one, the first that stands
// for the same record (FindRecordItem).
void RemoveItemWithText(HWND dialog, int listId, const WCHAR* text);
// The first item of a phonebook list that stands for the same record as
// text (SameRecordKey), or LB_ERR.
LRESULT FindRecordItem(HWND list, const WCHAR* text);
