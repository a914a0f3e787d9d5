#pragma once
// Wide-character contact details of one phonebook entry or recipient. The
// dialogs work in wide characters; the store converts at the record boundary.

#include <cstddef>
#include <cstdint>

#include "windows.h"

struct EntryDetails {
    WCHAR name[31];
    WCHAR faxNumber[31];
    WCHAR company[60];
    WCHAR phone[47];
    WCHAR email[60];
    WCHAR memo[255];
    int32_t workFlag;  // meaning set by the holder (details flag, or list id and mode)
};
static_assert(sizeof(WCHAR) == 2, "WCHAR is a UTF-16 unit");
static_assert(offsetof(EntryDetails, name) == 0, "EntryDetails.name");
static_assert(offsetof(EntryDetails, faxNumber) == 62, "EntryDetails.faxNumber");
static_assert(offsetof(EntryDetails, company) == 124, "EntryDetails.company");
static_assert(offsetof(EntryDetails, phone) == 244, "EntryDetails.phone");
static_assert(offsetof(EntryDetails, email) == 338, "EntryDetails.email");
static_assert(offsetof(EntryDetails, memo) == 458, "EntryDetails.memo");
static_assert(offsetof(EntryDetails, workFlag) == 968, "EntryDetails.workFlag");
static_assert(sizeof(EntryDetails) == 972, "EntryDetails size");

inline void ClearEntryDetails(EntryDetails& d) {
    d = EntryDetails{};
}
