#pragma once
// The phonebook store: reads and changes phonebook files through one work
// buffer, replacing a changed file through its temporary file.

#include <cstddef>
#include <cstdint>

#include "entry_details.h"
#include "fax_settings.h"
#include "record_stream.h"
#include "windows.h"

enum DBResult {
    DB_DONE = 0,
    DB_CANNOT_OPEN = 1,
    DB_NO_MEMORY = 2,
    DB_WRITE_FAILED = 3,
    DB_NOT_FOUND = 4,
    DB_BAD_FORMAT = 5,
    DB_VERSION_0000 = 6,
    DB_VERSION_1000 = 7,
};

enum UpdateMode { kModeNew = 0, kModeSameKey = 1, kModeKeyChanged = 2 };
enum ItemKind { kItemIndividual = 1, kItemGroup = 2 };

bool DBHasPhonebookExtension(const WCHAR* path);
// 0 current, 1 cannot open, 5 not a phonebook, 6 / 7 older versions.
int DBCheckVersion(const WCHAR* path);
// Reads 34 bytes from the file's position and leaves it after them.
int DBCheckVersionOpen(HANDLE file);
void DBCreateEmptyPhonebook(const WCHAR* path);

// Operations on a named phonebook file; the DB* operations of the dialogs
// call them with the current path.
int PhonebookReadEntry(const WCHAR* path, const WCHAR* listText, FaxRecipient& r, EntryDetails& d);
int PhonebookWriteEntry(const WCHAR* path, const WCHAR* oldListText, const FaxRecipient& r, const EntryDetails& d,
                        int mode);
int PhonebookWriteGroup(const WCHAR* path, const WCHAR* oldListText, const uint8_t* record, size_t len, int mode);
int PhonebookDeleteItem(const WCHAR* path, const WCHAR* listText, int kind);
// Opens and checks the file, then visits it from its first byte with a
// work buffer of the smaller of its size and 16384 bytes. *scan tells how
// the scan ended; *where the offset of a record too large.
int PhonebookVisit(const WCHAR* path, kfd::RecordVisitor& v, kfd::ScanResult* scan, uint64_t* where = nullptr);

int DBReadEntry(const WCHAR* listText, FaxRecipient& r, EntryDetails& d);
int DBWriteEntry(const WCHAR* oldListText, const FaxRecipient& r, const EntryDetails& d, int mode);
int DBWriteGroup(const WCHAR* oldListText, const uint8_t* record, size_t len, int mode);
int DBDeleteItem(const WCHAR* listText, int kind);
