#pragma once
// "faxhost import" and "faxhost phonebook import": the recipients a contact
// file or speed-dial export yields, printed or added to a phonebook,
// through the import program's own readers.

// argv[0] is "import"; returns the process exit code.
int RunImportCommand(int argc, char** argv);
// argv[0] is "import" (after "phonebook").
int RunPhonebookImportCommand(int argc, char** argv);
