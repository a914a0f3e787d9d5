#pragma once
// The group record the group dialog hands to the store.

#include <vector>

#include "text_convert.h"
#include "windows.h"

// Encodes the group of this name with these member list texts, in their
// order, into GroupRecordBuffer: a zero-filled block of members x 62 + 33
// bytes, its length the record's through the 0x04. A member text that is
// not "name <fax>" is left out. False, with no block, when memory is short.
bool BuildGroupRecord(const WCHAR* name, const std::vector<WideString>& members);
