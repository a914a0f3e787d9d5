#include "store.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "entry_codec.h"
#include "kfd_format.h"
#include "store_file.h"
#include "store_state.h"
#include "text_convert.h"

PhonebookStoreState StoreState;

namespace {

using kfd::Step;

std::unique_ptr<uint8_t[]> WorkBuffer(size_t n) {
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[n ? n : 1]);
}

size_t BufferSizeFor(uint64_t fileSize) {
    return fileSize < kfd::kWorkBufferSize ? static_cast<size_t>(fileSize) : kfd::kWorkBufferSize;
}

// Opens a phonebook of the current version exclusively and reads its size.
DBResult OpenChecked(const WCHAR* path, FileHandle& file, uint64_t& size) {
    if (!DBHasPhonebookExtension(path)) return DB_BAD_FORMAT;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    file.Reset(OpenPhonebookExclusive(path));
    if (!file.Valid()) return DB_CANNOT_OPEN;
    if (!FileSize(file.Get(), &size)) return DB_CANNOT_OPEN;
    if (size == 0) return DB_BAD_FORMAT;
    DBResult v = DBCheckVersionOpen(file.Get());
    if (v == DB_CANNOT_OPEN) return DB_CANNOT_OPEN;
    if (v != DB_DONE) return DB_BAD_FORMAT;
    return DB_DONE;
}

DBResult ScanToCode(kfd::ScanResult r) {
    switch (r) {
    case kfd::ScanResult::Done: return DB_DONE;
    case kfd::ScanResult::TooLarge: return DB_NO_MEMORY;
    case kfd::ScanResult::ReadError: return DB_CANNOT_OPEN;
    case kfd::ScanResult::Failed: return DB_WRITE_FAILED;
    }
    return DB_CANNOT_OPEN;
}

// What a rewrite drops or changes while it copies the file.
struct RewritePlan {
    uint8_t kind = 0;  // marker of the records to drop; 0 drops nothing
    char name[kfd::kNameMax + 1] = {};
    char fax[kfd::kFaxMax + 1] = {};
    bool firstOnly = false;  // a group deletion drops only the first match
    enum { KeepRefs, RemoveRefs, ReplaceRefs } refs = KeepRefs;
    const char* newName = nullptr;
    const char* newFax = nullptr;
};

class RewriteVisitor : public kfd::RecordVisitor {
public:
    RewriteVisitor(const RewritePlan& plan, BufferedWriter& out)
        : plan_(plan), out_(out), nameLen_(std::strlen(plan.name)), faxLen_(std::strlen(plan.fax)) {}
    bool changed = false;

    Step Gap(uint64_t, const uint8_t* data, size_t len) override { return Put(data, len); }
    Step IncompleteTail(uint64_t, const uint8_t*, size_t) override {
        // The remains of an append cut short: never part of the new file.
        changed = true;
        return Step::Continue;
    }
    Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        if (Drops(rec, len)) {
            changed = true;
            dropped_ = true;
            return Step::Continue;
        }
        if (rec[0] == kfd::kGroup && plan_.refs != RewritePlan::KeepRefs) {
            std::string rewritten;
            const char* nn = plan_.refs == RewritePlan::ReplaceRefs ? plan_.newName : nullptr;
            if (kfd::RewriteGroupMembers(rec, len, plan_.name, plan_.fax, nn, plan_.newFax, rewritten)) {
                changed = true;
                return Put(reinterpret_cast<const uint8_t*>(rewritten.data()), rewritten.size());
            }
        }
        return Put(rec, len);
    }

