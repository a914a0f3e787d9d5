#pragma once
// The current phonebook: which file the dialogs work on, KFD.INI that
// remembers it, the default phonebook, file-name questions, the offer to
// convert an older file, and the start of the import program.

#include "db_result.h"
#include "windows.h"

enum AskPurpose { kAskNew = 0, kAskOpen = 1, kAskSaveAs = 2, kAskSaveConversion = 3 };

// 1 when a current phonebook is set, 0 when there is none.
int DBOpenCurrentPhonebook(HWND owner);
// Makes path current and rewrites KFD.INI with it; 3 when KFD.INI could
// not be written (the path is current all the same).
DBResult DBSetCurrentPhonebook(const WCHAR* path);
// path holds 361 characters; 1 when a name was chosen.
int DBAskFileName(HWND owner, WCHAR* path, AskPurpose purpose);
// 1 when converted (path then names the converted file), 0 when not.
int DBOfferConversion(HWND owner, WCHAR* path, DBResult version);
// Sets the hand-off root again from the Windows directory.
void SetHandoffRootFromWindowsDirectory();
// Starts the import program with a new hand-off path; returns at once with
// WinExec's answer (above 31 when it started), or 0 when there was no
// program name or no free path. Only a started program leaves its
// hand-off path pending.
UINT StartRecipientImport();
