#include "convert_old.h"

#include <memory>
#include <new>
#include <string>

#include "entry_codec.h"
#include "store.h"
#include "store_file.h"

namespace kfd {

bool ListTextFilter::FirstTime(const std::string& name, const std::string& fax) {
    // Field end between the parts: it never stands inside a field.
    const auto bytes = [](const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); };
    return seen_.insert(FoldKey(bytes(name), name.size()) + char(kFieldEnd) + FoldKey(bytes(fax), fax.size())).second;
}

}  // namespace kfd

DBResult DBConvertPhonebook(HWND dialog, const WCHAR* oldPath, const WCHAR* targetPath, DBResult version) {
    (void)dialog;  // duplicates are remembered in memory, not in a hidden list
    if (version != DB_VERSION_0000 && version != DB_VERSION_1000) return DB_BAD_FORMAT;
    kfd::Version v = version == DB_VERSION_0000 ? kfd::Version::V0000 : kfd::Version::V1000;
    FileHandle old(OpenPhonebookExclusive(oldPath));
    if (!old.Valid()) return DB_CANNOT_OPEN;
    uint64_t size = 0;
    if (!FileSize(old.Get(), &size)) return DB_CANNOT_OPEN;
    TempFile temp(targetPath);
    if (!temp.Valid()) return DB_WRITE_FAILED;
    size_t cap = size < kfd::kWorkBufferSize ? static_cast<size_t>(size) : kfd::kWorkBufferSize;
    std::unique_ptr<uint8_t[]> buf(new (std::nothrow) uint8_t[cap ? cap : 1]);
    if (!buf) return DB_NO_MEMORY;
    HandleSource src(old.Get(), size);
    BufferedWriter out(temp.Get());
    kfd::ListTextFilter dups;
    switch (kfd::ConvertOldFile(src, v, buf.get(), cap ? cap : 1, out, dups, IsAnsiLeadByte)) {
    case kfd::ConvertResult::Done: break;
    case kfd::ConvertResult::ReadFailed: return DB_CANNOT_OPEN;
    case kfd::ConvertResult::BlockTooLarge: return DB_NO_MEMORY;
    case kfd::ConvertResult::WriteFailed: return DB_WRITE_FAILED;
    }
    if (!out.Flush()) return DB_WRITE_FAILED;
    // The target may be the old file itself, which must be closed to be replaced.
    old.Close();
    return temp.Commit();
}
