#include "harness.h"

namespace {

std::vector<std::pair<int, int>> notes;

INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND) notes.push_back({LOWORD(wp), HIWORD(wp)});
    if (msg == WM_VKEYTOITEM) {
        notes.push_back({-1, LOWORD(wp)});
        return LOWORD(wp) == VK_DELETE ? -2 : -1;
    }
    return msg == WM_INITDIALOG;
}

// Runs the test dialog, calls 'body' inside it, then ends it.
void InDialog(std::function<void(HWND)> body, automation::Script more = automation::Script()) {
    notes.clear();
    automation::Script s;
    s.call([&](HWND d) { body(d); });
    for (auto& st : more.steps) s.steps.push_back(st);
    s.call([](HWND d) { EndDialog(d, 1); });
    automation::Play(s);
    DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, Proc, 0);
}

std::u16string ItemText(HWND d, int id, int i) {
    WCHAR buf[256];
    LRESULT n = SendDlgItemMessageW(d, id, LB_GETTEXT, i, (LPARAM)buf);
    return n < 0 ? u"<err>" : U16(buf);
}

int Count(int id, int code) {
    int n = 0;
    for (auto& p : notes) n += p.first == id && p.second == code;
    return n;
}

class ControlsTest : public UserTest {};

// Sorted as the Finnish locale sorts (the wine run uses it too): symbols,
// digits, letters regardless of case, Å Ä Ö after Z. Items equal but for
// case may come in either order.
TEST_F(ControlsTest, SortedListOrdersWithoutCase) {
    InDialog([](HWND d) {
        for (const char16_t* t : {u"matti", u"Anna", u"Ö", u"[Ryhmä]", u"aapo", u"Zorro", u"Matti", u"Ä", u"1. kerros",
                                  u"Éva", u"Åke"})
            SendDlgItemMessageW(d, IDC_SORTED, LB_ADDSTRING, 0, (LPARAM)t);
        std::vector<std::u16string> got;
        for (int i = 0; i < 11; ++i) got.push_back(ItemText(d, IDC_SORTED, i));
        if (got[5] == u"Matti") std::swap(got[5], got[6]);
        EXPECT_EQ(got, (std::vector<std::u16string>{u"[Ryhmä]", u"1. kerros", u"aapo", u"Anna", u"Éva", u"matti",
                                                    u"Matti", u"Zorro", u"Åke", u"Ä", u"Ö"}));
    });
}

// Long enough that the list keeps its items in several blocks; inserted in
// a scattered order, deleted from the middle, each index still answers.
TEST_F(ControlsTest, LongSortedListKeepsOrder) {
    InDialog([](HWND d) {
        const int n = 600;
        auto name = [](int i) {
            char b[16];
            snprintf(b, sizeof b, "Nimi %04d", i);
            return std::u16string(b, b + strlen(b));
        };
        for (int k = 0; k < n; ++k) {
            std::u16string t = name(k * 7919 % n);
            SendDlgItemMessageW(d, IDC_SORTED, LB_ADDSTRING, 0, (LPARAM)t.c_str());
        }
        for (int i = 0; i < n; i += 3) SendDlgItemMessageW(d, IDC_SORTED, LB_DELETESTRING, (WPARAM)(i - i / 3), 0);
        ASSERT_EQ(SendDlgItemMessageW(d, IDC_SORTED, LB_GETCOUNT, 0, 0), n - n / 3);
        int wrong = 0, k = 0;
        for (int i = 0; i < n; ++i)
            if (i % 3) wrong += ItemText(d, IDC_SORTED, k++) != name(i);
        EXPECT_EQ(wrong, 0) << "items out of place";
        std::u16string last = name(n - 1);
        EXPECT_EQ(SendDlgItemMessageW(d, IDC_SORTED, LB_FINDSTRING, (WPARAM)-1, (LPARAM)last.c_str()), n - n / 3 - 1)
            << "a text equal to the whole item is found";
    });
}

