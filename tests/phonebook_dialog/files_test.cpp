// New, Open and Save as: which file becomes current, what is written, and
// every question and message on the way.
#include "dialog_fixture.h"

namespace {

const std::u16string kExists = u"\nTiedosto on jo olemassa. Haluatko korvata sen?";

struct FileCase {
    const char* what;
    int button;
    std::function<void(Script&)> user;  // file answers and message box answers
    std::string current;                // file current afterwards
    std::vector<std::u16string> boxes;  // "caption|text" of every message box
    std::function<void()> before = nullptr;  // in the open dialog, before the click
};

class FilesTest : public PhonebookDialogTest {
protected:
    void RunCase(const FileCase& c) {
        SCOPED_TRACE(c.what);
        automation::Reset();
        DialogView v;
        Script s;
        if (c.before) s.call([&](HWND) { c.before(); });
        s.click(c.button);
        c.user(s);
        Look(s, &v).click(IDCANCEL);
        Run(IDD_PHONEBOOK, s);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(GetWin("KFD.INI"), Path(c.current) + "\n");
        EXPECT_EQ(v.title, u"Puhelinmuistio - " + U16Path(c.current));
        EXPECT_TRUE(v.disabled.empty());
    }
};

TEST_F(FilesTest, NewPhonebook) {
    Put("old.KFD", StandardBook());
    const FileCase cases[] = {
        {"a new name gets the extension", IDC_PB_NEW_BOOK, [&](Script& s) { s.file(Path("uusi")); }, "uusi.KFD", {}},
        {"cancelled", IDC_PB_NEW_BOOK, [](Script& s) { s.cancelFile(); }, "book.KFD", {}},
        {"existing file kept, asked again", IDC_PB_NEW_BOOK,
         [&](Script& s) { s.file(Path("old.KFD")).answer(IDNO).cancelFile(); }, "book.KFD",
         {u"Uusi|" + U16Path("old.KFD") + kExists}},
        {"existing file held by another process: not made current", IDC_PB_NEW_BOOK,
         [&](Script& s) { s.file(Path("old.KFD")).answer(IDYES).answer(IDOK); }, "book.KFD",
         {u"Uusi|" + U16Path("old.KFD") + kExists, u"Uusi|Puhelinmuistion avaaminen ei onnistunut - " + U16Path("old.KFD")},
         [&] { held = Hold(Path("old.KFD")); }},
        {"existing file replaced", IDC_PB_NEW_BOOK, [&](Script& s) { s.file(Path("old.KFD")).answer(IDYES); },
         "old.KFD", {u"Uusi|" + U16Path("old.KFD") + kExists}},
    };
    for (const auto& c : cases) {
        NameCurrent("book.KFD");
        RunCase(c);
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
            EXPECT_EQ(Get("old.KFD"), StandardBook());
        }
        held = INVALID_HANDLE_VALUE;
    }
    EXPECT_EQ(Get("uusi.KFD"), kHead);
    EXPECT_EQ(Get("old.KFD"), kHead);
    EXPECT_EQ(Get("book.KFD"), StandardBook());
    const auto& dialogs = automation::Seen().fileDialogs;
    ASSERT_FALSE(dialogs.empty());
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_EQ(dialogs[0].title, u"Uusi");
}

