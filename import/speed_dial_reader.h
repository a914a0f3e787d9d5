#pragma once
// Candidates from the printer's speed-dial export: the header check, one
// complete record per accepted data line and the raw texts decoded later.

#include <cstddef>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "fax_settings.h"
#include "text_image.h"

// Whether the split header fields are those of a speed-dial export.
bool IsSpeedDialHeader(char** fields, int count);

struct SpeedDialCandidates {
    std::vector<FaxRecipient> records;
    // Parallel to records: index i of every list belongs to record i.
    std::vector<std::string> speedDialKeys;
    std::vector<std::string> secureTexts;
    std::vector<std::string> relayTexts;
    std::vector<std::string> fCodeTexts;
    std::vector<std::string> commModeTexts;
    std::vector<RejectedLine> rejected;

    size_t Count() const { return records.size(); }
    void Clear();
    // The record at index i with its texts decoded, ready to hand over.
    FaxRecipient Completed(size_t i) const;
};

// Whether a split data line is the single "*" that ends the data.
bool IsSpeedDialEnd(char** fields, int k);
// The record rules of one split data line: the record and its texts are
// appended to out, or why is the reason they are not.
bool AcceptSpeedDialRecord(char** fields, int k, SpeedDialCandidates& out, RejectReason& why);

// Checks the header and reads every data line after it up to a line that
// is a single "*" (or the end). 0, kImportBadCsv, kImportBadSpeedDialHeader
// or kImportNoMemory; on an error out is empty.
int ReadSpeedDialLines(TextImage& image, SpeedDialCandidates& out);
