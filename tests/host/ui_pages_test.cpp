// The fax pages inside the host's property sheet, played by the scripted
// user: help, the host's services, applying, and images that do not fit.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "automation.h"
#include "scratch_dir.h"
#include "scripted_user.h"
#include "ui_host.h"

namespace {

constexpr int kOptionPage = 102;

class UiPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(_WIN32)  // the headless system's own directories
        scratch_ = std::make_unique<ScratchDir>("fax-pages");
        setenv("FAX_WINDIR", scratch_->dir().c_str(), 1);
        setenv("FAX_UI_RUNTIME_DIR", scratch_->dir().c_str(), 1);
#endif
        StartScriptedUser();
        std::string error;
        ASSERT_TRUE(module_.Load(FAXUI_MODULE_PATH, kFaxModuleId, &error)) << error;
        host_ = std::make_unique<HostUi>(module_, image_);
        image_.settings().jobType = kJobTypeFax;
        image_.sub().faxInstalled = 1;
        ds().jobMode = kJobTypeFax;
    }
    void TearDown() override {
        host_.reset();
        EndScriptedUser();
    }
    FaxDS& ds() { return *image_.At<FaxDS>(host_->block().block1Offset); }
    INT_PTR Show(automation::Script s) {
        automation::Play(s);
        return host_->ShowPreferences();
    }

    std::unique_ptr<ScratchDir> scratch_;
    AddonModule module_;
    SettingsImage image_;
    std::unique_ptr<HostUi> host_;
};

// The script's callbacks get the sheet; the page is its current page.
HWND CurrentPage(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet); }

void PressF1On(HWND page, int control) {
    SetFocus(GetDlgItem(page, control));
    SendMessageW(page, WM_KEYDOWN, VK_F1, 0);
}

TEST_F(UiPagesTest, HelpComesFromTheMapOfThePageThatPaintedLast) {
    automation::Script s;
    s.dialog(kOptionPage).call([](HWND sheet) {
        HWND page = CurrentPage(sheet);
        SendMessageW(page, WM_PAINT, 0, 0);
        PressF1On(page, 204);
        PressF1On(page, 210);
        PressF1On(page, 211);  // no pair: the page's own help
        NMHDR help{GetParent(page), 0, PSN_HELP};
        SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&help));
        HELPINFO info{sizeof info, HELPINFO_WINDOW, 207, GetDlgItem(page, 207), 0, {0, 0}};
        SendMessageW(page, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    });
    s.page(1).call([](HWND sheet) {
        HWND page = CurrentPage(sheet);
        SendMessageW(page, WM_PAINT, 0, 0);
        SendMessageW(page, WM_KEYDOWN, VK_F1, 0);
    });
    s.sheetCancel();
    EXPECT_EQ(Show(s), 0);
    const auto& help = automation::Seen().help;
    ASSERT_EQ(help.size(), 6u);
    const UINT commands[] = {HELP_CONTEXT, HELP_CONTEXT, HELP_CONTEXT, HELP_CONTEXT, HELP_WM_HELP, HELP_CONTEXT};
    const ULONG_PTR contexts[] = {212, 214, 111, 111, 0, 10000};
    for (size_t i = 0; i < help.size(); ++i) {
        EXPECT_EQ(help[i].command, commands[i]) << i;
        if (commands[i] == HELP_CONTEXT) {
            EXPECT_EQ(help[i].data, contexts[i]) << i;
        }
        EXPECT_NE(help[i].file.find(u"FAXHELP"), std::u16string::npos) << i;
    }
}

TEST_F(UiPagesTest, ApplyCommitsToTheHostAndCopiesTheImageOut) {
    Show(automation::Script().dialog(kOptionPage).click(205).sheetApply().sheetOk());
    const HostUiCalls& calls = host_->calls();
    EXPECT_EQ(calls.hintWindows, 1);
    EXPECT_GE(calls.pageMessages, 1);
    EXPECT_GE(calls.commits, 1);
    EXPECT_EQ(calls.changeCallbacks, calls.commits);
    FaxDS applied;
    std::memcpy(&applied, host_->AppliedImage().data() + host_->block().block1Offset, sizeof applied);
    EXPECT_EQ(applied.resolution, 3);
    EXPECT_EQ(ds().resolution, 3);
}

