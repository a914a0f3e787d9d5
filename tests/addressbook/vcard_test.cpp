// The vCard reader against exports shaped as address-book programs write
// them (files in tests/data/vcard, made by hand).
#include <gtest/gtest.h>

#include <string>

#include "vcard.h"
#include "vcard_text.h"

namespace {

struct Expected {
    const char* name;
    vcard::CardKind kind;
    const char* primary;
    const char* business;
    const char* home;
};

vcard::Book Read(const char* file) {
    vcard::Book book;
    EXPECT_EQ(vcard::ReadBookFile(std::string(VCARD_DATA_DIR) + "/" + file, book), vcard::ReadResult::Ok) << file;
    return book;
}

void ExpectCards(const vcard::Book& book, std::initializer_list<Expected> expected) {
    ASSERT_EQ(book.cards.size(), expected.size());
    size_t i = 0;
    for (const Expected& e : expected) {
        const vcard::Card& c = book.cards[i++];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(c.displayName, e.name);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.primaryFax, e.primary);
        EXPECT_EQ(c.businessFax, e.business);
        EXPECT_EQ(c.homeFax, e.home);
    }
}

using K = vcard::CardKind;

TEST(VCardExports, Version30FoldedEscapedAndTyped) {
    vcard::Book book = Read("export_30.vcf");
    ExpectCards(book, {
        {"Liisa Mäkinen", K::Person, "", "+358 9 123 4568", "09-765 4321"},
        {"Pekka Virtanen, toimitusjohtaja", K::Person, "(09) 555 0101", "", ""},
        {"Anna-Maria Elisabet Korhonen-Lehtinen", K::Person, "", "+358 40 123 4567", ""},
        {"Jari Nieminen", K::Person, "", "", ""},  // no FN: built from N; no fax
        // Grouped numbers labelled work / home / a fax of the user's own
        // (the label before its number); the mobile is no fax.
        {"Outi Laine", K::Person, "017 555 666", "+358 9 4567 8900", "09 111 2222"},
    });
    EXPECT_EQ(book.skippedCards, 0u);
}

TEST(VCardExports, Version21QuotedPrintableBareTypesAndLegacyCharset) {
    vcard::Book book = Read("export_21.vcf");
    ExpectCards(book, {
        {"Sirkka Hämäläinen", K::Person, "", "09 222 3333", "09 444 5555"},
        {"Östen Järvinen, Kuljetus ja huolinta", K::Person, "019-888 777", "", ""},
        {"Ville Lahti", K::Person, "", "09 2", ""},  // the first work fax wins
        {"Kaisa Lehto", K::Person, "", "09 876 5432", "09 876 5433"},  // photo lines not indented
    });
}

TEST(VCardExports, Version40GroupsMembersAndUris) {
    vcard::Book book = Read("export_40.vcf");
    ExpectCards(book, {
        {"Tiina Salo", K::Person, "", "+358-9-100-2000", ""},  // a tel: URI without its ;ext=
        {"Matti Koski", K::Person, "+358 9 300 4000", "", ""},
        {"Myyntitiimi", K::List, "", "", ""},
        {"Neuvotteluhuone 3", K::Other, "09 999", "", ""},
    });
    const vcard::Card& group = book.cards[2];
    ASSERT_EQ(group.members.size(), 2u);
    EXPECT_EQ(vcard::MemberUid(group.members[0]), vcard::MemberUid(book.cards[0].uid));
    EXPECT_EQ(vcard::MemberUid(group.members[1]), "9a1b2c3d-0000-4000-8000-000000000002");
}

TEST(VCardExports, PhoneExportWithDoubledCarriageReturnsAndFoldedPhoto) {
    ExpectCards(Read("phone_export.vcf"), {
        {"Jukka Mäkelä", K::Person, "", "+358 9 876 5432", "09 765 4321"},
        {"Toimisto", K::Person, "09 2", "", ""},
    });
}

