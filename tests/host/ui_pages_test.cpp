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
        SendMessageW(page, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetDlgItem(page, 204)), 0);
    });
    s.page(1).call([](HWND sheet) {
        HWND page = CurrentPage(sheet);
        SendMessageW(page, WM_PAINT, 0, 0);
        SendMessageW(page, WM_KEYDOWN, VK_F1, 0);
    });
    s.sheetCancel();
    EXPECT_EQ(Show(s), 0);
    const auto& help = automation::Seen().help;
    ASSERT_EQ(help.size(), 7u);
    const UINT commands[] = {HELP_CONTEXT, HELP_CONTEXT, HELP_CONTEXT, HELP_CONTEXT, HELP_WM_HELP, HELP_CONTEXTMENU,
                             HELP_CONTEXT};
    const ULONG_PTR contexts[] = {212, 214, 111, 111, 0, 0, 10000};
    for (size_t i = 0; i < help.size(); ++i) {
        EXPECT_EQ(help[i].command, commands[i]) << i;
        if (commands[i] == HELP_CONTEXT) {
            EXPECT_EQ(help[i].data, contexts[i]) << i;
        }
        EXPECT_NE(help[i].file.find(u"FAXHELP"), std::u16string::npos) << i;
    }
}

// The hint window serves the page in front: enabled and owned while the
// option page is active, disabled while another is. A cancel is never refused.
TEST_F(UiPagesTest, HintWindowFollowsThePageInFront) {
    std::vector<bool> enabled;
    HWND owner = nullptr, page = nullptr;
    LONG_PTR cancelAnswer = -1;
    auto seeHint = [&](HWND) { enabled.push_back(IsWindowEnabled(host_->calls().hint) != FALSE); };
    automation::Script s;
    s.dialog(kOptionPage).call([&](HWND sheet) {
        page = CurrentPage(sheet);
        owner = static_cast<HWND>(GetPropW(host_->calls().hint, WIDE("HintOwner")));
        SetWindowLongPtrW(page, DWLP_MSGRESULT, 7);
        NMHDR query{sheet, 0, static_cast<UINT>(PSN_QUERYCANCEL)};
        SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&query));
        cancelAnswer = GetWindowLongPtrW(page, DWLP_MSGRESULT);
    });
    s.page(1).call(seeHint).page(0).call(seeHint).sheetCancel();
    Show(s);
    EXPECT_EQ(owner, page);
    EXPECT_EQ(cancelAnswer, 0);
    EXPECT_EQ(enabled, (std::vector<bool>{false, true}));
}

// The page sets the host receives, against the pages written out here.
const PageSet* g_pageSet = nullptr;
int32_t FAXAPI KeepPageSet(void*, const void* set, int32_t, void*, void*, void*, int32_t, int32_t, int32_t) {
    g_pageSet = static_cast<const PageSet*>(set);
    return 1;
}

TEST_F(UiPagesTest, PageSetsAsTheHostReceivesThem) {
    // Per page: template, kind, help id, 0, -1, control count; each control's
    // type, id, hint string and help id; the help map up to its 0.
    const std::vector<int32_t> option = {
        102, 3, 111, 0, -1, 12,
        3, 201, 2002, 212, 4, 202, 2003, 212, 4, 203, 2004, 212, 4, 204, 2005, 212, 4, 205, 2006, 212,
        3, 206, 2010, 213, 4, 207, 2011, 213, 4, 208, 2012, 213, 4, 209, 2013, 213, 7, 210, 2014, 214,
        24, 1010, 2015, 0, 24, 211, 1008, 0,
        102, 111, 201, 212, 202, 212, 203, 212, 204, 212, 205, 212, 206, 213, 207, 213, 208, 213, 209, 213,
        210, 214, 1010, 215, 0};
    std::vector<int32_t> about = {109, 3, 10000, 0, -1, 4,
        0, 901, 0, 15000, 0, 902, 0, 15000, 0, 903, 0, 15000, 0, 904, 0, 15000,
        109, 10000, 901, 15000, 902, 15000, 903, 15000, 904, 15000, 0};
    std::vector<int32_t> both = about;
    both[1] = 1;
    both.insert(both.begin(), about.begin(), about.end());
    std::vector<int32_t> all = option;
    all.insert(all.end(), both.begin(), both.end());
    auto flat = [](const PageSet& set) {
        std::vector<int32_t> v;
        for (const PageEntry* e = set.entries; e < set.entries + set.count; ++e) {
            v.insert(v.end(), {e->templateId, e->kind, e->helpId, e->zero, e->minusOne, e->controlCount});
            for (const PageControlDesc* c = e->controls; c < e->controls + e->controlCount; ++c)
                v.insert(v.end(), {c->type, c->id, c->hintStringId, c->helpId});
            for (const int32_t* m = e->helpMap; *m; m += 2) v.insert(v.end(), {m[0], m[1]});
            v.push_back(0);
        }
        return v;
    };
    HostServices services{};
    services.registerPages = KeepPageSet;
    HostContext driver(1);
    driver.get()->services = &services;
    driver.block(0) = host_->block();
    auto hook = reinterpret_cast<AddOnPageHook>(module_.table()->hooks[kHookPage]);
    for (int32_t installed : {1, 0}) {
        image_.sub().faxInstalled = installed;
        HostSheetContext sheet{};
        sheet.imageSize = static_cast<int32_t>(image_.size());
        HostPageContext context{};
        context.sheet = &sheet;
        g_pageSet = nullptr;
        EXPECT_EQ(hook(driver.get(), &context, image_.data()), 1);
        ASSERT_NE(g_pageSet, nullptr);
        EXPECT_EQ(flat(*g_pageSet), installed ? all : both) << installed;
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
