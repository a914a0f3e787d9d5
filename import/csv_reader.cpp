#include "csv_reader.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "csv_fields.h"
#include "import_codes.h"

namespace {

void Capitals(char* p) {
    for (; *p; ++p) {
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    }
}

}  // namespace

int AutoCsvColumns(char* headerLine, CsvColumns& columns) {
    columns = CsvColumns{};
    Capitals(headerLine);
    char* fields[kMaxCsvFields];
    fields[0] = headerLine;
    int n = SplitFields(fields);
    if (n < 0) return kImportBadCsv;
    try {
        for (int i = 0; i < n; ++i) {
            if (columns.nameColumn < 0 && std::strcmp(fields[i], "NIMI") == 0) columns.nameColumn = i;
            if (std::strstr(fields[i], "FAKSI")) columns.faxColumns.push_back(i);
        }
    } catch (const std::bad_alloc&) {
        return kImportNoMemory;
    }
    return columns.faxColumns.empty() ? kImportNoFaxColumn : 0;
}

CsvCandidates::~CsvCandidates() { Clear(); }

void CsvCandidates::Clear() {
    std::free(items_);
    items_ = nullptr;
    count_ = 0;
    rejected_.clear();
}

int CsvCandidates::Collect(TextImage& image, size_t header, const CsvColumns& columns) {
    Clear();
    size_t lines = image.LineFeeds() - header + 1;
    size_t perLine = columns.faxColumns.size();
    if (perLine != 0 && lines > static_cast<size_t>(-1) / sizeof(CsvCandidate) / perLine) return kImportNoMemory;
    size_t capacity = lines * perLine;
    items_ = static_cast<CsvCandidate*>(std::malloc(capacity ? capacity * sizeof(CsvCandidate) : 1));
    if (!items_) return kImportNoMemory;
    char* fields[kMaxCsvFields];
    for (size_t line = header + 1; line <= image.LineFeeds(); ++line) {
        fields[0] = image.Line(line);
        int k = SplitFields(fields);
        if (k < 0) {
            Clear();
            return kImportBadCsv;
        }
        if (k == 0) continue;
        char* name = nullptr;
        if (columns.nameColumn >= 0 && columns.nameColumn < k) {
            name = fields[columns.nameColumn];
            TrimBlanks(name);
            BracketsToParentheses(name);
        }
        bool anyNumber = false;
        for (int c : columns.faxColumns) {
            if (c >= k) continue;
            CsvCandidate& r = items_[count_++];
            CopyCut(r.name, sizeof r.name - 1, name ? name : "");
            // A field named twice is cleaned once; cleaning is idempotent.
            if (CleanFaxNumber(fields[c]) > 0) anyNumber = true;
            CopyCut(r.faxNumber, sizeof r.faxNumber - 1, fields[c]);
        }
        if (!anyNumber) {
            try {
                rejected_.push_back({line, RejectReason::NoFaxNumber});
            } catch (const std::bad_alloc&) {
                Clear();
                return kImportNoMemory;
            }
        }
    }
    return 0;
}
