#pragma once
// Module-wide state of the phonebook store, set when a phonebook or
// recipient dialog starts and read by every store operation.

#include <cstdint>

#include "windows.h"

constexpr int kStorePathChars = 361;

struct PhonebookStoreState {
    WCHAR currentPath[kStorePathChars];
    WCHAR tempPath[kStorePathChars];
    WCHAR settingsPath[kStorePathChars];
    // Where the import hand-off file goes: the drive root of the Windows
    // directory, or the directory itself where paths have no drive.
    WCHAR handoffRoot[kStorePathChars];
    int32_t noPhonebook;
    // Hand-off path of the import in progress (ANSI, as on the command line).
    char handoffPath[274];
};

extern PhonebookStoreState StoreState;
