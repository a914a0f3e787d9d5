#pragma once
// How the entries chosen in an address book become recipients: a person
// gives one entry text per distinct cleaned fax number, a distribution list
// is expanded depth first, each list once, at most 256 of them. The import
// program and faxhost's preview of a book share these rules.

#include <string>
#include <vector>

#include "addrbook_api.h"

// At most this many distribution lists are expanded in one import.
constexpr size_t kMaxVisitedLists = 256;

// An open address book and the allocator its values come from: the address
// book object's when there is one, else the messaging library's.
struct AddressBookAccess {
    LPADRBOOK book = nullptr;
    LPWABOBJECT wab = nullptr;
    LPMAPIFREEBUFFER mapiFree = nullptr;
    void FreeBuffer(void* block) const;
};

// The selection and counters an import keeps.
struct AddressTally {
    int maxCount = 0;                  // 0: no limit
    std::vector<std::string> entries;  // "name <fax>"
    int found = 0;
    int confirmed = 0;
    int rejected = 0;
};

// Examines every entry of the list; entries start empty.
void CollectAddressEntries(const AddressBookAccess& ab, const ADRLIST& list, AddressTally& tally);
// Frees an address list and its values with the book's allocator.
void FreeAddressList(const AddressBookAccess& ab, LPADRLIST list);
