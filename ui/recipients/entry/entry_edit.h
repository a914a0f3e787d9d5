#pragma once
// Editing one phonebook individual through dialog 103 and writing it back
// to the phonebook, with the list of the calling dialog kept in step.

#include "db_result.h"
#include "windows.h"

// Runs the edit dialog on CurrentRecipient / CurrentDetails (filled by the
// caller) as a child of dialog, with listId as its parent list, and writes
// the result with the mode the dialog chose. oldItemText is the list text
// the individual had, or null for a new one. The store's result; done also
// when the user cancels. workFlag is as before afterwards.
DBResult RunEntryEditStep(HWND dialog, int listId, const WCHAR* oldItemText);

// Reads the individual of itemText from the current phonebook, runs the
// edit step on it and shows any store failure itself.
void EditEntryProperties(HWND dialog, int listId, const WCHAR* itemText);