TEST_F(ControlsTest, ListMessagesAnswerAsWindows) {
    InDialog([](HWND d) {
        auto send = [&](UINT m, WPARAM w, LPARAM l) { return SendDlgItemMessageW(d, IDC_SORTED, m, w, l); };
        send(LB_ADDSTRING, 0, (LPARAM)u"Maija <1>");
        send(LB_ADDSTRING, 0, (LPARAM)u"Matti <2>");
        send(LB_ADDSTRING, 0, (LPARAM)u"Pekka <3>");
        struct Case {
            const char* name;
            UINT msg;
            WPARAM wp;
            LPARAM lp;
            LRESULT want;
        } cases[] = {
            {"count", LB_GETCOUNT, 0, 0, 3},
            {"cursel none", LB_GETCURSEL, 0, 0, LB_ERR},
            {"find prefix from top", LB_FINDSTRING, (WPARAM)-1, (LPARAM)u"ma", 0},
            {"find starts after index", LB_FINDSTRING, 0, (LPARAM)u"MA", 1},
            {"find wraps", LB_FINDSTRING, 1, (LPARAM)u"ma", 0},
            {"find missing", LB_FINDSTRING, (WPARAM)-1, (LPARAM)u"x", LB_ERR},
            {"find the whole item", LB_FINDSTRING, (WPARAM)-1, (LPARAM)u"matti <2>", 1},
            {"find longer than the item", LB_FINDSTRING, (WPARAM)-1, (LPARAM)u"Matti <2>x", LB_ERR},
            {"exact ignores case", LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)u"pekka <3>", 2},
            {"exact is not prefix", LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)u"pekka", LB_ERR},
            {"text length", LB_GETTEXTLEN, 1, 0, 9},
            {"text length bad index", LB_GETTEXTLEN, 3, 0, LB_ERR},
            {"item data bad index", LB_GETITEMDATA, 5, 0, LB_ERR},
            {"set item data", LB_SETITEMDATA, 1, 77, TRUE},
            {"get item data", LB_GETITEMDATA, 1, 0, 77},
            {"setcursel", LB_SETCURSEL, 2, 0, 2},
            {"getcursel", LB_GETCURSEL, 0, 0, 2},
            {"selcount on single", LB_GETSELCOUNT, 0, 0, LB_ERR},
            {"setsel on single", LB_SETSEL, FALSE, 0, 0},
            {"selects whatever the state", LB_GETCURSEL, 0, 0, 0},
            {"setsel past end on single", LB_SETSEL, TRUE, 3, LB_ERR},
            {"setcursel back", LB_SETCURSEL, 2, 0, 2},
            {"delete before selection", LB_DELETESTRING, 0, 0, 2},
            {"selection follows", LB_GETCURSEL, 0, 0, 1},
            {"delete selected", LB_DELETESTRING, 1, 0, 1},
            {"selection gone", LB_GETCURSEL, 0, 0, LB_ERR},
            {"insert past end", LB_INSERTSTRING, 5, (LPARAM)u"x", LB_ERR},
            {"insert at end", LB_INSERTSTRING, (WPARAM)-1, (LPARAM)u"A", 1},
            {"setcursel -1", LB_SETCURSEL, (WPARAM)-1, 0, LB_ERR},
            {"top index past end is clamped", LB_SETTOPINDEX, 9, 0, 0},
            {"find empty prefix", LB_FINDSTRING, (WPARAM)-1, (LPARAM)u"", LB_ERR},
            {"setsel on single selects", LB_SETSEL, TRUE, 1, 0},
            {"setsel -1 clears", LB_SETSEL, FALSE, (LPARAM)-1, 0},
            {"cleared", LB_GETCURSEL, 0, 0, LB_ERR},
            {"no horizontal extent at first", LB_GETHORIZONTALEXTENT, 0, 0, 0},
            {"set horizontal extent", LB_SETHORIZONTALEXTENT, 420, 0, 0},
            {"horizontal extent kept", LB_GETHORIZONTALEXTENT, 0, 0, 420},
            {"reset", LB_RESETCONTENT, 0, 0, 0},
            {"empty count", LB_GETCOUNT, 0, 0, 0},
            {"reset keeps the extent", LB_GETHORIZONTALEXTENT, 0, 0, 420},
        };
        for (auto& c : cases) EXPECT_EQ(send(c.msg, c.wp, c.lp), c.want) << c.name;
    });
    EXPECT_EQ(Count(IDC_SORTED, LBN_SELCHANGE), 0) << "no notifications for the program's own messages";
}

