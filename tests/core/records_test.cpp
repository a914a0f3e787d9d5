// Texts and record bytes the print-time hook hands to the host and the
// document monitor.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "job_identity.h"
#include "jobwatch_record.h"
#include "page_data.h"
#include "test_recipient.h"
#include "wide_text.h"

namespace {

TEST(AccountIdentity, UserBackslashComputerWithinThirtyOneCharacters) {
    const std::u16string forty(40, u'k'), thirty(30, u'm'), twentyNine(29, u'n');
    struct Case {
        std::u16string user, computer;
        std::string expected;
    } cases[] = {
        {u"maija", u"TOIMISTO-PC", "maija\\TOIMISTO-PC"},
        {forty, u"PC", std::string(31, 'k')},                        // cut, nothing follows
        {thirty, u"PC", std::string(30, 'm') + "\\"},                // backslash, no room left
        {twentyNine, u"PC", std::string(29, 'n') + "\\P"},           // computer name cut to fit
        {u"", u"PC", "UnknownUser\\PC"},
        {u"maija", u"", "maija\\UnknownHost"},
        {u"", u"", "UnknownUser\\UnknownHost"},
        {u"p\u00e4ivi", u"PC", "p\xe4ivi\\PC"},                      // system code page
        {u"ville", std::u16string(40, u'C'), "ville\\" + std::string(25, 'C')},
    };
    for (const auto& c : cases) {
        char out[kAccountUserSize];
        std::memset(out, 0x55, sizeof out);
        BuildAccountUser(c.user, c.computer, out);
        EXPECT_EQ(std::string(out), c.expected);
        EXPECT_EQ(out[31], '\0');
    }
}

TEST(MonitorDisplays, NumberAndRecipientOfTheFirstRecipient) {
    const std::string n29 = "12345678901234567890123456789";
    struct Case {
        const char* name;
        std::string number;
        int count;
        const char* recipientDisplay;
        std::string numberDisplay;
    } cases[] = {
        {"Maija", "0-800-FLOWERS", 1, "Maija", "0-800-3569377"},
        {"", "123", 1, "Tuntematon nimi", "123"},
        {"", "123", 2, "1. tuntematon nimi and 1 others", "123 ..."},
        {"Matti Meikalainen", "123", 12, "Matti Meikalainen and 11 others", "123 ..."},
        {"Kokkolan Kaupunginsairaala Oy", "123", 3, "Kokkolan Kaupungin and 2 others", "123 ..."},
        {"abc", n29, 3, "abc and 2 others", n29.substr(0, 27) + " ..."},
        {"abc", n29.substr(0, 27), 2, "abc and 1 others", n29.substr(0, 27) + " ..."},
        {"abc", n29, 1, "abc", n29},
        {"abc", "abc", 1, "abc", "abc"},                             // lower case is not decoded
    };
    for (const auto& c : cases) {
        FaxRecipient r = Recipient(c.name, c.number);
        char recipient[kDisplaySize], number[kDisplaySize];
        BuildRecipientDisplay(r, c.count, recipient);
        BuildNumberDisplay(r, c.count, number);
        EXPECT_STREQ(recipient, c.recipientDisplay);
        EXPECT_EQ(std::string(number), c.numberDisplay);
        EXPECT_LE(std::strlen(recipient), 31u);
    }
}

// The pages' dialog font as their templates give it; the system font for a
// template the module does not hold.
TEST(PageFont, FromTheTemplateOrTheSystemFont) {
    HMODULE faxui = LoadLibraryA(FAXUI_MODULE_PATH);
    ASSERT_NE(faxui, nullptr);
    struct Case {
        int templateId;
        int32_t size;
        std::u16string face;
    } cases[] = {{102, 8, u"MS Shell Dlg"}, {109, 8, u"MS Shell Dlg"}, {4242, 0, u"System"}};
    for (const auto& c : cases) {
        int32_t size = -1;
        WCHAR face[kPageFontFaceSize] = {};
        TemplateFont(faxui, c.templateId, &size, face);
        EXPECT_EQ(size, c.size) << c.templateId;
        EXPECT_EQ(U16(face), c.face) << c.templateId;
    }
    FreeLibrary(faxui);
}

TEST(MonitorDisplays, UnterminatedFieldsAreReadWithinTheirSize) {
    FaxRecipient r = DefaultRecipient;
    std::memset(r.name, 'N', sizeof r.name);
    std::memset(r.faxNumber, '7', sizeof r.faxNumber);
    char recipient[kDisplaySize], number[kDisplaySize];
    BuildRecipientDisplay(r, 1, recipient);
    BuildNumberDisplay(r, 1, number);
    EXPECT_EQ(std::string(recipient), std::string(31, 'N'));
    EXPECT_EQ(std::string(number), std::string(31, '7'));
}

int32_t Int(const void* base, size_t offset) {
    int32_t v;
    std::memcpy(&v, static_cast<const char*>(base) + offset, sizeof v);
    return v;
}
std::string TextAt(const void* base, size_t offset) { return static_cast<const char*>(base) + offset; }

TEST(MonitorRecord, FullRecordHeaderAndEntryBytes) {
    JobwatchData d;
    std::memset(&d, 0x77, sizeof d);
    InitJobwatchData(&d);
    EXPECT_EQ(Int(&d, 0), 600);
    EXPECT_EQ(Int(&d, 4), 1);
    EXPECT_EQ(Int(&d, 8), 3);
    EXPECT_EQ(Int(&d, 12), 11);
    EXPECT_EQ(static_cast<uint32_t>(Int(&d, 596)), MakeEntryRef(&d, 600));
    EXPECT_EQ(Int(&d, 600), 812);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&d);
    for (size_t i : {16u, 300u, 540u, 604u, 700u, 1300u, 1411u}) EXPECT_EQ(bytes[i], 0) << i;
}

