#include "import_cmd.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <cstring>
#include <string>
#include <vector>

#include "address_book_rules.h"
#include "book.h"
#include "entry_codec.h"
#include "entry_text.h"
#include "file_recipients.h"
#include "import_codes.h"
#include "import_messages.h"
#include "objects.h"
#include "phonebook_cmd.h"
#include "store.h"
#include "text_convert.h"
#include "text_image.h"
#include "windows.h"

namespace {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

// ANSI text as UTF-8 for the terminal; control bytes made visible.
std::string Utf8(const std::string& ansi) {
    std::string out;
    if (ansi.empty()) return out;
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::vector<WCHAR> wide(n > 0 ? n : 1);
    n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string utf8(m > 0 ? m : 0, '\0');
    if (m > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &utf8[0], m, nullptr, nullptr);
    for (char c : utf8) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (static_cast<unsigned char>(c) < 0x20) out += '?';
        else out += c;
    }
    return out;
}

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

std::string Field(const char* p, size_t size) { return Utf8(std::string(p, strnlen(p, size))); }

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

// Reads the file; on an error prints the import program's message for it.
int Read(const char* path, const Options& o, TextImage& image, FileRecipients& out) {
    std::string ansi = AnsiPath(path);
    int rc = LoadTextImage(ansi.c_str(), image);
    if (rc == 0) rc = ReadFileRecipients(image, o.columns, out);
    if (rc == 0) return 0;
    if (!out.badColumn.empty()) {
        std::fprintf(stderr, "faxhost import: %s: the header has no column %s\n", path,
                     out.badColumn.c_str());
        return rc;
    }
    char text[1024];
    std::snprintf(text, sizeof text, ReaderErrorFormat(rc), ansi.c_str());
    std::fprintf(stderr, "faxhost import: %s\n", Utf8(text).c_str());
    return rc;
}

void PrintCommSettings(const FaxRecipient& r, const std::string& key) {
    const CommSettings& c = r.comm;
    std::printf("  speed dial: %s, comm mode: %d, comm option: %c\n", Utf8(key).c_str(), c.commMode, c.commOption);
    std::printf("  mailbox: %s, mailbox password: %s\n", Field(c.mailboxId, sizeof c.mailboxId).c_str(),
                Field(c.mailboxPassword, sizeof c.mailboxPassword).c_str());
    std::string dests;
    for (int i = 0; i < ClampedRelayDestCount(c); ++i) dests += " " + Field(c.relayDests + 3 * i, 3);
    std::printf("  relay station: %s, relay print: %c, relay destinations (%d):%s\n",
                Field(c.relayStationId, sizeof c.relayStationId).c_str(), c.relayPrint, ClampedRelayDestCount(c),
                dests.c_str());
    std::printf("  F-code: %s, F-code password: %s\n", Field(c.fCode, sizeof c.fCode).c_str(),
                Field(c.fCodePassword, sizeof c.fCodePassword).c_str());
}

void PrintKind(const FileRecipients& f) {
    if (f.speedDial) {
        std::printf("kind: speed-dial export\n");
        return;
    }
    std::string fax;
    for (int c : f.columns.faxColumns) fax += " " + std::to_string(c + 1);
    if (f.columns.nameColumn >= 0) std::printf("kind: contact file, name column %d, fax columns%s\n", f.columns.nameColumn + 1, fax.c_str());
    else std::printf("kind: contact file, no name column, fax columns%s\n", fax.c_str());
}

void PrintRejected(const FileRecipients& f) {
    for (const RejectedLine& r : f.rejected)
        std::printf("rejected: line %zu: %s\n", r.line + 1, ReasonText(r.reason));
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
    std::fputs("COL is a column number (1 = first) or a header word; without --fax the columns\n"
               "are found from the header words NIMI and ...FAKSI...\n",
               stderr);
    return kUsage;
}