TEST_F(ControlsTest, ExtendedSelectionAndKeys) {
    InDialog(
        [](HWND d) {
            for (const char16_t* t : {u"a", u"b", u"c", u"d"})
                SendDlgItemMessageW(d, IDC_MULTI, LB_ADDSTRING, 0, (LPARAM)t);
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_MULTI, LB_SETCURSEL, 1, 0), LB_ERR);
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_MULTI, LB_SELITEMRANGE, TRUE, MAKELPARAM(1, 2)), 0);
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_MULTI, LB_GETSELCOUNT, 0, 0), 2);
        },
        automation::Script().selectMany(IDC_MULTI, {0, 3}).key(IDC_MULTI, VK_DELETE).call([](HWND d) {
            int sel[4] = {};
            ASSERT_EQ(SendDlgItemMessageW(d, IDC_MULTI, LB_GETSELITEMS, 4, (LPARAM)sel), 2);
            EXPECT_EQ(sel[0], 0);
            EXPECT_EQ(sel[1], 3);
        }));
    EXPECT_EQ(Count(IDC_MULTI, LBN_SELCHANGE), 1);
    EXPECT_EQ(Count(-1, VK_DELETE), 1) << "WM_VKEYTOITEM reaches the dialog";
}

TEST_F(ControlsTest, EditNotifiesEveryChange) {
    InDialog(
        [](HWND d) {
            SendDlgItemMessageW(d, IDC_EDIT, EM_LIMITTEXT, 3, 0);
            SetDlgItemTextW(d, IDC_EDIT, WIDE("toolong"));  // the limit does not cut program text
            EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(d, IDC_EDIT)), 7);
            SetDlgItemTextW(d, IDC_EDIT, WIDE(""));
            SetDlgItemTextW(d, IDC_MEMO, WIDE("a\r\nb"));
        },
        automation::Script().type(IDC_EDIT, u"abcd").type(IDC_NUMBER, u"1x2").type(IDC_MEMO, u"\nc").call([](HWND d) {
            WCHAR buf[16];
            GetDlgItemTextW(d, IDC_EDIT, buf, 16);
            EXPECT_EQ(U16(buf), u"abc");
            GetDlgItemTextW(d, IDC_NUMBER, buf, 16);
            EXPECT_EQ(U16(buf), u"12");
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_MEMO, EM_GETLINECOUNT, 0, 0), 3);  // typed before "a"
            SendDlgItemMessageW(d, IDC_EDIT, EM_SETSEL, 0, 1);
            SendDlgItemMessageW(d, IDC_EDIT, EM_REPLACESEL, 0, (LPARAM)WIDE("X"));
            GetDlgItemTextW(d, IDC_EDIT, buf, 16);
            EXPECT_EQ(U16(buf), u"Xbc");
            DWORD a = 9, b = 9;
            SendDlgItemMessageW(d, IDC_EDIT, EM_GETSEL, (WPARAM)&a, (LPARAM)&b);
            EXPECT_EQ(a, 1u);
            EXPECT_EQ(b, 1u);
        }));
    // 2 from SetWindowText, 3 typed, one EM_REPLACESEL; the 4th char is cut
    // but still reported as a possible change.
    EXPECT_EQ(Count(IDC_EDIT, EN_CHANGE), 7);
    EXPECT_EQ(Count(IDC_EDIT, EN_MAXTEXT), 1);
    EXPECT_EQ(Count(IDC_NUMBER, EN_CHANGE), 2);
    if (kSeesControlBeeps) {
        EXPECT_EQ(automation::Seen().beeps.size(), 1u) << "a refused character beeps";
    }
    EXPECT_EQ(Count(IDC_MEMO, EN_CHANGE), 2) << "typed only: a multiline edit is silent on WM_SETTEXT";
}

TEST_F(ControlsTest, ButtonsAndRadioGroups) {
    InDialog(
        [](HWND d) {
            CheckRadioButton(d, IDC_RADIO1, IDC_RADIO3, IDC_RADIO2);
            EXPECT_EQ(IsDlgButtonChecked(d, IDC_RADIO2), (UINT)BST_CHECKED);
        },
        automation::Script().click(IDC_RADIO3).check(IDC_CHECK).check(IDC_CHECK).call([](HWND d) {
            EXPECT_EQ(IsDlgButtonChecked(d, IDC_RADIO2), (UINT)BST_UNCHECKED);
            EXPECT_EQ(IsDlgButtonChecked(d, IDC_RADIO3), (UINT)BST_CHECKED);
            EXPECT_EQ(IsDlgButtonChecked(d, IDC_CHECK), (UINT)BST_CHECKED);
        }));
    EXPECT_EQ(Count(IDC_CHECK, BN_CLICKED), 1) << "checking a checked box does not click it";
    EXPECT_EQ(Count(IDC_RADIO3, BN_CLICKED), 1);
}

