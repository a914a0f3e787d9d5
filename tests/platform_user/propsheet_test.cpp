#include "harness.h"

#include <string>

namespace {

std::vector<std::string> events;
LRESULT refuseKill = 0;              // the pages' answer to kill-active
LRESULT applyAnswer[3] = {0, 0, 0};  // by page number
int callbacks[3] = {0, 0, 0};        // page callbacks: create + 10 * release
int paints[3] = {0, 0, 0};           // WM_PAINT by page number

void Note(int page, const std::string& what) { events.push_back(std::to_string(page) + ":" + what); }

int PageOf(HWND h) { return (int)GetWindowLongPtrW(h, GWLP_USERDATA); }

void Answer(HWND h, LRESULT r) { SetWindowLongPtrW(h, DWLP_MSGRESULT, r); }

BOOL OnNotify(HWND h, const PSHNOTIFY* n) {
    int page = PageOf(h);
    switch (n->hdr.code) {
    case PSN_SETACTIVE: Note(page, "setactive"); Answer(h, 0); return TRUE;
    case PSN_KILLACTIVE: Note(page, "killactive"); Answer(h, refuseKill); return TRUE;
    case PSN_APPLY:
        Note(page, n->lParam ? "apply-ok" : "apply");
        Answer(h, applyAnswer[page]);
        return TRUE;
    case PSN_RESET: Note(page, "reset"); return TRUE;
    case PSN_QUERYCANCEL: Note(page, "querycancel"); Answer(h, FALSE); return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK PageProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        int page = (int)((const PROPSHEETPAGEW*)lp)->lParam;
        SetWindowLongPtrW(h, GWLP_USERDATA, page);
        Note(page, "init");
        return TRUE;
    }
    case WM_NOTIFY: return OnNotify(h, (const PSHNOTIFY*)lp);
    case WM_COMMAND:
        if ((LOWORD(wp) == IDC_P1EDIT && HIWORD(wp) == EN_CHANGE) ||
            (LOWORD(wp) == IDC_P2CHECK && HIWORD(wp) == BN_CLICKED))
            PropSheet_Changed(GetParent(h), h);
        return TRUE;
    case WM_DESTROY: Note(PageOf(h), "destroy"); return TRUE;
    case WM_PAINT: ++paints[PageOf(h)]; return FALSE;
    }
    return FALSE;
}

UINT CALLBACK PageCallback(HWND, UINT msg, PROPSHEETPAGEW* p) {
    int page = (int)p->lParam;
    if (msg == PSPCB_CREATE) callbacks[page] += 1;
    if (msg == PSPCB_RELEASE) callbacks[page] += 10;
    return 1;
}

PROPSHEETPAGEW Page(int n) {
    PROPSHEETPAGEW p{};
    p.dwSize = sizeof p;
    p.dwFlags = PSP_USECALLBACK;
    p.hInstance = nullptr;
    p.pszTemplate = MAKEINTRESOURCEW(n == 1 ? IDD_PAGE1 : IDD_PAGE2);
    p.pfnDlgProc = PageProc;
    p.lParam = n;
    p.pfnCallback = PageCallback;
    return p;
}

// The two-page sheet "Asetukset", owned by parent.
INT_PTR ShowSheet(HWND parent, DWORD flags) {
    PROPSHEETPAGEW pages[2] = {Page(1), Page(2)};
    PROPSHEETHEADERW h{};
    h.dwSize = sizeof h;
    h.dwFlags = PSH_PROPSHEETPAGE | flags;
    h.hwndParent = parent;
    h.pszCaption = WIDE("Asetukset");
    h.nPages = 2;
    h.ppsp = pages;
    return PropertySheetW(&h);
}

INT_PTR RunSheet(const automation::Script& s, DWORD flags = PSH_NOAPPLYNOW) {
    events.clear();
    automation::Play(s);
    return ShowSheet(nullptr, flags);
}

std::string Joined() {
    std::string r;
    for (auto& e : events) r += (r.empty() ? "" : " ") + e;
    return r;
}

class PropertySheetTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        refuseKill = 0;
        applyAnswer[1] = applyAnswer[2] = PSNRET_NOERROR;
        callbacks[1] = callbacks[2] = 0;
        paints[1] = paints[2] = 0;
    }
};

// A page is painted when it becomes the active one, before the user acts.
TEST_F(PropertySheetTest, ActivePageIsPainted) {
    int first = 0, second = 0;
    RunSheet(automation::Script()
                 .call([&](HWND) { first = paints[1]; })
                 .page(1)
                 .call([&](HWND) { second = paints[2]; })
                 .sheetCancel());
    EXPECT_GE(first, 1);
    EXPECT_GE(second, 1);
    EXPECT_TRUE(failures.empty()) << failures[0];
}

