#pragma once
// The stand-in's address book: the cards of a vCard file as entries with
// entry identifiers, texts in the ANSI code page as the A properties give them.

#include <cstdint>
#include <string>
#include <vector>

#include "addrbook_api.h"
#include "vcard.h"

namespace standin {

struct Entry {
    ULONG objectType = MAPI_MAILUSER;
    std::string name;
    std::string primaryFax, businessFax, homeFax;
    std::vector<uint32_t> members;  // indexes of member entries
};

// An entry identifier: four flag bytes, a mark and the entry's index.
struct EntryIdBytes {
    BYTE flags[4];
    char mark[4];
    uint32_t index;
};
static_assert(sizeof(EntryIdBytes) == 12, "EntryIdBytes size");

class Book {
public:
    // False when the file cannot be read, is too large or is not a vCard
    // file; why tells which.
    bool Load(const char* path, vcard::ReadResult* why = nullptr);
    // Malformed cards left out of the book.
    size_t Skipped() const { return skipped_; }
    const std::vector<Entry>& Entries() const { return entries_; }
    // The entry an identifier names, or null for a foreign or damaged one.
    const Entry* Find(ULONG cb, const ENTRYID* id, uint32_t* index = nullptr) const;
    static EntryIdBytes IdOf(uint32_t index);

private:
    void AddCategoryLists(const vcard::Book& cards);

    std::vector<Entry> entries_;
    size_t skipped_ = 0;
};

// The default book: $FAX_ADDRESS_BOOK, else ADDRESS.VCF in the Windows directory.
std::string DefaultBookPath();

}  // namespace standin
