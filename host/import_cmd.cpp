#include "import_cmd.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "address_book_rules.h"
#include "book.h"
#include "entry_text.h"
#include "file_recipients.h"
#include "import_codes.h"
#include "import_messages.h"
#include "kfd_format.h"
#include "objects.h"
#include "phonebook_cmd.h"
#include "store.h"
#include "store_file.h"
#include "terminal.h"
#include "text_convert.h"
#include "text_set.h"
#include "windows.h"

namespace {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

// Command-line paths are UTF-8 on the headless build, ANSI on Windows.
WideString WidePath(const char* arg) {
#if defined(_WIN32)
    const UINT cp = CP_ACP;
#else
    const UINT cp = CP_UTF8;
#endif
    int n = MultiByteToWideChar(cp, 0, arg, -1, nullptr, 0);
    std::vector<WCHAR> wide(n > 0 ? n : 1);
    if (n <= 0 || MultiByteToWideChar(cp, 0, arg, -1, wide.data(), n) <= 0) return WideString();
    return WideString(wide.data());
}

std::string AnsiPath(const char* arg) { return WideToAnsi(WidePath(arg)); }

// A field of the file as UTF-8, its control bytes made visible.
std::string Utf8(const std::string& ansi) {
    std::string out;
    for (char c : Utf8Text(ansi)) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (static_cast<unsigned char>(c) < 0x20) out += '?';
        else out += c;
    }
    return out;
}

const char* ReasonText(RejectReason r) {
    switch (r) {
    case RejectReason::NoFaxNumber: return "no fax number";
    case RejectReason::EntryKind: return "entry kind missing or I";
    case RejectReason::NoSpeedDialNumber: return "no speed-dial number";
    }
    return "rejected";
}

struct Options {
    ColumnNames columns;
    bool replace = false;
    std::vector<const char*> paths;
};

// Returns false on a malformed option.
bool ParseOptions(int argc, char** argv, bool phonebook, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--name" || a == "--fax") && i + 1 < argc) {
            if (a == "--name") o.columns.name = argv[++i];
            else o.columns.fax.push_back(argv[++i]);
        } else if (phonebook && a == "--replace") {
            o.replace = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return false;
        } else {
            o.paths.push_back(argv[i]);
        }
    }
    return o.paths.size() == (phonebook ? 2u : 1u);
}

// Reads the file into sink; on an error prints the import program's
// message for it (its line breaks as they are) and returns the exit code:
// a column named that the header does not have is a usage error.
int Read(const char* command, const char* path, const Options& o, FileReading& f, RecipientSink& sink,
         Terminal& t) {
    std::string ansi = AnsiPath(path);
    int rc = ReadFileRecipients(ansi.c_str(), o.columns, f, sink);
    t.Flush();
    if (rc == 0) return kOk;
    if (!f.badColumn.empty()) {
        std::fprintf(stderr, "%s: %s: the header has no column %s\n", command, path, f.badColumn.c_str());
        return kUsage;
    }
    if (rc == kReadingStopped) return kFailed;  // the sink has said why
    char text[1024];
    std::snprintf(text, sizeof text, ReaderErrorFormat(rc), ansi.c_str());
    std::fprintf(stderr, "%s: %s\n", command, Utf8Text(text).c_str());
    return kFailed;
}