// The render module has no page hook: no sheet, and the host says so.
TEST_F(UiPagesTest, ModuleWithoutPagesShowsNoSheet) {
    AddonModule render;
    std::string error;
    ASSERT_TRUE(render.Load(FAXRENDER_MODULE_PATH, kFaxModuleId, &error)) << error;
    SettingsImage image;
    EXPECT_EQ(HostUi(render, image).ShowPreferences(), -1);
    EXPECT_TRUE(automation::Seen().dialogsOpened.empty());
}

TEST_F(UiPagesTest, FaxBlockOutsideTheImageLeavesTheOptionsDisabled) {
    // The last two lie over the host's fixed part and its sub-block, each
    // dressed as a fax job's settings: the page must not write there.
    const int32_t sub = image_.settings().subBlockOffset;
    const int32_t faxMode = kJobTypeFax;
    std::memcpy(image_.data(), &faxMode, sizeof faxMode);
    std::memcpy(image_.data() + sub, &faxMode, sizeof faxMode);
    for (int32_t offset : {1 << 22, -4, static_cast<int32_t>(image_.size()) - 8, 2, 0, sub}) {
        host_->block().block1Offset = offset;
        bool disabled = false;
        Show(automation::Script().dialog(kOptionPage).call([&](HWND sheet) {
            HWND page = CurrentPage(sheet);
            disabled = !IsWindowEnabled(GetDlgItem(page, 203)) && IsWindowEnabled(GetDlgItem(page, 1010));
        }).sheetCancel());
        EXPECT_TRUE(disabled) << offset;
    }
}

// A host that keeps the image in a sheet block of its own: the page edits
// the image the block names and leaves the host's commit alone.
TEST_F(UiPagesTest, SheetBlockPropertyNamesTheImage) {
    constexpr size_t kBase = 192, kWord = 47;
    struct Case {
        int32_t offset;    // the block's 48th word
        bool optionsShown;  // false: the word points outside the block or off alignment
    } cases[] = {{64, true}, {1 << 20, false}, {66, false}};
    for (const auto& c : cases) {
        const size_t size = kBase + 66 + image_.size();
        HGLOBAL block = GlobalAlloc(GHND, size);
        auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
        std::memcpy(bytes + kWord * 4, &c.offset, sizeof c.offset);
        // The image lies where the word says (at 64 when that is outside).
        uint8_t* copy = bytes + kBase + (c.offset <= 66 ? c.offset : 64);
        std::memcpy(copy, image_.data(), image_.size());
        FaxDS* blockDs = reinterpret_cast<FaxDS*>(copy + host_->block().block1Offset);
        if (c.optionsShown) blockDs->resolution = 0;
        const std::vector<uint8_t> before(image_.data(), image_.data() + image_.size());
        host_->AttachSheetBlock(block);
        bool normalShown = false, enabled = false;
        automation::Script s;
        s.dialog(kOptionPage).call([&](HWND sheet) {
            HWND page = CurrentPage(sheet);
            normalShown = IsDlgButtonChecked(page, 202) == BST_CHECKED;
            enabled = IsWindowEnabled(GetDlgItem(page, 205));
        });
        if (c.optionsShown) s.click(205).sheetApply();
        Show(s.sheetOk());
        EXPECT_EQ(normalShown, c.optionsShown) << c.offset;
        EXPECT_EQ(enabled, c.optionsShown) << c.offset;
        if (c.optionsShown) {
            EXPECT_EQ(blockDs->resolution, 3);
        }
        EXPECT_EQ(std::vector<uint8_t>(image_.data(), image_.data() + image_.size()), before) << c.offset;
        EXPECT_EQ(host_->calls().commits, 0);
        EXPECT_EQ(host_->calls().changeCallbacks, 0);
        GlobalUnlock(block);
        GlobalFree(block);
        host_->AttachSheetBlock(nullptr);
    }
}

}  // namespace