TEST_F(ControlsTest, ComboChoiceNotifies) {
    InDialog(
        [](HWND d) {
            for (const char16_t* t : {u"G3 - Autom.", u"F4800", u"G4 - Autom."})
                SendDlgItemMessageW(d, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)t);
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_COMBO, CB_SETCURSEL, 0, 0), 0);
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_COMBO, CB_SETCURSEL, 7, 0), CB_ERR);
            // Documented to clear the selection; wine keeps it.
            if (kFollowsDocsOverWine) {
                EXPECT_EQ(SendDlgItemMessageW(d, IDC_COMBO, CB_GETCURSEL, 0, 0), CB_ERR);
            }
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_COMBO, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)u"f4800"), 1);
        },
        automation::Script().select(IDC_COMBO, 2).call([](HWND d) {
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_COMBO, CB_GETCURSEL, 0, 0), 2);
        }));
    EXPECT_EQ(Count(IDC_COMBO, CBN_SELCHANGE), 1);
}

// What the controls themselves receive, through subclassing: only these
// messages are recorded (the rest differ between systems by design).
struct Received {
    int id;
    UINT msg;
    bool optional;  // the system may or may not send it
    bool operator==(const Received& o) const { return id == o.id && msg == o.msg; }
};
std::vector<Received> received;
std::vector<std::pair<HWND, WNDPROC>> subclassed;

const char* MessageName(UINT m) {
    switch (m) {
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_ENABLE: return "WM_ENABLE";
    case WM_CANCELMODE: return "WM_CANCELMODE";
    case WM_SETTEXT: return "WM_SETTEXT";
    case WM_CHAR: return "WM_CHAR";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case BM_CLICK: return "BM_CLICK";
    case CB_SETCURSEL: return "CB_SETCURSEL";
    case LB_SETCURSEL: return "LB_SETCURSEL";
    }
    return nullptr;
}

LRESULT CALLBACK Recorder(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    WNDPROC prev = nullptr;
    for (auto& p : subclassed)
        if (p.first == h) prev = p.second;
    if (MessageName(msg)) received.push_back({GetDlgCtrlID(h), msg, false});
    return CallWindowProcW(prev, h, msg, wp, lp);
}

void Subclass(HWND d, std::initializer_list<int> ids) {
    subclassed.clear();
    received.clear();
    for (int id : ids) {
        HWND c = GetDlgItem(d, id);
        subclassed.push_back({c, (WNDPROC)GetWindowLongPtrW(c, GWLP_WNDPROC)});
        SetWindowLongPtrW(c, GWLP_WNDPROC, (LONG_PTR)Recorder);
    }
}

// Whether 'got' is 'want' with some of the optional messages left out.
bool Matches(const std::vector<Received>& got, const std::vector<Received>& want) {
    size_t g = 0;
    for (const Received& w : want) {
        if (g < got.size() && got[g] == w) ++g;
        else if (!w.optional) return false;
    }
    return g == got.size();
}

std::string Show(const std::vector<Received>& v) {
    std::string r;
    for (const Received& x : v) r += std::to_string(x.id) + ":" + MessageName(x.msg) + " ";
    return r;
}

