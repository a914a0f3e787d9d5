#pragma once
// Phonebook entries picked by name for a fax job: each individual as the
// recipient dialog takes it from the phonebook (its communication settings
// with it), each group as its members in order.

#include <string>
#include <vector>

#include "fax_settings.h"

struct PhonebookIndividual {
    FaxRecipient recipient;
    std::string nameKey;  // folded name
    std::string key;      // folded name and fax number
};
struct PhonebookGroup {
    std::string nameKey;
    std::vector<std::string> memberKeys;
};
struct PhonebookContents {
    std::vector<PhonebookIndividual> individuals;
    std::vector<PhonebookGroup> groups;
};

// Reads a current-version phonebook through the store. Refused with a
// message: a file that cannot be opened, an older version or another
// format, and a damaged file (a record cut off, fields over their sizes or
// holding what the dialogs never store, a group naming a missing member).
bool LoadPhonebook(const std::string& utf8Path, PhonebookContents* book, std::string* error);

// Appends the recipients of the ';'-separated entries: "[Group]" or
// "Name <number>" name one record exactly; a bare name is the group or the
// one individual of that name (case does not matter). Unknown or ambiguous
// names are refused.
bool PickEntries(const PhonebookContents& book, const std::string& entries, std::vector<FaxRecipient>* out,
                 std::string* error);
