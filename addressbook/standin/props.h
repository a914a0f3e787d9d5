#pragma once
// Property values built in one block of an allocator, strings and binaries
// after the array, so one free releases them.

#include <string>
#include <vector>

#include "addrbook_api.h"
#include "heap.h"

namespace standin {

struct Prop {
    ULONG tag;
    std::string text;        // PT_STRING8
    std::vector<BYTE> bytes; // PT_BINARY
    LONG number = 0;         // PT_LONG, or the error of a PT_ERROR value
};

Prop TextProp(ULONG tag, const std::string& text);
Prop BinaryProp(ULONG tag, const void* data, size_t size);
Prop NumberProp(ULONG tag, LONG value);
Prop ErrorProp(ULONG tag);

// Null when memory runs out.
LPSPropValue BuildProps(Heap heap, const std::vector<Prop>& props);

}  // namespace standin
