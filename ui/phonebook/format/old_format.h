#pragma once
// Conversion of the two older phonebook versions to the current one, on
// bytes: blocks of a group name and its members become individual records
// followed by a group record.

#include <cstddef>
#include <cstdint>
#include <string>

#include "kfd_format.h"
#include "record_stream.h"

namespace kfd {

// Decides whether an individual is met for the first time in a conversion.
class DuplicateFilter {
public:
    virtual ~DuplicateFilter() = default;
    virtual bool FirstTime(const std::string& name, const std::string& fax) = 0;
};

struct ConvertStats {
    int groups = 0;
    int members = 0;
    int individuals = 0;       // written, duplicates left out
    int damaged = 0;           // blocks or member lines that could not be read whole
    uint64_t firstDamage = 0;  // file offset of the first damaged spot
};

// Tells whether the ANSI code page takes a byte as the first of two.
using LeadBytePredicate = bool (*)(uint8_t);

enum class ConvertResult {
    Done,
    ReadFailed,
    BlockTooLarge,  // offset in stats.firstDamage
    WriteFailed,
};

// Converts an old file (its magic included) into out, which receives the
// current magic, a line feed and the records. The work buffer of cap bytes
// must hold a whole group block.
[[nodiscard]] ConvertResult ConvertOldFile(ByteSource& src, Version version, uint8_t* buf, size_t cap, ByteSink& out,
                   DuplicateFilter& dups, LeadBytePredicate isLead, ConvertStats* stats = nullptr);

}  // namespace kfd
