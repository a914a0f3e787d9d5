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

TEST(ControlBlockLookup, FindsFaxModuleAmongOthersAndClampsTheCount) {
    static HostDriverContext host{};
    AddOnTable other{};
    other.moduleId = 77;
    AddOnTable fax{};
    fax.moduleId = kFaxModuleId;
    host.addons[0].table = &other;
    host.addons[1].table = nullptr;
    host.addons[2].table = &fax;

    host.addonCount = 2;
    EXPECT_EQ(FindFaxAddonMCB(&host), nullptr);
    host.addonCount = 3;
    EXPECT_EQ(FindFaxAddonMCB(&host), &host.addons[2]);
    host.addonCount = 1 << 30;  // a count past the host's array is clamped
    EXPECT_EQ(FindFaxAddonMCB(&host), &host.addons[2]);
    host.addonCount = -5;
    EXPECT_EQ(FindFaxAddonMCB(&host), nullptr);
    EXPECT_EQ(FindFaxAddonMCB(nullptr), nullptr);
}
