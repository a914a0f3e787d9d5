#pragma once
// Help for the dialogs and enabling of optional controls.

#include "windows.h"

// The module whose directory and string table name the help file.
void SetHelpModule(HINSTANCE module);
// The module set above (its resources hold the dialogs' strings).
HINSTANCE DialogModule();

// The help file: the name in string 700, in the module's directory.
const WCHAR* DialogHelpFile();

// Opens help at the dialog's context number and remembers that this
// dialog opened it.
void ShowDialogHelp(HWND dialog, DWORD context);
// Closes help when this dialog opened it.
void CloseDialogHelp(HWND dialog);

// Enables or disables a control; nothing when the dialog has no such control.
void EnableDialogControl(HWND dialog, int id, BOOL enable);
