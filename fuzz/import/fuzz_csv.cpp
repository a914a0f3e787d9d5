// Contact files: header detection, splitting and candidates. Every
// candidate's texts stay inside their fields and are cleaned.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "csv_reader.h"
#include "import_codes.h"
#include "text_image.h"

namespace {

void CheckField(const char* field, size_t size) {
    if (std::memchr(field, '\0', size) == nullptr) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TextImage image;
    if (LoadTextImage(data, size, image) != 0) return 0;
    size_t header = image.HeaderLine();
    CsvColumns columns;
    if (AutoCsvColumns(image.Line(header), columns) != 0) {
        // The columns a user could have named by hand.
        columns.nameColumn = size % 3 == 0 ? -1 : static_cast<int>(data[0] % 4);
        columns.faxColumns = {static_cast<int>(size % 5)};
    }
    CsvCandidates cands;
    if (cands.Collect(image, header, columns) != 0) return 0;
    if (cands.Count() > (image.LineFeeds() - header + 1) * columns.faxColumns.size()) __builtin_trap();
    for (size_t i = 0; i < cands.Count(); ++i) {
        CheckField(cands[i].name, sizeof cands[i].name);
        CheckField(cands[i].faxNumber, sizeof cands[i].faxNumber);
        for (const char* p = cands[i].faxNumber; *p; ++p) {
            unsigned char c = static_cast<unsigned char>(*p);
            if (c <= ' ' || c >= 127 || c == ',' || (c >= 'a' && c <= 'z')) __builtin_trap();
        }
        // A bracket stays only as the second byte of a two-byte character.
        for (const char* p = cands[i].name; *p; ++p) {
            if ((*p == '[' || *p == ']') && (p == cands[i].name || static_cast<unsigned char>(p[-1]) < 128))
                __builtin_trap();
        }
    }
    return 0;
}
