#pragma once
// Store operations that fill the dialogs' list boxes and show their own
// messages.

#include "windows.h"

// 1 when the current phonebook is usable; otherwise the message is shown.
int DBValidateCurrentPhonebook(HWND owner);
// Adds the list text of every record with its kind as item data.
int DBFillList(HWND dialog, int listId);
// Lists the members of a group; with addAsRecipients each added member
// also takes the next slot of ExchangeRecipients.
int DBListGroupMembers(HWND dialog, int listId, const WCHAR* groupName, BOOL addAsRecipients);