void PrintCommSettings(const FaxRecipient& r, const char* key, Terminal& t) {
    const CommSettings& c = r.comm;
    char line[96];
    t.Text("  speed dial: ");
    t.Field(key, std::strlen(key));
    std::snprintf(line, sizeof line, ", comm mode: %d, comm option: %c", c.commMode, c.commOption);
    t.Text(line);
    t.EndLine();
    t.Text("  mailbox: ");
    t.Field(c.mailboxId, sizeof c.mailboxId);
    t.Text(", mailbox password: ");
    t.Field(c.mailboxPassword, sizeof c.mailboxPassword);
    t.EndLine();
    t.Text("  relay station: ");
    t.Field(c.relayStationId, sizeof c.relayStationId);
    std::snprintf(line, sizeof line, ", relay print: %c, relay destinations (%d):", c.relayPrint,
                  ClampedRelayDestCount(c));
    t.Text(line);
    for (int i = 0; i < ClampedRelayDestCount(c); ++i) {
        t.Text(" ");
        t.Field(c.relayDests + 3 * i, 3);
    }
    t.EndLine();
    t.Text("  F-code: ");
    t.Field(c.fCode, sizeof c.fCode);
    t.Text(", F-code password: ");
    t.Field(c.fCodePassword, sizeof c.fCodePassword);
    t.EndLine();
}

std::string Numbers(const char* label, const std::vector<int>& columns) {
    std::string s = label;
    for (int c : columns) s += " " + std::to_string(c + 1);
    return s;
}

const char* SeparatorName(char c) { return c == ';' ? "semicolon" : c == '\t' ? "tab" : "comma"; }

// The kind, the columns and the encoding the file was read with.
void PrintKind(const FileReading& f, Terminal& t) {
    std::string line = "kind: ";
    if (f.speedDial) {
        line += "speed-dial export";
    } else {
        const ContactColumns& c = f.columns;
        line += "contact file, ";
        std::vector<int> parts;
        for (int p : {c.firstName, c.lastName})
            if (p >= 0) parts.push_back(p);
        if (c.name >= 0) line += Numbers("name column", {c.name});
        if (c.name >= 0 && !parts.empty()) line += ", else";
        if (!parts.empty()) line += Numbers(" name columns", parts).substr(c.name >= 0 ? 0 : 1);
        if (c.name < 0 && parts.empty()) line += "no name column";
        if (!c.fax.empty()) line += Numbers(", fax columns", c.fax);
        if (!c.typed.empty()) {
            line += ", fax by type columns";
            for (const TypedColumns& tc : c.typed)
                line += " " + std::to_string(tc.type + 1) + "/" + std::to_string(tc.value + 1);
        }
    }
    t.Text(line);
    t.EndLine();
    t.Text(std::string("encoding: ") + EncodingName(f.encoding));
    if (!f.speedDial) t.Text(std::string(", separator: ") + SeparatorName(f.separator));
    t.EndLine();
}

void PrintRejected(const FileReading& f, Terminal& t) {
    char line[96];
    for (const RejectedLine& r : f.rejected) {
        std::snprintf(line, sizeof line, "rejected: line %zu: %s", r.line + 1, ReasonText(r.reason));
        t.Text(line);
        t.EndLine();
    }
}

// Ends the summary line: a file that was converted tells how many names
// lost characters the code page lacks.
void PrintLost(const FileReading& f, Terminal& t) {
    if (f.encoding != TextEncoding::Ansi) t.Text(", names with lost characters: " + std::to_string(f.lostNames));
    t.EndLine();
}

int Usage(bool phonebook) {
    if (phonebook)
        std::fputs("usage: faxhost phonebook import [--replace] [--name COL] [--fax COL]... PHONEBOOK FILE\n"
                   "       (FILE.vcf: the fax numbers of every card, as an address book import gives them)\n",
                   stderr);
    else
        std::fputs("usage: faxhost import [--name COL] [--fax COL]... FILE\n"
                   "       faxhost import FILE.vcf   (what an address book import of every card gives)\n",
                   stderr);
    std::fputs("COL is a column number (1 = first) or a header word; the columns not named are\n"
               "found from the header words (Nimi, Name, Display Name, First Name + Last Name, ...;\n"
               "every column holding Faksi or Fax; Phone N - Type holding Fax with Phone N - Value)\n",
               stderr);
    return kUsage;
}

bool IsVcardPath(const std::string& path) {
    static const char kExt[] = ".vcf";
    if (path.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - 4 + i])) != kExt[i]) return false;
    return true;
}

