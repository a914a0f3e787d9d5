// The document-event hook against a printer device that answers the host's
// escapes from a settings image.
#include <cstring>
#include <memory>

#include "core_fixture.h"
#include "doc_events.h"
#include "print_names.h"
#include "print_device.h"
#include "test_printer.h"
#include "settings_image.h"
#include "fax_addon_table.h"

namespace {

int g_flowAnswer = 1;
int g_flowCalls = 0;
int FakeFaxFlow(HWND, const HostSubBlock&, FaxSS& ss) {
    ++g_flowCalls;
    if (g_flowAnswer != 1) return 0;
    ss.recipientCount = 2;
    std::strcpy(ss.recipients[0].name, "");
    std::strcpy(ss.recipients[0].faxNumber, "0-800-FLOWERS");
    std::strcpy(ss.recipients[1].faxNumber, "123");
    return 1;
}

class DocEventsTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        table_ = FaxAddOnTable();
        printer_ = headless::CreatePrinterHandle(u"Kopiokone 3", u"IP_10.0.0.7", u"Tulostinajuri");
        NewJob();
    }
    // A fresh host, image and device context.
    void NewJob(ImageLayout layout = ImageLayout::Standard) {
        g_flowAnswer = 1;
        g_flowCalls = 0;
        if (dc_) headless::DeletePrinterDC(dc_);
        host_ = std::make_unique<HostContext>(1);
        image_ = std::make_unique<SettingsImage>(layout);
        image_->ReserveModuleBlocks(table_, &host_->block(0));
        device_ = std::make_unique<TestPrinter>();
        device_->Serve(image_->data(), image_->size());
        dc_ = headless::CreatePrinterDC(device_.get());
    }
    void TearDown() override {
        headless::DeletePrinterDC(dc_);
        headless::ClosePrinterHandle(printer_);
        CoreTest::TearDown();
    }

    HostJobSettings& settings() { return image_->settings(); }
    HostSubBlock& sub() { return image_->sub(); }
    FaxDS& ds() { return *image_->At<FaxDS>(host_->block(0).block1Offset); }
    FaxSS& ss() { return *image_->At<FaxSS>(host_->block(0).block3Offset); }

    int32_t Event(int32_t code) {
        DOCINFOW info{};
        info.cbSize = sizeof info;
        info.lpszDocName = WIDE("Budjetti 2006.xls");
        const DOCINFOW* ref = &info;
        return HandleDocumentEvent(host_->get(), printer_, dc_, code, &ref, FakeFaxFlow);
    }
    // Start of document, then start of page, as the host sends them.
    int32_t PrintPage() {
        EXPECT_EQ(Event(kDocEventStartDoc), 1);
        return Event(kDocEventStartPage);
    }

    AddOnTable table_;
    std::unique_ptr<HostContext> host_;
    std::unique_ptr<SettingsImage> image_;
    std::unique_ptr<TestPrinter> device_;
    HDC dc_ = nullptr;
    HANDLE printer_ = nullptr;
};

TEST_F(DocEventsTest, PagesTheHostDoesNotMarkAndOtherEventsAreLeftAlone) {
    struct Case {
        const char* what;
        int32_t event;
        int due, suppress, count;
        std::vector<int> escapes;
    } cases[] = {
        {"other event", 7, 1, 0, 1, {}},
        {"page not due", kDocEventStartPage, 0, 0, 1, {kEscapeAddonDue}},
        {"add-on suppressed", kDocEventStartPage, 1, 1, 1, {kEscapeAddonDue, kEscapeImageSize, kEscapeReadImage}},
        {"add-on suppressed at the start of the document", kDocEventStartDoc, 1, 1, 1, {kEscapeImageSize, kEscapeReadImage}},
        {"no fax control block", kDocEventStartPage, 1, 0, 0, {}},
    };
    for (const auto& c : cases) {
        device_->escapes.clear();
        device_->due = c.due;
        image_->sub2().suppressAddon = c.suppress;
        host_->get()->addonCount = c.count;
        settings().jobType = kJobTypeFax;
        settings().jobMonitor = 1;
        std::memset(&CapturedNames(), 0, sizeof(PrintNames));
        EXPECT_EQ(Event(c.event), 1) << c.what;
        EXPECT_EQ(CapturedNames().printer[0], '\0') << c.what;
        EXPECT_EQ(device_->escapes, c.escapes) << c.what;
        EXPECT_EQ(g_flowCalls, 0) << c.what;
        EXPECT_EQ(sub().accountUser[0], '\0') << c.what;
    }
}

TEST_F(DocEventsTest, AccountIdentityFilledOnceAndStored) {
    EXPECT_EQ(PrintPage(), 1);
    EXPECT_STREQ(sub().accountUser, ExpectedAccount().c_str());
    EXPECT_EQ(device_->stores.size(), 1u);

    std::strcpy(sub().accountUser, "OMISTAJA");
    EXPECT_EQ(PrintPage(), 1);
    EXPECT_STREQ(sub().accountUser, "OMISTAJA");
    EXPECT_EQ(device_->stores.size(), 1u);  // nothing new to hand back
}