private:
    bool Drops(const uint8_t* rec, size_t len) const {
        if (plan_.kind == 0 || rec[0] != plan_.kind) return false;
        if (plan_.firstOnly && dropped_) return false;
        // The key holds no structure byte, so a field equals it exactly when
        // the key's bytes match and the field ends right after them.
        size_t faxAt = 2 + nameLen_;
        if (len <= faxAt || rec[faxAt - 1] != kfd::kFieldEnd) return false;
        if (!kfd::KeyEquals(rec + 1, nameLen_, Bytes(plan_.name), nameLen_)) return false;
        if (plan_.kind == kfd::kGroup) return true;
        size_t faxEnd = faxAt + faxLen_;
        return len > faxEnd && rec[faxEnd] == kfd::kFieldEnd &&
               kfd::KeyEquals(rec + faxAt, faxLen_, Bytes(plan_.fax), faxLen_);
    }
    static const uint8_t* Bytes(const char* s) { return reinterpret_cast<const uint8_t*>(s); }
    Step Put(const uint8_t* data, size_t len) { return out_.Write(data, len) ? Step::Continue : Step::Fail; }

    const RewritePlan& plan_;
    BufferedWriter& out_;
    size_t nameLen_, faxLen_;
    bool dropped_ = false;
};

// Copies the file to its temporary file following the plan, appends the
// new record, and puts the copy in place of the file. The file is left as
// it was on any failure.
DBResult ReplaceThroughTemp(const WCHAR* path, const RewritePlan& plan, const std::string& append) {
    FileHandle file;
    uint64_t size = 0;
    DBResult rc = OpenChecked(path, file, size);
    if (rc != DB_DONE) return rc;
    auto buf = WorkBuffer(kfd::kWorkBufferSize);
    if (!buf) return DB_NO_MEMORY;
    TempFile temp(path);
    if (!temp.Valid()) return DB_WRITE_FAILED;

    BufferedWriter out(temp.Get());
    RewriteVisitor v(plan, out);
    HandleSource src(file.Get(), size);
    rc = ScanToCode(kfd::ScanRecords(src, 0, buf.get(), kfd::kWorkBufferSize, v));
    if (rc == DB_DONE && !append.empty()) {
        v.changed = true;
        if (!out.Write(append.data(), append.size())) rc = DB_WRITE_FAILED;
    }
    if (rc == DB_DONE && !out.Flush()) rc = DB_WRITE_FAILED;
    if (rc != DB_DONE || !v.changed) return rc;
    // The rename needs the phonebook closed; the copy is complete by now.
    file.Close();
    return temp.Commit();
}

// True when the file ends inside a record that was never finished, or when
// the end cannot be told from the last work buffer of data.
bool EndsInsideRecord(HANDLE file, uint64_t size) {
    uint64_t from = size > kfd::kHeaderLen + kfd::kWorkBufferSize ? size - kfd::kWorkBufferSize : kfd::kMagicLen;
    if (from >= size) return false;
    auto buf = WorkBuffer(kfd::kWorkBufferSize);
    if (!buf) return true;
    HandleSource src(file, size);
    size_t got = 0;
    if (!src.ReadAt(from, buf.get(), static_cast<size_t>(size - from), &got) || got != size - from) return true;
    for (size_t i = got; i-- > 0;) {
        if (buf[i] == kfd::kRecordEnd) return false;
        if (kfd::IsMarker(buf[i])) return true;
    }
    // No marker and no end in the window: clean only if the window is the
    // whole body of the file.
    return from > kfd::kMagicLen;
}

DBResult Append(const WCHAR* path, const std::string& record) {
    FileHandle file;
    uint64_t size = 0;
    DBResult rc = OpenChecked(path, file, size);
    if (rc != DB_DONE) return rc;
    if (EndsInsideRecord(file.Get(), size)) {
        // Appending after a cut-off record would join the two; rewrite the
        // file without the remains instead.
        file.Close();
        return ReplaceThroughTemp(path, RewritePlan{}, record);
    }
    if (!SeekTo(file.Get(), size)) return DB_WRITE_FAILED;
    if (!WriteAll(file.Get(), record.data(), record.size()) || !FlushFileBuffers(file.Get())) {
        // A failed append takes its piece of a record back out, so the
        // phonebook is as it was (only a crash can leave a piece behind).
        if (SeekTo(file.Get(), size)) SetEndOfFile(file.Get());
        return DB_WRITE_FAILED;
    }
    return file.Close() ? DB_DONE : DB_WRITE_FAILED;
}

