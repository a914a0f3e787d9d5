// rcpimport started from faxui's own recipient list and phonebook dialogs,
// loaded from the faxui module as the host loads it, with the program
// placed next to the module as it is installed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "list_texts.h"
#include "two_process_fixture.h"

namespace {

using automation::Script;

struct StartingDialog {
    const char* procedure;
    int templateId;
    int list;  // where the recipients are shown
};
const StartingDialog kRecipientList{"RecipientDlgProc", 101, 1008};
const StartingDialog kPhonebook{"PhonebookDlgProc", 106, 601};
constexpr int kImportButton = 1018;

// What the starting dialog received while the program ran, seen through a
// subclass of the dialog's window.
struct Received {
    std::vector<BOOL> enables;
    std::vector<int> commands;  // completion commands only
};
Received received;
WNDPROC dialogWindowProc = nullptr;

LRESULT CALLBACK Watch(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENABLE) received.enables.push_back(static_cast<BOOL>(wParam));
    if (msg == WM_COMMAND && (LOWORD(wParam) == 1022 || LOWORD(wParam) == 1028))
        received.commands.push_back(LOWORD(wParam));
    return CallWindowProcW(dialogWindowProc, dlg, msg, wParam, lParam);
}

class FaxuiImportTest : public TwoProcessFixture {
protected:
    void SetUp() override {
        TwoProcessFixture::SetUp();
        received = Received{};
    }
    // Opens the dialog from the module; the user presses the import button,
    // waits for the completion command, then takes the dialog's list and
    // closes it. The import program plays programScript.
    std::vector<std::u16string> ImportInto(const StartingDialog& d, const std::string& programScript) {
        static HMODULE module = LoadLibraryA(FAXUI_COPY);
        EXPECT_NE(module, nullptr);
        auto proc = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(GetProcAddress(module, d.procedure)));
        if (!proc) {
            ADD_FAILURE() << "faxui does not export " << d.procedure;
            return {};
        }
        ProgramScript(programScript);
        std::vector<std::u16string> shown;
        bool enabledAfter = false;
        automation::Play(Script()
                             .dialog(d.templateId)
                             .call([](HWND dlg) {
                                 dialogWindowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                                     dlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Watch)));
                             })
                             .click(kImportButton)
                             .wait(30000)
                             .call([&](HWND dlg) {
                                 shown = ListTexts(dlg, d.list);
                                 enabledAfter = IsWindowEnabled(dlg) != FALSE;
                             })
                             .click(IDCANCEL));
        DialogBoxParamW(module, MAKEINTRESOURCEW(d.templateId), nullptr, proc, 0);
        EXPECT_EQ(automation::StepsLeft(), 0u);
        EXPECT_TRUE(enabledAfter);
        EXPECT_EQ(received.enables, (std::vector<BOOL>{FALSE, TRUE}));
        return shown;
    }
    // Hand-off files left in the Windows directory, where the root is.
    std::vector<std::string> HandoffFiles() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(windir_)) {
            std::string name = e.path().filename().string();
            if (name.rfind("DB", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".TMP")
                out.push_back(name);
        }
        return out;
    }
    // n contacts with their fax numbers as a mail program exports them.
    std::string Contacts(int n) {
        std::string text = "Nimi,Yritys,Faksi (ty\xF6)\r\n";
        for (int i = 0; i < n; ++i)
            text += "Asiakas " + std::to_string(100 + i) + ",\"Oy Esimerkki, Tampere\",(03) 555 " +
                    std::to_string(1000 + i) + "\r\n";
        return Write("asiakkaat" + std::to_string(runs_) + ".csv", text);
    }
};

