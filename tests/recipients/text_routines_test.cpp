#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shared_state.h"
#include "text_routines.h"
#include "wide_text.h"

namespace {

using Text = std::basic_string<WCHAR>;

TEST(TrimBlanks, OnlyBlanksAtEitherEnd) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"  Anna  ", "Anna"}, {"Anna Maija", "Anna Maija"}, {"   ", ""}, {"", ""}, {"\tx ", "\tx"}, {" a b ", "a b"},
    };
    for (const auto& c : cases) {
        WCHAR buf[32] = {0};
        Text in = Wide(c.in);
        std::copy(in.begin(), in.end(), buf);
        TrimBlanks(buf);
        EXPECT_EQ(Text(buf), Wide(c.out)) << c.in;
    }
}

TEST(PadWithZeros, ShiftsRightAndFills) {
    struct Case {
        const char* in;
        int wanted;
        const char* out;
    } cases[] = {{"7", 3, "007"}, {"123", 3, "123"}, {"1234", 3, "1234"}, {"", 2, "00"}, {"42", 3, "042"}};
    for (const auto& c : cases) {
        WCHAR buf[8] = {0};
        Text in = Wide(c.in);
        std::copy(in.begin(), in.end(), buf);
        PadWithZeros(buf, static_cast<int>(in.size()), c.wanted);
        EXPECT_EQ(Text(buf), Wide(c.out)) << c.in;
    }
}

TEST(DigitValue, DecimalUpToTheFirstNonDigit) {
    EXPECT_EQ(DigitValue(""), 0);
    EXPECT_EQ(DigitValue("0"), 0);
    EXPECT_EQ(DigitValue("200"), 200);
    EXPECT_EQ(DigitValue("12a3"), 12);
    EXPECT_EQ(DigitValue("99999999999999"), 999999999);  // stops before overflowing
}

// The rule itself is tabled with the parser; here the wide texts, the
// capacities and what a refused text leaves.
TEST(SplitListText, WideTextsCutToTheirCapacities) {
    WCHAR name[4] = {'x', 0};
    WCHAR fax[4] = {'x', 0};
    EXPECT_TRUE(SplitListText(Wide("Pitka nimi <123456>").c_str(), name, 4, fax, 4));
    EXPECT_EQ(Text(name), Wide("Pit"));
    EXPECT_EQ(Text(fax), Wide("123"));
    EXPECT_FALSE(SplitListText(Wide("A B").c_str(), name, 4, fax, 4));
    EXPECT_EQ(Text(name), Wide(""));
    EXPECT_EQ(Text(fax), Wide(""));

    WCHAR group[31];
    EXPECT_TRUE(SplitListText(Wide("[M\xE4ki]").c_str(), group, 31));
    EXPECT_EQ(Text(group), Wide("M\xE4ki"));
    EXPECT_FALSE(SplitListText(Wide("Auki").c_str(), group, 31));
    EXPECT_EQ(Text(group), Wide(""));
}

TEST(RemoveRecipientSlot, LaterSlotsMoveForward) {
    RecipientBlock block{};
    static EntryDetails details[kMaxRecipients + 1];
    details[kMaxRecipients].workFlag = 99;  // past the last slot: never read
    block.recipientCount = 3;
    for (int i = 0; i < 3; ++i) {
        block.recipients[i].name[0] = static_cast<char>('A' + i);
        details[i].workFlag = 10 + i;
    }
    // Deleting items 2 and 0 (last first) leaves the former item 1 alone at 0.
    RemoveRecipientSlot(block, details, 2);
    RemoveRecipientSlot(block, details, 0);
    EXPECT_EQ(block.recipientCount, 1);
    EXPECT_EQ(block.recipients[0].name[0], 'B');
    EXPECT_EQ(details[0].workFlag, 11);
    EXPECT_EQ(details[kMaxRecipients - 1].workFlag, 0);
    // Indexes outside the valid slots change nothing.
    for (int bad : {-1, 1, 50, 1000}) {
        RemoveRecipientSlot(block, details, bad);
        EXPECT_EQ(block.recipientCount, 1) << bad;
    }
    block.recipientCount = 9999;  // a damaged count is clamped first
    RemoveRecipientSlot(block, nullptr, 49);
    EXPECT_EQ(block.recipientCount, 49);
}

}  // namespace
