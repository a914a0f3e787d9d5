// faxhost import and faxhost phonebook import on the contact files of
// tests/data/import, as an administrator runs them.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "faxhost_run.h"
#include "import_cmd.h"
#include "posix/fault_injection.h"
#include "scratch_dir.h"
#include "terminal.h"

namespace {

using CliRun = CommandRun;

std::string Data(const std::string& name) { return std::string(IMPORT_TEST_DATA) + "/" + name; }

TEST(FaxhostImport, ContactFileFromItsHeaderWords) {
    CliRun run = Faxhost("import " + Data("yhteystiedot.csv"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "kind: contact file, name column 3, else name columns 1 2, fax columns 5 6\n"
              "encoding: ANSI (1252), separator: comma\n"
              "recipient: Anna Ek <+35891234567>\n"
              "recipient: Pekka M\xC3\xA4ki (Myynti) <(09)555-1212>\n"
              "recipient: Pekka M\xC3\xA4ki (Myynti) <095551213>\n"
              "recipient: Jussi Oja <0400123456>\n"
              "recipient: Kalle Virta <097777888>\n"
              "rejected: line 5: no fax number\n"
              "recipients: 5, rejected lines: 1, repeated: 0\n");
}

TEST(FaxhostImport, SpeedDialExportWithItsSettings) {
    CliRun run = Faxhost("import " + Data("lyhytvalinnat.csv"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("kind: speed-dial export\n"
                           "encoding: ANSI (1252)\n"
                           "recipient: P\xC3\xA4\xC3\xA4konttori (HKI) <091234567>\n"
                           "  speed dial: 1, comm mode: 1, comm option: 4\n"
                           "  mailbox: 12, mailbox password: 4321\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  relay station: 12, relay print: 0, relay destinations (2): 007 0#5\n"
                           "  F-code: 34, F-code password: 1234\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("rejected: line 4: entry kind missing or I\n"
                           "rejected: line 7: no fax number\n"
                           "recipients: 4, rejected lines: 2"),
              std::string::npos)
        << run.out;
}

TEST(FaxhostImport, ColumnsNamedAndBadInput) {
    struct Case {
        std::string args;
        int status;
        std::string inOut;
        std::string inErr;
    } cases[] = {
        {"import --name name --fax 'home fax' " + Data("contacts_en.csv"), 0,
         "recipient: Doe, Jane <+1(555)010-2000>\nrejected: line 2: no fax number\n", ""},
        // Named fax columns, the name still from the header words.
        {"import --fax 3 --fax 4 " + Data("contacts_en.csv"), 0, "recipient: John Smith <+442079460000>\n", ""},
        {"import " + Data("no_fax.csv"), 1, "",
         "Faksinumeroa ei l\xC3\xB6ydy tiedostosta " + Data("no_fax.csv") + ".\nMit\xC3\xA4\xC3\xA4n tietoja"},
        {"import --fax Telefax " + Data("contacts_en.csv"), 2, "", "the header has no column Telefax"},
        {"import --name etunimi " + Data("yhteystiedot.csv"), 0,
         "kind: contact file, name column 1, fax columns 5 6\nencoding: ANSI (1252), separator: comma\n"
         "recipient: Anna <+35891234567>\n", ""},
        {"import --name Nobody " + Data("yhteystiedot.csv"), 2, "", "the header has no column Nobody"},
        // Exports of mail, webmail and spreadsheet programs, without options.
        {"import " + Data("mail_export.csv"), 0,
         "kind: contact file, name column 3, else name columns 1 2, fax columns 5 6 7\n"
         "encoding: ANSI (1252), separator: comma\nrecipient: Anna Ek <+35891112222>\n"
         "recipient: Bo Berg <08-5550101>\nrecipient: Bo Berg <08-5550102>\nrejected: line 5: no fax number\n", ""},
        {"import " + Data("webmail_export.csv"), 0,
         "fax by type columns 4/5 6/7 8/9\nencoding: ANSI (1252), separator: comma\n"
         "recipient: Liisa Lahti <092223333>\nrecipient: Liisa Lahti <092224444>\n"
         "recipient: Jussi Oja <093334444>\nrecipients: 3, rejected lines: 0, repeated: 1\n", ""},
        {"import " + Data("taulukko_utf8.csv"), 0,
         "encoding: UTF-8 with byte-order mark, separator: semicolon\n"
         "recipient: Pekka M\xC3\xA4kinen <094445555>\nrecipient: ?ukasz Nowak <+48221234567>\n"
         "recipients: 2, rejected lines: 0, repeated: 0, names with lost characters: 1\n", ""},
        {"import " + Data("yhteystiedot_utf16.csv"), 0,
         "encoding: UTF-16 LE, separator: comma\nrecipient: S\xC3\xB6" "derstr\xC3\xB6m AB <+468123456>\n"
         "recipient: Nguy?n V?n An <+842838221234>\n", ""},
        {"import " + Data("contacts_en.csv"), 0,
         "recipient: Doe, Jane <+1(555)010-2000>\nrecipient: Very Long Company Name Limited <00441632960000>\n", ""},
        {"import --fax 'business fax' " + Data("mail_export.csv"), 0,
         "name column 3, else name columns 1 2, fax columns 6\nencoding: ANSI (1252), separator: comma\n"
         "recipient: Anna Ek <+35891112222>\n", ""},
        {"import " + Data("no_such.csv"), 1, "", "k\xC3\xA4ytt\xC3\xB6 ei onnistu"},
        {"import /dev/null", 1, "", "k\xC3\xA4ytt\xC3\xB6 ei onnistu"},
        {"import .vcf", 1, "", ".vcf: cannot be read"},
        {"import", 2, "", "usage"},
    };
    for (const auto& c : cases) {
        CliRun run = Faxhost(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.out.find(c.inOut), std::string::npos) << c.args << "\n" << run.out;
        EXPECT_NE(run.err.find(c.inErr), std::string::npos) << c.args << "\n" << run.err;
    }
}

// Fields of the file go out as UTF-8, their control bytes made visible;
// fields of printable ASCII are copied whole, eight bytes tested at a time.
TEST(FaxhostImport, FieldsAsTheTerminalShowsThem) {
    struct Case {
        std::string field;
        std::string shown;
    } cases[] = {
        {"", ""},
        {"Anna Ek", "Anna Ek"},
        {"Anna Ek~", "Anna Ek~"},
        {"Abcdefgh Ijklmnop\x7F", "Abcdefgh Ijklmnop\x7F"},
        {"Abcdefgh\tIjk", "Abcdefgh?Ijk"},
        {"\tAbcdefghi", "?Abcdefghi"},
        {"Ek\r\nAnna", "Ek\\r\\nAnna"},
        {"M\xE4ki \x80 Oy\x1F\xFF", "M\xC3\xA4ki \xE2\x82\xAC Oy?\xC3\xBF"},
        {std::string("Abcdefghij\0Klm", 14), "Abcdefghij"},
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStdout();
        {
            Terminal t;
            t.Field(c.field.data(), c.field.size());
            t.EndLine();
        }
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.shown + "\n") << c.field;
    }
}

TEST(FaxhostPhonebookImport, AddsThenTreatsRepeatsAsDuplicates) {
    std::string book = ::testing::TempDir() + "import_" + std::to_string(getpid()) + ".KFD";
    std::remove(book.c_str());
    CliRun first = Faxhost("phonebook import " + book + " " + Data("lyhytvalinnat.csv"));
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("added: 4, replaced: 0, skipped: 0, rejected lines: 2"), std::string::npos) << first.out;

    CliRun again = Faxhost("phonebook import " + book + " " + Data("lyhytvalinnat.csv"));
    EXPECT_NE(again.out.find("already in the phonebook, skipped: Varasto <0401234567>"), std::string::npos);
    EXPECT_NE(again.out.find("added: 0, replaced: 0, skipped: 4"), std::string::npos) << again.out;

    CliRun replace = Faxhost("phonebook import --replace " + book + " " + Data("lyhytvalinnat.csv"));
    EXPECT_NE(replace.out.find("added: 0, replaced: 4, skipped: 0"), std::string::npos) << replace.out;

    CliRun list = Faxhost("phonebook list " + book);
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("individual: Varasto <0401234567>"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("relay destinations (3): 003 0#5 004"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("individual: Varasto", list.out.find("individual: Varasto") + 1), std::string::npos);

    CliRun contacts = Faxhost("phonebook import " + book + " " + Data("yhteystiedot.csv"));
    EXPECT_NE(contacts.out.find("added: 5, replaced: 0, skipped: 0, rejected lines: 1"), std::string::npos)
        << contacts.out;

    // Differing only in the case of a-z is the same entry to the phonebook.
    // A row the file repeats is skipped the second time, as one the phonebook has.
    CliRun webmail = Faxhost("phonebook import " + book + " " + Data("webmail_export.csv"));
    EXPECT_NE(webmail.out.find("added: Jussi Oja <093334444>\nalready in the phonebook, skipped: Jussi Oja <093334444>\n"
                               "added: 3, replaced: 0, skipped: 1"),
              std::string::npos)
        << webmail.out;
    Faxhost("phonebook import " + book + " " + Data("taulukko_utf8.csv"));
    CliRun shouting = Faxhost("phonebook import " + book + " --name 1 --fax 2 " + Data("taulukko_utf8.csv"));
    EXPECT_NE(shouting.out.find("skipped: 2"), std::string::npos) << shouting.out;
    list = Faxhost("phonebook list " + book);
    for (const char* entry : {"individual: Liisa Lahti <092224444>\n", "individual: Jussi Oja <093334444>\n",
                              "individual: ?ukasz Nowak <+48221234567>\n", "individual: Anna Ek <+35891234567>\n"}) {
        size_t at = list.out.find(entry);
        EXPECT_NE(at, std::string::npos) << entry << list.out;
        EXPECT_EQ(list.out.find(entry, at + 1), std::string::npos) << entry << list.out;
    }
    std::remove(book.c_str());
}

// Replacing the individual just before the groups keeps the groups.
TEST(FaxhostPhonebookImport, ReplacingAnEntryKeepsTheGroupsAfterIt) {
    ScratchDir dir("import-replace");
    std::string book = dir.Path("book.KFD");
    std::string csv = dir.Path("pekka.csv");
    std::ofstream(csv, std::ios::binary) << "Nimi,Faksi\nPekka,0789\n";
    std::ifstream in(Data("../v2000.KFD"), std::ios::binary);
    std::ofstream(book, std::ios::binary) << in.rdbuf();
    CliRun replace = Faxhost("phonebook import --replace " + book + " " + csv);
    EXPECT_NE(replace.out.find("added: 0, replaced: 1, skipped: 0"), std::string::npos) << replace.out << replace.err;
    CliRun list = Faxhost("phonebook list " + book);
    EXPECT_NE(list.out.find("group: [Myynti]\n  member: Anna Maija Virtanen <0123>\n  member: Ville <0456>\n"
                            "group: [Tyhja]"),
              std::string::npos)
        << list.out;
}

// A write of the phonebook's copy that fails stops the import at that
// recipient, and the phonebook stays as it was.
TEST(FaxhostPhonebookImport, AFailedWriteStopsAndKeepsThePhonebook) {
    ScratchDir dir("import-faults");
    std::string csv = dir.Path("many.csv");
    {
        std::ofstream out(csv, std::ios::binary);
        out << "Nimi,Faksi\n";
        for (int i = 0; i < 3000; ++i) out << "Nimi " << i << ",09 " << 100000 + i << "\n";
    }
    std::string book = dir.Path("book.KFD");
    ASSERT_EQ(Faxhost("phonebook import " + book + " " + Data("yhteystiedot.csv")).status, 0);
    std::string before = dir.Get("book.KFD");
    for (const char* args : {"", "--replace"}) {
        std::vector<std::string> words = {"import", book, csv};
        if (*args) words.insert(words.begin() + 1, args);
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(&w[0]);
        fault::Reset();
        fault::Arm({fault::Op::Write, 1, fault::Action::Fail});
        ::testing::internal::CaptureStdout();
        int status = RunPhonebookImportCommand(static_cast<int>(argv.size()), argv.data());
        std::string out = ::testing::internal::GetCapturedStdout();
        fault::Reset();
        EXPECT_EQ(status, 1) << args;
        EXPECT_NE(out.find("added: Nimi 0 <09100000>"), std::string::npos) << args;
        EXPECT_EQ(out.find("added: Nimi 2999 <09102999>"), std::string::npos) << args;
        EXPECT_EQ(dir.Get("book.KFD"), before) << args;
    }
}

}  // namespace
