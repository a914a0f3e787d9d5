#pragma once
// Recipients given as list texts ("Name <number>", a speed dial as
// "Name <'12'>"), checked by the rules the recipient dialog applies to what
// a user types there.

#include <string>
#include <vector>

#include "fax_settings.h"
#include "windows.h"

// The UTF-8 text of one option value, as wide characters; false when it is
// not UTF-8.
bool Utf8ToWideText(const std::string& utf8, std::basic_string<WCHAR>* wide);

// One list text. speedDialMax is 200 or 999. False with a message naming
// the text when the dialog would not take it.
bool ParseRecipientText(const std::string& text, int speedDialMax, FaxRecipient* out, std::string* error);

// A ';'-separated list of list texts; blank pieces are skipped. Appends to
// out; false at the first text refused.
bool ParseRecipientList(const std::string& list, int speedDialMax, std::vector<FaxRecipient>* out,
                        std::string* error);

// The ';'-separated pieces of a list option, each trimmed of blanks, blank
// pieces left out.
std::vector<std::string> SplitListOption(const std::string& list);