TEST(VCardExports, OddLinesAreSkippedCardsCutOffAreCounted) {
    vcard::Book book = Read("damaged.vcf");
    ExpectCards(book, {
        {"Hyvä Ensimmäinen", K::Person, "111", "", ""},
        {"", K::Person, "222", "", ""},  // its FN line has no ':'
        {"Hyvä Toinen", K::Person, "333", "", ""},
    });
    EXPECT_EQ(book.skippedCards, 1u);  // the card cut off
}

TEST(VCardExports, FoldedMarkersAndSoftBreaksJoinBeforeMatching) {
    // A marker folded over two lines, blanks around it, is still a marker;
    // so is a name continued by a quoted-printable soft break.
    const std::string text =
        " BEGIN:V\n CARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:Liisa =\r\nM=C3=A4kinen\r\n"
        "TEL;FAX:555\r\nEND:VCA\r\n\tRD \r\n";
    vcard::Book book;
    ASSERT_EQ(vcard::ParseBook(text.data(), text.size(), book), vcard::ReadResult::Ok);
    ExpectCards(book, {{"Liisa Mäkinen", K::Person, "555", "", ""}});
    EXPECT_EQ(book.skippedCards, 0u);
}

TEST(VCardFiles, RefusedFiles) {
    vcard::Book book;
    EXPECT_EQ(vcard::ReadBookFile(std::string(VCARD_DATA_DIR) + "/not_a_vcard.vcf", book), vcard::ReadResult::NotVCard);
    EXPECT_EQ(vcard::ReadBookFile(std::string(VCARD_DATA_DIR) + "/missing.vcf", book), vcard::ReadResult::NotFound);
    EXPECT_EQ(vcard::ParseBook("", 0, book), vcard::ReadResult::NotVCard);
    std::string huge(vcard::kMaxFileBytes + 1, 'x');
    EXPECT_EQ(vcard::ParseBook(huge.data(), huge.size(), book), vcard::ReadResult::TooLarge);
    huge.pop_back();  // at the limit: read
    EXPECT_EQ(vcard::ParseBook(huge.data(), huge.size(), book), vcard::ReadResult::NotVCard);
}

TEST(VCardText, Decoders) {
    struct { const char* in; const char* out; } qp[] = {
        {"J=E4rvi", "J\xE4rvi"}, {"a=3Db", "a=b"}, {"=ZZ", "=ZZ"}, {"end=", "end="}, {"=4", "=4"}, {"x=41", "xA"},
    };
    for (auto& c : qp) EXPECT_EQ(vcard::DecodeQuotedPrintable(c.in), c.out) << c.in;
    struct { const char* in; const char* out; } esc[] = {
        {"a\\,b\\;c", "a,b;c"}, {"rivi\\nrivi", "rivi rivi"}, {"\\\\", "\\"}, {"loppu\\", "loppu\\"},
    };
    for (auto& c : esc) EXPECT_EQ(vcard::Unescape(c.in), c.out) << c.in;
    EXPECT_EQ(vcard::Windows1252ToUtf8("\x80\xE4"), "\xE2\x82\xAC\xC3\xA4");
    struct { const char* in; bool valid; } utf8[] = {
        {"M\xC3\xA4kinen", true}, {"M\xE4kinen", false}, {"\xC3", false},
        {"\xC2\xA7", true}, {"\xC1\xA7", false},  // the lowest two-byte lead; below it overlong
    };
    for (auto& c : utf8) EXPECT_EQ(vcard::IsValidUtf8(c.in), c.valid) << c.in;
    struct { const char* in; const char* out; } quoted[] = {{"\"fax,work\"", "fax,work"}, {"\"", "\""}};
    for (auto& c : quoted) EXPECT_EQ(vcard::Unquote(c.in), c.out) << c.in;
}

TEST(VCardText, StructuredSplitKeepsEscapedSeparators) {
    std::string n = "Meik\\;l\\u00e4inen;Matti";
    auto parts = vcard::SplitEscaped(n, ';');
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1], "Matti");
}

}  // namespace