const char* VcardError(vcard::ReadResult r) {
    switch (r) {
    case vcard::ReadResult::TooLarge: return "larger than 32 MiB, not read";
    case vcard::ReadResult::NotVCard: return "not a vCard file (no BEGIN:VCARD)";
    default: return "cannot be read";
    }
}

// What an address book import gives when every entry of the book is chosen
// in the selection dialog: the stand-in address book over the file, with
// the import program's own rules. False (reported) when the file is no book.
bool CollectBook(const char* command, const char* path, AddressTally& tally, size_t& entries, size_t& skipped) {
    std::string ansi = AnsiPath(path);
    auto book = std::make_shared<standin::Book>();
    vcard::ReadResult why = vcard::ReadResult::Ok;
    if (!book->Load(ansi.c_str(), &why)) {
        std::fprintf(stderr, "%s: %s: %s\n", command, path, VcardError(why));
        return false;
    }
    std::vector<uint32_t> all(book->Entries().size());
    for (uint32_t i = 0; i < all.size(); ++i) all[i] = i;
    AddressBookAccess ab;
    ab.book = standin::NewAddrBook(book, standin::Heap::Wab);
    ab.wab = standin::NewWabObject();
    LPADRLIST list = nullptr;
    bool listed = standin::BuildAddressList(*book, standin::Heap::Wab, all, &list) == S_OK;
    if (listed) CollectAddressEntries(ab, *list, tally);
    FreeAddressList(ab, list);
    ab.book->Release();
    ab.wab->Release();
    if (!listed) std::fprintf(stderr, "%s: %s: out of memory\n", command, path);
    entries = book->Entries().size();
    skipped = book->Skipped();
    return listed;
}

int PreviewAddressBook(const char* path) {
    AddressTally tally;
    size_t entries = 0, skipped = 0;
    if (!CollectBook("faxhost import", path, tally, entries, skipped)) return kFailed;
    std::printf("kind: address book, entries: %zu, malformed cards skipped: %zu\n", entries, skipped);
    for (const std::string& e : tally.entries) std::printf("recipient: %s\n", Utf8(e).c_str());
    std::printf("recipients: %zu, found: %d, rejected: %d, confirmed: %d\n", tally.entries.size(), tally.found,
                tally.rejected, tally.confirmed);
    return kOk;
}

// The entry texts "name <fax>" of an address book as recipients.
bool ReadBookRecipients(const char* path, std::vector<FaxRecipient>& recipients) {
    AddressTally tally;
    size_t entries = 0, skipped = 0;
    if (!CollectBook("faxhost phonebook import", path, tally, entries, skipped)) return false;
    for (const std::string& e : tally.entries) {
        FaxRecipient r = DefaultRecipient;
        std::string name, fax;
        if (!SplitEntryText(e, name, fax)) continue;
        std::memcpy(r.name, name.data(), std::min(name.size(), sizeof r.name - 1));
        std::memcpy(r.faxNumber, fax.data(), std::min(fax.size(), sizeof r.faxNumber - 1));
        recipients.push_back(r);
    }
    return true;
}


class PrintSink : public RecipientSink {
public:
    explicit PrintSink(Terminal& t) : t_(t) {}
    size_t count = 0;

    bool Begin(const FileReading& f) override {
        speedDial_ = f.speedDial;
        PrintKind(f, t_);
        return true;
    }
    bool Take(const FaxRecipient& r, const char* key) override {
        t_.Text("recipient: ");
        t_.Field(r.name, sizeof r.name);
        t_.Text(" <");
        t_.Field(r.faxNumber, sizeof r.faxNumber);
        t_.Text(">");
        t_.EndLine();
        if (speedDial_) PrintCommSettings(r, key, t_);
        ++count;
        return true;
    }

private:
    Terminal& t_;
    bool speedDial_ = false;
};

