#pragma once
// Candidates from a comma-separated contact file: which columns hold the
// name and the fax numbers, and one candidate per present fax column of
// every data line.

#include <cstddef>
#include <vector>

#include "handoff.h"
#include "text_image.h"

struct CsvColumns {
    int nameColumn = -1;           // -1: no name column
    std::vector<int> faxColumns;   // in field order
};

// Finds the columns from the header line's words (the header line is
// changed in place: capitals, split). 0, kImportBadCsv or
// kImportNoFaxColumn.
int AutoCsvColumns(char* headerLine, CsvColumns& columns);

// A data line that gave no usable recipient, by its index in the file's
// line table, and why.
enum class RejectReason { NoFaxNumber, EntryKind, NoSpeedDialNumber };
struct RejectedLine {
    size_t line;
    RejectReason reason;
};

// Only name and faxNumber are kept for a CSV candidate: the 62-byte record.
using CsvCandidate = HandoffNameRecord;

class CsvCandidates {
public:
    CsvCandidates() = default;
    ~CsvCandidates();
    CsvCandidates(const CsvCandidates&) = delete;
    CsvCandidates& operator=(const CsvCandidates&) = delete;

    size_t Count() const { return count_; }
    const CsvCandidate& operator[](size_t i) const { return items_[i]; }
    int Rejected() const { return static_cast<int>(rejected_.size()); }
    const std::vector<RejectedLine>& RejectedLines() const { return rejected_; }

    // Fills the table from the data lines after header: every line up to
    // and including the one after the last line feed. Returns 0,
    // kImportNoMemory or kImportBadCsv (the table is then empty).
    int Collect(TextImage& image, size_t header, const CsvColumns& columns);

private:
    void Clear();
    CsvCandidate* items_ = nullptr;
    size_t count_ = 0;
    std::vector<RejectedLine> rejected_;
};
