#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "addon.h"
#include "fax_settings.h"

// The default images byte for byte as the record tables give them: zero
// but for the bytes listed (numbers little-endian, characters as stored).
TEST(DefaultImages, EveryByteAsTheRecordTablesGiveIt) {
    struct Case {
        const char* what;
        const void* image;
        size_t size;
        std::vector<std::pair<size_t, uint8_t>> set;
    } cases[] = {
        {"FaxDS: FINE, ONERROR, header ON, no client id or held-print texts", &DefaultFaxDS, 172,
         {{4, 1}, {8, 1}, {12, 1}}},
        {"FaxSS: no delayed send, no recipients", &DefaultFaxSS, 11816, {}},
        {"recipient: G3, option '0', relay print '0'", &DefaultRecipient, 236, {{68, '0'}, {83, '0'}}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> expected(c.size, 0);
        for (const auto& b : c.set) expected[b.first] = b.second;
        const auto* bytes = static_cast<const uint8_t*>(c.image);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + c.size), expected) << c.what;
    }
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
