#pragma once
// Bytes of a phonebook file (.KFD): header, record markers, individual and
// group records, keys and list texts. Pure byte work on the ANSI side; the
// wide-character side is in entry_codec.h.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fax_settings.h"

namespace kfd {

constexpr size_t kMagicLen = 34;
constexpr size_t kHeaderLen = kMagicLen + 1;  // magic and one line feed
extern const char kMagicCurrent[kMagicLen + 1];
extern const char kMagic0000[kMagicLen + 1];
extern const char kMagic1000[kMagicLen + 1];

constexpr uint8_t kIndividual = 0x01;
constexpr uint8_t kGroup = 0x02;
constexpr uint8_t kFieldEnd = 0x03;
constexpr uint8_t kRecordEnd = 0x04;

inline bool IsMarker(uint8_t b) { return b == kIndividual || b == kGroup; }
// Bytes that structure the file and may never stand inside a field.
inline bool IsControlByte(uint8_t b) { return b >= 0x01 && b <= 0x04; }

// The store's work buffer, which is also the largest record it can handle.
constexpr size_t kWorkBufferSize = 16384;

// Byte limits of the text fields (terminator not counted).
constexpr size_t kNameMax = 30;
constexpr size_t kFaxMax = 30;
constexpr size_t kCompanyMax = 59;
constexpr size_t kPhoneMax = 46;
constexpr size_t kEmailMax = 59;
constexpr size_t kMemoMax = 254;
constexpr size_t kStationMax = 2;
constexpr size_t kDestCountMax = 2;
constexpr size_t kDestLen = 3;
constexpr size_t kModeMax = 1;
constexpr size_t kMailboxMax = 3;
constexpr size_t kMailboxPwMax = 4;
constexpr size_t kFCodeMax = 20;
constexpr size_t kListTextAnsiMax = 64;  // name, blank, <, fax, >

enum class Version { Current, V0000, V1000, Unknown };
// Classifies the first bytes of a file; fewer than 34 bytes is Unknown.
Version ClassifyMagic(const uint8_t* data, size_t len);

// The ANSI contact fields of an individual record, NUL-terminated.
struct AnsiDetails {
    char company[kCompanyMax + 1];
    char phone[kPhoneMax + 1];
    char email[kEmailMax + 1];
    char memo[kMemoMax + 1];
};

// Length of the longest prefix of text[0..len) that fits in max bytes
// without splitting a double-byte character (a byte of 0x80 or above takes
// the next byte with it, as the key rule does).
size_t FitAnsi(const char* text, size_t len, size_t max);

// Length of a fixed text field: up to its NUL, never past its size.
size_t BoundedLen(const char* field, size_t size);

// The longest individual record: every text field full, 20 destinations.
constexpr size_t kEntryRecordMax = 1 + (kNameMax + 1) + (kFaxMax + 1) + (kCompanyMax + 1) + (kPhoneMax + 1) +
                                   (kEmailMax + 1) + (kMemoMax + 1) + 2 + 2 + (kStationMax + 1) +
                                   (kDestCountMax + 1) + kMaxRelayDests * (kDestLen + 1) + (kModeMax + 1) +
                                   (kMailboxMax + 1) + (kMailboxPwMax + 1) + 2 * (kFCodeMax + 1) + 1;
static_assert(kEntryRecordMax <= kWorkBufferSize, "an individual record fits the work buffer");

// Appends an encoded individual record (marker to end marker) to out. Text
// is taken with its bound; bytes that would break the structure are left out.
void EncodeEntry(const FaxRecipient& r, const AnsiDetails& d, std::string& out);
// The same record written to out, which has room for kEntryRecordMax
// bytes; returns its length.
size_t EncodeEntryTo(const FaxRecipient& r, const AnsiDetails& d, char* out);
// The same in two parts, for many records that differ only in their names
// and fax numbers: the marker with the name and fax number fields (returns
// where they end; *nameLen and *faxLen are the lengths of the two texts as
// written), and the fields after them up to the end marker.
char* EncodeEntryHead(const FaxRecipient& r, char* out, size_t* nameLen, size_t* faxLen);
char* EncodeEntryTail(const FaxRecipient& r, const AnsiDetails& d, char* out);

// Decodes an individual record. rec points at its 0x01, len runs to and
// including its 0x04. Fields are read with their bounds; a missing field
// reads as empty. r keeps speedDial and its unused bytes. Returns false when
// the record does not hold the fields it should (it is still decoded as far
// as it goes).
bool DecodeEntry(const uint8_t* rec, size_t len, FaxRecipient& r, AnsiDetails& d);

// Keys: equal when same length and same bytes, an ASCII letter matching the
// other case; a byte of 0x80 or above is compared exactly with the byte after it.
bool KeyEquals(const uint8_t* a, size_t alen, const uint8_t* b, size_t blen);
bool KeyEquals(const uint8_t* a, size_t alen, const char* b);
// The one form of a key: two keys are equal by KeyEquals exactly when their
// folded forms are the same bytes (for sets and maps of keys).
std::string FoldKey(const uint8_t* key, size_t len);
// The same written to out, which has room for len bytes (the folded form
// is as long as the key).
void FoldKeyTo(const uint8_t* key, size_t len, char* out);

// A view of one field inside a record.
struct Field {
    const uint8_t* data = nullptr;
    size_t len = 0;
};
// Reads the field that starts at pos (up to its 0x03) and moves pos past
// the 0x03. Returns false at the record's end marker or end of data.
bool NextField(const uint8_t* rec, size_t len, size_t& pos, Field& f);

// The name field of a group record, or the name and fax number of an
// individual (rec at its marker).
bool RecordKey(const uint8_t* rec, size_t len, Field& name, Field& fax);

// "name <fax>" of an individual or the bare name of a group, bounded.
std::string RecordListTextAnsi(const uint8_t* rec, size_t len);

// List texts: "name <fax>" for an individual, "[name]" for a group. The
// one parser of both, for ANSI bytes and for wide characters alike; the
// parts are index ranges [begin, end) into the text.
struct TextSpan {
    size_t begin = 0;
    size_t end = 0;
};

// In wide text no unit starts a double-byte character.
struct NoLeadUnits {
    template <class C>
    bool operator()(C) const { return false; }
};

// An individual's text: the name is everything before the last blank (it
// may be empty), the fax number everything between the '<' right after
// that blank and the final '>'. Any other shape (no blank, no brackets,
// brackets elsewhere) is refused: false, both spans empty. isLead tells
// the units that take the next one with them, so a blank or bracket inside
// a double-byte character is no delimiter.
template <class C, class IsLead = NoLeadUnits>
bool ParseIndividualText(const C* text, size_t len, TextSpan& name, TextSpan& fax, IsLead isLead = {}) {
    name = fax = TextSpan{};
    size_t blank = len;
    size_t last = len;  // where the last character starts
    for (size_t i = 0; i < len; ++i) {
        last = i;
        if (isLead(text[i]) && i + 1 < len) {
            ++i;
        } else if (text[i] == C(' ')) {
            blank = i;
        }
    }
    if (blank == len || blank + 2 >= len || text[blank + 1] != C('<') || last != len - 1 ||
        text[last] != C('>')) {
        return false;
    }
    name = {0, blank};
    fax = {blank + 2, len - 1};
    return true;
}

// A group's text: '[', the name, and the first ']' as its last character.
// Any other shape is refused: false, the span empty.
template <class C, class IsLead = NoLeadUnits>
bool ParseGroupText(const C* text, size_t len, TextSpan& name, IsLead isLead = {}) {
    name = TextSpan{};
    if (len < 2 || text[0] != C('[')) return false;
    for (size_t i = 1; i < len; ++i) {
        if (isLead(text[i]) && i + 1 < len) {
            ++i;
        } else if (text[i] == C(']')) {
            if (i != len - 1) return false;
            name = {1, i};
            return true;
        }
    }
    return false;
}

// True when every field the record holds (rec at its marker, len through
// its 0x04) is within the size the format gives it, and its destination
// count is 0-20: what a checker asks beyond what the decoder keeps (it
// cuts). Whether the record holds all its fields is DecodeEntry's answer.
bool FieldsWithinSizes(const uint8_t* rec, size_t len);

// Group records.
void BeginGroup(const char* name, std::string& out);
void AddGroupMember(const char* name, const char* fax, std::string& out);
void EndGroup(std::string& out);

// Rewrites a group record: every member reference with the key (name, fax)
// is removed (replacement == nullptr) or replaced by the new pair. Returns
// true when something changed.
bool RewriteGroupMembers(const uint8_t* rec, size_t len, const char* name, const char* fax,
                         const char* newName, const char* newFax, std::string& out);

}  // namespace kfd
