#include "harness.h"

namespace {

struct Seen {
    std::vector<std::pair<int, int>> commands;  // id, notification code
    LPARAM initParam = 0;
};
Seen* seen;

INT_PTR CALLBACK TestProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        seen->initParam = lp;
        return TRUE;
    case WM_COMMAND:
        seen->commands.push_back({LOWORD(wp), HIWORD(wp)});
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(h, LOWORD(wp));
        if (LOWORD(wp) == IDC_NESTED) {
            INT_PTR r = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_PLAIN), h, TestProc, 7);
            if (MessageBoxW(h, WIDE("Sisempi päättyi"), WIDE("Otsikko"), MB_YESNO | MB_ICONQUESTION) == IDYES)
                SetDlgItemInt(h, IDC_EDIT, (UINT)r, FALSE);
        }
        return TRUE;
    }
    return FALSE;
}

INT_PTR RunTest(LPARAM param = 0) {
    return DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, TestProc, param);
}

class DialogTest : public UserTest {
protected:
    Seen s;
    void SetUp() override {
        UserTest::SetUp();
        seen = &s;
    }
};

TEST_F(DialogTest, EnterPressesDefaultAndEscCancels) {
    struct Case {
        const char* name;
        automation::Script script;
        INT_PTR result;
    };
    std::vector<Case> cases = {
        {"enter", automation::Script().dialog(IDD_TEST).enter(), IDOK},
        {"escape", automation::Script().escape(), IDCANCEL},
        {"close box", automation::Script().close(), IDCANCEL},
        {"click cancel", automation::Script().click(IDCANCEL), IDCANCEL},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        automation::Reset();
        automation::Play(c.script);
        EXPECT_EQ(RunTest(42), c.result);
        EXPECT_EQ(s.initParam, 42);
        EXPECT_TRUE(failures.empty());
    }
}

TEST_F(DialogTest, SetDefIdMovesEnter) {
    automation::Play(automation::Script()
                         .call([](HWND d) { SendMessageW(d, DM_SETDEFID, IDCANCEL, 0); })
                         .enter());
    EXPECT_EQ(RunTest(), IDCANCEL);
}

