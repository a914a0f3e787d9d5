#pragma once
// Handlers of the phonebook dialog, one file per group of commands.

#include <vector>

#include "phonebook_dialog_ids.h"
#include "text_convert.h"
#include "windows.h"

// --- view (phonebook_dialog.cpp)
bool IsPickerDialog(HWND dialog);
// Refills the phonebook list and sets the title and buttons from the
// no-phonebook flag of the store state.
void RefreshPhonebookView(HWND dialog);
void SetPhonebookTitle(HWND dialog);

// --- texts of list items (phonebook_dialog_lists.cpp)
WideString ListItemText(HWND dialog, int listId, int index);
// Indexes of the selected items, ascending.
std::vector<int> SelectedItems(HWND dialog, int listId);
bool ListHoldsText(HWND dialog, int listId, const WideString& text);

// --- phonebook files (phonebook_dialog_files.cpp)
void OnNewPhonebook(HWND dialog);
void OnOpenPhonebook(HWND dialog);
void OnSaveAs(HWND dialog);

// --- deleting from the phonebook (phonebook_dialog_delete.cpp)
// The delete key in the phonebook list: -2 when handled, -1 otherwise.
INT_PTR OnDeleteFromPhonebook(HWND dialog);

// --- picked recipients (phonebook_dialog_picks.cpp)
void PrepareExchangeBlock();
void OnAddRecipients(HWND dialog);
// The delete key in the picked list: -2 when handled, -1 otherwise.
INT_PTR OnRemoveRecipients(HWND dialog);
// Reads the details of recipients picked in this dialog before it ends.
void ReadPickedDetails(HWND dialog);

// --- new items and properties (phonebook_dialog_items.cpp)
void OnNewItem(HWND dialog);
// Properties of the one selected item of the phonebook list.
void OnItemProperties(HWND dialog);
// A double click in the picked list: the first selected recipient, while
// it is still only a text picked from the phonebook.
void OnPickedDoubleClick(HWND dialog);

// --- import (phonebook_dialog_import.cpp)
void OnStartImport();
void OnPhonebookImportResult(HWND dialog, int command);
