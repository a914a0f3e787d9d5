#pragma once
// Conversion of the two older phonebook versions to the current one.

#include <cstddef>
#include <cstdint>
#include <set>

#include "db_result.h"
#include "old_format.h"
#include "text_convert.h"
#include "windows.h"

namespace kfd {

// Compares list texts without regard to case, as a list box would.
class ListTextFilter : public DuplicateFilter {
public:
    bool FirstTime(const std::string& name, const std::string& fax) override;

private:
    std::set<WideString> seen_;
};

}  // namespace kfd

// Converts the phonebook at oldPath into targetPath through the target's
// temporary file. version is DB_VERSION_0000 or DB_VERSION_1000 (anything
// else: 5). Returns 0, 2 (no memory, or a group larger than the work
// buffer) or 3 (the target cannot be written); 1 when the old file cannot
// be opened or read, the one failure whose message is then true. On failure
// the target is left as it was.
DBResult DBConvertPhonebook(HWND dialog, const WCHAR* oldPath, const WCHAR* targetPath, DBResult version);
