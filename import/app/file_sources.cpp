// The two file sources: read, let the user pick, count.
#include <new>

#include "csv_fields.h"
#include "csv_reader.h"
#include "import_app.h"
#include "import_codes.h"
#include "text_image.h"

namespace {

// The header's fields for the mapping dialog; -6 for an unclosed quote.
int HeaderFields(char* header, std::vector<std::string>& out) {
    char* fields[kMaxCsvFields];
    fields[0] = header;
    int n = SplitFields(fields);
    if (n < 0) return kImportBadCsv;
    for (int i = 0; i < n; ++i) out.push_back(fields[i]);
    return 0;
}

int ChooseColumns(ImportApp& app, const std::string& path, char* header, int source, CsvColumns& columns) {
    if (source == SourceCsvAuto) return AutoCsvColumns(header, columns);
    std::vector<std::string> fields;
    int rc = HeaderFields(header, fields);
    if (rc != 0) return rc;
    int name = -1, fax = -1;
    if (!RunFieldMapDialog(app, path, fields, name, fax)) return 1;  // cancelled
    columns.nameColumn = name;
    columns.faxColumns = {fax};
    return 0;
}

}  // namespace

int ReadCsvRecipients(ImportApp& app, const std::string& path, int source) {
    try {
        TextImage image;
        int rc = LoadTextImage(path.c_str(), image);
        if (rc != 0) return rc;
        size_t header = image.HeaderLine();
        CsvColumns columns;
        rc = ChooseColumns(app, path, image.Line(header), source, columns);
        if (rc == 1) return 0;
        if (rc != 0) return rc;
        CsvCandidates candidates;
        if ((rc = candidates.Collect(image, header, columns)) != 0) return rc;
        image.Release();
        app.rejectedCount = candidates.Rejected();
        if (!RunCsvPickDialog(app, candidates, path)) return 0;
        return static_cast<int>(app.selection.entries.size());
    } catch (const std::bad_alloc&) {
        return kImportNoMemory;
    }
}

int ReadSpeedDialRecipients(ImportApp& app, const std::string& path) {
    try {
        TextImage image;
        int rc = LoadTextImage(path.c_str(), image);
        if (rc != 0) return rc;
        if ((rc = ReadSpeedDialLines(image, app.speedDial)) != 0) return rc;
        image.Release();
        app.rejectedCount = static_cast<int>(app.speedDial.rejected.size());
        if (!RunSpeedDialPickDialog(app, path)) return 0;
        return static_cast<int>(app.selection.entries.size());
    } catch (const std::bad_alloc&) {
        app.speedDial.Clear();
        return kImportNoMemory;
    }
}
