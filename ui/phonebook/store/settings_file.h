#pragma once
// KFD.INI: one line, ending in a line feed, naming the current phonebook.
// The dialogs and faxhost read and write it only through these two calls.

#include "db_result.h"
#include "text_convert.h"
#include "windows.h"

// The path the file names; empty when it cannot be read or names none.
WideString ReadSettingsFile(const WCHAR* settingsPath);
// Makes the file name phonebookPath (cut to 360 characters) through its
// temporary file, unless it already does: done, or 3 with the file as it was.
DBResult WriteSettingsFile(const WCHAR* settingsPath, const WCHAR* phonebookPath);