// A fax job goes on only with its recipients in the image handed back;
// otherwise it is stopped before the host renders what the image held.
TEST_F(DocEventsTest, FaxJobsGoOnOnlyWithAnImageTheHookCanUse) {
    struct Bad {
        TestPrinter& d;
        SettingsImage& i;
        HostJobSettings& s;
        AddonMCB& m;
    };
    enum Outcome { kGoesOn, kStopped, kStoppedAfterDialogs, kNoImage };
    struct Case {
        const char* what;
        void (*damage)(Bad&);
        Outcome outcome;
        ImageLayout layout = ImageLayout::Standard;
    } cases[] = {
        {"size below the fixed part", [](Bad& b) { b.d.reportedSize = 100; }, kNoImage},
        {"size beyond any image", [](Bad& b) { b.d.reportedSize = 1 << 30; }, kNoImage},
        {"sub-block past the end", [](Bad& b) { b.s.subBlockOffset = 1 << 20; }, kStopped},
        {"sub-block offset negative", [](Bad& b) { b.s.subBlockOffset = -8; }, kStopped},
        {"fax block past the end", [](Bad& b) { b.m.block3Offset = static_cast<int32_t>(b.i.size()); }, kStopped},
        {"settings block over the end",
         [](Bad& b) { b.m.block1Offset = static_cast<int32_t>(b.i.size()) - 100; }, kStopped},
        {"recipients over the settings block", [](Bad& b) { b.m.block3Offset = b.m.block1Offset; }, kStopped},
        {"settings block over the account identity", [](Bad& b) { b.m.block1Offset = b.s.subBlockOffset + 787; },
         kStopped},
        // accountUser is bytes 756-787 of the sub-block, jobType 1800-1803 of the image.
        {"account identity over the job type", [](Bad& b) { b.s.subBlockOffset = 1800 - 787; }, kStopped},
        {"account identity just before the job type", [](Bad& b) { b.s.subBlockOffset = 1800 - 788; }, kGoesOn},
        // suppressAddon is bytes 164-167 of the second sub-block; FaxDS moves to the image's last 172 bytes.
        {"recipients over the suppress flag",
         [](Bad& b) { b.m.block1Offset = (b.m.block3Offset = b.s.subBlock2Offset + 167) + 11817; }, kStopped},
        {"recipients right after the suppress flag",
         [](Bad& b) { b.m.block1Offset = (b.m.block3Offset = b.s.subBlock2Offset + 168) + 11816; }, kGoesOn},
        {"host refuses the image back", [](Bad& b) { b.d.storeAnswer = -1; }, kStoppedAfterDialogs},
        {"host cannot take the image", [](Bad& b) { b.d.storeAnswer = 0; }, kStoppedAfterDialogs},
        {"second sub-block off its alignment", [](Bad& b) { ++b.s.subBlock2Offset; }, kGoesOn},
        {"sub-block over bytes of the fixed part no field uses", [](Bad& b) { b.s.subBlockOffset = 0; }, kGoesOn},
        {"blocks back to back at odd offsets", [](Bad&) {}, kGoesOn, ImageLayout::Packed},
        {"blocks far apart", [](Bad&) {}, kGoesOn, ImageLayout::Spread},
    };
    for (const auto& c : cases) {
        NewJob(c.layout);
        settings().jobType = kJobTypeFax;
        Bad bad{*device_, *image_, settings(), host_->block(0)};
        c.damage(bad);
        const bool stopped = c.outcome == kStopped || c.outcome == kStoppedAfterDialogs;
        if (stopped) automation::Play(automation::Script().answer(IDOK, u"Faksity\u00f6 on peruutettu!"));
        const size_t boxes = automation::Seen().messageBoxes.size();

        EXPECT_EQ(PrintPage(), stopped ? kDocEventCancelled : 1) << c.what;
        EXPECT_EQ(device_->aborts, stopped ? 1 : 0) << c.what;
        EXPECT_EQ(automation::Seen().messageBoxes.size() - boxes, stopped ? 1u : 0u) << c.what;
        EXPECT_EQ(g_flowCalls, c.outcome == kGoesOn || c.outcome == kStoppedAfterDialogs ? 1 : 0) << c.what;
        // The identity, then the recipients.
        EXPECT_EQ(device_->stores.size(), c.outcome == kGoesOn ? 2u : 0u) << c.what;
        if (c.outcome != kGoesOn) continue;
        const FaxSS sent = image_->Get<FaxSS>(bad.m.block3Offset);
        EXPECT_STREQ(sent.recipients[1].faxNumber, "123") << c.what;
        EXPECT_STREQ(image_->Get<HostSubBlock>(bad.s.subBlockOffset).accountUser, ExpectedAccount().c_str())
            << c.what;
        EXPECT_EQ(image_->Get<HostJobSettings>(0).jobType, kJobTypeFax) << c.what;
    }
}

