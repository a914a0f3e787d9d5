#pragma once
// Conversion of the two older phonebook versions to the current one.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "db_result.h"
#include "old_format.h"
#include "text_convert.h"
#include "windows.h"

namespace kfd {

// Tells members apart by the key the store finds records with, so that
// every member reference of the converted file names a record written.
class ListTextFilter : public DuplicateFilter {
public:
    bool FirstTime(const std::string& name, const std::string& fax) override;

private:
    std::set<std::string> seen_;
};

}  // namespace kfd

// Converts the phonebook at oldPath into targetPath through the target's
// temporary file. version is DB_VERSION_0000 or DB_VERSION_1000 (anything
// else: 5). Returns 0, 2 (no memory, or a group larger than the work
// buffer) or 3 (the target cannot be written); 1 when the old file cannot
// be opened or read, the one failure whose message is then true. On failure
// the target is left as it was.
DBResult DBConvertPhonebook(HWND dialog, const WCHAR* oldPath, const WCHAR* targetPath, DBResult version);
