#pragma once
// The objects the stand-in libraries hand out: the address book over a
// vCard book, its persons, lists and contents tables, the messaging
// session and the address book object with its allocator.

#include <memory>
#include <vector>

#include "addrbook_api.h"
#include "book.h"
#include "heap.h"

namespace standin {

// A new address book over a loaded book, handing memory out from `heap`.
IAddrBook* NewAddrBook(std::shared_ptr<const Book> book, Heap heap);
IMAPISession* NewSession();
IWABObject* NewWabObject();

// An address list of the chosen entries as Address returns it; allocated
// from `heap`.
HRESULT BuildAddressList(const Book& book, Heap heap, const std::vector<uint32_t>& chosen, LPADRLIST* list);

// The selection dialog of Address: the chosen entries' indexes; false when cancelled.
bool RunPicker(HWND owner, const Book& book, const ADRPARM& parm, std::vector<uint32_t>& chosen);

// Live objects of all kinds, for tests that look for leaks.
ULONG LiveObjects();

}  // namespace standin
