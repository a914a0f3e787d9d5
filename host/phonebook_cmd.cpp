#include "phonebook_cmd.h"

#include "phonebook_manage.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "convert_old.h"
#include "entry_codec.h"
#include "kfd_format.h"
#include "record_stream.h"
#include "store.h"
#include "store_file.h"
#include "text_convert.h"

namespace {

using kfd::Step;

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

std::string Utf8(const WideString& w) {
    std::string out;
    for (size_t i = 0; i < w.size(); ++i) {
        uint32_t c = w[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (w[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// ANSI text of the file, shown as UTF-8 with line breaks made visible.
std::string Show(const char* ansi, size_t len) {
    std::string text = Utf8(AnsiToWide(std::string(ansi, kfd::BoundedLen(ansi, len))));
    std::string out;
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (static_cast<unsigned char>(c) < 0x20) out += '?';
        else out += c;
    }
    return out;
}
std::string Show(const WCHAR* wide, size_t cap) { return Show(WideToAnsi(WideString(wide, WideBoundedLen(wide, cap))).c_str(), 1024); }

int Usage() {
    std::fprintf(stderr,
                 "usage: faxhost phonebook list FILE\n"
                 "       faxhost phonebook check FILE\n"
                 "       faxhost phonebook convert OLD NEW\n"
                 "       faxhost phonebook manage [FILE]\n");
    return kUsage;
}

class ListVisitor : public kfd::RecordVisitor {
public:
    Step Gap(uint64_t, const uint8_t*, size_t) override { return Step::Continue; }
    Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        if (rec[0] == kfd::kIndividual) PrintIndividual(rec, len);
        else PrintGroup(rec, len);
        return Step::Continue;
    }

private:
    static void PrintIndividual(const uint8_t* rec, size_t len) {
        FaxRecipient r = DefaultRecipient;
        EntryDetails d;
        ClearEntryDetails(d);
        DBDecodeEntry(rec, len, r, d);
        const CommSettings& c = r.comm;
        std::printf("individual: %s <%s>\n", Show(r.name, sizeof r.name).c_str(),
                    Show(r.faxNumber, sizeof r.faxNumber).c_str());
        std::printf("  company: %s\n  phone: %s\n  e-mail: %s\n  memo: %s\n", Show(d.company, 60).c_str(),
                    Show(d.phone, 47).c_str(), Show(d.email, 60).c_str(), Show(d.memo, 255).c_str());
        std::string dests;
        for (int i = 0; i < ClampedRelayDestCount(c); ++i) {
            if (i) dests += ' ';
            dests += Show(c.relayDests + i * 3, 3);
        }
        std::printf("  comm mode: %d, comm option: %s, relay print: %s, relay station: %s\n", c.commMode,
                    Show(&c.commOption, 1).c_str(), Show(&c.relayPrint, 1).c_str(),
                    Show(c.relayStationId, sizeof c.relayStationId).c_str());
        std::printf("  relay destinations (%d): %s\n", ClampedRelayDestCount(c), dests.c_str());
        std::printf("  mailbox: %s, mailbox password: %s, F-code: %s, F-code password: %s\n",
                    Show(c.mailboxId, sizeof c.mailboxId).c_str(),
                    Show(c.mailboxPassword, sizeof c.mailboxPassword).c_str(), Show(c.fCode, sizeof c.fCode).c_str(),
                    Show(c.fCodePassword, sizeof c.fCodePassword).c_str());
    }
    static void PrintGroup(const uint8_t* rec, size_t len) {
        size_t pos = 1;
        kfd::Field name, n, x;
        kfd::NextField(rec, len, pos, name);
        std::printf("group: [%s]\n", Show(reinterpret_cast<const char*>(name.data), name.len).c_str());
        while (kfd::NextField(rec, len, pos, n) && kfd::NextField(rec, len, pos, x))
            std::printf("  member: %s <%s>\n", Show(reinterpret_cast<const char*>(n.data), n.len).c_str(),
                        Show(reinterpret_cast<const char*>(x.data), x.len).c_str());
    }
};

// The key of an individual or a member reference, in the form in which
// keys the store takes for one are the same bytes.
std::string FoldedKey(const kfd::Field& name, const kfd::Field& fax) {
    return kfd::FoldKey(name.data, name.len) + static_cast<char>(kfd::kFieldEnd) + kfd::FoldKey(fax.data, fax.len);
}

std::string ShowField(const kfd::Field& f) { return Show(reinterpret_cast<const char*>(f.data), f.len); }

class CheckVisitor : public kfd::RecordVisitor {
public:
    int individuals = 0, groups = 0, damaged = 0;
    Step Gap(uint64_t, const uint8_t*, size_t) override { return Step::Continue; }
    Step Record(uint64_t off, const uint8_t* rec, size_t len) override {
        if (rec[0] == kfd::kGroup) {
            ++groups;
            size_t pos = 1, fields = 0;
            kfd::Field name, n, x;
            if (kfd::NextField(rec, len, pos, name)) ++fields;
            while (kfd::NextField(rec, len, pos, n)) {
                ++fields;
                if (!kfd::NextField(rec, len, pos, x)) break;
                ++fields;
                members_.push_back({off, ShowField(name), ShowField(n) + " <" + ShowField(x) + ">", FoldedKey(n, x)});
            }
            if (fields % 2 == 0) Report(off, "group record with a member reference cut in half");
            return Step::Continue;
        }
        ++individuals;
        FaxRecipient r = DefaultRecipient;
        EntryDetails d;
        if (!DBDecodeEntry(rec, len, r, d)) Report(off, "individual record without the fields it should hold");
        kfd::Field n, x;
        kfd::RecordKey(rec, len, n, x);
        keys_.insert(FoldedKey(n, x));
        return Step::Continue;
    }
    // After the whole file was seen: every member a group names must be an
    // individual of the file, or the group has lost it.
    void ReportMissingMembers() {
        for (const Member& m : members_) {
            if (keys_.count(m.key) == 0)
                Report(m.groupAt, "group [" + m.group + "] names a member that does not exist: " + m.text);
        }
    }
    Step Damaged(uint64_t off, const uint8_t*, size_t len) override {
        Report(off, "record cut off by the next record (" + std::to_string(len) + " bytes skipped)");
        return Step::Continue;
    }
    Step IncompleteTail(uint64_t off, const uint8_t*, size_t len) override {
        Report(off, "unfinished record at the end of the file (" + std::to_string(len) + " bytes, ignored)");
        return Step::Continue;
    }
    void Report(uint64_t off, const std::string& what) {
        ++damaged;
        std::printf("damaged at byte %llu: %s\n", static_cast<unsigned long long>(off), what.c_str());
    }

private:
    struct Member {
        uint64_t groupAt;
        std::string group, text, key;
    };
    std::vector<Member> members_;
    std::set<std::string> keys_;
};

class NullSink : public kfd::ByteSink {
public:
    bool Write(const void*, size_t) override { return true; }
};

int List(const WideString& path) {
    DBResult v = DBCheckVersion(path.c_str());
    if (v == DB_VERSION_0000 || v == DB_VERSION_1000) {
        std::fprintf(stderr, "phonebook: version %s; convert it first (faxhost phonebook convert)\n",
                     v == DB_VERSION_0000 ? "0000" : "1000");
        return kFailed;
    }
    ListVisitor lv;
    DBResult rc = PhonebookVisit(path.c_str(), lv, nullptr);
    if (rc != DB_DONE) {
        std::fprintf(stderr, "phonebook: %s\n", StoreResultText(rc));
        return kFailed;
    }
    return kOk;
}

int CheckOld(const WideString& path, DBResult version) {
    FileHandle file(OpenPhonebookExclusive(path.c_str()));
    uint64_t size = 0;
    if (!file.Valid() || !FileSize(file.Get(), &size)) {
        std::fprintf(stderr, "phonebook: %s\n", StoreResultText(DB_CANNOT_OPEN));
        return kFailed;
    }
    std::printf("version: %s\n", version == DB_VERSION_0000 ? "0000" : "1000");
    HandleSource src(file.Get(), size);
    std::string buf(kfd::kWorkBufferSize, '\0');
    NullSink sink;
    kfd::ListTextFilter dups;
    kfd::ConvertStats st;
    kfd::ConvertResult rc = kfd::ConvertOldFile(src, version == DB_VERSION_0000 ? kfd::Version::V0000 : kfd::Version::V1000,
                                 reinterpret_cast<uint8_t*>(&buf[0]), buf.size(), sink, dups, IsAnsiLeadByte, &st);
    std::printf("groups: %d, member lines: %d, individuals after conversion: %d\n", st.groups, st.members,
                st.individuals);
    if (rc == kfd::ConvertResult::BlockTooLarge) std::printf("damaged at byte %llu: group block larger than the 16384-byte work buffer\n",
                                        static_cast<unsigned long long>(st.firstDamage));
    else if (st.damaged)
        std::printf("damaged: %d spots, the first at byte %llu (block or member line cut short)\n", st.damaged,
                    static_cast<unsigned long long>(st.firstDamage));
    return (rc != kfd::ConvertResult::Done || st.damaged) ? kFailed : kOk;
}

int Check(const WideString& path) {
    DBResult v = DBCheckVersion(path.c_str());
    if (v == DB_VERSION_0000 || v == DB_VERSION_1000) return CheckOld(path, v);
    if (v != DB_DONE) {
        std::printf("not a phonebook: %s\n", StoreResultText(v));
        return kFailed;
    }
    std::printf("version: 2000\n");
    CheckVisitor cv;
    kfd::ScanResult scan = kfd::ScanResult::Done;
    uint64_t where = 0;
    DBResult rc = PhonebookVisit(path.c_str(), cv, &scan, &where);
    if (scan == kfd::ScanResult::TooLarge)
        cv.Report(where, "record larger than the 16384-byte work buffer; the rest is not checked");
    else if (rc != DB_DONE) {
        std::printf("phonebook: %s\n", StoreResultText(rc));
        return kFailed;
    } else {
        cv.ReportMissingMembers();  // only when no individual went unseen
    }
    std::printf("records: %d (individuals %d, groups %d)\n", cv.individuals + cv.groups, cv.individuals, cv.groups);
    std::printf(cv.damaged ? "damaged spots: %d\n" : "no damage found\n", cv.damaged);
    return cv.damaged ? kFailed : kOk;
}

int Convert(const WideString& oldPath, WideString newPath) {
    DBResult v = DBCheckVersion(oldPath.c_str());
    if (v == DB_DONE) {
        std::fprintf(stderr, "phonebook: already of the current version\n");
        return kFailed;
    }
    if (v != DB_VERSION_0000 && v != DB_VERSION_1000) {
        std::fprintf(stderr, "phonebook: %s\n", StoreResultText(v));
        return kFailed;
    }
    if (!DBHasPhonebookExtension(newPath.c_str())) newPath += WIDE(".KFD");
    DBResult rc = DBConvertPhonebook(nullptr, oldPath.c_str(), newPath.c_str(), v);
    if (rc != DB_DONE) {
        std::fprintf(stderr, "phonebook: %s\n",
                     rc == DB_NO_MEMORY ? "a group is larger than the 16384-byte work buffer" : StoreResultText(rc));
        return kFailed;
    }
    std::printf("converted version %s to %s\n", v == DB_VERSION_0000 ? "0000" : "1000", Utf8(newPath).c_str());
    return kOk;
}

}  // namespace

// Command-line paths: UTF-8 on the headless build, the ANSI code page on Windows.
WideString PathArgument(const char* arg) {
#if defined(_WIN32)
    return AnsiToWide(arg);
#else
    WideString out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(arg);
    while (*p) {
        uint32_t c = *p++;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra) c &= (0x3F >> extra);
        for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i) c = (c << 6) | (*p++ & 0x3F);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<WCHAR>(0xD800 + (c >> 10));
            out += static_cast<WCHAR>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<WCHAR>(c);
        }
    }
    return out;
#endif
}

int RunPhonebookCommand(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "manage") == 0) return RunPhonebookManage(argc - 1, argv + 1);
    if (argc < 3) return Usage();
    const char* verb = argv[1];
    if (std::strcmp(verb, "list") == 0 && argc == 3) return List(PathArgument(argv[2]));
    if (std::strcmp(verb, "check") == 0 && argc == 3) return Check(PathArgument(argv[2]));
    if (std::strcmp(verb, "convert") == 0 && argc == 4) return Convert(PathArgument(argv[2]), PathArgument(argv[3]));
    return Usage();
}

const char* StoreResultText(DBResult rc) {
    switch (rc) {
    case DB_CANNOT_OPEN: return "the file cannot be opened";
    case DB_NO_MEMORY: return "a record is larger than the 16384-byte work buffer";
    case DB_WRITE_FAILED: return "the file could not be written";
    case DB_BAD_FORMAT: return "not a phonebook of the current version (.KFD)";
    case DB_VERSION_0000:
    case DB_VERSION_1000: return "an older phonebook; convert it first (faxhost phonebook convert)";
    default: return "failed";
    }
}
