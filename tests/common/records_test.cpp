#include <gtest/gtest.h>

#include <cstring>

#include "addon.h"
#include "fax_settings.h"

TEST(DefaultImages, FreshSettingsAreFineOnErrorHeaderOnNoRecipients) {
    EXPECT_EQ(DefaultFaxDS.jobMode, 0);
    EXPECT_EQ(DefaultFaxDS.resolution, 1);
    EXPECT_EQ(DefaultFaxDS.txReport, 1);
    EXPECT_EQ(DefaultFaxDS.txHeader, 1);
    EXPECT_EQ(DefaultFaxDS.clientId[0], 0);
    EXPECT_EQ(DefaultFaxSS.recipientCount, 0);
    EXPECT_EQ(DefaultFaxSS.delaySend, 0);
}

TEST(DefaultImages, DefaultRecipientIsZeroButModeOptionAndPrintFlag) {
    FaxRecipient expected;
    std::memset(&expected, 0, sizeof expected);
    expected.comm.commOption = '0';
    expected.comm.relayPrint = '0';
    EXPECT_EQ(std::memcmp(&expected, &DefaultRecipient, sizeof expected), 0);
}

// Each host holds exactly the blocks it counts, so a walk past the count
// reads outside the context (the sanitizer build catches it).
TEST(ControlBlockLookup, WalksAsManyBlocksAsTheHostCounts) {
    AddOnTable other{};
    other.moduleId = 77;
    AddOnTable fax{};
    fax.moduleId = kFaxModuleId;
    struct Case {
        const char* what;
        int blocks;
        int faxAt;  // -1: none
        int found;  // -1: null
    } cases[] = {
        {"first of one", 1, 0, 0},
        {"third of three", 3, 2, 2},
        {"eleventh of twelve", 12, 10, 10},
        {"last of forty", 40, 39, 39},
        {"none among five", 5, -1, -1},
        {"no blocks", 0, -1, -1},
    };
    for (const auto& c : cases) {
        HostContext host(c.blocks);
        for (int i = 0; i < c.blocks; ++i) host.block(i).table = i == c.faxAt ? &fax : (i % 2 ? nullptr : &other);
        const AddonMCB* want = c.found < 0 ? nullptr : &host.block(c.found);
        EXPECT_EQ(FindFaxAddonMCB(host.get()), want) << c.what;
    }
    HostContext host(3);
    host.block(2).table = &fax;
    host.get()->addonCount = 2;  // a block past the count is not the host's
    EXPECT_EQ(FindFaxAddonMCB(host.get()), nullptr);
    host.get()->addonCount = -5;
    EXPECT_EQ(FindFaxAddonMCB(host.get()), nullptr);
    EXPECT_EQ(FindFaxAddonMCB(nullptr), nullptr);
}
