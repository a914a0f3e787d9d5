#pragma once
// Opens the phonebook dialog as its openers do, on a phonebook of a private
// Windows directory, and records what the dialog shows.
#include <string>
#include <vector>

#include "automation.h"
#include "dialog_readers.h"
#include "kfd_format.h"
#include "phonebook_dialog.h"
#include "phonebook_dialog_ids.h"
#include "shared_state.h"
#include "store_fixture.h"
#include "wide_text.h"
#include "windows_dir.h"
#if !defined(_WIN32)
#include "posix/fault_injection.h"
#endif

using automation::Script;
using Items = std::vector<std::u16string>;

// What the dialog shows at one moment.
struct DialogView {
    std::u16string title;
    std::vector<std::u16string> phonebook;  // list 601
    std::vector<std::u16string> selected;   // selected items of 601
    std::vector<std::u16string> picked;     // list 605
    std::vector<int> disabled;              // ids of disabled buttons
    int focus = 0;                          // id of the control with the focus
};

DialogView ViewOf(HWND dialog);

class PhonebookDialogTest : public StoreDir {
protected:
    void SetUp() override;
    void TearDown() override;

    // The standard phonebook: Anna <1>, Bo <2>, Cai <3> and [G] with Anna and Bo.
    static std::string StandardBook();
    // Plays the script in the dialog opened from template 106 or 600; the
    // dialog's result.
    INT_PTR Run(int templateId, const automation::Script& script);
    // The script step that takes a view of the dialog into *view.
    static automation::Script& Look(automation::Script& s, DialogView* view);
    // Message boxes seen, as "caption|text".
    static std::vector<std::u16string> Boxes();
    // A file of the directory as the dialog names it.
    std::u16string U16Path(const std::string& name) const { return AsU16(Path(name)); }
    // Holds a file open, not shared, as another process would.
    HANDLE Hold(const std::string& path) const;
    // Files of the Windows directory (KFD.INI, DEFAULT.KFD).
    std::string WinDirPath(const std::string& name) const { return windir + "/" + name; }
    void PutWin(const std::string& name, const std::string& bytes) const;
    std::string GetWin(const std::string& name) const;
    // KFD.INI naming a file of the private directory.
    void NameCurrent(const std::string& name) const { PutWin("KFD.INI", Path(name) + "\n"); }

    std::string windir;
    std::string book;  // path of the current phonebook
    HANDLE held = INVALID_HANDLE_VALUE;
};