TEST(MonitorRecord, CompactFormCarriesTheSharedFields) {
    struct Case {
        int32_t field8, field12, isFax, entryCount;
        int32_t kind, count, kindFlag;
    } cases[] = {
        {3, 11, 1, 1, 2, 1, 0},
        {3, 11, 0, 1, 2, 1, 0},
        {4, 9, 6, 1, 0, 1, 1},   // entry kind 6 is the only one flagged
        {3, 11, 5, 7, 2, 1, 0},  // the record holds one entry whatever it claims
        {3, 11, 1, 0, 2, 0, 0},
    };
    for (const auto& c : cases) {
        JobwatchData d;
        InitJobwatchData(&d);
        d.field8 = c.field8;
        d.field12 = c.field12;
        d.entryCount = c.entryCount;
        d.entry.isFax = c.isFax;
        d.entry.submitTime = 1136214245;
        std::memset(d.portName, 'P', sizeof d.portName);  // unterminated
        std::strcpy(d.printerName, "Kopiokone 3");
        std::strcpy(d.userName, "maija");
        std::strcpy(d.entry.portName, "IP_10.0.0.7");
        std::strcpy(d.entry.jobId, "JOB42");
        std::strcpy(d.entry.documentName, "Budjetti.xls");
        std::strcpy(d.entry.recipientDisplay, "Maija");
        std::strcpy(d.entry.numberDisplay, "123");
        std::strcpy(d.entry.trayName, "Sivualusta");

        unsigned char out[532 + 660 + 8];
        std::memset(out, 0x77, sizeof out);
        ASSERT_EQ(BuildJobwatchCompact(d, out, sizeof out), c.count);
        EXPECT_EQ(Int(out, 0), c.count);
        EXPECT_EQ(Int(out, 4), c.kind);
        EXPECT_EQ(Int(out, 8), c.field12);
        EXPECT_EQ(TextAt(out, 12), std::string(259, 'P'));
        EXPECT_EQ(TextAt(out, 272), "Kopiokone 3");
        EXPECT_EQ(static_cast<uint32_t>(Int(out, 528)), MakeEntryRef(out, 532));
        if (c.count == 0) {
            EXPECT_EQ(out[532], 0x77);  // nothing written past the header
            continue;
        }
        const unsigned char* e = out + 532;
        EXPECT_EQ(Int(e, 0), 660);
        EXPECT_EQ(Int(e, 4), c.kindFlag);
        EXPECT_EQ(Int(e, 8), 1136214245);
        EXPECT_EQ(TextAt(e, 12), "IP_10.0.0.7");
        EXPECT_EQ(TextAt(e, 272), "JOB42");
        EXPECT_EQ(TextAt(e, 336), "Budjetti.xls");
        EXPECT_EQ(TextAt(e, 596), "Maija");
        EXPECT_EQ(TextAt(e, 628), "123");
        EXPECT_EQ(e[659], 0);
        EXPECT_EQ(out[532 + 660], 0x77);
    }
}

TEST(MonitorRecord, CompactFormRefusesASmallBuffer) {
    JobwatchData d;
    InitJobwatchData(&d);
    unsigned char out[600];
    EXPECT_EQ(BuildJobwatchCompact(d, out, sizeof out), -1);
    EXPECT_EQ(JobwatchCompactSize(1), 1192u);
}

}  // namespace