// What the pages are told, in order, for the user's way through the sheet.
TEST_F(PropertySheetTest, PagesAreToldWhatTheUserDoes) {
    using automation::Script;
    struct Case {
        const char* name;
        Script script;
        DWORD flags;
        INT_PTR result;
        const char* events;
    };
    std::vector<Case> cases = {
        {"ok at once", Script().dialog(IDD_PAGE1).sheetOk(), PSH_NOAPPLYNOW, 1,
         "1:init 1:setactive 1:killactive 1:apply-ok 1:destroy"},
        {"cancel at once", Script().sheetCancel(), PSH_NOAPPLYNOW, 0,
         "1:init 1:setactive 1:querycancel 1:reset 1:destroy"},
        {"close box", Script().close(), PSH_NOAPPLYNOW, 0, "1:init 1:setactive 1:querycancel 1:reset 1:destroy"},
        {"second page, then ok", Script().page(1).dialog(IDD_PAGE2).check(IDC_P2CHECK).sheetOk(), PSH_NOAPPLYNOW, 1,
         "1:init 1:setactive 1:killactive 2:init 2:setactive 2:killactive 1:apply-ok 2:apply-ok 1:destroy 2:destroy"},
        {"second page, then cancel", Script().page(1).sheetCancel(), PSH_NOAPPLYNOW, 0,
         "1:init 1:setactive 1:killactive 2:init 2:setactive 2:querycancel 1:reset 2:reset 1:destroy 2:destroy"},
        {"back to the first page", Script().page(1).page(0).dialog(IDD_PAGE1).sheetOk(), PSH_NOAPPLYNOW, 1,
         "1:init 1:setactive 1:killactive 2:init 2:setactive 2:killactive 1:setactive 1:killactive 1:apply-ok "
         "2:apply-ok 1:destroy 2:destroy"},
        // Values saved by Apply are documented to make the result positive; wine answers 0.
        {"apply after a change, then cancel", Script().type(IDC_P1EDIT, u"x").sheetApply().sheetCancel(), 0,
         kFollowsDocsOverWine ? 1 : 0,
         "1:init 1:setactive 1:killactive 1:apply 1:setactive 1:querycancel 1:reset 1:destroy"},
        {"enter presses ok", Script().enter(), PSH_NOAPPLYNOW, 1,
         "1:init 1:setactive 1:killactive 1:apply-ok 1:destroy"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        automation::Reset();
        failures.clear();
        EXPECT_EQ(RunSheet(c.script, c.flags), c.result);
        EXPECT_EQ(Joined(), c.events);
        EXPECT_TRUE(failures.empty()) << failures[0];
        EXPECT_EQ(automation::StepsLeft(), 0u);
    }
}

// A dialog that opens the sheet from its button IDC_NESTED.
INT_PTR CALLBACK SheetOwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM) {
    if (msg != WM_COMMAND) return msg == WM_INITDIALOG;
    if (LOWORD(wp) == IDC_NESTED) ShowSheet(h, PSH_NOAPPLYNOW);
    if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(h, LOWORD(wp));
    return TRUE;
}

// The owner of a sheet comes back as from a nested dialog: enabled, with
// the focus on the control that had it.
TEST_F(PropertySheetTest, OwnerGetsItsFocusBack) {
    bool disabledDuring = false, enabledAfter = false, focusBack = false;
    HWND owner = nullptr;
    automation::Play(automation::Script()
                         .dialog(IDD_TEST).call([&](HWND d) { owner = d; }).click(IDC_NESTED)
                         .dialog(IDD_PAGE1).call([&](HWND) { disabledDuring = !IsWindowEnabled(owner); })
                         .sheetOk()
                         .dialog(IDD_TEST).call([&](HWND d) {
                             enabledAfter = IsWindowEnabled(d) != FALSE;
                             focusBack = GetFocus() == GetDlgItem(d, IDC_NESTED);
                         })
                         .click(IDOK));
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, SheetOwnerProc, 0), IDOK);
    EXPECT_TRUE(disabledDuring);
    EXPECT_TRUE(enabledAfter);
    EXPECT_TRUE(focusBack);
    EXPECT_TRUE(failures.empty()) << failures[0];
}

