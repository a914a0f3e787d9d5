#pragma once
// "faxhost phonebook": list, check and convert phonebook files from the
// command line, through the same store code the dialogs use.

#include "db_result.h"
#include "text_convert.h"

// What a store result means, for the command line's messages.
const char* StoreResultText(DBResult rc);

// argv[0] is "phonebook"; returns the process exit code.
int RunPhonebookCommand(int argc, char** argv);

// A path from the command line: UTF-8 on the headless build, the ANSI
// code page on Windows.
WideString PathArgument(const char* arg);
