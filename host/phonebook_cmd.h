#pragma once
// "faxhost phonebook": list, check and convert phonebook files from the
// command line, through the same store code the dialogs use.

#include "text_convert.h"

// argv[0] is "phonebook"; returns the process exit code.
int RunPhonebookCommand(int argc, char** argv);

// A path from the command line: UTF-8 on the headless build, the ANSI
// code page on Windows.
WideString PathArgument(const char* arg);