TEST_F(PropertySheetTest, ApplyIsOfferedOnlyAfterAChange) {
    bool enabledBefore = true, enabledAfterChange = false, enabledAfterApply = true;
    auto applyEnabled = [](HWND sheet) { return IsWindowEnabled(GetDlgItem(sheet, 0x3021)) != FALSE; };
    INT_PTR r = RunSheet(automation::Script()
                             .call([&](HWND s) { enabledBefore = applyEnabled(s); })
                             .page(1)
                             .check(IDC_P2CHECK)
                             .call([&](HWND s) { enabledAfterChange = applyEnabled(s); })
                             .sheetApply()
                             .call([&](HWND s) { enabledAfterApply = applyEnabled(s); })
                             .sheetOk(),
                         0);
    EXPECT_EQ(r, 1);
    EXPECT_FALSE(enabledBefore);
    EXPECT_TRUE(enabledAfterChange);
    EXPECT_FALSE(enabledAfterApply);
    EXPECT_TRUE(failures.empty());

    automation::Reset();
    failures.clear();
    RunSheet(automation::Script().sheetApply(), 0);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("disabled"), std::string::npos) << failures[0];
}

TEST_F(PropertySheetTest, PagesCanRefuse) {
    struct Case {
        const char* name;
        LRESULT refuseKill;
        LRESULT apply2;
        automation::Script script;
        const char* events;
    };
    std::vector<Case> cases = {
        {"kill-active refused keeps the page", TRUE, 0,
         automation::Script().page(1).call([](HWND) { refuseKill = FALSE; }).dialog(IDD_PAGE1).sheetOk(),
         "1:init 1:setactive 1:killactive 1:killactive 1:apply-ok 1:destroy"},
        {"invalid apply keeps the sheet open", FALSE, PSNRET_INVALID_NOCHANGEPAGE,
         automation::Script().page(1).sheetOk().call([](HWND) { applyAnswer[2] = 0; }).sheetOk(),
         "1:init 1:setactive 1:killactive 2:init 2:setactive 2:killactive 1:apply-ok 2:apply-ok 2:killactive "
         "1:apply-ok 2:apply-ok 1:destroy 2:destroy"},
        {"invalid apply brings its page forward, untold", FALSE, PSNRET_INVALID,
         automation::Script().page(1).page(0).sheetOk().call([](HWND) { applyAnswer[2] = 0; }).dialog(IDD_PAGE2).sheetOk(),
         "1:init 1:setactive 1:killactive 2:init 2:setactive 2:killactive 1:setactive 1:killactive 1:apply-ok "
         "2:apply-ok 2:killactive 1:apply-ok 2:apply-ok 1:destroy 2:destroy"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        automation::Reset();
        failures.clear();
        refuseKill = c.refuseKill;
        applyAnswer[2] = c.apply2;
        EXPECT_EQ(RunSheet(c.script), 1);
        EXPECT_EQ(Joined(), c.events);
        EXPECT_TRUE(failures.empty()) << failures[0];
    }
}

TEST_F(PropertySheetTest, PagesMadeAheadAndTheirCallbacks) {
    PROPSHEETPAGEW p1 = Page(1), p2 = Page(2);
    HPROPSHEETPAGE pages[2] = {CreatePropertySheetPageW(&p1), CreatePropertySheetPageW(&p2)};
    ASSERT_NE(pages[0], nullptr);
    ASSERT_NE(pages[1], nullptr);
    PROPSHEETPAGEW p3 = Page(2);
    HPROPSHEETPAGE unused = CreatePropertySheetPageW(&p3);
    int before = callbacks[2];
    EXPECT_TRUE(DestroyPropertySheetPage(unused));
    EXPECT_EQ(callbacks[2] - before, 10) << "an unused page is released, never created";

    events.clear();
    callbacks[1] = callbacks[2] = 0;
    HWND current = nullptr;
    automation::Play(automation::Script().call([&](HWND s) { current = PropSheet_GetCurrentPageHwnd(s); }).sheetOk());
    PROPSHEETHEADERW h{};
    h.dwSize = sizeof h;
    h.dwFlags = PSH_NOAPPLYNOW;
    h.pszCaption = WIDE("Asetukset");
    h.nPages = 2;
    h.phpage = pages;
    EXPECT_EQ(PropertySheetW(&h), 1);
    EXPECT_NE(current, nullptr);
    EXPECT_EQ(callbacks[1], 11) << "shown page: created and released";
    EXPECT_EQ(callbacks[2], 10) << "page never shown: released only";
    // A sheet has no template of its own: it is recorded as 0.
    EXPECT_EQ(automation::Seen().dialogsOpened, (std::vector<int>{0}));
    ASSERT_EQ(automation::Seen().dialogsEnded.size(), 1u);
    EXPECT_EQ(automation::Seen().dialogsEnded[0].result, 1);
    EXPECT_TRUE(failures.empty());
}

}  // namespace

