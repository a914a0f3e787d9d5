#pragma once
// What faxhost plays when it is run with no arguments: a fax job printed
// through both add-ons, with a phonebook of its own and a scripted user who
// fills in the dialogs.

#include <string>

// The job: a fax with no recipients yet (the dialogs give them).
extern const char kBuiltinPrintJobFile[];
// The user's steps (script file format, platform/AUTOMATION.md).
extern const char kBuiltinUserScript[];

// Writes the built-in phonebook to 'path' (a new file). False with a
// message when it cannot be written.
bool WriteBuiltinPhonebook(const std::string& path, std::string* error);
