#pragma once
// Shared by the reader tests: files of tests/data/import and bytes in
// memory read into a TextImage, candidates as "name <fax>" texts.

#include <string>
#include <vector>

#include "csv_reader.h"
#include "import_codes.h"
#include "text_image.h"

inline std::string DataFile(const std::string& name) { return std::string(IMPORT_TEST_DATA) + "/" + name; }

inline std::vector<std::string> EntryTexts(const CsvCandidates& c) {
    std::vector<std::string> out;
    for (size_t i = 0; i < c.Count(); ++i) out.push_back(std::string(c[i].name) + " <" + c[i].faxNumber + ">");
    return out;
}

// Auto columns over an image: the error code, or 0 with the candidates.
struct CsvRun {
    int rc = 0;
    std::vector<std::string> entries;
    int rejected = 0;
};

inline CsvRun RunAutoCsv(TextImage& image) {
    CsvRun run;
    size_t header = image.HeaderLine();
    CsvColumns columns;
    run.rc = AutoCsvColumns(image.Line(header), columns);
    if (run.rc != 0) return run;
    CsvCandidates cands;
    run.rc = cands.Collect(image, header, columns);
    run.entries = EntryTexts(cands);
    run.rejected = cands.Rejected();
    return run;
}

inline CsvRun RunAutoCsvText(const std::string& text) {
    TextImage image;
    CsvRun run;
    run.rc = LoadTextImage(text.data(), text.size(), image);
    return run.rc != 0 ? run : RunAutoCsv(image);
}
