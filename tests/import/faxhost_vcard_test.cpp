// faxhost import of a vCard file: what an address book import of every
// card would give, through the stand-in book and the import program's rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "faxhost_run.h"
#include "scratch_dir.h"

namespace {

std::string Vcard(const std::string& body) { return "BEGIN:VCARD\r\nVERSION:4.0\r\n" + body + "END:VCARD\r\n"; }

TEST(FaxhostImportVcard, BooksAndBadFiles) {
    ScratchDir dir("fax-vcard");
    dir.Put("empty.vcf", "");
    dir.Put("huge.vcf", "");
    std::filesystem::resize_file(dir.Path("huge.vcf"), 33u << 20);
    // Lists that contain each other and themselves end; each chosen list is
    // expanded again, its people counted once more but entered once.
    dir.Put("cycles.VCF", Vcard("KIND:group\r\nUID:l1\r\nFN:Myynti\r\nMEMBER:p1\r\nMEMBER:l2\r\n") +
                              Vcard("KIND:group\r\nUID:l2\r\nFN:Tuki\r\nMEMBER:l1\r\nMEMBER:p2\r\nMEMBER:nobody\r\n") +
                              Vcard("KIND:group\r\nUID:l3\r\nFN:Itse\r\nMEMBER:l3\r\n") +
                              Vcard("UID:p1\r\nFN:Aino Aalto\r\nTEL;TYPE=fax:01\r\n") +
                              Vcard("UID:p2\r\nFN:Eero Eskola\r\nTEL;TYPE=fax:02\r\n"));
    // Categories as lists of their people, unless a list of that name exists.
    dir.Put("categories.vcf", Vcard("UID:p1\r\nFN:Aino Aalto\r\nTEL;TYPE=fax:01\r\nCATEGORIES:Asiakkaat,Ty\xC3\xB6\r\n") +
                                  Vcard("UID:p2\r\nFN:Eero Eskola\r\nTEL;TYPE=fax:02\r\nCATEGORIES:Asiakkaat\r\n") +
                                  Vcard("UID:p3\r\nFN:Ilona Ilves\r\nCATEGORIES:Ty\xC3\xB6\r\n") +
                                  Vcard("KIND:group\r\nUID:l1\r\nFN:Ty\xC3\xB6\r\nMEMBER:p2\r\n"));
    const std::string data = std::string(VCARD_TEST_DATA) + "/";
    struct Case {
        std::string file;
        int status;
        std::string out;  // exactly, when the run succeeds
        std::string err;
    } cases[] = {
        {data + "export_30.vcf", 0,
         "kind: address book, entries: 5, malformed cards skipped: 0\n"
         "recipient: Liisa M\xC3\xA4kinen <+35891234568>\n"
         "recipient: Liisa M\xC3\xA4kinen <09-7654321>\n"
         "recipient: Pekka Virtanen, toimitusjohtaj <(09)5550101>\n"
         "recipient: Anna-Maria Elisabet Korhonen-L <+358401234567>\n"
         "recipient: Outi Laine <017555666>\n"
         "recipient: Outi Laine <+358945678900>\n"
         "recipient: Outi Laine <091112222>\n"
         "recipients: 7, found: 5, rejected: 1, confirmed: 7\n",
         ""},
        {data + "phone_export.vcf", 0,
         "kind: address book, entries: 2, malformed cards skipped: 0\n"
         "recipient: Jukka M\xC3\xA4kel\xC3\xA4 <+35898765432>\n"
         "recipient: Jukka M\xC3\xA4kel\xC3\xA4 <097654321>\n"
         "recipient: Toimisto <092>\n"
         "recipients: 3, found: 2, rejected: 0, confirmed: 3\n",
         ""},
        // The list's two people again through the list; the place is rejected.
        {data + "export_40.vcf", 0,
         "kind: address book, entries: 4, malformed cards skipped: 0\n"
         "recipient: Tiina Salo <+358-9-100-2000>\n"
         "recipient: Matti Koski <+35893004000>\n"
         "recipients: 2, found: 5, rejected: 3, confirmed: 2\n",
         ""},
        {data + "damaged.vcf", 0,
         "kind: address book, entries: 3, malformed cards skipped: 1\n"
         "recipient: Hyv\xC3\xA4 Ensimm\xC3\xA4inen <111>\n"
         "recipient:  <222>\n"
         "recipient: Hyv\xC3\xA4 Toinen <333>\n"
         "recipients: 3, found: 3, rejected: 0, confirmed: 3\n",
         ""},
        {dir.Path("cycles.VCF"), 0,
         "kind: address book, entries: 5, malformed cards skipped: 0\n"
         "recipient: Aino Aalto <01>\n"
         "recipient: Eero Eskola <02>\n"
         "recipients: 2, found: 5, rejected: 3, confirmed: 2\n",
         ""},
        {dir.Path("categories.vcf"), 0,
         "kind: address book, entries: 5, malformed cards skipped: 0\n"
         "recipient: Aino Aalto <01>\n"
         "recipient: Eero Eskola <02>\n"
         "recipients: 2, found: 6, rejected: 4, confirmed: 2\n",
         ""},
        {data + "not_a_vcard.vcf", 1, "", "not a vCard file"},
        {dir.Path("empty.vcf"), 1, "", "not a vCard file"},
        {dir.Path("huge.vcf"), 1, "", "larger than 32 MiB"},
        {dir.Path("missing.vcf"), 1, "", "cannot be read"},
    };
    for (const Case& c : cases) {
        CommandRun run = Faxhost("import " + c.file);
        EXPECT_EQ(run.status, c.status) << c.file << "\n" << run.err;
        EXPECT_EQ(run.out, c.out) << c.file;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.file << "\n" << run.err;
    }
}

TEST(FaxhostImportVcard, CardsIntoAPhonebook) {
    ScratchDir dir("fax-vcard-book");
    const std::string book = dir.Path("kirja.KFD");
    CommandRun first = Faxhost("phonebook import " + book + " " + VCARD_TEST_DATA + "/export_40.vcf");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "added: Tiina Salo <+358-9-100-2000>\nadded: Matti Koski <+35893004000>\n"
                         "added: 2, replaced: 0, skipped: 0, rejected lines: 0\n");
    CommandRun again = Faxhost("phonebook import " + book + " " + VCARD_TEST_DATA + "/export_40.vcf");
    EXPECT_NE(again.out.find("added: 0, replaced: 0, skipped: 2"), std::string::npos) << again.out;
    CommandRun list = Faxhost("phonebook list " + book);
    EXPECT_NE(list.out.find("individual: Matti Koski <+35893004000>"), std::string::npos) << list.out;
    CommandRun bad = Faxhost("phonebook import " + book + " " + VCARD_TEST_DATA + "/not_a_vcard.vcf");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("not a vCard file"), std::string::npos) << bad.err;
}

}  // namespace
