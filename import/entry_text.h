#pragma once
// An entry text "name <fax>" (what the program lists and hands over) back
// into its two parts, by the phonebook's list-text rule: the name is all
// before the last blank, so a name holding '<' or a number holding '>'
// comes back whole.

#include <string>

// False, both parts empty, for a text of any other shape.
bool SplitEntryText(const std::string& entry, std::string& name, std::string& fax);