TEST_F(DialogTest, NestedDialogAndMessageBox) {
    int innerFocusOk = 0;
    HWND outer = nullptr;
    automation::Play(automation::Script()
                         .dialog(IDD_TEST).call([&](HWND d) { outer = d; }).click(IDC_NESTED)
                         .dialog(IDD_PLAIN).call([&](HWND d) { innerFocusOk = !IsWindowEnabled(GetParent(d)); })
                         .enter()
                         .answer(IDYES, u"päättyi")
                         .dialog(IDD_TEST).call([](HWND d) {
                             EXPECT_TRUE(IsWindowEnabled(d));
                             EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_NESTED)) << "a clicked button keeps the focus";
                             BOOL ok;
                             EXPECT_EQ(GetDlgItemInt(d, IDC_EDIT, &ok, FALSE), (UINT)IDOK);
                         })
                         .click(IDOK));
    EXPECT_EQ(RunTest(), IDOK);
    EXPECT_EQ(innerFocusOk, 1) << "the owner is disabled while the nested dialog runs";
    ASSERT_EQ(automation::Seen().messageBoxes.size(), 1u);
    EXPECT_EQ(automation::Seen().messageBoxes[0].caption, u"Otsikko");
    EXPECT_EQ(automation::Seen().messageBoxes[0].owner, outer);
    EXPECT_EQ(automation::Seen().messageBoxes[0].flags, (UINT)(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(automation::Seen().dialogsOpened, (std::vector<int>{IDD_TEST, IDD_PLAIN}));
    EXPECT_TRUE(failures.empty());
}

TEST_F(DialogTest, AutomationFailuresReportAndUnwind) {
    struct Case {
        const char* name;
        automation::Script script;
        const char* expect;
    };
    std::vector<Case> cases = {
        {"no action left", automation::Script(), "no action is left"},
        {"wrong dialog", automation::Script().dialog(999).enter(), "expects dialog 999"},
        {"missing control", automation::Script().click(4242), "4242 does not exist"},
        {"disabled control",
         automation::Script().call([](HWND d) { EnableWindow(GetDlgItem(d, IDOK), FALSE); }).click(IDOK), "disabled"},
        {"message box without answer", automation::Script().click(IDC_NESTED).enter(), "waits for an answer"},
        {"answer not offered", automation::Script().click(IDC_NESTED).enter().answer(IDOK), "has no button 1"},
        {"answer where dialog waits", automation::Script().answer(IDOK), "next step is 'msgbox'"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        automation::Reset();
        failures.clear();
        automation::Play(c.script);
        RunTest();
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_NE(failures[0].find(c.expect), std::string::npos) << failures[0];
        EXPECT_NE(failures[0].find("dialog 101"), std::string::npos) << "the report names the dialog";
    }
}

TEST_F(DialogTest, FailureReportListsControlStates) {
    automation::Play(automation::Script().call([](HWND d) {
        SendDlgItemMessageW(d, IDC_SORTED, LB_ADDSTRING, 0, (LPARAM)WIDE("Matti"));
        CheckDlgButton(d, IDC_CHECK, BST_CHECKED);
    }));
    RunTest();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("1004 listbox"), std::string::npos);
    EXPECT_NE(failures[0].find("[Matti]"), std::string::npos);
    EXPECT_NE(failures[0].find("1007 button \"Valinta\" checked"), std::string::npos);
}

TEST_F(DialogTest, ScriptFileDrivesTheDialog) {
    std::string path = std::string(getenv("FAX_UI_RUNTIME_DIR")) + "/script.txt";
    FILE* f = fopen(path.c_str(), "w");
    fputs("# comment\ndialog 101\ntype 1001 Hei\\tä\ncheck 1007 on\nclick 1011\nenter\nmsgbox IDNO\nclick 1\n", f);
    fclose(f);
    std::string err;
    ASSERT_TRUE(automation::LoadScript(path, err)) << err;
    HWND d = nullptr;
    automation::Play(automation::Script());
    EXPECT_EQ(RunTest(), IDOK);
    (void)d;
    EXPECT_EQ(automation::StepsLeft(), 0u);
    EXPECT_TRUE(failures.empty()) << (failures.empty() ? "" : failures[0]);

    const char* bad[] = {"bogus 1\n", "type x y\n", "check 5 maybe\n", "multiselect 5\n", "msgbox IDMAYBE\n",
                         "help x\n", "waitenabled -5\n"};
    for (const char* b : bad) {
        SCOPED_TRACE(b);
        f = fopen(path.c_str(), "w");
        fputs(b, f);
        fclose(f);
        EXPECT_FALSE(automation::LoadScript(path, err));
        EXPECT_NE(err.find(":1:"), std::string::npos) << err;
    }
}

TEST_F(DialogTest, PostedMessagesAreDeliveredByTheLoop) {
    automation::Play(automation::Script().call([](HWND d) { PostMessageW(d, WM_COMMAND, MAKEWPARAM(1234, 0), 0); })
                         .call([](HWND d) { PostMessageW(d, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ(RunTest(), IDOK);
    std::vector<int> ids;
    for (auto& c : s.commands)
        if (c.first == 1234 || c.first == IDOK) ids.push_back(c.first);
    EXPECT_EQ(ids, (std::vector<int>{1234, IDOK})) << "in the order they were posted";
}

}  // namespace

namespace {

// What the code under test asks of the system besides dialogs is recorded
// on both platforms: help calls, its own beeps, file dialogs.
INT_PTR CALLBACK AskingProc(HWND h, UINT msg, WPARAM wp, LPARAM) {
    if (msg != WM_COMMAND) return msg == WM_INITDIALOG;
    switch (LOWORD(wp)) {
    case IDC_NESTED: {
        WinHelpW(h, WIDE("FAXHELP.HLP"), HELP_CONTEXT, 212);
        MessageBeep(MB_ICONEXCLAMATION);
        WCHAR file[64] = {0};
        OPENFILENAMEW o{};
        o.lStructSize = sizeof o;
        o.hwndOwner = h;
        o.lpstrFile = file;
        o.nMaxFile = 64;
        o.lpstrTitle = WIDE("Avaa puhelinmuistio");
        o.lpstrDefExt = WIDE("kfd");
        o.Flags = OFN_HIDEREADONLY;
        if (GetOpenFileNameW(&o)) SetDlgItemTextW(h, IDC_EDIT, file + o.nFileOffset);
        WinHelpW(h, WIDE("FAXHELP.HLP"), HELP_QUIT, 0);
        return TRUE;
    }
    case IDOK:
    case IDCANCEL: EndDialog(h, LOWORD(wp)); return TRUE;
    }
    return TRUE;
}

class RecordsTest : public UserTest {};

TEST_F(RecordsTest, HelpBeepsAndFileDialogs) {
    std::u16string shown;
    HWND dialog = nullptr;
    automation::Play(automation::Script()
                         .call([&](HWND d) { dialog = d; })
                         .click(IDC_NESTED)
                         .file("muistio")
                         .call([&](HWND d) {
                             WCHAR buf[32];
                             GetDlgItemTextW(d, IDC_EDIT, buf, 32);
                             shown = U16(buf);
                         })
                         .click(IDOK));
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, AskingProc, 0), IDOK);
    EXPECT_EQ(shown, u"muistio.kfd") << "the default extension is added";
    const auto& seen = automation::Seen();
    ASSERT_EQ(seen.help.size(), 2u);
    EXPECT_EQ(seen.help[0].file, u"FAXHELP.HLP");
    EXPECT_EQ(seen.help[0].command, (UINT)HELP_CONTEXT);
    EXPECT_EQ(seen.help[0].data, 212u);
    EXPECT_EQ(seen.help[1].command, (UINT)HELP_QUIT);
    EXPECT_EQ(seen.beeps, (std::vector<UINT>{MB_ICONEXCLAMATION}));
    ASSERT_EQ(seen.fileDialogs.size(), 1u);
    EXPECT_EQ(seen.fileDialogs[0].title, u"Avaa puhelinmuistio");
    EXPECT_EQ(seen.fileDialogs[0].owner, dialog);
    EXPECT_FALSE(seen.fileDialogs[0].save);
    EXPECT_EQ(seen.dialogsEnded.size(), 1u);
    EXPECT_TRUE(failures.empty()) << failures[0];
}

}  // namespace