class FindIndividual : public kfd::RecordVisitor {
public:
    FindIndividual(const char* name, const char* fax, FaxRecipient& r, EntryDetails& d)
        : name_(name), fax_(fax), r_(r), d_(d) {}
    bool found = false;
    Step Gap(uint64_t, const uint8_t*, size_t) override { return Step::Continue; }
    Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        if (rec[0] != kfd::kIndividual) return Step::Continue;
        kfd::Field n, x;
        kfd::RecordKey(rec, len, n, x);
        if (!kfd::KeyEquals(n.data, n.len, name_) || !kfd::KeyEquals(x.data, x.len, fax_)) return Step::Continue;
        DBDecodeEntry(rec, len, r_, d_);
        found = true;
        return Step::Stop;
    }

private:
    const char* name_;
    const char* fax_;
    FaxRecipient& r_;
    EntryDetails& d_;
};

const WCHAR* Current() { return StoreState.currentPath; }

// One group record: its marker, a name field, pairs of member fields, the
// end marker, and no structure byte in between.
bool WellFormedGroup(const uint8_t* rec, size_t len) {
    if (!rec || len < 3 || rec[0] != kfd::kGroup || rec[len - 1] != kfd::kRecordEnd) return false;
    if (rec[len - 2] != kfd::kFieldEnd) return false;
    size_t fields = 0;
    for (size_t i = 1; i + 1 < len; ++i) {
        if (rec[i] == kfd::kFieldEnd) ++fields;
        else if (kfd::IsControlByte(rec[i])) return false;
    }
    return fields % 2 == 1;
}

}  // namespace

