#pragma once
// List texts of recipient slots, and filling a list box from a recipient
// block (slot i becomes item i).

#include <string>

#include "fax_settings.h"
#include "shared_state.h"
#include "windows.h"

using RecipientText = std::basic_string<WCHAR>;

// "name <number>", or "name <'number'>" for a speed-dial number.
RecipientText RecipientListText(const WCHAR* name, const WCHAR* number, bool speedDial);
// The same for a slot, its ANSI name and number read within their fields.
RecipientText RecipientListText(const FaxRecipient& r);

// Empties the list and adds one item per used slot, in slot order.
void FillRecipientList(HWND dialog, int listId, const RecipientBlock& block);
