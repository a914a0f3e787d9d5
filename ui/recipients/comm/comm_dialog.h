#pragma once
// The communication settings dialog: edits CurrentRecipient in place.

#include "windows.h"

constexpr int kCommModeEnd = -1;
constexpr int kRecipientDialogMarkerId = 1008;  // a parent with it is the recipient list

// String ids of the offered comm modes, each table ended by kCommModeEnd:
// RecipientCommModes when opened from the recipient list (which drops G4
// when the host does not offer it), EntryCommModes from anywhere else.
extern int RecipientCommModes[4];
extern int EntryCommModes[4];

extern "C" INT_PTR CALLBACK CommDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
