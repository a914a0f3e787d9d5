#pragma once
// "faxhost phonebook": list, check and convert phonebook files from the
// command line, through the same store code the dialogs use.

// argv[0] is "phonebook"; returns the process exit code.
int RunPhonebookCommand(int argc, char** argv);
