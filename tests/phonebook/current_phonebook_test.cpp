// Which phonebook is current at a dialog start, played by the scripted user.
#include <cstring>
#include <string>

#include "automation.h"
#include "scripted_user.h"
#include "current_phonebook.h"
#include "store.h"
#include "store_fixture.h"
#include "store_state.h"

namespace {

class CurrentPhonebookTest : public StoreDir {
protected:
    void SetUp() override {
        StoreDir::SetUp();
        setenv("FAX_WINDIR", dir.c_str(), 1);
        setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
        StartScriptedUser();
    }
    void TearDown() override {
        EndScriptedUser();
        StoreDir::TearDown();
    }
    std::string Current() const { return WideToAnsi(StoreState.currentPath); }
    // Starts the import through a stand-in program next to this executable
    // that reports its argument; returns what it received. The hand-off path
    // started with is left in StoreState.handoffPath.
    std::string RunImportStandIn() {
        std::string exeDir = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
        std::string program = exeDir + "/rcpimport.EXE";
        {
            std::ofstream f(program);
            f << "#!/bin/sh\nprintf '%s' \"$1\" > \"$FAX_IMPORT_OUT.part\" && mv \"$FAX_IMPORT_OUT.part\" \"$FAX_IMPORT_OUT\"\n";
        }
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        setenv("FAX_IMPORT_OUT", Path("args").c_str(), 1);
        StartRecipientImport();
        for (int i = 0; i < 500 && !Exists("args"); ++i) usleep(10000);
        std::filesystem::remove(program);
        return Get("args");
    }
};

TEST_F(CurrentPhonebookTest, FirstStartCreatesTheDefaultAndRemembersIt) {
    EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    EXPECT_EQ(Get("DEFAULT.KFD"), kHead);
    EXPECT_EQ(Get("KFD.INI"), WinPath("DEFAULT.KFD") + "\n");
    EXPECT_EQ(Current(), WinPath("DEFAULT.KFD"));
    EXPECT_EQ(WideToAnsi(StoreState.tempPath), WinPath("DEFAULT.TMP"));
    EXPECT_EQ(WideToAnsi(StoreState.handoffRoot), WinPath("") );
    EXPECT_TRUE(automation::Seen().messageBoxes.empty());
    EXPECT_EQ(Listing(), "DEFAULT.KFD KFD.INI ");
}

TEST_F(CurrentPhonebookTest, PathWithBlanksIsFoundAgain) {
    std::filesystem::create_directories(Path("My Documents"));
    Put("My Documents/Oma muistio.KFD", kHead);
    DBOpenCurrentPhonebook(nullptr);
    ASSERT_EQ(DBSetCurrentPhonebook(Wide(WinPath("My Documents/Oma muistio.KFD")).c_str()), DB_DONE);
    std::memset(StoreState.currentPath, 0, sizeof StoreState.currentPath);
    EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    EXPECT_EQ(Current(), WinPath("My Documents/Oma muistio.KFD"));
}

TEST_F(CurrentPhonebookTest, SettingsThatNameNothingUsableFallBackSilently) {
    const struct {
        const char* what;
        std::string ini;
    } cases[] = {
        {"no line feed", WinPath("other.KFD")},
        {"missing file", WinPath("missing.KFD") + "\n"},
        {"wrong extension", WinPath("other.txt") + "\n"},
        {"damaged file", WinPath("bad.KFD") + "\n"},
        {"empty", ""},
    };
    Put("other.KFD", kHead);
    Put("other.txt", kHead);
    Put("bad.KFD", "not a phonebook");
    for (const auto& c : cases) {
        Put("KFD.INI", c.ini);
        automation::Reset();
        EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 1) << c.what;
        EXPECT_EQ(Current(), WinPath("DEFAULT.KFD")) << c.what;
        EXPECT_EQ(Get("KFD.INI"), WinPath("DEFAULT.KFD") + "\n") << c.what;
        EXPECT_TRUE(automation::Seen().messageBoxes.empty()) << c.what;
        EXPECT_EQ(Get("bad.KFD"), "not a phonebook") << c.what;
    }
}

