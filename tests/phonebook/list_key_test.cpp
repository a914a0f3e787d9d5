// The store's key of a list text: converted to ANSI, split, cut to the
// fields; a text of the wrong shape finds nothing.
#include "store.h"
#include "store_fixture.h"

namespace {

TEST(ListTextToKey, ConvertsSplitsAndCutsToTheFields) {
    struct Case {
        const char* what;
        std::string text;  // Latin-1, one character per byte
        bool ok;
        std::string name;
        std::string fax;
    } cases[] = {
        {"accented name", "M\xE4kinen <09123>", true, "M\xE4kinen", "09123"},
        {"name longer than its field", std::string(40, 'a') + " <12>", true, std::string(30, 'a'), "12"},
        {"number longer than its field", "A <" + std::string(40, '7') + ">", true, "A", std::string(30, '7')},
        {"no brackets", "A B", false, "", ""},
        {"no blank", "Nimi", false, "", ""},
    };
    for (const auto& c : cases) {
        char name[kfd::kNameMax + 1] = "x";
        char fax[kfd::kFaxMax + 1] = "x";
        EXPECT_EQ(ListTextToKey(Wide(c.text).c_str(), name, fax), c.ok) << c.what;
        EXPECT_EQ(std::string(name), c.name) << c.what;
        EXPECT_EQ(std::string(fax), c.fax) << c.what;
    }
    char group[kfd::kNameMax + 1];
    EXPECT_TRUE(GroupTextToKey(Wide("[Myynti]").c_str(), group));
    EXPECT_STREQ(group, "Myynti");
    EXPECT_FALSE(GroupTextToKey(Wide("Auki").c_str(), group));
    EXPECT_STREQ(group, "");
}

class MalformedListText : public StoreDir {};

// An entry with an empty fax number must not be taken for the text "Nimi".
TEST_F(MalformedListText, FindsNothing) {
    std::string book = kHead + Entry("Nimi", "") + Group("Auki", {});
    Put("a.KFD", book);
    EXPECT_EQ(PhonebookDeleteItem(WPath("a.KFD").c_str(), Wide("Nimi").c_str(), kItemIndividual), DB_NOT_FOUND);
    EXPECT_EQ(PhonebookDeleteItem(WPath("a.KFD").c_str(), Wide("Auki").c_str(), kItemGroup), DB_NOT_FOUND);
    EXPECT_EQ(Get("a.KFD"), book);
}

}  // namespace
