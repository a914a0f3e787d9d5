// Contact files: lines, header words and candidates.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "file_recipients.h"
#include "import_fixture.h"
#include "scratch_dir.h"
#include "text_set.h"

namespace {

using Entries = std::vector<std::string>;

// What our command line's reading hands on, as list texts.
struct Collect : RecipientSink {
    Entries got;
    size_t stopAt = 0;  // says stop at this recipient (0: never)
    bool encodingFirst = true;
    bool EncodingAtBegin() const override { return encodingFirst; }
    bool Take(const FaxRecipient& r, const char* key) override {
        got.push_back(std::string(r.name) + " <" + r.faxNumber + ">");
        // A contact file gives names and numbers only.
        if (!*key && std::memcmp(&r.comm, &DefaultRecipient.comm, sizeof r.comm) != 0) got.back() += " with settings";
        return got.size() != stopAt;
    }
};

TEST(CsvLines, LineEndsAndTheLineAfterTheLastFeed) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"a\n", {"a", ""}},
        {"a\rb\n\r\n", {"a\rb", "", ""}},
        {"\r", {"\r"}},
        {"\n\n", {"", "", ""}},
    };
    for (const auto& c : cases) {
        TextImage image;
        std::string text = c.text;
        ASSERT_EQ(LoadTextImage(text.data(), text.size(), image), 0);
        std::vector<std::string> lines;
        for (size_t i = 0; i <= image.LineFeeds(); ++i) lines.push_back(image.Line(i));
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST(CsvAuto, HeaderWordsAndDataLines) {
    using namespace std::string_literals;  // rows in UTF-16 hold NUL bytes
    struct Case {
        std::string text;
        int rc;
        Entries entries;
        int rejected;
    } cases[] = {
        {"nimi,faksi\nAnna,123\n", 0, {"Anna <123>"}, 0},
        {"\n\nNimi,Faksi 1,Faksi 2\nBo,1,2\nCia,,3\nDan,,\n", 0,
         {"Bo <1>", "Bo <2>", "Cia <>", "Cia <3>", "Dan <>", "Dan <>"}, 1},
        {" Nimi,Faksi\nAnna,1\n", 0, {" <1>"}, 0},
        {"Etunimi,Kotifaksi\nAnna,1\n", 0, {" <1>"}, 0},
        {"Nimi,Nimi,Faksi\nA,B,1\n", 0, {"A <1>"}, 0},
        {"Nimi,Puhelin\nAnna,1\n", kImportNoFaxColumn, {}, 0},
        {"\n\n\n", kImportNoFaxColumn, {}, 0},
        {"Nimi,\"Faksi\nA,1\n", kImportBadCsv, {}, 0},
        {"Nimi,Faksi\nA,1\nB,\"2\n", kImportBadCsv, {}, 0},
        // A line too short for the fax column gives no candidate and is rejected.
        {"Faksi,Nimi,X\n1,Anna\nBo\n", 0, {"Anna <1>", " <BO>"}, 0},
        {"Nimi,X,Faksi\nAnna\n", 0, {}, 1},
        {"Nimi,Faksi\n[Oy] Ab  ,\"+358 (9), 1\"\n", 0, {"(Oy) Ab <+358(9)1>"}, 0},
        {"Nimi,Faksi\n1234567890123456789012345678901234,1234567890123456789012345678901234\n", 0,
         {"123456789012345678901234567890 <123456789012345678901234567890>"}, 0},
        // The last line counts even without its line feed.
        {"Nimi,Faksi\r\nA,1\r\nB,2", 0, {"A <1>", "B <2>"}, 0},
        // ... and serves as the header only when nothing comes before it.
        {"\r\n\r\nNimi,Faksi", 0, {}, 0},
        // UTF-8 and UTF-16 come out in the ANSI code page; what it lacks is '?'.
        {"Nimi,Faksi\nP\xC3\xA4\xC3\xA4 Oy \xEF\xBC\xA6,1\n", 0, {"P\xE4\xE4 Oy ? <1>"}, 0},
        {"\xEF\xBB\xBFNimi,Faksi\n\xC5\x81ukasz \xE2\x82\xAC,2\n", 0, {"?ukasz \x80 <2>"}, 0},
        {"\xFF\xFEN\0i\0m\0i\0,\0F\0a\0k\0s\0i\0\n\0\xE4\0\x41\x01,\0\x33\0\n\0\x0A"s, 0, {"\xE4? <3>"}, 0},
        {"\xFE\xFF\0N\0i\0m\0i\0,\0F\0a\0k\0s\0i\0\n\0\xE4\0,\0\x34\0\n"s, 0, {"\xE4 <4>"}, 0},
        // Bytes that are not UTF-8 are ANSI as they stand.
        {"Nimi,Faksi\nM\xE4ki,5\n", 0, {"M\xE4ki <5>"}, 0},
        {"Nimi,Faksi\nM\xC3ki,6\n", 0, {"M\xC3ki <6>"}, 0},
    };
    for (const auto& c : cases) {
        CsvRun run = RunAutoCsvText(c.text);
        EXPECT_EQ(run.rc, c.rc) << c.text;
        EXPECT_EQ(run.entries, c.entries) << c.text;
        EXPECT_EQ(run.rejected, c.rejected) << c.text;
    }
}

TEST(CsvAuto, ContactExportsAsWritten) {
    struct Case {
        const char* file;
        int rc;
        Entries entries;
        int rejected;
    } cases[] = {
        {"yhteystiedot.csv", 0,
         {"Anna Ek <+35891234567>", "Anna Ek <>", "Pekka M\xE4ki (Myynti) <(09)555-1212>",
          "Pekka M\xE4ki (Myynti) <095551213>", "Lahti, Liisa <>", "Lahti, Liisa <>", "Jussi Oja <0400123456>",
          "Jussi Oja <>", "Kalle Virta <097777888>"},
         1},
        // English header words are not the automatic type's words.
        {"contacts_en.csv", kImportNoFaxColumn, {}, 0},
        // The byte-order mark is no part of the first header word.
        {"bom_utf8.csv", 0, {"M\xE4kinen Oy <091112222>"}, 0},
        {"wide_row.csv", 0, {"Leve\xE4 Rivi <092223333>", "Kapea Rivi <092224444>"}, 0},
        {"yhteystiedot_utf16.csv", 0, {"S\xF6" "derstr\xF6m AB <+468123456>", "Nguy?n V?n An <+842838221234>"}, 0},
    };
    for (const auto& c : cases) {
        TextImage image;
        ASSERT_EQ(LoadTextImage(DataFile(c.file).c_str(), image), 0) << c.file;
        CsvRun run = RunAutoCsv(image);
        EXPECT_EQ(run.rc, c.rc) << c.file;
        EXPECT_EQ(run.entries, c.entries) << c.file;
        EXPECT_EQ(run.rejected, c.rejected) << c.file;
    }
}

TEST(CsvColumnsByHand, NamedColumnsOfAnEnglishExport) {
    TextImage image;
    ASSERT_EQ(LoadTextImage(DataFile("contacts_en.csv").c_str(), image), 0);
    CsvColumns columns;
    columns.nameColumn = 0;
    columns.faxColumns = {3};
    CsvCandidates cands;
    ASSERT_EQ(cands.Collect(image, image.HeaderLine(), columns), 0);
    EXPECT_EQ(EntryTexts(cands), (Entries{"John Smith <>", "Doe, Jane <+1(555)010-2000>",
                                          "Very Long Company Name Limited <>"}));
    EXPECT_EQ(cands.Rejected(), 2);
}

// Files many times the pieces they are read in: characters, records quoted
// over line breaks and the text kept between pieces all straddle piece
// ends somewhere.
TEST(CsvStream, FilesReadInPieces) {
    auto utf16 = [](const std::string& ascii, bool bigEndian) {
        std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char c : ascii) {
            // '@' stands for U+0142, which the code page lacks.
            unsigned u = c == '@' ? 0x142 : static_cast<unsigned char>(c);
            out += static_cast<char>(bigEndian ? u >> 8 : u & 0xFF);
            out += static_cast<char>(bigEndian ? u & 0xFF : u >> 8);
        }
        return out;
    };
    std::string ascii = "Nimi;Faksi\r\n";
    std::string utf8 = ascii;
    std::string ansi = ascii;
    std::string late = ascii;  // its first UTF-8 letter thousands of pieces in
    const int kLines = 15000, kLate = 40;
    for (int i = 0; i < kLines; ++i) {
        std::string n = std::to_string(i);
        ascii += "@" + n + ";\"" + n + "\r\n" + n + "\"\r\n";
        utf8 += "\xC5\x82" + n + ";\"" + n + "\r\n" + n + "\"\r\n";
        ansi += "?" + n + ";\"" + n + "\r\n" + n + "\"\r\n";
        late += (i < kLines - kLate ? "?" : "\xC5\x82") + n + ";\"" + n + "\r\n" + n + "\"\r\n";
    }
    struct Case {
        std::string bytes;
        const char* encoding;
        size_t piece;
        int lost;
    } cases[] = {
        {utf8, "UTF-8", 11, kLines},
        {utf16(ascii, false), "UTF-16 LE", 9, kLines},
        {utf16(ascii, true), "UTF-16 BE", 64, kLines},
        {utf8, "UTF-8", 1 << 20, kLines},
        {ansi, "ANSI (1252)", 13, 0},
        {late, "UTF-8", 11, kLate},
        {late, "UTF-8", 1 << 16, kLate},
    };
    ScratchDir dir("csv-stream");
    // The encoding told before the first line, or at its first letter.
    for (const auto& c : cases) for (bool first : {true, false}) {
        std::string path = dir.Path("big.csv");
        std::ofstream(path, std::ios::binary) << c.bytes;
        Collect sink;
        sink.encodingFirst = first;
        FileReading f;
        ASSERT_EQ(ReadFileRecipients(path.c_str(), ColumnNames{}, f, sink, c.piece), 0) << c.encoding;
        EXPECT_STREQ(EncodingName(f.encoding), c.encoding) << first;
        ASSERT_EQ(sink.got.size(), static_cast<size_t>(kLines)) << c.encoding << c.piece;
        for (int i = 0; i < kLines; ++i) {
            std::string n = std::to_string(i);
            ASSERT_EQ(sink.got[i], "?" + n + " <" + n + n + ">") << c.encoding << c.piece;
        }
        EXPECT_EQ(f.lostNames, c.lost);
        EXPECT_TRUE(f.rejected.empty());
        // The import program's whole image of the same file.
        TextImage image;
        ASSERT_EQ(LoadTextImage(path.c_str(), image), 0);
        ASSERT_EQ(image.LineFeeds(), 1 + 2u * kLines);
        std::string n = std::to_string(kLines - 1);
        EXPECT_EQ(std::string(image.Line(2 * kLines - 1)) + image.Line(2 * kLines), "?" + n + ";\"" + n + n + "\"");
    }
    // Told at the first letter: a reading that stops before it still
    // tells the file's encoding; a byte after it that is no UTF-8 leaves
    // the letter as it is.
    std::string n = std::to_string(kLines - 1);
    struct Late {
        std::string bytes;
        size_t stopAt;
        const char* encoding;
        std::string last;
    } lates[] = {
        {late, 1, "UTF-8", "?0 <00>"},
        {late + "\xC5;\r\n", 0, "ANSI (1252)", "\xC5\x82" + n + " <" + n + n + ">"},
    };
    for (const Late& c : lates) {
        std::string path = dir.Path("late.csv");
        std::ofstream(path, std::ios::binary) << c.bytes;
        Collect sink;
        sink.encodingFirst = false;
        sink.stopAt = c.stopAt;
        FileReading f;
        ReadFileRecipients(path.c_str(), ColumnNames{}, f, sink, 11);
        EXPECT_STREQ(EncodingName(f.encoding), c.encoding);
        ASSERT_FALSE(sink.got.empty());
        EXPECT_EQ(sink.got.back(), c.last);
    }
}

