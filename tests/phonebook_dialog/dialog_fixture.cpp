#include "dialog_fixture.h"

#include <stdlib.h>

#include <fstream>

#include "list_texts.h"
#include "scripted_user.h"

DialogView ViewOf(HWND dialog) {
    DialogView v;
    v.title = Title(dialog);
    v.phonebook = ListTexts(dialog, IDC_PB_PHONEBOOK_LIST);
    v.picked = ListTexts(dialog, IDC_PB_PICKED_LIST);
    for (int i = 0; i < static_cast<int>(v.phonebook.size()); ++i)
        if (SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_GETSEL, i, 0) > 0)
            v.selected.push_back(v.phonebook[i]);
    for (int id : {IDC_PB_NEW_BOOK, IDC_PB_OPEN_BOOK, IDC_PB_SAVE_AS, IDC_PB_NEW_ITEM, IDC_PB_DELETE,
                   IDC_PB_PROPERTIES, IDC_PB_IMPORT, IDC_PB_PICK}) {
        HWND c = GetDlgItem(dialog, id);
        if (c && !IsWindowEnabled(c)) v.disabled.push_back(id);
    }
    v.focus = GetFocus() ? GetDlgCtrlID(GetFocus()) : 0;
    return v;
}

void PhonebookDialogTest::SetUp() {
    StoreDir::SetUp();
    windir = UseWindowsDirectory(dir);
    RemovePhonebookFiles(windir);
#if !defined(_WIN32)
    setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
    fault::Reset();
#endif
    StartScriptedUser();
    ExchangeRecipients = RecipientBlock{};
    AllocateExchangeDetails();
    book = Path("book.KFD");
    Put("book.KFD", StandardBook());
    NameCurrent("book.KFD");
}

void PhonebookDialogTest::TearDown() {
    FreeExchangeDetails();
    RemovePhonebookFiles(windir);
#if !defined(_WIN32)
    fault::Reset();
#endif
    EndScriptedUser();
    StoreDir::TearDown();
}

std::string PhonebookDialogTest::StandardBook() {
    return kHead + Entry("Anna", "1", "muistio") + Entry("Bo", "2") +
           Entry("Cai", "3") + Group("G", {{"Anna", "1"}, {"Bo", "2"}});
}

INT_PTR PhonebookDialogTest::Run(int templateId, const automation::Script& script) {
    automation::Play(script);
    INT_PTR r = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(templateId), nullptr, PhonebookDlgProc, 0);
    EXPECT_EQ(automation::StepsLeft(), 0u);
    return r;
}

automation::Script& PhonebookDialogTest::Look(automation::Script& s, DialogView* view) {
    return s.call([view](HWND d) { *view = ViewOf(d); });
}

std::vector<std::u16string> PhonebookDialogTest::Boxes() {
    std::vector<std::u16string> out;
    for (const auto& b : automation::Seen().messageBoxes) out.push_back(b.caption + u"|" + b.text);
    return out;
}

HANDLE PhonebookDialogTest::Hold(const std::string& path) const {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void PhonebookDialogTest::PutWin(const std::string& name, const std::string& bytes) const {
    std::ofstream(WinDirPath(name), std::ios::binary | std::ios::trunc).write(bytes.data(),
                                                                          static_cast<std::streamsize>(bytes.size()));
}

std::string PhonebookDialogTest::GetWin(const std::string& name) const {
    std::ifstream f(WinDirPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}
