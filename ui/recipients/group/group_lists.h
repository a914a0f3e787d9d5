#pragma once
// List box helpers of the group dialogs.

#include <vector>

#include "text_convert.h"
#include "windows.h"

WideString GroupItemText(HWND list, int index);
// Indexes of the selected items, ascending; empty when memory is short
// (then *shortOfMemory is set).
std::vector<int> GroupSelectedItems(HWND list, bool* shortOfMemory = nullptr);
// Whether the list holds the record of the text, by the key the store
// finds records with (FindRecordItem).
bool GroupListHolds(HWND list, const WideString& text);
// Appends the text with its item data.
void GroupListAppend(HWND list, const WideString& text, LPARAM data);

// The text of the one selected item of the dialog's list; with none or
// several selected, the error of the properties button and false.
bool OneSelectedForProperties(HWND dialog, int listId, WideString& text, LPARAM* data = nullptr);