TEST(CsvFiles, FilesThatCannotBeRead) {
    TextImage image;
    EXPECT_EQ(LoadTextImage(DataFile("no_such_file.csv").c_str(), image), kImportCannotOpen);
    EXPECT_EQ(LoadTextImage("", 0, image), kImportEmpty);
}

// Our command line's reading: header words, separators, several values in
// a field, quoted line breaks, named columns, repeats.
TEST(CsvCommandLine, HeaderWordsSeparatorsAndValues) {
    struct Case {
        std::string text;
        ColumnNames names;
        int rc;
        Entries entries;
        std::vector<size_t> rejectedLines;
        int repeated;
        int lost;
        size_t batch = 4096;   // recipients handed between the threads at a time
        size_t stopAt = 0;
    } cases[] = {
        {"Name,Display Name,Fax\nA,B,1\n", {}, 0, {"A <1>"}, {}, 0, 0},
        {"First Name;Given Name;Last Name;Fax\n Bo ;Bob; Berg ;2\n", {}, 0, {"Bo Berg <2>"}, {}, 0, 0},
        {"Last Name,First Name,Family Name,Fax\nBerg,Bo,Bergman,2\n", {}, 0, {"Bo Berg <2>"}, {}, 0, 0},
        // Both cut to their fields.
        {"Nimi,Faksi\nAbcdefghij Klmnopqrst Uvwxyzabcd Efg,1234567890 1234567890 1234567890 12\n", {}, 0,
         {"Abcdefghij Klmnopqrst Uvwxyzab <123456789012345678901234567890>"}, {}, 0, 0},
        {"Given Name\tFamily Name\tHome Fax\n\tDahl\t3\n", {}, 0, {"Dahl <3>"}, {}, 0, 0},
        {"First Name,Last Name,Fax\nBo,,2\n", {}, 0, {"Bo <2>"}, {}, 0, 0},
        {"Nimi,Faksi\n   Anna,1\n", {}, 0, {"Anna <1>"}, {}, 0, 0},
        {"Nimi,Faksi\nA,:1 ::: 2:3 :::: 4 ::: 5\n", {}, 0, {"A <:1>", "A <2:3::::4>", "A <5>"}, {}, 0, 0},
        {"Display Name,First Name,Last Name,Fax\n,Cia,Dahl,4\nEve,,,5\n", {}, 0, {"Cia Dahl <4>", "Eve <5>"}, {}, 0, 0},
        {"Nimi,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,Phone 2 - Value\n"
         "A,Work Fax,1 ::: 2,Mobile,3\nB,Mobile,4,Faksi,5\nC,Mobile,6,,\n",
         {}, 0, {"A <1>", "A <2>", "B <5>"}, {3}, 0, 0},
        {"Nimi,Faksi,Huom\n\"Ek\nAnna\",\"1\r\n2\",\"x\n\ny\"\n\"Bo\",,\"\n\"\nCia,3\n", {}, 0,
         {"Ek\nAnna <12>", "Cia <3>"}, {6}, 0, 0},
        {"Nimi,Faksi\nA,\"1\n", {}, kImportBadCsv, {}, {}, 0, 0},
        {"Nimi,\"Faksi\nA,1\n", {}, kImportBadCsv, {}, {}, 0, 0},
        {"\n\n", {}, kImportNoFaxColumn, {}, {}, 0, 0},
        {"Nimi,Faksi\nA,1\nA,1\na,1\n", {}, 0, {"A <1>", "a <1>"}, {}, 1, 0},
        {"Nimi,Toinen,Faksi\nA,B,1\n", {" toinen ", {}}, 0, {"B <1>"}, {}, 0, 0},
        {"Nimi,Toinen,Faksi\nA,B,1\n", {"2", {"1"}}, 0, {"B <A>"}, {}, 0, 0},
        {"Nimi,Toinen,Faksi\nA,B,1\n", {"4", {}}, kImportNoFaxColumn, {}, {}, 0, 0},
        {"Nimi,Toinen,Faksi\nA,B,1\n", {"", {"0"}}, kImportNoFaxColumn, {}, {}, 0, 0},
        {"Nimi,Toinen,Faksi\nA,B,1\n", {"", {"toinen"}}, 0, {"A <B>"}, {}, 0, 0},
        {"Nimi,Faksi\n\xC5\x81,1\nB,2\n", {}, 0, {"? <1>", "B <2>"}, {}, 0, 1},
        {"Faksi;Nimi\n1;B\n2;\xC5\x81\n", {}, 0, {"B <1>", "? <2>"}, {}, 0, 1},
        // The first byte of 128 or more after runs of ASCII words.
        {"Nimi,Faksi,Lisatietoja ja muuta tekstia,Huom\nB,2,x,y\n\xC5\x81,1\n", {}, 0, {"B <2>", "? <1>"}, {}, 0,
         1},
        {"*,1,0,1\n1,N,09 1,Nimi\n2,I,09 2,Ohi\n*\n3,N,09 3,Ei\n", {}, 0, {"Nimi <091>"}, {2}, 0, 0},
        // A line ends at a NUL byte it holds, also after a quoted line break.
        {std::string("Nimi,Faksi\r\nA\0B,1\r\n\"C\r\nD\",2\0,3\r\n", 32), {}, 0, {"C\r\nD <2>"}, {1}, 0, 0},
        // The file's only lead byte in each of the words tested together.
        {"Faksi,Nimi\n2,Bertil Bengtsson\n1,\xC5\x81\n3,Cecilia Carlsson och Compagnie\n", {}, 0,
         {"Bertil Bengtsson <2>", "? <1>", "Cecilia Carlsson och Compagnie <3>"}, {}, 0, 1},
        {"Nimi,Faksi\n\xC5\x81,1\nBertil Bengtsson,2\n", {}, 0, {"? <1>", "Bertil Bengtsson <2>"}, {}, 0, 1},
        {"Nimi,Faksi\nBo,3\n\xC5\x81,1\nBertil Bengtsson,2\n", {}, 0, {"Bo <3>", "? <1>", "Bertil Bengtsson <2>"}, {},
         0, 1},
        {"Nimi,Faksi\nBertil Berg,2\n\xC5\x81,1\nCecilia,3\n", {}, 0, {"Bertil Berg <2>", "? <1>", "Cecilia <3>"}, {}, 0,
         1},
        // Repeats in other batches; an error after several batches, those
        // before it handed on; a sink that stops while batches wait.
        {"Nimi,Faksi\nA,1\nB,2\nA,1\nC,3\nB,2\n", {}, 0, {"A <1>", "B <2>", "C <3>"}, {}, 2, 0, 2},
        {"Nimi,Faksi\nA,1\nB,\nC,3\nD,\"4\n", {}, kImportBadCsv, {"A <1>", "C <3>"}, {2}, 0, 0, 1},
        {"Nimi,Faksi\nA,1\nB,2\nC,3\nD,4\nE,5\nF,6\nG,7\nH,8\n", {}, kReadingStopped, {"A <1>", "B <2>"}, {}, 0,
         0, 1, 2},
        {"Nimi,Faksi\nA,1\nB,2\nC,3\n", {}, kReadingStopped, {"A <1>", "B <2>", "C <3>"}, {}, 0, 0, 4096, 3},
    };
    ScratchDir dir("csv-command-line");
    for (const auto& c : cases) for (bool first : {true, false}) {
        std::string path = dir.Path("file.csv");
        std::ofstream(path, std::ios::binary) << c.text;
        Collect sink;
        sink.stopAt = c.stopAt;
        sink.encodingFirst = first;
        FileReading f;
        EXPECT_EQ(ReadFileRecipients(path.c_str(), c.names, f, sink, 1 << 20, c.batch), c.rc) << c.text;
        EXPECT_EQ(sink.got, c.entries) << c.text;
        std::vector<size_t> rejected;
        for (const RejectedLine& r : f.rejected) rejected.push_back(r.line);
        EXPECT_EQ(rejected, c.rejectedLines) << c.text;
        EXPECT_EQ(f.duplicates, c.repeated) << c.text;
        EXPECT_EQ(f.lostNames, c.lost) << c.text;
    }
}

TEST(CsvCommandLine, SetOfKeysHoldsEachTextOnce) {
    // Growing the table from the kept hash bits, from some, or from none.
    for (int tagBits : {24, 12, 0}) {
        // Filled in one set and checked in the other it is swapped into.
        TextSet filled(tagBits), set;
        filled.Reserve(tagBits * 1000, tagBits * 100);  // none, or less than the keys take
        for (int round = 0; round < 2; ++round) {
            TextSet& into = round == 0 ? filled : set;
            for (int i = 0; i < 3000; ++i) {
                std::string key = "key " + std::to_string(i);
                EXPECT_EQ(into.Insert(key.data(), key.size()), round == 0) << tagBits << key;
            }
            if (round == 0) set.Swap(filled);
        }
        set.Reserve(0, 10);  // advice below what it holds changes nothing
        EXPECT_EQ(set.Size(), 3000u);
        EXPECT_EQ(filled.Size(), 0u);
        for (int i = 0; i < 3000; ++i) {
            std::string key = "key " + std::to_string(i);
            EXPECT_TRUE(set.Contains(key.data(), key.size())) << tagBits << key;
            key += '.';
            EXPECT_FALSE(set.Contains(key.data(), key.size())) << tagBits << key;
        }
    }
}

}  // namespace
