#pragma once
// Individual records to and from the in-memory pair FaxRecipient +
// EntryDetails, converting between wide and ANSI text at the boundary.

#include <cstddef>
#include <cstdint>
#include <string>

#include "entry_details.h"
#include "fax_settings.h"
#include "kfd_format.h"
#include "text_convert.h"

constexpr size_t kListTextChars = 64;  // wide list text with its terminator

// Appends the record to out; returns its length.
size_t DBEncodeEntry(const FaxRecipient& r, const EntryDetails& d, std::string& out);

// rec at the record's 0x01, len through its 0x04. Returns false when the
// record is damaged (it is decoded as far as it goes, every field bounded).
bool DBDecodeEntry(const uint8_t* rec, size_t len, FaxRecipient& r, EntryDetails& d);

// List text of a record: "name <fax>" for an individual, "[name]" for a group.
void DBRecordListText(const uint8_t* rec, size_t len, WCHAR text[kListTextChars]);

// Individual list text from name and fax number (wide, bounded).
WideString IndividualListText(const WCHAR* name, const WCHAR* fax);
WideString GroupListText(const WCHAR* name);

// The ANSI key of a list text, as the store parses it: converted first,
// then split (a double-byte character's second byte is no delimiter), each
// part cut to its field. False, with empty parts, when the text is not a
// list text of its kind.
bool ListTextToKey(const WCHAR* text, char name[kfd::kNameMax + 1], char fax[kfd::kFaxMax + 1]);
bool GroupTextToKey(const WCHAR* text, char name[kfd::kNameMax + 1]);

// Whether two list texts stand for the same record of the file: each is
// taken to its key as above and the keys are compared by the file's rule
// (KeyEquals). Texts of different kinds, or no list texts, never match.
// Every check of the dialogs for "already in the phonebook" asks this, so
// that the dialogs and the store always agree on what one record is.
bool SameRecordKey(const WCHAR* a, const WCHAR* b);
