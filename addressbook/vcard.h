#pragma once
// Reads the contacts of a vCard file (the 2.1, 3.0 and 4.0 forms that
// address-book programs export) into the few things the stand-in address
// book serves: a display name, three kinds of fax number (by the TEL types,
// or by the label of a grouped number), and for a distribution list its
// members. Text stays UTF-8; the library converts
// it when it hands properties out.

#include <cstddef>
#include <string>
#include <vector>

namespace vcard {

// Other: a card that is neither a person nor a list (a place, a device).
enum class CardKind { Person, List, Other };

struct Card {
    CardKind kind = CardKind::Person;
    std::string uid;          // UID, or empty
    std::string displayName;  // FN, else built from N
    std::string primaryFax;   // a fax number that is neither work nor home
    std::string businessFax;
    std::string homeFax;
    std::vector<std::string> members;  // MEMBER references of a list (uids)
    std::vector<std::string> categories;
};

struct Book {
    std::vector<Card> cards;
    size_t skippedCards = 0;  // cards cut off before their END, left out
};

// Files larger than this are refused rather than read.
constexpr size_t kMaxFileBytes = 32u << 20;

enum class ReadResult { Ok, NotFound, TooLarge, NotVCard };

// Parses text already in memory. A text without a single BEGIN:VCARD gives
// NotVCard. A line that is no property is skipped, its card kept; a card
// cut off before its END is left out and counted, as its last number may be
// cut too.
ReadResult ParseBook(const char* data, size_t size, Book& book);
ReadResult ReadBookFile(const std::string& path, Book& book);

// The member reference as a uid: "urn:uuid:X" gives "X".
std::string MemberUid(const std::string& reference);

}  // namespace vcard
