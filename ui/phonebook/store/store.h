#pragma once
// The phonebook store: reads and changes phonebook files through one work
// buffer, replacing a changed file through its temporary file.

#include <cstddef>
#include <cstdint>

#include "db_result.h"
#include "entry_details.h"
#include "fax_settings.h"
#include "record_stream.h"
#include "windows.h"

enum UpdateMode { kModeNew = 0, kModeSameKey = 1, kModeKeyChanged = 2 };
enum ItemKind { kItemIndividual = 1, kItemGroup = 2 };

bool DBHasPhonebookExtension(const WCHAR* path);
// 0 current, 1 cannot open, 5 not a phonebook, 6 / 7 older versions.
DBResult DBCheckVersion(const WCHAR* path);
// Reads 34 bytes from the file's position and leaves it after them.
DBResult DBCheckVersionOpen(HANDLE file);
// Writes an empty phonebook in place of path: done, or 3 with path as it was.
DBResult DBCreateEmptyPhonebook(const WCHAR* path);

// Operations on a named phonebook file; the DB* operations of the dialogs
// call them with the current path.
DBResult PhonebookReadEntry(const WCHAR* path, const WCHAR* listText, FaxRecipient& r, EntryDetails& d);
DBResult PhonebookWriteEntry(const WCHAR* path, const WCHAR* oldListText, const FaxRecipient& r,
                             const EntryDetails& d, UpdateMode mode);
// A buffer that is not exactly one well-formed group record is refused with
// 5: it is not in the phonebook's format and is never written.
DBResult PhonebookWriteGroup(const WCHAR* path, const WCHAR* oldListText, const uint8_t* record, size_t len,
                             UpdateMode mode);
DBResult PhonebookDeleteItem(const WCHAR* path, const WCHAR* listText, ItemKind kind);
// Opens and checks the file, then visits it from its first byte with a
// work buffer of the smaller of its size and 16384 bytes. *scan tells how
// the scan ended; *where the offset of a record too large. 1 when the file
// cannot be opened, its size or its data cannot be read.
DBResult PhonebookVisit(const WCHAR* path, kfd::RecordVisitor& v, kfd::ScanResult* scan, uint64_t* where = nullptr);
// The same on a phonebook already open and checked, of the given size.
DBResult PhonebookVisitOpen(HANDLE file, uint64_t size, kfd::RecordVisitor& v, kfd::ScanResult* scan,
                            uint64_t* where = nullptr);

DBResult DBReadEntry(const WCHAR* listText, FaxRecipient& r, EntryDetails& d);
DBResult DBWriteEntry(const WCHAR* oldListText, const FaxRecipient& r, const EntryDetails& d, UpdateMode mode);
DBResult DBWriteGroup(const WCHAR* oldListText, const uint8_t* record, size_t len, UpdateMode mode);
DBResult DBDeleteItem(const WCHAR* listText, ItemKind kind);