// Sequences of notifications a dialog sees and of the messages its
// controls receive, compared with a real Win32.
TEST_F(ControlsTest, FocusAndNotificationOrder) {
    using N = std::vector<std::pair<int, int>>;
    using M = std::vector<Received>;
    struct Case {
        const char* name;
        std::function<void(HWND)> act;
        automation::Script user;
        N want;
        M control;
    };
    auto fill = [](HWND d) {
        for (const char16_t* t : {u"x", u"y", u"z"}) SendDlgItemMessageW(d, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)t);
    };
    std::vector<Case> cases = {
        {"first tab stop has the focus", [](HWND d) { EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_EDIT)); }, {},
         N{{IDC_EDIT, EN_SETFOCUS}}, M{}},
        {"disabling the focused control", [](HWND d) {
             EnableWindow(GetDlgItem(d, IDC_EDIT), FALSE);
             EXPECT_EQ(GetFocus(), nullptr);
         }, {}, N{{IDC_EDIT, EN_SETFOCUS}, {IDC_EDIT, EN_KILLFOCUS}},
         M{{IDC_EDIT, WM_CANCELMODE, true}, {IDC_EDIT, WM_KILLFOCUS, false}, {IDC_EDIT, WM_ENABLE, false}}},
        {"choice in a combo box", fill, automation::Script().select(IDC_COMBO, 1),
         N{{IDC_EDIT, EN_SETFOCUS}, {IDC_EDIT, EN_KILLFOCUS}, {IDC_COMBO, CBN_SETFOCUS}, {IDC_COMBO, CBN_SELENDOK},
           {IDC_COMBO, CBN_SELCHANGE}},
         M{{IDC_EDIT, WM_KILLFOCUS, false}, {IDC_COMBO, WM_SETFOCUS, false}, {IDC_COMBO, CB_SETCURSEL, false}}},
        {"leaving a combo box", fill, automation::Script().select(IDC_COMBO, 1).click(IDC_CHECK),
         N{{IDC_EDIT, EN_SETFOCUS}, {IDC_EDIT, EN_KILLFOCUS}, {IDC_COMBO, CBN_SETFOCUS}, {IDC_COMBO, CBN_SELENDOK},
           {IDC_COMBO, CBN_SELCHANGE}, {IDC_COMBO, CBN_SELENDCANCEL}, {IDC_COMBO, CBN_KILLFOCUS},
           {IDC_CHECK, BN_CLICKED}},
         M{{IDC_EDIT, WM_KILLFOCUS, false}, {IDC_COMBO, WM_SETFOCUS, false}, {IDC_COMBO, CB_SETCURSEL, false},
           {IDC_CHECK, BM_CLICK, false}, {IDC_COMBO, WM_KILLFOCUS, false}, {IDC_CHECK, WM_SETFOCUS, false}}},
        {"setting text of an edit", [](HWND d) { SetDlgItemTextW(d, IDC_NUMBER, WIDE("5")); }, {},
         N{{IDC_EDIT, EN_SETFOCUS}, {IDC_NUMBER, EN_UPDATE}, {IDC_NUMBER, EN_CHANGE}}, M{{IDC_NUMBER, WM_SETTEXT, false}}},
        {"typing into another edit", [](HWND) {}, automation::Script().type(IDC_NUMBER, u"1x"),
         N{{IDC_EDIT, EN_SETFOCUS}, {IDC_EDIT, EN_KILLFOCUS}, {IDC_NUMBER, EN_SETFOCUS}, {IDC_NUMBER, EN_UPDATE},
           {IDC_NUMBER, EN_CHANGE}},
         M{{IDC_EDIT, WM_KILLFOCUS, false}, {IDC_NUMBER, WM_SETFOCUS, false}, {IDC_NUMBER, WM_CHAR, false},
           {IDC_NUMBER, WM_CHAR, false}}},
        {"a key in a list", [](HWND d) { SendDlgItemMessageW(d, IDC_SORTED, LB_ADDSTRING, 0, (LPARAM)u"a"); },
         automation::Script().key(IDC_SORTED, VK_DOWN),
         N{{IDC_EDIT, EN_SETFOCUS}, {IDC_EDIT, EN_KILLFOCUS}, {IDC_SORTED, LBN_SETFOCUS}, {IDC_SORTED, LBN_SELCHANGE}},
         M{{IDC_EDIT, WM_KILLFOCUS, false}, {IDC_SORTED, WM_SETFOCUS, false}, {IDC_SORTED, WM_KEYDOWN, false}}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        automation::Reset();
        N got;
        automation::Script s;
        M seen;
        s.call([&](HWND d) {
            got = notes;
            Subclass(d, {IDC_EDIT, IDC_NUMBER, IDC_SORTED, IDC_COMBO, IDC_CHECK});
            c.act(d);
        });
        for (auto& st : c.user.steps) s.steps.push_back(st);
        s.call([&](HWND d) {
            for (size_t i = got.size(); i < notes.size(); ++i) got.push_back(notes[i]);
            seen = received;
            EndDialog(d, 1);
        });
        notes.clear();
        automation::Play(s);
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), nullptr, Proc, 0);
        // Between the first look and the last, everything the dialog was told.
        EXPECT_EQ(got, c.want);
        EXPECT_TRUE(Matches(seen, c.control)) << "controls received " << Show(seen);
    }
}