// The key of an individual as the store compares keys: its folded name
// and fax number, each ended by a NUL.
void StoreKey(const kfd::Field& name, const kfd::Field& fax, std::string& key) {
    key.resize(name.len + 1 + fax.len + 1);
    kfd::FoldKeyTo(name.data, name.len, &key[0]);
    key[name.len] = '\0';
    kfd::FoldKeyTo(fax.data, fax.len, &key[name.len + 1]);
    key[name.len + 1 + fax.len] = '\0';
}

// The key of a record read from a phonebook, or false for a group.
bool RecordStoreKey(const uint8_t* rec, size_t len, std::string& key) {
    kfd::Field name, fax;
    if (len == 0 || rec[0] != kfd::kIndividual || !kfd::RecordKey(rec, len, name, fax)) return false;
    StoreKey(name, fax, key);
    return true;
}

// The keys of the individuals of a phonebook.
class KeyCollector : public kfd::RecordVisitor {
public:
    explicit KeyCollector(TextSet& keys) : keys_(keys) {}
    kfd::Step Gap(uint64_t, const uint8_t*, size_t) override { return kfd::Step::Continue; }
    kfd::Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        if (RecordStoreKey(rec, len, key_)) keys_.Insert(key_.data(), key_.size());
        return kfd::Step::Continue;
    }

private:
    TextSet& keys_;
    std::string key_;
};

// A copy of a phonebook without the individuals whose keys are dropped
// (and without the remains of an append cut short).
class CopyVisitor : public kfd::RecordVisitor {
public:
    CopyVisitor(const TextSet& drop, kfd::ByteSink& out) : drop_(drop), out_(out) {}
    kfd::Step Gap(uint64_t, const uint8_t* data, size_t len) override { return Put(data, len); }
    kfd::Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        if (RecordStoreKey(rec, len, key_) && drop_.Contains(key_.data(), key_.size())) return kfd::Step::Continue;
        return Put(rec, len);
    }

private:
    kfd::Step Put(const uint8_t* data, size_t len) {
        return out_.Write(data, len) ? kfd::Step::Continue : kfd::Step::Fail;
    }
    const TextSet& drop_;
    kfd::ByteSink& out_;
    std::string key_;
};

// The fields of a record after the fax number: the same for every
// recipient with the same communication settings, so encoded once and
// copied while the settings stay the same.
class RecordTail {
public:
    // The tail for r's settings; its length in *len.
    const char* For(const FaxRecipient& r, size_t* len) {
        static const kfd::AnsiDetails kNoDetails{};  // what empty details convert to
        if (len_ == 0 || std::memcmp(&r.comm, &comm_, sizeof comm_) != 0) {
            comm_ = r.comm;
            len_ = static_cast<size_t>(kfd::EncodeEntryTail(r, kNoDetails, bytes_) - bytes_);
        }
        *len = len_;
        return bytes_;
    }

private:
    CommSettings comm_{};
    char bytes_[kfd::kEntryRecordMax];
    size_t len_ = 0;  // never 0 once encoded: the end marker at least
};

// The record of a recipient without contact details, and its key.
struct EncodedRecipient {
    char record[kfd::kEntryRecordMax];
    size_t len = 0;
    std::string key;

    void Encode(const FaxRecipient& r, RecordTail& tail) {
        size_t nameLen, faxLen, tailLen;
        char* end = kfd::EncodeEntryHead(r, record, &nameLen, &faxLen);
        const char* rest = tail.For(r, &tailLen);
        std::memcpy(end, rest, tailLen);
        len = static_cast<size_t>(end - record) + tailLen;
        const uint8_t* rec = reinterpret_cast<const uint8_t*>(record);
        StoreKey(kfd::Field{rec + 1, nameLen}, kfd::Field{rec + 2 + nameLen, faxLen}, key);
    }
};

