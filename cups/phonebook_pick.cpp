#include "phonebook_pick.h"

#include <cstring>

#include "entry_codec.h"
#include "kfd_format.h"
#include "record_stream.h"
#include "recipient_text.h"
#include "store.h"
#include "store_file.h"

namespace {

using Wide = std::basic_string<WCHAR>;

std::string Folded(const kfd::Field& f) { return kfd::FoldKey(f.data, f.len); }
std::string JoinKey(const std::string& name, const std::string& fax) {
    return name + static_cast<char>(kfd::kFieldEnd) + fax;
}

bool AllBytes(const char* field, size_t size, bool (*ok)(unsigned char)) {
    size_t n = kfd::BoundedLen(field, size);
    for (size_t i = 0; i < n; ++i) {
        if (!ok(static_cast<unsigned char>(field[i]))) return false;
    }
    return true;
}
bool Digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool PasswordChar(unsigned char c) { return Digit(c) || c == '*' || c == '#'; }
// A character the number fields of the dialogs let through: printable,
// no blank, nothing that ends or opens a field of the FAXNUM line.
bool NumberChar(unsigned char c) { return c > ' ' && c < 0x7F && c != '{' && c != '}'; }

// The fields that reach the FAXNUM line, held to what the dialogs store.
bool CommFieldsSound(const FaxRecipient& r) {
    const CommSettings& c = r.comm;
    if (kfd::BoundedLen(r.faxNumber, sizeof r.faxNumber) == 0 || !AllBytes(r.faxNumber, sizeof r.faxNumber, NumberChar))
        return false;
    if (c.commMode < 0 || c.commMode > 2) return false;
    if (c.commOption != 0 && c.commOption != kCommOptionNone && c.commOption != kCommOptionRelay &&
        c.commOption != kCommOptionMailbox)
        return false;
    if (c.relayPrint != '0' && c.relayPrint != '1') return false;
    for (int i = 0; i < ClampedRelayDestCount(c) * kRelayDestLen; ++i) {
        if (!NumberChar(static_cast<unsigned char>(c.relayDests[i]))) return false;
    }
    return AllBytes(c.relayStationId, sizeof c.relayStationId, Digit) &&
           AllBytes(c.mailboxId, sizeof c.mailboxId, Digit) &&
           AllBytes(c.mailboxPassword, sizeof c.mailboxPassword, Digit) &&
           AllBytes(c.fCode, sizeof c.fCode, Digit) &&
           AllBytes(c.fCodePassword, sizeof c.fCodePassword, PasswordChar);
}

class Collector : public kfd::RecordVisitor {
public:
    explicit Collector(PhonebookContents* book) : book_(book) {}
    std::string damage;

    kfd::Step Gap(uint64_t, const uint8_t*, size_t) override { return kfd::Step::Continue; }
    kfd::Step Record(uint64_t offset, const uint8_t* rec, size_t len) override {
        return rec[0] == kfd::kGroup ? Group(offset, rec, len) : Individual(offset, rec, len);
    }
    kfd::Step Damaged(uint64_t offset, const uint8_t*, size_t) override {
        return Fail(offset, "a record cut off by the next one");
    }
    kfd::Step IncompleteTail(uint64_t offset, const uint8_t*, size_t) override {
        return Fail(offset, "an unfinished record at its end");
    }

private:
    kfd::Step Fail(uint64_t offset, const std::string& what) {
        damage = what + " at byte " + std::to_string(offset);
        return kfd::Step::Fail;
    }
    kfd::Step Individual(uint64_t offset, const uint8_t* rec, size_t len) {
        PhonebookIndividual entry;
        entry.recipient = DefaultRecipient;
        EntryDetails details;
        if (!kfd::FieldsWithinSizes(rec, len) || !DBDecodeEntry(rec, len, entry.recipient, details) ||
            !CommFieldsSound(entry.recipient))
            return Fail(offset, "an individual whose fields the dialogs would not store");
        kfd::Field name, fax;
        kfd::RecordKey(rec, len, name, fax);
        entry.nameKey = Folded(name);
        entry.key = JoinKey(entry.nameKey, Folded(fax));
        book_->individuals.push_back(entry);
        return kfd::Step::Continue;
    }
    kfd::Step Group(uint64_t offset, const uint8_t* rec, size_t len) {
        PhonebookGroup group;
        size_t pos = 1;
        kfd::Field name, member, fax;
        if (!kfd::NextField(rec, len, pos, name) || name.len > kfd::kNameMax)
            return Fail(offset, "a group without its name");
        group.nameKey = Folded(name);
        while (kfd::NextField(rec, len, pos, member)) {
            if (!kfd::NextField(rec, len, pos, fax)) return Fail(offset, "a group member cut in half");
            group.memberKeys.push_back(JoinKey(Folded(member), Folded(fax)));
        }
        book_->groups.push_back(group);
        return kfd::Step::Continue;
    }

