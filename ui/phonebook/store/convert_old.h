#pragma once
// Conversion of the two older phonebook versions to the current one.

#include <cstddef>
#include <cstdint>
#include <set>

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
// temporary file. version is 6 (0000) or 7 (1000). Returns 0, 1 (the old
// file cannot be opened), 2 or 3; on failure the target is left as it was.
int DBConvertPhonebook(HWND dialog, const WCHAR* oldPath, const WCHAR* targetPath, int version);
