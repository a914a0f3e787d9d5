#pragma once
// "faxhost prefs [JOBFILE]": printing preferences with the fax pages (on
// Linux a script file plays the user), then the fax settings the sheet left.
// "faxhost print JOBFILE [--output FILE] [--image-layout LAYOUT]": a whole
// job through both add-ons, the settings image laid out as LAYOUT says;
// FAX_HOST_FAIL names escapes the host fails.
#include <string>

int RunPrefsCommand(const std::string& renderModule, int argc, char** argv);
int RunPrintCommand(const std::string& renderModule, int argc, char** argv);
// "faxhost" alone: the built-in fax job printed through both add-ons, in a
// scratch Windows directory holding the built-in phonebook, with the
// built-in user filling in the dialogs; the dialogs it saw go to standard
// error.
int RunBuiltinPrint(const std::string& renderModule);

// Exit status of a fax job the user cancelled.
constexpr int kExitCancelled = 4;
