#include "file_recipients.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "csv_fields.h"
#include "import_codes.h"
#include "line_stream.h"
#include "speed_dial_reader.h"
#include "text_set.h"

namespace {

const char kMoreValues[] = " ::: ";

// The column a name gives among the header fields, or -1.
int ColumnOf(const std::string& name, char* const* fields, int n) {
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
        long v = name.size() > 6 ? 0 : std::strtol(name.c_str(), nullptr, 10);
        return v >= 1 && v <= n ? static_cast<int>(v - 1) : -1;
    }
    std::string word = HeaderWord(name.c_str());
    for (int i = 0; i < n; ++i) {
        if (HeaderWord(fields[i]) == word) return i;
    }
    return -1;
}

constexpr size_t kNameMax = sizeof(FaxRecipient{}.name) - 1;
constexpr size_t kFaxMax = sizeof(FaxRecipient{}.faxNumber) - 1;
constexpr size_t kKeyMax = kNameMax + 1 + kFaxMax;

class Reader {
public:
    Reader(LineStream& in, FileReading& out, RecipientSink& sink) : in_(in), out_(out), sink_(sink) {}
    int Run(const ColumnNames& names);

private:
    // A copy of text split into fields_: the count, 0 or kCsvUnclosedQuote.
    int Split(const char* text, char separator);
    // The next record of a contact file, joined over line breaks inside
    // quotes, split: its field count, 0 at the end, or an error code.
    int NextRecord(int* count);
    int Columns(char* header, const ColumnNames& names);
    int ContactLines();
    int SpeedDialLines();
    bool ContactLine(int k);
    // The recipients of one field: each of its " ::: " values.
    bool Numbers(char* field, const std::string& name, bool nameLost, bool& anyNumber);
    bool Emit(const FaxRecipient& r, bool nameLost, const char* key);
    bool FieldLost(int i, int k) const;
    // Contact file recipients wait a few places in a ring while their
    // places in the set of those taken are fetched from memory: a file of
    // millions of lines spends most of its time on those fetches otherwise.
    bool Queue(const std::string& name, const char* fax, size_t faxLen, bool nameLost);
    bool TakeOldest();
    bool TakeAll();

    // A recipient by its key: the name, a line feed and the fax number.
    struct Pending {
        char key[kKeyMax];
        size_t len;
        size_t nameLen;
        bool nameLost;
        uint64_t hash;
    };
    static constexpr size_t kAhead = 16;
    Pending ring_[kAhead];
    size_t oldest_ = 0;
    size_t waiting_ = 0;

    LineStream& in_;
    FileReading& out_;
    RecipientSink& sink_;
    char* record_ = nullptr;
    size_t recordLen_ = 0;
    std::vector<char> copy_;
    char* fields_[kMaxCsvFields];
    TextSet taken_;
    std::string name_;
};

int Reader::Split(const char* text, char separator) {
    recordLen_ = std::strlen(text);
    if (copy_.size() < recordLen_ + 1) copy_.resize(recordLen_ + 1);
    std::memcpy(copy_.data(), text, recordLen_ + 1);
    fields_[0] = copy_.data();
    return SplitFieldsBy(fields_, separator, recordLen_);
}

bool Reader::FieldLost(int i, int k) const {
    size_t from = static_cast<size_t>(fields_[i] - copy_.data());
    size_t to = i + 1 < k ? static_cast<size_t>(fields_[i + 1] - copy_.data()) : recordLen_;
    return in_.LostIn(record_ + from, record_ + to);
}

int Reader::NextRecord(int* count) {
    record_ = in_.NextLine();
    if (!record_) return in_.Error();
    int k = Split(record_, out_.separator);
    if (k == kCsvUnclosedQuote) {
        // A quoted field goes on in the next line: the lines up to where it
        // closes are one record.
        QuoteScan quotes(out_.separator);
        size_t len = std::strlen(record_);
        quotes.Feed(record_, len);
        while (quotes.Open() && (record_ = in_.JoinNextLine()) != nullptr) {
            size_t more = std::strlen(record_ + len);
            quotes.Feed(record_ + len, more);
            len += more;
        }
        if (!record_) return in_.Error() ? in_.Error() : kImportBadCsv;
        k = Split(record_, out_.separator);
        if (k < 0) return kImportBadCsv;
    }
    *count = k;
    return 1;
}

int Reader::Columns(char* header, const ColumnNames& names) {
    out_.separator = HeaderSeparator(header);
    int n = Split(header, out_.separator);
    if (n < 0) return kImportBadCsv;
    ContactColumns& c = out_.columns;
    if (names.fax.empty()) FindContactColumns(fields_, n, c);
    if (!names.name.empty()) {
        c.name = ColumnOf(names.name, fields_, n);
        c.firstName = c.lastName = -1;
        if (c.name < 0) {
            out_.badColumn = names.name;
            return kImportNoFaxColumn;
        }
    }
    for (const std::string& f : names.fax) {
        int col = ColumnOf(f, fields_, n);
        if (col < 0) {
            out_.badColumn = f;
            return kImportNoFaxColumn;
        }
        c.fax.push_back(col);
    }
    return c.HasFax() ? 0 : kImportNoFaxColumn;
}

bool Reader::Emit(const FaxRecipient& r, bool nameLost, const char* key) {
    if (nameLost) ++out_.lostNames;
    return sink_.Take(r, key);
}

