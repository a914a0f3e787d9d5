#include "file_recipients.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <set>

#include "csv_fields.h"
#include "import_codes.h"

bool HasSpeedDialHeader(const TextImage& image) {
    std::string header = image.Line(image.HeaderLine());
    char* fields[kMaxCsvFields];
    fields[0] = &header[0];
    int n = SplitFields(fields);
    return n > 0 && IsSpeedDialHeader(fields, n);
}

namespace {

std::string Folded(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    size_t b = s.find_first_not_of(' ');
    size_t e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// The column a name gives among the header fields, or -1.
int ColumnOf(const std::string& name, char** fields, int n) {
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
        long v = name.size() > 6 ? 0 : std::strtol(name.c_str(), nullptr, 10);
        return v >= 1 && v <= n ? static_cast<int>(v - 1) : -1;
    }
    for (int i = 0; i < n; ++i) {
        if (Folded(fields[i]) == Folded(name)) return i;
    }
    return -1;
}

int NamedColumns(char* header, const ColumnNames& names, FileRecipients& out) {
    char* fields[kMaxCsvFields];
    fields[0] = header;
    int n = SplitFields(fields);
    if (n < 0) return kImportBadCsv;
    if (!names.name.empty()) {
        out.columns.nameColumn = ColumnOf(names.name, fields, n);
        if (out.columns.nameColumn < 0) {
            out.badColumn = names.name;
            return kImportNoFaxColumn;
        }
    }
    for (const std::string& f : names.fax) {
        int c = ColumnOf(f, fields, n);
        if (c < 0) {
            out.badColumn = f;
            return kImportNoFaxColumn;
        }
        out.columns.faxColumns.push_back(c);
    }
    return 0;
}

int ReadContactFile(TextImage& image, const ColumnNames& names, FileRecipients& out) {
    size_t header = image.HeaderLine();
    int rc = names.fax.empty() ? AutoCsvColumns(image.Line(header), out.columns)
                               : NamedColumns(image.Line(header), names, out);
    if (rc != 0) return rc;
    CsvCandidates cands;
    if ((rc = cands.Collect(image, header, out.columns)) != 0) return rc;
    out.rejected = cands.RejectedLines();
    std::set<std::string> taken;
    for (size_t i = 0; i < cands.Count(); ++i) {
        if (cands[i].faxNumber[0] == '\0') continue;
        if (!taken.insert(std::string(cands[i].name) + '\n' + cands[i].faxNumber).second) {
            ++out.duplicates;
            continue;
        }
        FaxRecipient r = DefaultRecipient;
        std::memcpy(r.name, cands[i].name, sizeof r.name);
        std::memcpy(r.faxNumber, cands[i].faxNumber, sizeof r.faxNumber);
        out.recipients.push_back(r);
    }
    return 0;
}

int ReadSpeedDialFile(TextImage& image, FileRecipients& out) {
    SpeedDialCandidates cands;
    int rc = ReadSpeedDialLines(image, cands);
    if (rc != 0) return rc;
    out.rejected = cands.rejected;
    for (size_t i = 0; i < cands.Count(); ++i) out.recipients.push_back(cands.Completed(i));
    out.speedDialKeys = cands.speedDialKeys;
    return 0;
}

}  // namespace

int ReadFileRecipients(TextImage& image, const ColumnNames& names, FileRecipients& out) {
    out = FileRecipients{};
    try {
        out.speedDial = HasSpeedDialHeader(image);
        int rc = out.speedDial ? ReadSpeedDialFile(image, out) : ReadContactFile(image, names, out);
        if (rc != 0) {
            std::string bad = out.badColumn;
            out = FileRecipients{};
            out.badColumn = bad;
        }
        return rc;
    } catch (const std::bad_alloc&) {
        out = FileRecipients{};
        return kImportNoMemory;
    }
}