EntryDetails DetailsOf(const FaxRecipient& r) {
    EntryDetails d;
    ClearEntryDetails(d);
    AnsiToWideField(r.name, strnlen(r.name, sizeof r.name), d.name, 31);
    AnsiToWideField(r.faxNumber, strnlen(r.faxNumber, sizeof r.faxNumber), d.faxNumber, 31);
    return d;
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
bool ReadBookRecipients(const char* path, FileRecipients& f) {
    AddressTally tally;
    size_t entries = 0, skipped = 0;
    if (!CollectBook("faxhost phonebook import", path, tally, entries, skipped)) return false;
    for (const std::string& e : tally.entries) {
        FaxRecipient r = DefaultRecipient;
        std::string name, fax;
        if (!SplitEntryText(e, name, fax)) continue;
        std::memcpy(r.name, name.data(), std::min(name.size(), sizeof r.name - 1));
        std::memcpy(r.faxNumber, fax.data(), std::min(fax.size(), sizeof r.faxNumber - 1));
        f.recipients.push_back(r);
    }
    return true;
}

}  // namespace

int RunImportCommand(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, false, o)) return Usage(false);
    if (IsVcardPath(o.paths[0])) return PreviewAddressBook(o.paths[0]);
    TextImage image;
    FileRecipients f;
    if (Read(o.paths[0], o, image, f) != 0) return kFailed;
    PrintKind(f);
    for (size_t i = 0; i < f.recipients.size(); ++i) {
        const FaxRecipient& r = f.recipients[i];
        std::printf("recipient: %s <%s>\n", Field(r.name, sizeof r.name).c_str(),
                    Field(r.faxNumber, sizeof r.faxNumber).c_str());
        if (f.speedDial) PrintCommSettings(r, f.speedDialKeys[i]);
    }
    PrintRejected(f);
    std::printf("recipients: %zu, rejected lines: %zu, repeated: %d\n", f.recipients.size(), f.rejected.size(),
                f.duplicates);
    return kOk;
}

int RunPhonebookImportCommand(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, true, o)) return Usage(true);
    WideString book = WidePath(o.paths[0]);
    DBResult v = GetFileAttributesW(book.c_str()) == INVALID_FILE_ATTRIBUTES ? DBCreateEmptyPhonebook(book.c_str())
                                                                                : DB_DONE;
    if (v == DB_DONE) v = DBCheckVersion(book.c_str());
    if (v != DB_DONE) {
        std::fprintf(stderr, "faxhost phonebook import: %s\n", StoreResultText(v));
        return kFailed;
    }
    TextImage image;
    FileRecipients f;
    if (IsVcardPath(o.paths[1]) ? !ReadBookRecipients(o.paths[1], f) : Read(o.paths[1], o, image, f) != 0)
        return kFailed;
    int added = 0, replaced = 0, skipped = 0;
    for (const FaxRecipient& r : f.recipients) {
        EntryDetails d = DetailsOf(r);
        WideString text = IndividualListText(d.name, d.faxNumber);
        FaxRecipient existing = DefaultRecipient;
        EntryDetails existingDetails;
        DBResult found = PhonebookReadEntry(book.c_str(), text.c_str(), existing, existingDetails);
        if (found != DB_DONE && found != DB_NOT_FOUND) {
            std::fprintf(stderr, "faxhost phonebook import: %s\n", StoreResultText(found));
            return kFailed;
        }
        std::string shown = Field(r.name, sizeof r.name) + " <" + Field(r.faxNumber, sizeof r.faxNumber) + ">";
        if (found == DB_DONE && !o.replace) {
            std::printf("already in the phonebook, skipped: %s\n", shown.c_str());
            ++skipped;
            continue;
        }
        DBResult rc = PhonebookWriteEntry(book.c_str(), found == DB_DONE ? text.c_str() : nullptr, r, d,
                                     found == DB_DONE ? kModeSameKey : kModeNew);
        if (rc != DB_DONE) {
            std::fprintf(stderr, "faxhost phonebook import: %s\n", StoreResultText(rc));
            return kFailed;
        }
        std::printf("%s: %s\n", found == DB_DONE ? "replaced" : "added", shown.c_str());
        ++(found == DB_DONE ? replaced : added);
    }
    PrintRejected(f);
    std::printf("added: %d, replaced: %d, skipped: %d, rejected lines: %zu\n", added, replaced, skipped,
                f.rejected.size());
    return kOk;
}