bool DBHasPhonebookExtension(const WCHAR* path) {
    size_t n = WideBoundedLen(path, kStorePathChars);
    if (n < 5) return false;
    static const char kExt[] = ".kfd";
    for (size_t i = 0; i < 4; ++i) {
        WCHAR c = path[n - 4 + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<WCHAR>(c + ('a' - 'A'));
        if (c != static_cast<WCHAR>(kExt[i])) return false;
    }
    return true;
}

DBResult DBCheckVersionOpen(HANDLE file) {
    uint8_t magic[kfd::kMagicLen];
    DWORD got = 0;
    if (!ReadFile(file, magic, sizeof magic, &got, nullptr)) return DB_CANNOT_OPEN;
    switch (kfd::ClassifyMagic(magic, got)) {
    case kfd::Version::Current: return DB_DONE;
    case kfd::Version::V0000: return DB_VERSION_0000;
    case kfd::Version::V1000: return DB_VERSION_1000;
    default: return DB_BAD_FORMAT;
    }
}

DBResult DBCheckVersion(const WCHAR* path) {
    if (!DBHasPhonebookExtension(path)) return DB_BAD_FORMAT;
    FileHandle h(OpenPhonebookExclusive(path));
    if (!h.Valid()) return DB_CANNOT_OPEN;
    return DBCheckVersionOpen(h.Get());
}

DBResult DBCreateEmptyPhonebook(const WCHAR* path) {
    // Written beside the target and renamed over it, so that a failure
    // never leaves a half-written file under the phonebook's name.
    TempFile temp(path);
    if (!temp.Valid() || !temp.Write(kfd::kMagicCurrent, kfd::kMagicLen) || !temp.Write("\n", 1))
        return DB_WRITE_FAILED;
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    return temp.Commit();
}

DBResult PhonebookVisit(const WCHAR* path, kfd::RecordVisitor& v, kfd::ScanResult* scan, uint64_t* where) {
    FileHandle file;
    uint64_t size = 0;
    DBResult rc = OpenChecked(path, file, size);
    if (rc != DB_DONE) return rc;
    return PhonebookVisitOpen(file.Get(), size, v, scan, where);
}

DBResult PhonebookVisitOpen(HANDLE file, uint64_t size, kfd::RecordVisitor& v, kfd::ScanResult* scan,
                            uint64_t* where) {
    size_t cap = BufferSizeFor(size);
    auto buf = WorkBuffer(cap);
    if (!buf) return DB_NO_MEMORY;
    HandleSource src(file, size);
    kfd::ScanResult r = kfd::ScanRecords(src, 0, buf.get(), cap, v, where);
    if (scan) *scan = r;
    return ScanToCode(r);
}

DBResult PhonebookReadEntry(const WCHAR* path, const WCHAR* listText, FaxRecipient& r, EntryDetails& d) {
    if (!ListTextToKey(listText, r.name, r.faxNumber)) return DB_NOT_FOUND;
    char name[kfd::kNameMax + 1];
    char fax[kfd::kFaxMax + 1];
    std::memcpy(name, r.name, sizeof name);
    std::memcpy(fax, r.faxNumber, sizeof fax);
    FindIndividual v(name, fax, r, d);
    DBResult rc = PhonebookVisit(path, v, nullptr);
    if (rc != DB_DONE) return rc;
    return v.found ? DB_DONE : DB_NOT_FOUND;
}

DBResult PhonebookWriteEntry(const WCHAR* path, const WCHAR* oldListText, const FaxRecipient& r,
                             const EntryDetails& d, UpdateMode mode) {
    std::string record;
    DBEncodeEntry(r, d, record);
    if (mode == kModeNew || !oldListText) return Append(path, record);
    RewritePlan plan;
    plan.kind = kfd::kIndividual;
    if (!ListTextToKey(oldListText, plan.name, plan.fax)) return DB_NOT_FOUND;
    char newName[kfd::kNameMax + 1];
    char newFax[kfd::kFaxMax + 1];
    std::memcpy(newName, r.name, kfd::kNameMax);
    newName[kfd::FitAnsi(r.name, kfd::BoundedLen(r.name, sizeof r.name), kfd::kNameMax)] = 0;
    std::memcpy(newFax, r.faxNumber, kfd::kFaxMax);
    newFax[kfd::FitAnsi(r.faxNumber, kfd::BoundedLen(r.faxNumber, sizeof r.faxNumber), kfd::kFaxMax)] = 0;
    if (mode == kModeKeyChanged) {
        plan.refs = RewritePlan::ReplaceRefs;
        plan.newName = newName;
        plan.newFax = newFax;
    }
    return ReplaceThroughTemp(path, plan, record);
}

DBResult PhonebookWriteGroup(const WCHAR* path, const WCHAR* oldListText, const uint8_t* record, size_t len,
                             UpdateMode mode) {
    if (!WellFormedGroup(record, len)) return DB_BAD_FORMAT;  // never write a record that would not read back
    if (len > kfd::kWorkBufferSize) return DB_NO_MEMORY;
    std::string rec(reinterpret_cast<const char*>(record), len);
    if (mode == kModeNew || !oldListText) return Append(path, rec);
    RewritePlan plan;
    plan.kind = kfd::kGroup;
    if (!GroupTextToKey(oldListText, plan.name)) return DB_NOT_FOUND;
    return ReplaceThroughTemp(path, plan, rec);
}

DBResult PhonebookDeleteItem(const WCHAR* path, const WCHAR* listText, ItemKind kind) {
    RewritePlan plan;
    if (kind == kItemGroup) {
        plan.kind = kfd::kGroup;
        plan.firstOnly = true;
        if (!GroupTextToKey(listText, plan.name)) return DB_NOT_FOUND;
    } else {
        plan.kind = kfd::kIndividual;
        plan.refs = RewritePlan::RemoveRefs;
        if (!ListTextToKey(listText, plan.name, plan.fax)) return DB_NOT_FOUND;
    }
    return ReplaceThroughTemp(path, plan, std::string());
}

DBResult DBReadEntry(const WCHAR* listText, FaxRecipient& r, EntryDetails& d) {
    return PhonebookReadEntry(Current(), listText, r, d);
}
DBResult DBWriteEntry(const WCHAR* oldListText, const FaxRecipient& r, const EntryDetails& d, UpdateMode mode) {
    return PhonebookWriteEntry(Current(), oldListText, r, d, mode);
}
DBResult DBWriteGroup(const WCHAR* oldListText, const uint8_t* record, size_t len, UpdateMode mode) {
    return PhonebookWriteGroup(Current(), oldListText, record, len, mode);
}
DBResult DBDeleteItem(const WCHAR* listText, ItemKind kind) { return PhonebookDeleteItem(Current(), listText, kind); }
