#pragma once
// The two message boxes the dialogs share.

#include "db_result.h"
#include "windows.h"

// "Nimi: " name "\nFaksinumero: " fax, then the suffix; returns the button.
int ShowRecipientMessage(HWND owner, const WCHAR* name, const WCHAR* fax, const WCHAR* suffix,
                         const WCHAR* caption, UINT type);

// A phonebook file error: a text chosen by the store result code, then the path.
void ShowPhonebookFileError(HWND owner, const WCHAR* path, const WCHAR* caption, DBResult code);

// The text ShowPhonebookFileError puts before the path for a code.
const WCHAR* PhonebookErrorPrefix(DBResult code);
