// Deleting from the phonebook: last selected first, group references kept
// in step, the first failure stops with its message and loses nothing.
#include "dialog_fixture.h"

namespace {

const std::u16string kAsk = u"Poista kohtia muistiosta|Haluatko poistaa valitut kohdat nykyisestä muistiosta?";

TEST_F(PhonebookDialogTest, DeleteFromPhonebook) {
    const std::string standard = StandardBook();
    struct Case {
        const char* what;
        std::vector<int> select;  // in the sorted list: [G], Anna, Bo, Cai
        bool byKey;
        std::vector<int> answers;
        std::function<void()> before;
        std::string after;
        Items list;
        std::vector<std::u16string> boxes;
    } cases[] = {
        {"a group and an individual", {0, 1}, false, {IDYES}, nullptr, kHead + Entry("Bo", "2") + Entry("Cai", "3"),
         {u"Bo <2>", u"Cai <3>"}, {kAsk}},
        {"a member, by the delete key", {2}, true, {IDYES}, nullptr,
         kHead + Entry("Anna", "1", "muistio") + Entry("Cai", "3") + Group("G", {{"Anna", "1"}}),
         {u"[G]", u"Anna <1>", u"Cai <3>"}, {kAsk}},
        {"declined", {3}, false, {IDNO}, nullptr, standard, {u"[G]", u"Anna <1>", u"Bo <2>", u"Cai <3>"}, {kAsk}},
        {"nothing selected", {}, false, {}, nullptr, standard, {u"[G]", u"Anna <1>", u"Bo <2>", u"Cai <3>"}, {}},
        {"held by another process", {3}, false, {IDYES, IDOK}, [this] { held = Hold(book); }, standard,
         {u"[G]", u"Anna <1>", u"Bo <2>", u"Cai <3>"},
         {kAsk, u"Poista kohtia muistiosta|Puhelinmuistion avaaminen ei onnistunut - " + U16Path("book.KFD")}},
#if !defined(_WIN32)  // faults are injected in the headless file layer only
        {"disk full at the second of two", {1, 2}, false, {IDYES, IDOK},
         [] { fault::Arm({fault::Op::Write, fault::Calls(fault::Op::Write) + 2, fault::Action::Short}); },
         kHead + Entry("Anna", "1", "muistio") + Entry("Cai", "3") + Group("G", {{"Anna", "1"}}),
         {u"[G]", u"Anna <1>", u"Cai <3>"},
         {kAsk, u"Poista kohtia muistiosta|Levytila ei riitä jatkamiseen.\n"
                u"Kaikkien valittujen kohtien poistaminen ei onnistunut."}},
#endif
        {"damaged meanwhile", {3}, false, {IDYES, IDOK}, [this] { Put("book.KFD", "garbage"); }, "garbage",
         {u"[G]", u"Anna <1>", u"Bo <2>", u"Cai <3>"},
         {kAsk, u"Poista kohtia muistiosta|Puhelinmuistiotiedoston (.KFD) muoto ei kelpaa - " + U16Path("book.KFD")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        automation::Reset();
#if !defined(_WIN32)
        fault::Reset();
#endif
        Put("book.KFD", standard);
        DialogView v;
        Script s;
        s.selectMany(IDC_PB_PHONEBOOK_LIST, c.select);
        if (c.before) s.call([&](HWND) { c.before(); });
        if (c.byKey)
            s.key(IDC_PB_PHONEBOOK_LIST, VK_DELETE);
        else
            s.click(IDC_PB_DELETE);
        for (int a : c.answers) s.answer(a);
        Look(s, &v).click(IDCANCEL);
        Run(IDD_PHONEBOOK, s);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
        EXPECT_EQ(Get("book.KFD"), c.after);
        EXPECT_EQ(v.phonebook, c.list);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_FALSE(Exists("book.TMP"));
    }
}

}  // namespace
