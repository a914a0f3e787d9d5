#include "file_recipients.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <system_error>
#include <thread>

#include "batch_queue.h"
#include "csv_fields.h"
#include "import_codes.h"
#include "line_stream.h"
#include "speed_dial_reader.h"
#include "text_set.h"

namespace {

const char kMoreValues[] = " ::: ";

// The first " ::: " in text, or nullptr. Its colons are rare in a fax
// field, so they are looked for first.
char* FindMoreValues(char* text) {
    for (char* colon = std::strchr(text, ':'); colon; colon = std::strchr(colon + 1, ':')) {
        if (colon > text && std::strncmp(colon - 1, kMoreValues, sizeof kMoreValues - 1) == 0) return colon - 1;
    }
    return nullptr;
}

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

// A recipient of a contact file by its key: the name, a line feed and the
// fax number.
struct Pending {
    char key[kKeyMax];
    size_t len;
    size_t nameLen;
    bool nameLost;
    uint64_t hash;
};

// The second stage of reading a contact file, on a thread of its own while
// the first reads, splits and cleans up lines: the repeat check and the
// sink. Batches come in file order, so the sink sees what it would see
// from one thread. What each thread touches for every line lies in cache
// lines of its own (hence the alignment, and the counts kept here until
// the reading ends): a line written by one thread and read by the other
// moves between the cores at every access.
class alignas(64) Taker {
public:
    Taker(RecipientSink& sink, const FileReading& f) : sink_(sink) {
        if (!sink_.TakesRepeats()) ReserveKeys(taken_, f, 0);
    }
    // The batches of queue until it is closed or the sink says stop.
    void Run(BatchQueue<Pending>& queue);
    // False when the sink says stop (Result() tells from then on).
    bool TakeBatch(std::vector<Pending>& batch);
    // 0 or kReadingStopped.
    int Result() const { return result_; }
    // What Run threw, for the reading's own thread to throw again.
    std::exception_ptr Thrown() const { return thrown_; }
    // Once the thread is done: its counts added to the reading's.
    void AddCounts(FileReading& out) const {
        out.duplicates += duplicates_;
        out.lostNames += lostNames_;
    }

private:
    bool TakeAll(std::vector<Pending>& batch);
    bool Emit(const Pending& p);

    // Each key's place in the set is fetched from memory this many keys
    // before its insert: a file of millions of lines spends most of its
    // time on those fetches otherwise.
    static constexpr size_t kAhead = 16;
    RecipientSink& sink_;
    TextSet taken_;
    int duplicates_ = 0;
    int lostNames_ = 0;
    int result_ = 0;
    std::exception_ptr thrown_;
};

void Taker::Run(BatchQueue<Pending>& queue) {
    try {
        std::vector<Pending> batch;
        while (queue.Get(batch) && TakeBatch(batch)) {
        }
    } catch (...) {
        thrown_ = std::current_exception();
    }
    if (result_ != 0 || thrown_) queue.Stop();
}

bool Taker::TakeBatch(std::vector<Pending>& batch) {
    if (!TakeAll(batch)) result_ = kReadingStopped;
    return result_ == 0;
}

bool Taker::TakeAll(std::vector<Pending>& batch) {
    const size_t n = batch.size();
    if (sink_.TakesRepeats()) {
        for (const Pending& p : batch) {
            if (!Emit(p)) return false;
        }
        return true;
    }
    for (size_t i = 0; i < n + kAhead; ++i) {
        if (i < n) {
            batch[i].hash = TextSet::Hash(batch[i].key, batch[i].len);
            taken_.Prefetch(batch[i].hash);
        }
        if (i < kAhead) continue;
        const Pending& p = batch[i - kAhead];
        if (!taken_.Insert(p.key, p.len, p.hash)) {
            ++duplicates_;
        } else if (!Emit(p)) {
            return false;
        }
    }
    return true;
}

bool Taker::Emit(const Pending& p) {
    FaxRecipient r = DefaultRecipient;
    std::memcpy(r.name, p.key, p.nameLen);
    std::memcpy(r.faxNumber, p.key + p.nameLen + 1, p.len - p.nameLen - 1);
    if (p.nameLost) ++lostNames_;
    return sink_.Take(r, "");
}

// The taker's thread for the length of a reading: closing the queue and
// waiting for the thread is left to the destructor, so that nothing leaves
// the reading while the thread still runs. Without a thread (the system
// has none to give) the first stage hands its batches to the taker itself.
class SecondStage {
public:
    SecondStage(Taker& taker, BatchQueue<Pending>& queue) : taker_(taker), queue_(queue) {
        try {
            thread_ = std::thread([this] { taker_.Run(queue_); });
        } catch (const std::system_error&) {
        }
    }
    ~SecondStage() {
        if (!thread_.joinable()) return;
        queue_.Close();
        thread_.join();
    }
    SecondStage(const SecondStage&) = delete;
    SecondStage& operator=(const SecondStage&) = delete;
    // Hands over a full batch and gets back an empty one; false when the
    // taker has stopped.
    bool HandOver(std::vector<Pending>& batch) {
        if (thread_.joinable()) return queue_.Put(batch);
        bool more = taker_.TakeBatch(batch);
        batch.clear();
        return more;
    }

private:
    Taker& taker_;
    BatchQueue<Pending>& queue_;
    std::thread thread_;
};

// The first stage, on the calling thread (aligned for the reason the
// taker is).
class alignas(64) Reader {
public:
    Reader(LineStream& in, FileReading& out, RecipientSink& sink, size_t batch)
        : in_(in), out_(out), sink_(sink), batchSize_(batch) {}
    int Run(const ColumnNames& names);

private:
    // A copy of text split into fields_: the count, 0 or kCsvUnclosedQuote.
    int Split(const char* text, char separator);
    int Split(const char* text, char separator, size_t length);
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
    // Adds a recipient to the batch for the second stage; false when that
    // has stopped.
    bool Queue(const std::string& name, const char* fax, size_t faxLen, bool nameLost);