// First reading with --replace: the keys of the file that the phonebook
// already has, whose records the copy leaves out.
class ReplacedKeys : public RecipientSink {
public:
    ReplacedKeys(const TextSet& existing, TextSet& replaced) : existing_(existing), replaced_(replaced) {}
    bool Take(const FaxRecipient& r, const char*) override {
        e_.Encode(r, tail_);
        if (existing_.Contains(e_.key.data(), e_.key.size())) replaced_.Insert(e_.key.data(), e_.key.size());
        return true;
    }
    bool TakesRepeats() const override { return true; }
    bool EncodingAtBegin() const override { return false; }  // told in the last line

private:
    const TextSet& existing_;
    TextSet& replaced_;
    EncodedRecipient e_;
    RecordTail tail_;
};

// Appends the recipients to the copy of the phonebook; a recipient the
// file repeats is simply skipped the second time. Without --replace,
// known holds the keys of the phonebook and gains those written, which are
// skipped when they come again; with it, the keys to replace are those the
// copy left out, and written holds the keys written (a key written once by
// this import is skipped after).
class PhonebookSink : public RecipientSink {
public:
    PhonebookSink(TextSet& known, const TextSet* replace, kfd::ByteSink& out, Terminal& t)
        : known_(known), replace_(replace), out_(out), t_(t) {}
    int added = 0, replaced = 0, skipped = 0;

    bool Begin(const FileReading& f) override {
        ReserveKeys(Keys(), f, Keys().Size());
        return true;
    }
    // Recipients wait a few places while their keys' places in the set are
    // fetched from memory (most of the time of a large file otherwise).
    bool Take(const FaxRecipient& r, const char*) override {
        if (waiting_ == kAhead && !StoreOldest()) return false;
        Pending& p = ring_[(oldest_ + waiting_) % kAhead];
        p.r = r;
        p.e.Encode(r, tail_);
        p.hash = TextSet::Hash(p.e.key.data(), p.e.key.size());
        Keys().Prefetch(p.hash);
        ++waiting_;
        return true;
    }
    // The recipients still waiting; false when the copy cannot be written.
    bool Finish() {
        while (waiting_ > 0) {
            if (!StoreOldest()) return false;
        }
        return true;
    }
    bool TakesRepeats() const override { return true; }
    bool EncodingAtBegin() const override { return false; }  // told in the last line

private:
    struct Pending {
        FaxRecipient r;
        EncodedRecipient e;
        uint64_t hash;
    };
    static constexpr size_t kAhead = 16;

    TextSet& Keys() { return replace_ ? written_ : known_; }

    bool StoreOldest() {
        Pending& p = ring_[oldest_];
        oldest_ = (oldest_ + 1) % kAhead;
        --waiting_;
        bool had = replace_ && replace_->Contains(p.e.key.data(), p.e.key.size());
        const char* what = had ? "replaced: " : "added: ";
        if (!Keys().Insert(p.e.key.data(), p.e.key.size(), p.hash)) {
            what = "already in the phonebook, skipped: ";
            ++skipped;
        } else {
            if (!out_.Write(p.e.record, p.e.len)) {
                std::fprintf(stderr, "faxhost phonebook import: %s\n", StoreResultText(DB_WRITE_FAILED));
                return false;
            }
            ++(had ? replaced : added);
        }
        t_.Text(what);
        t_.Field(p.r.name, sizeof p.r.name);
        t_.Text(" <");
        t_.Field(p.r.faxNumber, sizeof p.r.faxNumber);
        t_.Text(">");
        t_.EndLine();
        return true;
    }

    TextSet& known_;
    const TextSet* replace_;
    kfd::ByteSink& out_;
    Terminal& t_;
    TextSet written_;
    RecordTail tail_;
    Pending ring_[kAhead];
    size_t oldest_ = 0;
    size_t waiting_ = 0;
};