    PhonebookContents* book_;
};

const PhonebookIndividual* FindByKey(const PhonebookContents& book, const std::string& key) {
    for (const PhonebookIndividual& i : book.individuals) {
        if (i.key == key) return &i;
    }
    return nullptr;
}

const PhonebookGroup* FindGroup(const PhonebookContents& book, const std::string& nameKey) {
    for (const PhonebookGroup& g : book.groups) {
        if (g.nameKey == nameKey) return &g;
    }
    return nullptr;
}

std::string FoldedAnsi(const Wide& text) {
    std::string ansi = WideToAnsi(text);
    return kfd::FoldKey(reinterpret_cast<const uint8_t*>(ansi.data()), ansi.size());
}

bool AddGroup(const PhonebookContents& book, const PhonebookGroup& group, const std::string& entry,
              std::vector<FaxRecipient>* out, std::string* error) {
    for (const std::string& key : group.memberKeys) {
        const PhonebookIndividual* member = FindByKey(book, key);
        if (!member) {
            *error = "the phonebook is damaged: group \"" + entry + "\" names a member it does not hold";
            return false;
        }
        out->push_back(member->recipient);
    }
    return true;
}

bool PickOne(const PhonebookContents& book, const std::string& entry, std::vector<FaxRecipient>* out,
             std::string* error) {
    Wide wide;
    if (!Utf8ToWideText(entry, &wide)) {
        *error = "entry \"" + entry + "\" is not UTF-8 text";
        return false;
    }
    char name[kfd::kNameMax + 1], fax[kfd::kFaxMax + 1];
    if (GroupTextToKey(wide.c_str(), name)) {
        const PhonebookGroup* g = FindGroup(book, FoldedAnsi(AnsiToWide(name)));
        if (g) return AddGroup(book, *g, entry, out, error);
    } else if (ListTextToKey(wide.c_str(), name, fax)) {
        const PhonebookIndividual* i = FindByKey(book, JoinKey(FoldedAnsi(AnsiToWide(name)), FoldedAnsi(AnsiToWide(fax))));
        if (i) {
            out->push_back(i->recipient);
            return true;
        }
    } else {
        std::string key = FoldedAnsi(wide);
        const PhonebookGroup* g = FindGroup(book, key);
        const PhonebookIndividual* found = nullptr;
        int count = 0;
        for (const PhonebookIndividual& i : book.individuals) {
            if (i.nameKey == key) {
                found = &i;
                ++count;
            }
        }
        if (count + (g ? 1 : 0) > 1) {
            *error = "entry \"" + entry + "\" names more than one record; give it as Name <number> or [Group]";
            return false;
        }
        if (g) return AddGroup(book, *g, entry, out, error);
        if (found) {
            out->push_back(found->recipient);
            return true;
        }
    }
    *error = "the phonebook has no entry \"" + entry + "\"";
    return false;
}

}  // namespace

bool LoadPhonebook(const std::string& utf8Path, PhonebookContents* book, std::string* error) {
    Wide path;
    if (utf8Path.empty() || !Utf8ToWideText(utf8Path, &path)) {
        *error = "no phonebook named";
        return false;
    }
    const std::string shown = "phonebook " + utf8Path + ": ";
    // As the store: only a .KFD file is taken for a phonebook.
    if (!DBHasPhonebookExtension(path.c_str())) {
        *error = shown + "not a phonebook (.KFD)";
        return false;
    }
    // Read only, and shared with other readers: the filter runs as CUPS's
    // user, who may read a phonebook but never changes it.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    uint64_t size = 0;
    if (!file.Valid() || !FileSize(file.Get(), &size)) {
        *error = shown + "cannot be opened";
        return false;
    }
    switch (size == 0 ? DB_BAD_FORMAT : DBCheckVersionOpen(file.Get())) {
    case DB_DONE: break;
    case DB_VERSION_0000:
    case DB_VERSION_1000:
        *error = shown + "an older version; convert it first (faxhost phonebook convert)";
        return false;
    case DB_CANNOT_OPEN: *error = shown + "cannot be read"; return false;
    default: *error = shown + "not a phonebook (.KFD)"; return false;
    }
    Collector collector(book);
    kfd::ScanResult scan = kfd::ScanResult::Done;
    DBResult rc = PhonebookVisitOpen(file.Get(), size, collector, &scan);
    if (!collector.damage.empty()) {
        *error = shown + "damaged: " + collector.damage;
        return false;
    }
    if (rc != DB_DONE || scan != kfd::ScanResult::Done) {
        *error = shown + (scan == kfd::ScanResult::TooLarge ? "damaged: a record larger than 16384 bytes"
                                                           : "cannot be read");
        return false;
    }
    return true;
}

bool PickEntries(const PhonebookContents& book, const std::string& entries, std::vector<FaxRecipient>* out,
                 std::string* error) {
    for (const std::string& entry : SplitListOption(entries)) {
        if (!PickOne(book, entry, out, error)) return false;
    }
    return true;
}