TEST_F(CurrentPhonebookTest, OlderFileNamedBySettingsIsConvertedOnRequest) {
    Put("vanha.KFD", ReadGolden("v1000.KFD"));
    Put("KFD.INI", WinPath("vanha.KFD") + "\n");
    automation::Play(automation::Script()
                         .answer(IDYES, u"TIedostomuoto on luotu ajurin aikaisemmalla versiolla.")
                         .file(WinPath("uusi")));
    EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    EXPECT_EQ(Get("uusi.KFD"), ReadGolden("old_converted.KFD"));
    EXPECT_EQ(Get("vanha.KFD"), ReadGolden("v1000.KFD"));
    EXPECT_EQ(Get("KFD.INI"), WinPath("uusi.KFD") + "\n");
    const auto& boxes = automation::Seen().messageBoxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"Tiedoston muunnos");
    EXPECT_EQ(boxes[0].flags & (MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL),
              static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL));
    ASSERT_EQ(automation::Seen().fileDialogs.size(), 1u);
    EXPECT_EQ(automation::Seen().fileDialogs[0].title, u"Tallenna muunnos nimellä");
    EXPECT_TRUE(automation::Seen().fileDialogs[0].save);
}

TEST_F(CurrentPhonebookTest, ExistingTargetIsReplacedOnlyAfterYes) {
    Put("vanha.KFD", ReadGolden("v0000.KFD"));
    Put("valmis.KFD", "keep me");
    Put("KFD.INI", WinPath("vanha.KFD") + "\n");
    automation::Play(automation::Script()
                         .answer(IDYES)
                         .file(WinPath("valmis.KFD"))
                         .answer(IDNO, u"Tiedosto on jo olemassa. Haluatko korvata sen?")
                         .file(WinPath("toinen.KFD")));
    EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    EXPECT_EQ(Get("valmis.KFD"), "keep me");
    EXPECT_EQ(Get("toinen.KFD"), ReadGolden("old_converted.KFD"));
    EXPECT_EQ(Current(), WinPath("toinen.KFD"));
}

TEST_F(CurrentPhonebookTest, DecliningConversion) {
    // Of the file in the settings: the default phonebook takes over.
    Put("vanha.KFD", ReadGolden("v0000.KFD"));
    Put("KFD.INI", WinPath("vanha.KFD") + "\n");
    automation::Play(automation::Script().answer(IDNO));
    EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    EXPECT_EQ(Current(), WinPath("DEFAULT.KFD"));
    EXPECT_EQ(Get("DEFAULT.KFD"), kHead);

    // Of an old default phonebook named by the settings: no phonebook, asked once.
    Put("DEFAULT.KFD", ReadGolden("v0000.KFD"));
    Put("KFD.INI", WinPath("DEFAULT.KFD") + "\n");
    automation::Reset();
    automation::Play(automation::Script().answer(IDNO));
    EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 0);
    EXPECT_EQ(automation::Seen().messageBoxes.size(), 1u);
    EXPECT_EQ(Get("DEFAULT.KFD"), ReadGolden("v0000.KFD"));
}

TEST_F(CurrentPhonebookTest, DamagedDefaultIsKeptAsideBeforeANewOne) {
    Put("DEFAULT.KFD", "my old notes");
    EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    EXPECT_EQ(Get("DEFAULT.KFD"), kHead);
    EXPECT_EQ(Get("DEFAULT.BAK"), "my old notes");
    Put("DEFAULT.KFD", "second");
    EXPECT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    EXPECT_EQ(Get("DEFAULT.BAK"), "my old notes");
    EXPECT_EQ(Get("DEFAULT.B01"), "second");
}

}  // namespace

namespace {

// root, "DB", six digits of the time, ".TMP"; no blank anywhere.
void ExpectHandoffPathIn(const std::string& root, const std::string& handoff) {
    ASSERT_EQ(handoff.size(), root.size() + 12) << handoff;
    EXPECT_EQ(handoff.compare(0, root.size() + 2, root + "DB"), 0) << handoff;
    EXPECT_EQ(handoff.substr(handoff.size() - 4), ".TMP");
    for (size_t i = root.size() + 2; i < root.size() + 8; ++i) EXPECT_TRUE(isdigit(handoff[i])) << handoff;
    EXPECT_EQ(handoff.find(' '), std::string::npos);
}

TEST_F(CurrentPhonebookTest, ImportStartsWithAFreshHandoffPath) {
    ASSERT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    std::string args = RunImportStandIn();
    EXPECT_EQ(args, StoreState.handoffPath);
    ExpectHandoffPathIn(WinPath(""), args);
}

// The import program would cut its argument at the blank: the hand-off
// goes to the folder above it.
TEST_F(CurrentPhonebookTest, WindowsDirectoryWithABlankGivesAPathWithout) {
    std::filesystem::create_directories(Path("Windows dir"));
    setenv("FAX_WINDIR", Path("Windows dir").c_str(), 1);
    ASSERT_EQ(DBOpenCurrentPhonebook(nullptr), 1);
    std::string args = RunImportStandIn();
    EXPECT_EQ(args, StoreState.handoffPath);
    ExpectHandoffPathIn(WinPath(""), args);
}

}  // namespace