TEST_F(FilesTest, OpenPhonebook) {
    const std::string other = kHead + Entry("Ville", "9");
    Put("other.KFD", other);
    Put("notes.txt", "not a phonebook");
    Put("vanha.KFD", ReadGolden("v1000.KFD"));
    const std::u16string bad = u"Avaa|Puhelinmuistiotiedoston (.KFD) muoto ei kelpaa - ";
    const FileCase cases[] = {
        {"another phonebook", IDC_PB_OPEN_BOOK, [&](Script& s) { s.file(Path("other.KFD")); }, "other.KFD", {}},
        {"the extension is found", IDC_PB_OPEN_BOOK, [&](Script& s) { s.file(Path("other")); }, "other.KFD", {}},
        {"the current one", IDC_PB_OPEN_BOOK, [&](Script& s) { s.file(Path("book.KFD")); }, "book.KFD", {}},
        {"not a phonebook", IDC_PB_OPEN_BOOK, [&](Script& s) { s.file(Path("notes.txt")).answer(IDOK); }, "book.KFD",
         {bad + U16Path("notes.txt")}},
        {"held by another process", IDC_PB_OPEN_BOOK, [&](Script& s) { s.file(Path("other.KFD")).answer(IDOK); },
         "book.KFD", {u"Avaa|Puhelinmuistion avaaminen ei onnistunut - " + U16Path("other.KFD")},
         [&] { held = Hold(Path("other.KFD")); }},
        {"older version not converted", IDC_PB_OPEN_BOOK,
         [&](Script& s) { s.file(Path("vanha.KFD")).answer(IDNO, u"Haluatko muuntaa sen?"); }, "book.KFD",
         {u"Tiedoston muunnos|" + U16Path("vanha.KFD") +
          u"\nTIedostomuoto on luotu ajurin aikaisemmalla versiolla.\nHaluatko muuntaa sen?"
          u"\n\nHuom:\nKohtia, joissa on sama nimi ja faksinumero pidetään toisintoina.\nVain ensimmäinen muunnetaan."}},
        {"older version converted", IDC_PB_OPEN_BOOK,
         [&](Script& s) { s.file(Path("vanha.KFD")).answer(IDYES).file(Path("muunnettu")); }, "muunnettu.KFD",
         {u"Tiedoston muunnos|" + U16Path("vanha.KFD") +
          u"\nTIedostomuoto on luotu ajurin aikaisemmalla versiolla.\nHaluatko muuntaa sen?"
          u"\n\nHuom:\nKohtia, joissa on sama nimi ja faksinumero pidetään toisintoina.\nVain ensimmäinen muunnetaan."}},
    };
    for (const auto& c : cases) {
        NameCurrent("book.KFD");
        RunCase(c);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }
    EXPECT_EQ(Get("other.KFD"), other);
    EXPECT_EQ(Get("book.KFD"), StandardBook());
}

TEST_F(FilesTest, SaveAs) {
    Put("kopio.KFD", "previous contents");
    const std::u16string copyError = u"Tallenna nimellä|Tiedoston kopiointivirhe!\nTallenna nimellä -toiminto ei onnistunut.";
    const FileCase cases[] = {
        {"onto the current file", IDC_PB_SAVE_AS, [&](Script& s) { s.file(Path("book.kfd")); }, "book.KFD", {}},
        {"existing file kept, asked again", IDC_PB_SAVE_AS,
         [&](Script& s) { s.file(Path("kopio.KFD")).answer(IDNO).cancelFile(); }, "book.KFD",
         {u"Tallenna nimellä|" + U16Path("kopio.KFD") + kExists}},
        {"phonebook held by another process", IDC_PB_SAVE_AS,
         [&](Script& s) { s.file(Path("kopio.KFD")).answer(IDYES).answer(IDOK); }, "book.KFD",
         {u"Tallenna nimellä|" + U16Path("kopio.KFD") + kExists, copyError}, [&] { held = Hold(book); }},
#if !defined(_WIN32)  // faults are injected in the headless file layer only
        {"disk full", IDC_PB_SAVE_AS,
         [&](Script& s) { s.file(Path("kopio.KFD")).answer(IDYES).answer(IDOK); }, "book.KFD",
         {u"Tallenna nimellä|" + U16Path("kopio.KFD") + kExists, copyError},
         [&] {
             fault::Reset();
             fault::Arm({fault::Op::Write, 1, fault::Action::Short});
         }},
#endif
        {"copied", IDC_PB_SAVE_AS, [&](Script& s) { s.file(Path("kopio")).answer(IDYES); }, "kopio.KFD",
         {u"Tallenna nimellä|" + U16Path("kopio.KFD") + kExists}},
    };
    for (const auto& c : cases) {
        // What the failed copies must have left alone.
        if (std::string(c.what) == "copied") {
            EXPECT_EQ(Get("kopio.KFD"), "previous contents");
            EXPECT_FALSE(Exists("kopio.TMP"));
#if !defined(_WIN32)
            fault::Reset();
#endif
        }
        NameCurrent("book.KFD");
        RunCase(c);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }
    EXPECT_EQ(Get("kopio.KFD"), StandardBook());
    EXPECT_EQ(Get("book.KFD"), StandardBook());
}

}  // namespace
