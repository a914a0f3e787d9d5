// A person's contact export into the phonebook: the phonebook dialog starts
// the import program, which opens the vCard file through the stand-in
// address book; the user picks a distribution list in the stand-in's
// dialog, and its people arrive in the phonebook.
#include <stdlib.h>

#include <fstream>

#include "dialog_fixture.h"
#include "kfd_format.h"

namespace {

TEST_F(PhonebookDialogTest, ContactExportThroughTheAddressBookIntoThePhonebook) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\WAB\\DLLPath", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(WAB_LIBRARY), sizeof WAB_LIBRARY);
    RegCloseKey(key);
    // The import program's user: the address book type with a chosen file,
    // the list picked in the address book's dialog, the confirmation.
    Put("tuonti.script", std::string("dialog 116\nselect 1056 0\ncheck 1059 off\nclick 1\nfile ") + VCARD_DATA_DIR +
                             "/export_40.vcf\ndialog 100\nselecttext 1001 Myyntitiimi (jakelulista)\nclick 1002\n"
                             "click 1\ndialog 101\nclick 1\n");
    setenv("FAX_UI_SCRIPT", Path("tuonti.script").c_str(), 1);
    Put("book.KFD", kHead + Entry("Anna", "1"));
    DialogView v;
    automation::Script s;
    s.click(IDC_PB_IMPORT).wait(30000);
    Look(s, &v).click(IDCANCEL);
    Run(IDD_PHONEBOOK, s);
    unsetenv("FAX_UI_SCRIPT");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(v.phonebook, (std::vector<std::u16string>{u"Anna <1>", u"Matti Koski <+35893004000>",
                                                        u"Tiina Salo <+358-9-100-2000>"}));
    EXPECT_EQ(Get("book.KFD"), kHead + Entry("Anna", "1") +
                                   Entry("Tiina Salo", "+358-9-100-2000") + Entry("Matti Koski", "+35893004000"));
}

}  // namespace