int StoreFailure(DBResult rc) {
    std::fprintf(stderr, "faxhost phonebook import: %s\n", StoreResultText(rc));
    return kFailed;
}

}  // namespace

int RunImportCommand(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, false, o)) return Usage(false);
    if (IsVcardPath(o.paths[0])) return PreviewAddressBook(o.paths[0]);
    Terminal t;
    FileReading f;
    PrintSink sink(t);
    if (int rc = Read("faxhost import", o.paths[0], o, f, sink, t)) return rc;
    PrintRejected(f, t);
    char line[160];
    std::snprintf(line, sizeof line, "recipients: %zu, rejected lines: %zu, repeated: %d", sink.count,
                  f.rejected.size(), f.duplicates);
    t.Text(line);
    PrintLost(f, t);
    return kOk;
}

// The phonebook is copied to its temporary file, the recipients appended
// to the copy as the file is read, and the copy put in place of the
// phonebook at the end: one pass over each file, and the phonebook stays
// as it was when anything fails.
int RunPhonebookImportCommand(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, true, o)) return Usage(true);
    WideString book = WidePath(o.paths[0]);
    DBResult v = GetFileAttributesW(book.c_str()) == INVALID_FILE_ATTRIBUTES ? DBCreateEmptyPhonebook(book.c_str())
                                                                                : DB_DONE;
    if (v == DB_DONE) v = DBCheckVersion(book.c_str());
    if (v != DB_DONE) return StoreFailure(v);
    bool vcard = IsVcardPath(o.paths[1]);
    std::vector<FaxRecipient> cards;
    if (vcard && !ReadBookRecipients(o.paths[1], cards)) return kFailed;

    TextSet existing;
    KeyCollector keys(existing);
    DBResult rc = PhonebookVisit(book.c_str(), keys, nullptr);
    if (rc != DB_DONE) return StoreFailure(rc);
    TextSet replacedKeys;
    if (o.replace && existing.Size() > 0) {
        ReplacedKeys finder(existing, replacedKeys);
        FileReading first;
        Terminal quiet;
        if (vcard) {
            for (const FaxRecipient& r : cards) finder.Take(r, "");
        } else if (int exit = Read("faxhost phonebook import", o.paths[1], o, first, finder, quiet)) {
            return exit;
        }
        TextSet().Swap(existing);  // not wanted any more
    }

    TempFile temp(book.c_str());
    if (!temp.Valid()) return StoreFailure(DB_WRITE_FAILED);
    BufferedWriter out(temp.Get());
    CopyVisitor copy(replacedKeys, out);
    if ((rc = PhonebookVisit(book.c_str(), copy, nullptr)) != DB_DONE) return StoreFailure(rc);
    Terminal t;
    PhonebookSink sink(existing, o.replace ? &replacedKeys : nullptr, out, t);
    FileReading f;
    if (vcard) {
        for (const FaxRecipient& r : cards)
            if (!sink.Take(r, "")) return kFailed;
    } else if (int exit = Read("faxhost phonebook import", o.paths[1], o, f, sink, t)) {
        return exit;
    }
    if (!sink.Finish()) return kFailed;
    t.Flush();
    if (static_cast<size_t>(sink.replaced) != replacedKeys.Size()) {
        // The file changed between the two readings: a record left out of
        // the copy would be lost.
        std::fprintf(stderr, "faxhost phonebook import: %s changed while it was read; nothing imported\n",
                     o.paths[1]);
        return kFailed;
    }
    if (!out.Flush()) return StoreFailure(DB_WRITE_FAILED);
    if ((rc = temp.Commit()) != DB_DONE) return StoreFailure(rc);
    PrintRejected(f, t);
    char line[160];
    std::snprintf(line, sizeof line, "added: %d, replaced: %d, skipped: %d, rejected lines: %zu", sink.added,
                  sink.replaced, sink.skipped, f.rejected.size());
    t.Text(line);
    PrintLost(f, t);
    return kOk;
}
