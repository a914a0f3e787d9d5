#pragma once
// "faxhost prefs [JOBFILE]": printing preferences with the fax pages (on
// Linux a script file plays the user), then the fax settings the sheet left.
// "faxhost print JOBFILE [--output FILE]": a whole job through both add-ons.
#include <string>

int RunPrefsCommand(const std::string& renderModule, int argc, char** argv);
int RunPrintCommand(const std::string& renderModule, int argc, char** argv);

// Exit status of a fax job the user cancelled.
constexpr int kExitCancelled = 4;
