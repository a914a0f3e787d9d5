#pragma once
// The FAXNUM parameter: a recipient's number and communication settings
// packed into brace-delimited fields for the printer's fax unit.

#include <cstddef>

#include "fax_settings.h"

// Size DoFaxNumParam's callers provide; the longest parameter is well under.
constexpr size_t kFaxNumParamSize = 200;

// Builds the parameter (ending in a line feed) into out, never writing more
// than capacity bytes. Returns its length.
size_t BuildFaxNumParam(const FaxRecipient& recipient, char* out, size_t capacity);

// Keypad digit for an upper-case Latin letter; any other byte unchanged.
char KeypadDigit(char c);