    LineStream& in_;
    FileReading& out_;
    RecipientSink& sink_;
    size_t batchSize_;
    std::vector<Pending> batch_;
    SecondStage* second_ = nullptr;
    char* record_ = nullptr;
    size_t recordLen_ = 0;
    std::vector<char> copy_;
    ContactColumns columns_;
    char separator_ = ',';
    char* fields_[kMaxCsvFields];
    std::string name_;
};

int Reader::Split(const char* text, char separator) { return Split(text, separator, std::strlen(text)); }

int Reader::Split(const char* text, char separator, size_t length) {
    // The text ends at a NUL it holds.
    const void* nul = std::memchr(text, '\0', length);
    recordLen_ = nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : length;
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
    int k = Split(record_, separator_, in_.Length());
    if (k == kCsvUnclosedQuote) {
        // A quoted field goes on in the next line: the lines up to where it
        // closes are one record.
        QuoteScan quotes(separator_);
        size_t len = std::strlen(record_);
        quotes.Feed(record_, len);
        while (quotes.Open() && (record_ = in_.JoinNextLine()) != nullptr) {
            size_t more = std::strlen(record_ + len);
            quotes.Feed(record_ + len, more);
            len += more;
        }
        if (!record_) return in_.Error() ? in_.Error() : kImportBadCsv;
        k = Split(record_, separator_, in_.Length());
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
    // The header words give the name even when the fax columns are named.
    FindContactColumns(fields_, n, c);
    if (!names.fax.empty()) {
        c.fax.clear();
        c.typed.clear();
    }
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
        char* next = FindMoreValues(value);
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
    batch_.emplace_back();
    Pending& p = batch_.back();
    // Both cut to their fields (a name is made of texts up to their NULs).
    p.nameLen = std::min(name.size(), kNameMax);
    faxLen = std::min(faxLen, kFaxMax);
    std::memcpy(p.key, name.data(), p.nameLen);
    p.key[p.nameLen] = '\n';
    std::memcpy(p.key + p.nameLen + 1, fax, faxLen);
    p.len = p.nameLen + 1 + faxLen;
    p.nameLost = nameLost;
    if (batch_.size() < batchSize_) return true;
    if (!second_->HandOver(batch_)) return false;
    batch_.reserve(batchSize_);
    return true;
}

bool Reader::ContactLine(int k) {
    const ContactColumns& c = columns_;
    bool nameLost = false;
    name_.clear();
    if (c.name >= 0 && c.name < k) {
        nameLost = FieldLost(c.name, k);
        name_.assign(fields_[c.name], TrimBlanksLength(fields_[c.name]));
    }
    if (name_.empty()) {
        nameLost = false;
        for (int col : {c.firstName, c.lastName}) {
            if (col < 0 || col >= k) continue;
            nameLost = nameLost || FieldLost(col, k);
            size_t len = TrimBlanksLength(fields_[col]);
            if (!name_.empty() && len > 0) name_ += ' ';
            name_.append(fields_[col], len);
        }
    }
    BracketsToParentheses(&name_[0], name_.size());
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
    // Read for every line: copies of the thread's own.
    columns_ = out_.columns;
    separator_ = out_.separator;
    BatchQueue<Pending> queue;
    Taker taker(sink_, out_);
    int rc;
    {
        SecondStage second(taker, queue);
        second_ = &second;
        batch_.reserve(batchSize_);
        int k = 0;
        while ((rc = NextRecord(&k)) == 1) {
            if (k > 0 && !ContactLine(k)) break;
        }
        // The recipients found before an error are handed on too.
        if (rc != 1 && !batch_.empty()) second.HandOver(batch_);
        second_ = nullptr;
    }
    taker.AddCounts(out_);
    // The taker saw recipients of lines before the one the reading ended at.
    if (taker.Thrown()) std::rethrow_exception(taker.Thrown());
    return taker.Result() != 0 ? taker.Result() : rc == 1 ? kReadingStopped : rc;
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
    out_.encoding = in_.Encoding();  // told again at the end, when that is where it is known
    out_.fileSize = in_.FileSize();
    out_.linesGuess = in_.LinesGuess();
    if (!out_.speedDial) {
        int rc = Columns(&headerText[0], names);
        if (rc != 0) return rc;
    }
    if (!sink_.Begin(out_)) return kReadingStopped;
    return out_.speedDial ? SpeedDialLines() : ContactLines();
}

}  // namespace

void ReserveKeys(TextSet& keys, const FileReading& f, size_t more) {
    // Keys are shorter than half their lines, mostly; address space
    // costs nothing until it is written. The table, sixteen bytes an
    // entry, is kept within the room of the texts, whatever the guess.
    const uint64_t bytes = std::min(f.fileSize / 2, uint64_t{1} << 28);
    keys.Reserve(static_cast<size_t>(bytes), static_cast<size_t>(std::min(f.linesGuess, bytes / 16)) + more);
}

int ReadFileRecipients(const char* path, const ColumnNames& names, FileReading& out, RecipientSink& sink,
                       size_t piece, size_t batch) {
    out = FileReading{};
    try {
        LineStream in(piece);
        int rc = in.Open(path, sink.EncodingAtBegin());
        if (rc != 0) return rc;
        rc = Reader(in, out, sink, batch).Run(names);
        in.Settle();
        out.encoding = in.Encoding();
        return rc;
    } catch (const std::bad_alloc&) {
        return kImportNoMemory;
    }
}