// All of a file's contacts picked: the recipient list (it has list 1008)
// takes at most 50 and the program says so; the phonebook takes them all.
TEST_F(FaxuiImportTest, ContactsArriveInTheDialogThatStartedTheImport) {
    struct Case {
        const StartingDialog& dialog;
        int contacts;
        const char* limitNote;  // the program's message when it stops at 50
        size_t shown;
    } cases[] = {
        {kRecipientList, 55, "msgbox 1 Voit tuoda enint\xC3\xA4\xC3\xA4n 50 vastaanottajaa.\n", 50},
        {kPhonebook, 55, "", 55},
        {kRecipientList, 2, "", 2},
    };
    for (const Case& c : cases) {
        std::string pickAll = "multiselect 1004";
        for (int i = 0; i < c.contacts; ++i) pickAll += " " + std::to_string(i);
        std::vector<std::u16string> shown =
            ImportInto(c.dialog, "dialog 116\nselect 1056 0\ncheck 1057 on\nclick 1\nfile " + Contacts(c.contacts) +
                                     "\ndialog 102\n" + pickAll + "\nclick 1001\n" + c.limitNote +
                                     "click 1\ndialog 101\nclick 1\n");
        EXPECT_EQ(received.commands, std::vector<int>{1022}) << c.dialog.procedure;
        ASSERT_EQ(shown.size(), c.shown) << c.dialog.procedure;
        EXPECT_EQ(shown[0], u"Asiakas 100 <(03)5551000>") << c.dialog.procedure;
        EXPECT_TRUE(HandoffFiles().empty()) << c.dialog.procedure;
        received = Received{};
    }
}

// A speed-dial export hands over whole records (command 1028); both
// dialogs list them by name and number.
TEST_F(FaxuiImportTest, SpeedDialsArriveAsWholeRecords) {
    std::string file = Write("lyhytvalinnat" + std::to_string(runs_) + ".csv",
                             "*,1,0,1,EWS,Lyhytvalinnat\r\n"
                             "1,N,09 123 4567,P\xE4\xE4konttori,,,2\r\n"
                             "2,N,040 765 4321,Varasto,,,4,,,,,,P12/3/#5/004\r\n");
    for (const StartingDialog* d : {&kRecipientList, &kPhonebook}) {
        std::vector<std::u16string> shown = ImportInto(
            *d, "dialog 116\nselect 1056 1\nclick 1\nfile " + file +
                    "\ndialog 118\nmultiselect 1004 0 1\nclick 1001\nclick 1\ndialog 101\nclick 1\n");
        EXPECT_EQ(received.commands, std::vector<int>{1028}) << d->procedure;
        EXPECT_EQ(shown, (std::vector<std::u16string>{u"P\u00e4\u00e4konttori <091234567>", u"Varasto <0407654321>"}))
            << d->procedure;
        EXPECT_TRUE(HandoffFiles().empty()) << d->procedure;
        received = Received{};
    }
}

// Cancelled in the program's first dialog: the completion command still
// comes, no file is left behind, and the dialog shows what it showed.
TEST_F(FaxuiImportTest, CancelledImportLeavesTheDialogAsItWas) {
    for (const StartingDialog* d : {&kRecipientList, &kPhonebook}) {
        std::vector<std::u16string> shown = ImportInto(*d, "dialog 116\nclick 2\n");
        EXPECT_EQ(received.commands, std::vector<int>{1022}) << d->procedure;
        EXPECT_TRUE(shown.empty()) << d->procedure;
        EXPECT_TRUE(HandoffFiles().empty()) << d->procedure;
        received = Received{};
    }
}

// A contact export in vCard form through the stand-in address book: the
// address book type with the file, a list picked in the address book's own
// dialog, its people shown in the recipient list.
TEST_F(FaxuiImportTest, AddressBookListArrivesInTheRecipientList) {
    std::filesystem::create_directories(windir_);
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\WAB\\DLLPath", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(WAB_LIBRARY), sizeof WAB_LIBRARY);
    RegCloseKey(key);
    std::vector<std::u16string> shown =
        ImportInto(kRecipientList, std::string("dialog 116\nselect 1056 0\ncheck 1059 off\nclick 1\nfile ") +
                                       VCARD_TEST_DATA + "/export_40.vcf\ndialog 100\n"
                                       "selecttext 1001 Myyntitiimi (jakelulista)\nclick 1002\nclick 1\n"
                                       "dialog 101\nclick 1\n");
    EXPECT_EQ(received.commands, std::vector<int>{1022});
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"Tiina Salo <+358-9-100-2000>", u"Matti Koski <+35893004000>"}));
}

}  // namespace
