#include "speed_dial_reader.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "csv_fields.h"
#include "import_codes.h"
#include "speed_dial_codec.h"

namespace {

struct HeaderRule {
    int field;
    bool trimmed;
    const char* expected;
};

const HeaderRule kHeaderRules[] = {
    {0, false, "*"},
    {1, true, "1"},
    {2, true, "0"},
    {3, true, "1"},
};

enum class Use { Key, Kind, FaxNumber, Name, Ignored, CommMode, Secure, Relay, FCode };

struct ColumnRule {
    bool trimmed;
    Use use;
};

// Columns after the last entry are never looked at.
const ColumnRule kColumns[] = {
    {true, Use::Key},      {false, Use::Kind},   {false, Use::FaxNumber}, {false, Use::Name},
    {false, Use::Ignored}, {true, Use::Ignored}, {true, Use::CommMode},   {false, Use::Ignored},
    {false, Use::Ignored}, {false, Use::Ignored}, {false, Use::Ignored},  {false, Use::Secure},
    {false, Use::Relay},   {false, Use::Ignored}, {false, Use::FCode},    {false, Use::Ignored},
    {false, Use::Ignored},
};
constexpr int kColumnCount = sizeof kColumns / sizeof kColumns[0];

int32_t CommModeFromCode(const char* text) {
    long v = std::strtol(text, nullptr, 10);
    if (v == 2 || v == 3) return 1;
    if (v == 4) return 2;
    return 0;
}

}  // namespace

bool IsSpeedDialEnd(char** fields, int k) { return k == 1 && std::strcmp(fields[0], "*") == 0; }

bool AcceptSpeedDialRecord(char** fields, int k, SpeedDialCandidates& out, RejectReason& why) {
    why = RejectReason::EntryKind;
    if (k <= 1 || std::strcmp(fields[1], "I") == 0) return false;
    why = RejectReason::NoSpeedDialNumber;
    TrimBlanks(fields[0]);
    if (fields[0][0] == '\0') return false;
    why = RejectReason::NoFaxNumber;
    if (k <= 2 || CleanFaxNumber(fields[2]) == 0) return false;
    FaxRecipient r = DefaultRecipient;
    std::string key, secure, relay, fCode, commMode;
    for (int col = 0; col < k && col < kColumnCount; ++col) {
        char* f = fields[col];
        if (kColumns[col].trimmed) TrimBlanks(f);
        switch (kColumns[col].use) {
        case Use::Key: key = f; break;
        case Use::FaxNumber: CopyCut(r.faxNumber, 30, f); break;
        case Use::Name:
            BracketsToParentheses(f);
            CopyCut(r.name, 30, f);
            break;
        case Use::CommMode:
            r.comm.commMode = CommModeFromCode(f);
            commMode = f;
            break;
        case Use::Secure: secure = f; break;
        case Use::Relay: relay = f; break;
        case Use::FCode: fCode = f; break;
        case Use::Kind:
        case Use::Ignored: break;
        }
    }
    out.records.push_back(r);
    out.speedDialKeys.push_back(std::move(key));
    out.secureTexts.push_back(std::move(secure));
    out.relayTexts.push_back(std::move(relay));
    out.fCodeTexts.push_back(std::move(fCode));
    out.commModeTexts.push_back(std::move(commMode));
    return true;
}

bool IsSpeedDialHeader(char** fields, int count) {
    if (count < 4) return false;
    for (const HeaderRule& rule : kHeaderRules) {
        char* f = fields[rule.field];
        if (rule.trimmed) TrimBlanks(f);
        if (std::strcmp(f, rule.expected) != 0) return false;
    }
    return true;
}

void SpeedDialCandidates::Clear() { *this = SpeedDialCandidates{}; }

FaxRecipient SpeedDialCandidates::Completed(size_t i) const {
    FaxRecipient r = records[i];
    CompleteSpeedDialRecord(r, relayTexts[i].c_str(), secureTexts[i].c_str(), fCodeTexts[i].c_str());
    return r;
}

int ReadSpeedDialLines(TextImage& image, SpeedDialCandidates& out) {
    out.Clear();
    char* fields[kMaxCsvFields];
    size_t header = image.HeaderLine();
    fields[0] = image.Line(header);
    int n = SplitFields(fields);
    if (n < 0) return kImportBadCsv;
    if (!IsSpeedDialHeader(fields, n)) return kImportBadSpeedDialHeader;
    try {
        out.records.reserve(image.LineFeeds() - header + 1);
        for (size_t line = header + 1; line <= image.LineFeeds(); ++line) {
            fields[0] = image.Line(line);
            int k = SplitFields(fields);
            if (k < 0) {
                out.Clear();
                return kImportBadCsv;
            }
            if (k == 0) continue;
            if (IsSpeedDialEnd(fields, k)) break;
            RejectReason why;
            if (!AcceptSpeedDialRecord(fields, k, out, why)) out.rejected.push_back({line, why});
        }
    } catch (const std::bad_alloc&) {
        out.Clear();
        return kImportNoMemory;
    }
    return 0;
}
