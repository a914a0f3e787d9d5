#pragma once
// The columns of a contact file that our command line reads without being
// told: header words in English or Finnish, as the mail, webmail, phone and
// spreadsheet programs write them.

#include <string>
#include <vector>

// A pair of columns whose first holds the kind of the number in the second
// ("Phone 1 - Type" and "Phone 1 - Value").
struct TypedColumns {
    int type;
    int value;
};

struct ContactColumns {
    int name = -1;        // the whole name
    int firstName = -1;   // where the whole name is missing or empty: first
    int lastName = -1;    // and last joined with a blank
    std::vector<int> fax;             // every value a fax number
    std::vector<TypedColumns> typed;  // a fax number when the kind says fax
    bool HasFax() const { return !fax.empty() || !typed.empty(); }
};

// A header word compared without regard to the case of a-z or to blanks
// around it.
std::string HeaderWord(const char* field);

// Whether a text speaks of fax ("Fax", "Faksi", in any case, anywhere in it).
bool SaysFax(const char* text);

// The columns that the n split header fields name.
void FindContactColumns(char* const* fields, int n, ContactColumns& c);