// The program's own sheet messages, and a page that answers with a message
// box while the sheet waits.
TEST_F(PropertySheetTest, ProgramMessagesAndMessageBoxesInPages) {
    std::vector<std::string> seen;
    auto look = [&](const char* what, HWND s) {
        HWND page = PropSheet_GetCurrentPageHwnd(s);
        seen.push_back(std::string(what) + "=" + std::to_string((int)SendMessageW(s, PSM_HWNDTOINDEX, (WPARAM)page, 0)));
    };
    INT_PTR r = RunSheet(automation::Script()
                             .call([&](HWND s) {
                                 PropSheet_SetCurSel(s, nullptr, 1);
                                 look("setcursel", s);
                                 refuseKill = TRUE;
                                 PropSheet_SetCurSel(s, nullptr, 0);
                                 look("back", s);
                                 refuseKill = FALSE;
                                 PropSheet_SetCurSel(s, nullptr, 0);
                                 look("back again", s);
                                 PropSheet_SetCurSel(s, nullptr, 0);  // the current page is activated anew
                             })
                             .call([&](HWND s) {
                                 HWND page = PropSheet_GetCurrentPageHwnd(s);
                                 int a = MessageBoxW(page, WIDE("Tallennetaanko?"), WIDE("Asetukset"), MB_YESNO);
                                 seen.push_back("answer=" + std::to_string(a));
                             })
                             .answer(IDNO, u"Tallennetaanko")
                             .call([](HWND s) { PropSheet_PressButton(s, PSBTN_OK); }),
                         PSH_NOAPPLYNOW);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"setcursel=1", "back=1", "back again=0", "answer=7"}));
    EXPECT_EQ(Joined(),
              "1:init 1:setactive 1:killactive 2:init 2:setactive 2:killactive 2:killactive 1:setactive 1:killactive "
              "1:setactive 1:killactive 1:apply-ok 2:apply-ok 1:destroy 2:destroy");
    ASSERT_EQ(automation::Seen().messageBoxes.size(), 1u);
    EXPECT_EQ(automation::Seen().messageBoxes[0].flags, (UINT)MB_YESNO);
    EXPECT_TRUE(failures.empty()) << failures[0];
}

#if !defined(_WIN32)
namespace {

// Damaged descriptions are refused with -1 and nothing leaks or is read
// beyond what the caller declared.
TEST_F(PropertySheetTest, DamagedDescriptionsAreRefused) {
    PROPSHEETPAGEW good[2] = {Page(1), Page(2)};
    PROPSHEETPAGEW shortPage = Page(1);
    shortPage.dwSize = 8;
    PROPSHEETPAGEW hugePage = Page(1);
    hugePage.dwSize = 0x7FFFFFFF;
    PROPSHEETPAGEW missing = Page(1);
    missing.pszTemplate = MAKEINTRESOURCEW(999);
    HPROPSHEETPAGE none[2] = {nullptr, nullptr};
    struct Case {
        const char* name;
        DWORD size;
        DWORD flags;
        UINT pages;
        const PROPSHEETPAGEW* ppsp;
        HPROPSHEETPAGE* phpage;
    } cases[] = {
        {"header too short", 8, PSH_PROPSHEETPAGE, 2, good, nullptr},
        {"no pages", sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE, 0, good, nullptr},
        {"too many pages", sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE, 100000, good, nullptr},
        {"no page array", sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE, 2, nullptr, nullptr},
        {"page too short", sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE, 1, &shortPage, nullptr},
        {"page too long", sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE, 1, &hugePage, nullptr},
        {"null page handle", sizeof(PROPSHEETHEADERW), 0, 2, nullptr, none},
        {"modeless", sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE | PSH_MODELESS, 2, good, nullptr},
        {"missing template", sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE, 1, &missing, nullptr},
    };
    EXPECT_EQ(PropertySheetW(nullptr), -1);
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        PROPSHEETHEADERW h{};
        h.dwSize = c.size;
        h.dwFlags = c.flags;
        h.nPages = c.pages;
        if (c.phpage) h.phpage = c.phpage;
        else h.ppsp = c.ppsp;
        EXPECT_EQ(PropertySheetW(&h), -1);
    }
    EXPECT_EQ(CreatePropertySheetPageW(nullptr), nullptr);
    EXPECT_EQ(CreatePropertySheetPageW(&shortPage), nullptr);
    EXPECT_FALSE(DestroyPropertySheetPage(nullptr));
    EXPECT_TRUE(failures.empty());
}

}  // namespace
#endif