bool Reader::Numbers(char* field, const std::string& name, bool nameLost, bool& anyNumber) {
    for (char* value = field; value;) {
        char* next = std::strstr(value, kMoreValues);
        if (next) {
            *next = '\0';
            next += sizeof kMoreValues - 1;
        }
        if (size_t len = CleanFaxNumber(value)) {
            anyNumber = true;
            if (!Queue(name, value, len, nameLost)) return false;
        }
        value = next;
    }
    return true;
}

bool Reader::Queue(const std::string& name, const char* fax, size_t faxLen, bool nameLost) {
    if (waiting_ == kAhead && !TakeOldest()) return false;
    Pending& p = ring_[(oldest_ + waiting_) % kAhead];
    // Both cut to their fields (a name stops at a NUL byte, as copied).
    p.nameLen = std::min(std::strlen(name.c_str()), kNameMax);
    faxLen = std::min(faxLen, kFaxMax);
    std::memcpy(p.key, name.data(), p.nameLen);
    p.key[p.nameLen] = '\n';
    std::memcpy(p.key + p.nameLen + 1, fax, faxLen);
    p.len = p.nameLen + 1 + faxLen;
    p.nameLost = nameLost;
    p.hash = TextSet::Hash(p.key, p.len);
    taken_.Prefetch(p.hash);
    ++waiting_;
    return true;
}

bool Reader::TakeOldest() {
    Pending& p = ring_[oldest_];
    oldest_ = (oldest_ + 1) % kAhead;
    --waiting_;
    if (!sink_.TakesRepeats() && !taken_.Insert(p.key, p.len, p.hash)) {
        ++out_.duplicates;
        return true;
    }
    FaxRecipient r = DefaultRecipient;
    std::memcpy(r.name, p.key, p.nameLen);
    std::memcpy(r.faxNumber, p.key + p.nameLen + 1, p.len - p.nameLen - 1);
    return Emit(r, p.nameLost, "");
}

bool Reader::TakeAll() {
    while (waiting_ > 0) {
        if (!TakeOldest()) return false;
    }
    return true;
}

bool Reader::ContactLine(int k) {
    const ContactColumns& c = out_.columns;
    bool nameLost = false;
    name_.clear();
    if (c.name >= 0 && c.name < k) {
        nameLost = FieldLost(c.name, k);
        TrimBlanks(fields_[c.name]);
        name_ = fields_[c.name];
    }
    if (name_.empty()) {
        nameLost = false;
        for (int col : {c.firstName, c.lastName}) {
            if (col < 0 || col >= k) continue;
            nameLost = nameLost || FieldLost(col, k);
            TrimBlanks(fields_[col]);
            if (!name_.empty() && fields_[col][0] != '\0') name_ += ' ';
            name_ += fields_[col];
        }
    }
    BracketsToParentheses(&name_[0]);
    bool anyNumber = false;
    for (int col : c.fax) {
        if (col < k && !Numbers(fields_[col], name_, nameLost, anyNumber)) return false;
    }
    for (const TypedColumns& t : c.typed) {
        if (t.type < k && t.value < k && SaysFax(fields_[t.type]) &&
            !Numbers(fields_[t.value], name_, nameLost, anyNumber))
            return false;
    }
    if (!anyNumber) out_.rejected.push_back({in_.LineIndex(), RejectReason::NoFaxNumber});
    return true;
}

int Reader::ContactLines() {
    // Keys are shorter than half their lines, mostly; address space costs
    // nothing until it is written.
    if (!sink_.TakesRepeats())
        taken_.Reserve(static_cast<size_t>(std::min<uint64_t>(in_.FileSize() / 2, uint64_t{1} << 28)));
    int k = 0;
    int rc;
    while ((rc = NextRecord(&k)) == 1) {
        if (k > 0 && !ContactLine(k)) return kReadingStopped;
    }
    return TakeAll() ? rc : kReadingStopped;
}

int Reader::SpeedDialLines() {
    SpeedDialCandidates cands;
    while ((record_ = in_.NextLine()) != nullptr) {
        int k = Split(record_, ',');
        if (k < 0) return kImportBadCsv;
        if (k == 0) continue;
        if (IsSpeedDialEnd(fields_, k)) return 0;
        bool nameLost = k > 3 && FieldLost(3, k);
        RejectReason why;
        if (!AcceptSpeedDialRecord(fields_, k, cands, why)) {
            out_.rejected.push_back({in_.LineIndex(), why});
            continue;
        }
        if (!Emit(cands.Completed(0), nameLost, cands.speedDialKeys[0].c_str())) return kReadingStopped;
        cands.Clear();
    }
    return in_.Error();
}

int Reader::Run(const ColumnNames& names) {
    // The header is the first line that is not empty, or the last line.
    char* header;
    while ((header = in_.NextLine()) != nullptr && header[0] == '\0') {
    }
    if (in_.Error()) return in_.Error();
    std::string headerText = header ? header : "";
    int n = Split(headerText.c_str(), ',');
    out_.speedDial = n > 0 && IsSpeedDialHeader(fields_, n);
    out_.encoding = in_.Encoding();
    out_.fileSize = in_.FileSize();
    if (!out_.speedDial) {
        int rc = Columns(&headerText[0], names);
        if (rc != 0) return rc;
    }
    if (!sink_.Begin(out_)) return kReadingStopped;
    return out_.speedDial ? SpeedDialLines() : ContactLines();
}

}  // namespace

int ReadFileRecipients(const char* path, const ColumnNames& names, FileReading& out, RecipientSink& sink,
                       size_t piece) {
    out = FileReading{};
    try {
        LineStream in(piece);
        int rc = in.Open(path);
        if (rc != 0) return rc;
        return Reader(in, out, sink).Run(names);
    } catch (const std::bad_alloc&) {
        return kImportNoMemory;
    }
}
