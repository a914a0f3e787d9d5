// Record bytes, keys and list texts, checked against records written out by
// hand from the format tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "kfd_format.h"
#include "test_recipient.h"

namespace {

using namespace kfd;

const uint8_t* U(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

AnsiDetails NoDetails() {
    AnsiDetails d;
    std::memset(&d, 0, sizeof d);
    return d;
}

// \1 name \3 fax \3 company \3 phone \3 email \3 memo \3 opt \3 print \3
// station \3 count \3 [dest \3]* mode \3 mailbox \3 pw \3 fcode \3 fpw \3 \4
const std::string kDefaultAnna =
    "\x01" "Anna\x03" "0123\x03" "\x03\x03\x03\x03" "0\x03" "0\x03" "\x03" "0\x03" "0\x03" "\x03\x03\x03\x03" "\x04";

TEST(EncodeEntry, DefaultRecipientWithEmptyDetails) {
    std::string out;
    EncodeEntry(Recipient("Anna", "0123"), NoDetails(), out);
    EXPECT_EQ(out, kDefaultAnna);
}

TEST(EncodeEntry, EveryFieldInItsPlace) {
    FaxRecipient r = Recipient("Matti", "09-555");
    CommSettings& c = r.comm;
    c.commOption = '1';
    c.relayPrint = '1';
    std::strcpy(c.relayStationId, "12");
    c.relayDestCount = 2;
    std::memcpy(c.relayDests, "0070#7999", 9);  // third code is past the count
    c.commMode = 2;
    std::strcpy(c.mailboxId, "200");
    std::strcpy(c.mailboxPassword, "1234");
    std::strcpy(c.fCode, "55");
    std::strcpy(c.fCodePassword, "*#");
    AnsiDetails d = NoDetails();
    std::strcpy(d.company, "Oy");
    std::strcpy(d.phone, "+358");
    std::strcpy(d.email, "m@x.fi");
    std::strcpy(d.memo, "a\r\nb");
    std::string out;
    EncodeEntry(r, d, out);
    EXPECT_EQ(out, std::string("\x01Matti\x03" "09-555\x03Oy\x03+358\x03m@x.fi\x03" "a\r\nb\x03"
                               "1\x03" "1\x03" "12\x03" "2\x03" "007\x03" "0#7\x03" "2\x03"
                               "200\x03" "1234\x03" "55\x03*#\x03\x04"));
}

TEST(EncodeEntry, HostileValuesStayInsideTheirFields) {
    FaxRecipient r = Recipient("", "");
    // No terminator; letters that differ, so that bytes copied from the
    // wrong place show.
    const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde";
    std::memcpy(r.name, kLetters, sizeof r.name);
    std::strcpy(r.faxNumber, "1\x03\x04" "2");
    r.comm.commOption = 0x04;
    r.comm.relayDestCount = 99;
    std::memset(r.comm.relayDests, '\x01', sizeof r.comm.relayDests);
    r.comm.commMode = -7;
    AnsiDetails hostile = NoDetails();
    // Control bytes in the second and third words of a long field, after
    // the last whole word, and in the first word only.
    std::strcpy(hostile.company, "Yritys O\x01y Ab\x02\x03 Helsinki\x04!");
    std::strcpy(hostile.phone, "09 123456\x03" "7");
    std::strcpy(hostile.email, "a\x01" "bcdefghijklmnopq");
    std::string out;
    EncodeEntry(r, hostile, out);
    // One record: a marker at the start, the end marker only at the end.
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out.front(), '\x01');
    EXPECT_EQ(out.find('\x04'), out.size() - 1);
    EXPECT_EQ(out.find('\x01', 1), std::string::npos);
    FaxRecipient back = DefaultRecipient;
    AnsiDetails d;
    EXPECT_TRUE(DecodeEntry(U(out), out.size(), back, d));
    EXPECT_EQ(std::string(back.name), std::string(kLetters, 30));
    EXPECT_STREQ(back.faxNumber, "12");
    EXPECT_EQ(back.comm.commOption, '0');
    EXPECT_EQ(back.comm.relayDestCount, 20);
    EXPECT_EQ(back.comm.commMode, 0);
    EXPECT_STREQ(d.company, "Yritys Oy Ab Helsinki!");
    EXPECT_STREQ(d.phone, "09 1234567");
    EXPECT_STREQ(d.email, "abcdefghijklmnopq");
}

TEST(EncodeEntry, TheLongestRecordFillsItsRoomExactly) {
    FaxRecipient r = DefaultRecipient;
    CommSettings& c = r.comm;
    std::memset(r.name, 'x', sizeof r.name);
    std::memset(r.faxNumber, 'x', sizeof r.faxNumber);
    std::memset(c.mailboxId, 'x', sizeof c.mailboxId);
    std::memset(c.mailboxPassword, 'x', sizeof c.mailboxPassword);
    std::memset(c.relayStationId, 'x', sizeof c.relayStationId);
    std::memset(c.fCode, 'x', sizeof c.fCode);
    std::memset(c.fCodePassword, 'x', sizeof c.fCodePassword);
    c.relayDestCount = 20;
    c.commMode = 2;
    AnsiDetails d;
    std::memset(&d, 'x', sizeof d);
    std::string out;
    EncodeEntry(r, d, out);
    EXPECT_EQ(out.size(), kEntryRecordMax);
}

TEST(DecodeEntry, RoundTripKeepsSpeedDialAndFillsEveryField) {
    FaxRecipient r = Recipient("Maija", "123");
    r.comm.relayDestCount = 1;
    std::memcpy(r.comm.relayDests, "042", 3);
    std::strcpy(r.comm.fCode, "7");
    AnsiDetails d = NoDetails();
    std::strcpy(d.memo, "rivi");
    std::string out;
    EncodeEntry(r, d, out);
    FaxRecipient back = DefaultRecipient;
    back.comm.speedDial = 1;  // not stored: a reader leaves it as it was
    AnsiDetails bd;
    ASSERT_TRUE(DecodeEntry(U(out), out.size(), back, bd));
    EXPECT_STREQ(back.name, "Maija");
    EXPECT_STREQ(back.faxNumber, "123");
    EXPECT_EQ(back.comm.relayDestCount, 1);
    EXPECT_EQ(std::string(back.comm.relayDests, 3), "042");
    EXPECT_STREQ(back.comm.fCode, "7");
    EXPECT_STREQ(bd.memo, "rivi");
    EXPECT_EQ(back.comm.speedDial, 1);
}

struct DecodeCase {
    const char* what;
    std::string record;
    bool wellFormed;
    const char* fCode;
    int destCount;
};

TEST(DecodeEntry, OptionalAndDamagedRecords) {
    const DecodeCase cases[] = {
        {"ends after the mailbox password",
         "\x01N\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "0\x03" "0\x03\x03\x03\x04", true, "", 0},
        {"count says three, one destination present",
         "\x01N\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "3\x03" "001\x03" "0\x03\x03\x03\x04", false, "", 3},
        {"count is not a number", "\x01N\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "9999999999\x03\x04",
         false, "", 20},
        {"cut off after the name", "\x01N\x03\x04", false, "", 0},
        {"more fields than it should", std::string(kDefaultAnna).insert(kDefaultAnna.size() - 1, "x\x03"), false,
         "", 0},
    };
    for (const auto& c : cases) {
        FaxRecipient r = DefaultRecipient;
        AnsiDetails d;
        EXPECT_EQ(DecodeEntry(U(c.record), c.record.size(), r, d), c.wellFormed) << c.what;
        EXPECT_STREQ(r.comm.fCode, c.fCode) << c.what;
        EXPECT_EQ(r.comm.relayDestCount, c.destCount) << c.what;
        EXPECT_EQ(r.name[30], 0) << c.what;
    }
}

// Records the decoder reads without complaint but whose fields overrun
// their sizes (it would cut them) are caught here.
TEST(FieldsWithinSizes, EachFieldAgainstItsOwnSize) {
    // Anna's record with field k (0-based, as encoded) replaced.
    auto with = [](size_t k, const std::string& value) {
        std::string r = kDefaultAnna;
        size_t start = 1;
        for (size_t i = 0; i < k; ++i) start = r.find('\x03', start) + 1;
        return r.replace(start, r.find('\x03', start) - start, value);
    };
    struct Case {
        const char* what;
        std::string record;
        bool within;
    } cases[] = {
        {"default record", kDefaultAnna, true},
        {"name of 30", with(0, std::string(30, 'n')), true},
        {"name of 31", with(0, std::string(31, 'n')), false},
        {"memo of 255", with(5, std::string(255, 'm')), false},
        {"comm option of 2", with(6, "12"), false},
        {"station of 3", with(8, "123"), false},
        {"mode of 2", with(10, "12"), false},
        {"mailbox of 4", with(11, "1234"), false},
        {"mailbox password of 5", with(12, "12345"), false},
        {"F-code of 21", with(13, std::string(21, '1')), false},
        {"without F-code fields", "\x01N\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "0\x03" "0\x03\x03\x03\x04", true},
        {"21 destinations", "\x01N\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "21\x03\x04", false},
        {"destination of 4", "\x01N\x03" "1\x03\x03\x03\x03\x03" "0\x03" "0\x03\x03" "1\x03" "1234\x03" "0\x03\x03\x03\x04", false},
        {"cut off after the name (whole or not is the decoder's)", "\x01N\x03\x04", true},
        {"group", "\x02G\x03" "A\x03" "1\x03\x04", true},
        {"group member name of 31", "\x02G\x03" + std::string(31, 'a') + "\x03" "1\x03\x04", false},
        {"group member name of 31, last", "\x02G\x03" "A\x03" "1\x03" + std::string(31, 'a') + "\x03\x04", false},
    };
    for (const auto& c : cases) EXPECT_EQ(FieldsWithinSizes(U(c.record), c.record.size()), c.within) << c.what;
}

TEST(KeyEquals, LettersMatchEitherCaseOtherBytesExactly) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"Smith", "smith", true},
        {"Smith", "Smith ", false},
        {"123", "124", false},
        {"", "", true},
        {"\xC4" "a", "\xC4" "A", false},  // the byte after a high byte is compared exactly
        {"\xE4", "\xC4", false},          // no case folding above ASCII
        {"[x]", "[X]", true},
        {"a\xC4", "A\xC4", true},
        // Keys of eight bytes and more are folded a word at a time.
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", true},
        {"@@@@[[[[@", "````{{{{`", false},
        {"Abcdefg\xC4" "A", "abcdefg\xC4" "a", false},
        {"ABCDEFGH\xC4" "AB", "abcdefgh\xC4" "Ab", true},
        // The last bytes of a key as a word overlapping the one before.
        {"Sukunimi12, E4X", "sukunimi12, e4x", true},
        {"Sukunimi12, E4@", "sukunimi12, e4`", false},
    };
    for (const auto& c : cases) {
        const uint8_t* a = reinterpret_cast<const uint8_t*>(c.a);
        const uint8_t* b = reinterpret_cast<const uint8_t*>(c.b);
        EXPECT_EQ(KeyEquals(a, std::strlen(c.a), c.b), c.equal) << c.a << " vs " << c.b;
        EXPECT_EQ(FoldKey(a, std::strlen(c.a)) == FoldKey(b, std::strlen(c.b)), c.equal) << c.a << " vs " << c.b;
    }
}

// A double-byte code page for the parser: every byte of 0x80 and above
// takes the next byte with it.
struct HighBytesLead {
    bool operator()(char c) const { return static_cast<uint8_t>(c) >= 0x80; }
};

std::string Part(const std::string& text, TextSpan s) { return text.substr(s.begin, s.end - s.begin); }

TEST(ListText, IndividualTextsSplitAtTheLastBlankOrAreRefused) {
    struct Case {
        const char* what;
        std::string text;
        bool doubleByte;
        bool ok;
        const char* name;
        const char* fax;
    } cases[] = {
        {"blanks in the name", "Anna Maija Virtanen <0123>", false, true, "Anna Maija Virtanen", "0123"},
        {"speed dial keeps its quotes", "Varasto <'17'>", false, true, "Varasto", "'17'"},
        {"empty name", " <5>", false, true, "", "5"},
        {"empty number", "Nimi <>", false, true, "Nimi", ""},
        {"the last '>' closes", "A <1>2>", false, true, "A", "1>2"},
        {"no brackets", "A B", false, false, "", ""},
        {"no blank", "Nimi", false, false, "", ""},
        {"brackets in the wrong order", "Nimi >12<", false, false, "", ""},
        {"no closing bracket", "Nimi <12", false, false, "", ""},
        {"no opening bracket", "Nimi 12>", false, false, "", ""},
        {"blank at the end", "Nimi <12> ", false, false, "", ""},
        {"empty", "", false, false, "", ""},
        {"blank as second byte", "AB\x81 <1>", true, false, "", ""},
        {"same bytes, single-byte", "AB\x81 <1>", false, true, "AB\x81", "1"},
        {"'<' as second byte", "A \x81<1>", true, false, "", ""},
        {"'>' as second byte", "A <1\x81>", true, false, "", ""},
        {"blank inside, split at the real one", "\x81 x <12>", true, true, "\x81 x", "12"},
    };
    for (const auto& c : cases) {
        TextSpan name, fax;
        bool ok = c.doubleByte ? ParseIndividualText(c.text.data(), c.text.size(), name, fax, HighBytesLead{})
                               : ParseIndividualText(c.text.data(), c.text.size(), name, fax);
        EXPECT_EQ(ok, c.ok) << c.what;
        EXPECT_EQ(Part(c.text, name), c.name) << c.what;
        EXPECT_EQ(Part(c.text, fax), c.fax) << c.what;
    }
}

TEST(ListText, GroupTextsAreTheNameInBracketsOrRefused) {
    struct Case {
        const char* what;
        std::string text;
        bool doubleByte;
        bool ok;
        const char* name;
    } cases[] = {
        {"group", "[Myynti]", false, true, "Myynti"},
        {"empty name", "[]", false, true, ""},
        {"no closing bracket", "[Auki", false, false, ""},
        {"no brackets", "Auki", false, false, ""},
        {"brackets in the wrong order", "]Auki[", false, false, ""},
        {"text after the first ']'", "[a]b]", false, false, ""},
        {"an individual", "Anna <1>", false, false, ""},
        {"']' as second byte", "[a\x81]]", true, true, "a\x81]"},
        {"same bytes, single-byte", "[a\x81]]", false, false, ""},
    };
    for (const auto& c : cases) {
        TextSpan name;
        bool ok = c.doubleByte ? ParseGroupText(c.text.data(), c.text.size(), name, HighBytesLead{})
                               : ParseGroupText(c.text.data(), c.text.size(), name);
        EXPECT_EQ(ok, c.ok) << c.what;
        EXPECT_EQ(Part(c.text, name), c.name) << c.what;
    }
}

TEST(ListText, OfRecords) {
    EXPECT_EQ(RecordListTextAnsi(U(kDefaultAnna), kDefaultAnna.size()), "Anna <0123>");
    std::string g = "\x02Ryhma\x03" "A\x03" "1\x03\x04";
    EXPECT_EQ(RecordListTextAnsi(U(g), g.size()), "Ryhma");
}

TEST(FitAnsi, NeverSplitsADoubleByteCharacter) {
    EXPECT_EQ(FitAnsi("abc", 3, 2), 2u);
    EXPECT_EQ(FitAnsi("a\x81\x40", 3, 2), 1u);
    EXPECT_EQ(FitAnsi("a\x81\x40", 3, 3), 3u);
    EXPECT_EQ(FitAnsi("\x81", 1, 5), 1u);  // a lone high byte at the end is one byte
}

TEST(GroupRecords, BuildRemoveAndReplaceMembers) {
    std::string g;
    BeginGroup("Myynti", g);
    AddGroupMember("Anna", "1", g);
    AddGroupMember("Ville", "2", g);
    AddGroupMember("ANNA", "1", g);
    EndGroup(g);
    EXPECT_EQ(g, "\x02Myynti\x03" "Anna\x03" "1\x03" "Ville\x03" "2\x03" "ANNA\x03" "1\x03\x04");

    std::string removed;
    ASSERT_TRUE(RewriteGroupMembers(U(g), g.size(), "anna", "1", nullptr, nullptr, removed));
    EXPECT_EQ(removed, "\x02Myynti\x03Ville\x03" "2\x03\x04");

    std::string replaced;
    ASSERT_TRUE(RewriteGroupMembers(U(g), g.size(), "Ville", "2", "Vilho", "22", replaced));
    EXPECT_EQ(replaced, "\x02Myynti\x03" "Anna\x03" "1\x03Vilho\x03" "22\x03" "ANNA\x03" "1\x03\x04");

    std::string none;
    EXPECT_FALSE(RewriteGroupMembers(U(g), g.size(), "Ville", "3", nullptr, nullptr, none));
    EXPECT_TRUE(none.empty());

    std::string empty;
    BeginGroup("Tyhja", empty);
    EndGroup(empty);
    EXPECT_EQ(empty, "\x02Tyhja\x03\x04");
}

TEST(Magic, ThreeVersionsAndTheRest) {
    struct Case {
        std::string head;
        Version v;
    } cases[] = {
        {std::string(kMagicCurrent) + "\n", Version::Current},
        {kMagic0000, Version::V0000},
        {kMagic1000, Version::V1000},
        {std::string(kMagicCurrent, 33), Version::Unknown},
        {"KESTRELTEC_ORYX_FAX_DATA_FILE_3000", Version::Unknown},
        {"kestreltec_oryx_fax_data_file_2000", Version::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyMagic(U(c.head), c.head.size()), c.v) << c.head;
}

}  // namespace
