#include "convert_old.h"

#include <memory>
#include <new>
#include <string>

#include "store.h"
#include "store_file.h"

namespace kfd {

bool ListTextFilter::FirstTime(const std::string& name, const std::string& fax) {
    WCHAR wname[31];
    WCHAR wfax[31];
    AnsiToWideField(name.data(), name.size(), wname, 31);
    AnsiToWideField(fax.data(), fax.size(), wfax, 31);
    WideString text(wname);
    text += WCHAR(' ');
    text += WCHAR('<');
    text += wfax;
    text += WCHAR('>');
    return seen_.insert(FoldCase(text)).second;
}

}  // namespace kfd

int DBConvertPhonebook(HWND dialog, const WCHAR* oldPath, const WCHAR* targetPath, int version) {
    (void)dialog;  // duplicates are remembered in memory, not in a hidden list
    kfd::Version v = version == DB_VERSION_0000 ? kfd::Version::V0000 : kfd::Version::V1000;
    FileHandle old(OpenPhonebookExclusive(oldPath));
    if (!old.Valid()) return DB_CANNOT_OPEN;
    uint64_t size = 0;
    if (!FileSize(old.Get(), &size)) return DB_CANNOT_OPEN;
    WideString tempPath = TempPathFor(targetPath);
    HANDLE temp = CreateTempExclusive(tempPath.c_str());
    if (temp == INVALID_HANDLE_VALUE) return DB_WRITE_FAILED;
    size_t cap = size < kfd::kWorkBufferSize ? static_cast<size_t>(size) : kfd::kWorkBufferSize;
    std::unique_ptr<uint8_t[]> buf(new (std::nothrow) uint8_t[cap ? cap : 1]);
    if (!buf) {
        DiscardTempFile(temp, tempPath.c_str());
        return DB_NO_MEMORY;
    }
    HandleSource src(old.Get(), size);
    BufferedWriter out(temp);
    kfd::ListTextFilter dups;
    int rc = kfd::ConvertOldFile(src, v, buf.get(), cap ? cap : 1, out, dups, IsAnsiLeadByte);
    if (rc == DB_DONE && !out.Flush()) rc = DB_WRITE_FAILED;
    old.Close();
    if (rc != DB_DONE) {
        DiscardTempFile(temp, tempPath.c_str());
        return rc;
    }
    return CommitTempFile(temp, tempPath.c_str(), targetPath) ? DB_DONE : DB_WRITE_FAILED;
}
