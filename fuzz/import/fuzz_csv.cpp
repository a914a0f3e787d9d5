// Contact files: decoding, header detection, splitting and candidates.
// Every candidate's texts stay inside their fields and are cleaned; the
// decoded text is never longer than the file; the header words of our
// command line and the quote scan hold to the splitter.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "contact_columns.h"
#include "csv_fields.h"
#include "csv_reader.h"
#include "import_codes.h"
#include "text_decoder.h"
#include "text_image.h"
#include "text_set.h"

namespace {

void CheckField(const char* field, size_t size) {
    if (std::memchr(field, '\0', size) == nullptr) __builtin_trap();
}

// The converter in small pieces gives what it gives in one.
void CheckPieces(const uint8_t* data, size_t size) {
    size_t mark = 0;
    TextEncoding e = EncodingFromMark(data, size, &mark);
    if (e == TextEncoding::Ansi) e = size % 2 ? TextEncoding::Utf8 : TextEncoding::Utf16BE;
    const char* in = reinterpret_cast<const char*>(data) + mark;
    size_t n = size - mark;
    std::string whole(n + 1, '\0'), pieces(n + 1, '\0');
    AnsiConverter one(e), many(e);
    size_t made = 0;
    if (one.Convert(in, n, true, &whole[0], &made) != n || made > n) __builtin_trap();
    whole.resize(made);
    size_t used = 0, out = 0, step = 1 + data[0] % 7;
    while (used < n) {
        size_t take = n - used < step ? n - used : step;
        size_t m = 0;
        size_t u = many.Convert(in + used, take, used + take == n, &pieces[out], &m);
        if (u == 0 && used + take == n) __builtin_trap();
        if (u == 0) {
            step += 4;  // not one whole character yet: a longer piece
            continue;
        }
        used += u;
        out += m;
    }
    pieces.resize(out);
    if (pieces != whole || one.LostCount() != many.LostCount()) __builtin_trap();
}

// A line the splitter calls unclosed is open to the quote scan too; a line
// without quotes is its fields joined by the separator again.
void CheckQuotes(const char* line) {
    for (char sep : {',', ';'}) {
        std::string copy = line;
        char* fields[kMaxCsvFields];
        fields[0] = &copy[0];
        QuoteScan scan(sep);
        scan.Feed(line, std::strlen(line));
        int n = SplitFieldsBy(fields, sep);
        if (n == kCsvUnclosedQuote && !scan.Open()) __builtin_trap();
        if (std::strchr(line, '"')) continue;
        std::string joined;
        for (int i = 0; i < n; ++i) joined += (i ? std::string(1, sep) : std::string()) + fields[i];
        if (joined != line) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0) CheckPieces(data, size);
    TextImage image;
    if (LoadTextImage(data, size, image) != 0) return 0;
    if (image.Size() > size) __builtin_trap();
    size_t header = image.HeaderLine();
    CheckQuotes(image.Line(header));
    {
        std::string copy = image.Line(header);
        char* words[kMaxCsvFields];
        words[0] = &copy[0];
        int n = SplitFieldsBy(words, HeaderSeparator(copy.c_str()));
        ContactColumns found;
        if (n > 0) FindContactColumns(words, n, found);
        for (int c : found.fax)
            if (c < 0 || c >= n) __builtin_trap();
        for (const TypedColumns& t : found.typed)
            if (t.type >= n || t.value >= n || t.type == t.value) __builtin_trap();
        TextSet set;
        for (int i = 0; i < n; ++i) {
            set.Insert(words[i], std::strlen(words[i]));
            if (!set.Contains(words[i], std::strlen(words[i]))) __builtin_trap();
        }
    }
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
