#pragma once
// What the recipient list dialog keeps between its messages, and the
// handlers its procedure calls.

#include "windows.h"

struct RecipientDialogState {
    int speedDialMode;  // 1 while the number field takes a speed-dial number
    int speedDialMax;   // 200 or 999
};
extern RecipientDialogState RecipientState;

bool PhonebookUsable();
void ShowCurrentPhonebook(HWND dialog);
// The enable rules applied when the list changes as a whole.
void ApplyRecipientButtonRules(HWND dialog);
// The rules for the details and comm settings buttons, which follow the selection.
void ApplySelectionRules(HWND dialog);
// The index of the one selected item, or -1 unless exactly one is selected.
int SingleSelection(HWND dialog);

void OnPhonebook(HWND dialog);
void OnStoreInPhonebook(HWND dialog);
void OnImport(HWND dialog);
void OnImportResult(HWND dialog, int command);