TEST_F(ControlsTest, PropertiesAndWindowData) {
    InDialog([](HWND d) {
        int token;
        EXPECT_TRUE(SetPropW(d, WIDE("TLRNJB"), &token));
        EXPECT_EQ(GetPropA(d, "tlrnjb"), &token);
        EXPECT_EQ(RemovePropW(d, WIDE("TLRNJB")), &token);
        EXPECT_EQ(GetPropW(d, WIDE("TLRNJB")), nullptr);
        SetWindowLongPtrW(d, GWLP_USERDATA, 99);
        EXPECT_EQ(GetWindowLongPtrW(d, GWLP_USERDATA), 99);
        EXPECT_EQ(GetDlgCtrlID(GetDlgItem(d, IDC_EDIT)), IDC_EDIT);
        EXPECT_EQ(GetParent(GetDlgItem(d, IDC_EDIT)), d);
        EXPECT_EQ(GetDlgItem(d, 5555), nullptr);
        EXPECT_FALSE(ShowWindow(GetDlgItem(d, IDC_EDIT), SW_HIDE) == FALSE);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_EDIT)));
        EXPECT_FALSE(EnableWindow(GetDlgItem(d, IDC_NUMBER), FALSE));
        EXPECT_TRUE(EnableWindow(GetDlgItem(d, IDC_NUMBER), TRUE));
    });
}

// Every call on a window that is gone fails and says why. (GetClassNameW
// and DestroyWindow fail too, but the system's code differs; wine's
// CheckRadioButton sets none: not checked.)
TEST_F(ControlsTest, GoneWindowSetsTheLastError) {
    HWND gone = nullptr;
    InDialog([&](HWND d) {
        gone = CreateWindowExW(0, WIDE("STATIC"), WIDE("x"), WS_CHILD, 0, 0, 10, 10, d, nullptr, nullptr, nullptr);
        ASSERT_TRUE(DestroyWindow(gone));
    });
    RECT r;
    WCHAR text[8];
    struct Case {
        const char* name;
        std::function<LONG_PTR()> call;
    } cases[] = {
        {"ShowWindow", [&] { return (LONG_PTR)ShowWindow(gone, SW_SHOW); }},
        {"GetClientRect", [&] { return (LONG_PTR)GetClientRect(gone, &r); }},
        {"GetWindowRect", [&] { return (LONG_PTR)GetWindowRect(gone, &r); }},
        {"MoveWindow", [&] { return (LONG_PTR)MoveWindow(gone, 0, 0, 5, 5, FALSE); }},
        {"IsWindowEnabled", [&] { return (LONG_PTR)IsWindowEnabled(gone); }},
        {"EnableWindow", [&] { return (LONG_PTR)EnableWindow(gone, TRUE); }},
        {"SetWindowTextW", [&] { return (LONG_PTR)SetWindowTextW(gone, WIDE("y")); }},
        {"GetWindowTextW", [&] { return (LONG_PTR)GetWindowTextW(gone, text, 8); }},
        {"GetWindowLongPtrW", [&] { return GetWindowLongPtrW(gone, GWL_STYLE); }},
        {"GetParent", [&] { return (LONG_PTR)GetParent(gone); }},
        {"GetDlgCtrlID", [&] { return (LONG_PTR)GetDlgCtrlID(gone); }},
        {"SetActiveWindow", [&] { return (LONG_PTR)SetActiveWindow(gone); }},
        {"SetFocus", [&] { return (LONG_PTR)SetFocus(gone); }},
        {"GetNextDlgTabItem", [&] { return (LONG_PTR)GetNextDlgTabItem(gone, nullptr, FALSE); }},
        {"MapDialogRect", [&] { return (LONG_PTR)MapDialogRect(gone, &r); }},
        {"SetPropW", [&] { return (LONG_PTR)SetPropW(gone, WIDE("p"), &r); }},
        {"GetPropW", [&] { return (LONG_PTR)GetPropW(gone, WIDE("p")); }},
        {"EndDialog", [&] { return (LONG_PTR)EndDialog(gone, 1); }},
        {"GetWindowThreadProcessId", [&] { return (LONG_PTR)GetWindowThreadProcessId(gone, nullptr); }},
    };
    for (auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(c.call(), 0) << c.name;
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE) << c.name;
    }
    EXPECT_EQ(GetClassNameW(gone, text, 8), 0);
    EXPECT_FALSE(DestroyWindow(gone));
}

}  // namespace
