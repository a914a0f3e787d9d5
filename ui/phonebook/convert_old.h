#pragma once
// Conversion of the two older phonebook versions to the current one.

#include <cstddef>
#include <cstdint>
#include <set>

#include "kfd_format.h"
#include "record_stream.h"
#include "text_convert.h"
#include "windows.h"

namespace kfd {

// Decides whether an individual is met for the first time in a conversion.
class DuplicateFilter {
public:
    virtual ~DuplicateFilter() = default;
    virtual bool FirstTime(const std::string& name, const std::string& fax) = 0;
};

// Compares list texts without regard to case, as a list box would.
class ListTextFilter : public DuplicateFilter {
public:
    bool FirstTime(const std::string& name, const std::string& fax) override;

private:
    std::set<WideString> seen_;
};

struct ConvertStats {
    int groups = 0;
    int members = 0;
    int individuals = 0;  // written, duplicates left out
    int damaged = 0;      // blocks or member lines that could not be read whole
    uint64_t firstDamage = 0;  // file offset of the first damaged spot
};

// Converts an old file (its magic included) into out, which receives the
// current magic, a line feed and the records. The work buffer of cap bytes
// must hold a whole group block. Returns 0 done, 2 a block larger than
// the buffer (offset in stats.firstDamage), 3 a write failed, 1 a read failed.
int ConvertOldFile(ByteSource& src, Version version, uint8_t* buf, size_t cap, ByteSink& out,
                   DuplicateFilter& dups, ConvertStats* stats = nullptr);

}  // namespace kfd

// Converts the phonebook at oldPath into targetPath through the target's
// temporary file. version is 6 (0000) or 7 (1000). Returns 0, 1 (the old
// file cannot be opened), 2 or 3; on failure the target is left as it was.
int DBConvertPhonebook(HWND dialog, const WCHAR* oldPath, const WCHAR* targetPath, int version);