TEST_F(DocEventsTest, FaxJobAcceptedOrCancelled) {
    settings().jobType = kJobTypeFax;
    EXPECT_EQ(PrintPage(), 1);
    EXPECT_EQ(g_flowCalls, 1);
    EXPECT_EQ(ss().recipientCount, 2);
    EXPECT_STREQ(ss().recipients[0].faxNumber, "0-800-FLOWERS");
    EXPECT_EQ(device_->aborts, 0);
    EXPECT_TRUE(automation::Seen().messageBoxes.empty());

    g_flowAnswer = 0;
    ss().recipientCount = 0;
    automation::Play(automation::Script().answer(IDOK, u"Faksity\u00f6 on peruutettu!"));
    EXPECT_EQ(PrintPage(), kDocEventCancelled);
    EXPECT_EQ(device_->aborts, 1);
    ASSERT_EQ(automation::Seen().messageBoxes.size(), 1u);
    const auto& box = automation::Seen().messageBoxes[0];
    EXPECT_EQ(box.caption, u"Peruuta faksity\u00f6");
    EXPECT_EQ(box.flags & (MB_SYSTEMMODAL | MB_ICONMASK), UINT(MB_SYSTEMMODAL | MB_ICONWARNING));
    EXPECT_EQ(automation::Seen().beeps, std::vector<UINT>{MB_OK});
    EXPECT_EQ(device_->stores.size(), 2u);  // the identity, then the accepted job; not the cancelled one
}

TEST_F(DocEventsTest, PrintJobsReportedToTheMonitorWithTray) {
    InstallMonitor(QJWAPI_PATH);
    struct Case {
        int32_t tray, outputOption;
        const char* entry;
    } cases[] = {
        {1, 0, "output 0 tray \"Sivualusta\""},
        {2, 3, "output 1 tray \"Viimeistelylaite - Yl\xE4\""},
        {7, 0, "output 0 tray \"\""},
    };
    for (const auto& c : cases) {
        std::remove(Path("jobwatch.log").c_str());
        settings().jobMonitor = 1;
        settings().outputTray = c.tray;
        settings().outputOption = c.outputOption;
        EXPECT_EQ(PrintPage(), 1);
        EXPECT_STREQ(ds().clientId, "CLIENT7.JOB42");
        std::string entry = LogLineStarting("entry:");
        EXPECT_NE(entry.find("fax 0 "), std::string::npos) << entry;
        EXPECT_NE(entry.find(c.entry), std::string::npos) << entry;
        EXPECT_NE(entry.find("port \"IP_10.0.0.7\" job \"JOB42\" doc \"Budjetti 2006.xls\""), std::string::npos)
            << entry;
        EXPECT_NE(LogLineStarting("record:").find("printer \"Kopiokone 3\" user \"" + LoggedOnUser() + "\""), std::string::npos);
        EXPECT_EQ(MonitorCalls(), (std::vector<std::string>{"QjwInitializeJobwatch", "QjwCreateClientId",
                                                            "QjwCreateJobId", "QjwSetQjwDataEx",
                                                            "QjwExecJobwatch", "QjwUnInitializeJobwatch"}));
    }
}

TEST_F(DocEventsTest, FaxJobsReportedWithDisplaysOnlyWhenSent) {
    InstallMonitor(QJWAPI_PATH);
    settings().jobMonitor = 1;
    settings().jobType = kJobTypeFax;
    EXPECT_EQ(PrintPage(), 1);
    std::string entry = LogLineStarting("entry:");
    EXPECT_NE(entry.find("fax 1 "), std::string::npos) << entry;
    EXPECT_NE(entry.find("recipient \"1. tuntematon nimi and 1 others\" number \"0-800-3569377 ...\" "
                         "output 0 tray \"\""),
              std::string::npos)
        << entry;

    std::remove(Path("jobwatch.log").c_str());
    g_flowAnswer = 0;
    automation::Play(automation::Script().answer(IDOK));
    EXPECT_EQ(PrintPage(), kDocEventCancelled);
    EXPECT_EQ(MonitorCalls(), (std::vector<std::string>{"QjwInitializeJobwatch", "QjwCreateClientId",
                                                        "QjwCreateJobId", "QjwUnInitializeJobwatch"}));
}

// Every job the monitor is on for carries the client id of its own print,
// empty when no monitor answers, never an earlier job's.
TEST_F(DocEventsTest, MissingMonitorLeavesTheClientIdEmpty) {
    for (int32_t type : {kJobTypeFax, 0, kJobTypeSecure, kJobTypeProof}) {
        NewJob();
        settings().jobMonitor = 1;
        settings().jobType = type;
        std::strcpy(sub().accountUser, "OMISTAJA");
        std::strcpy(ds().clientId, "OLD.ID");
        EXPECT_EQ(PrintPage(), 1) << type;
        EXPECT_STREQ(ds().clientId, "") << type;
    }
}

}  // namespace
