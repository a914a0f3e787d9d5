#include "phonebook_manage.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "module_path.h"
#include "phonebook_cmd.h"
#include "phonebook_dialog_ids.h"
#include "settings_file.h"
#include "store.h"
#include "text_convert.h"
#include "windows.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "faxhost phonebook manage: %s\n", message.c_str());
    return 1;
}

// Makes file the phonebook the dialog opens on, creating an empty one when
// it does not exist yet. The dialog would fall back to the default
// phonebook without a word for a file it cannot use, so such a file is
// refused here.
int MakeCurrent(const char* arg) {
    std::string absolute = std::filesystem::absolute(arg).string();
    WideString path = PathArgument(absolute.c_str());
    if (!DBHasPhonebookExtension(path.c_str())) return Fail(std::string(arg) + ": a phonebook name ends in .KFD");
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && DBCreateEmptyPhonebook(path.c_str()) != DB_DONE)
        return Fail(std::string(arg) + ": cannot be created");
    switch (DBCheckVersion(path.c_str())) {
    case DB_DONE: break;
    case DB_CANNOT_OPEN: return Fail(std::string(arg) + ": cannot be opened or created");
    case DB_VERSION_0000:
    case DB_VERSION_1000: return Fail(std::string(arg) + ": an older phonebook; convert it with 'faxhost phonebook convert'");
    default: return Fail(std::string(arg) + ": not a phonebook");
    }
    WCHAR dir[MAX_PATH + 1] = {0};
    UINT n = GetWindowsDirectoryW(dir, MAX_PATH);
    if (n == 0 || n > MAX_PATH) return Fail("no Windows directory");
    WideString settings(dir, n);
    if (settings.back() != WCHAR('\\') && settings.back() != WCHAR('/')) settings += WCHAR('\\');
    settings += WIDE("KFD.INI");
    if (WriteSettingsFile(settings.c_str(), path.c_str()) != DB_DONE)
        return Fail("cannot write KFD.INI in the Windows directory");
    return 0;
}

}  // namespace

int RunPhonebookManage(int argc, char** argv) {
    if (argc > 2) {
        std::fputs("usage: faxhost phonebook manage [FILE]\n", stderr);
        return 2;
    }
    std::string modulePath = DefaultUiModulePath();
    HMODULE module = LoadLibraryA(modulePath.c_str());
    if (!module) return Fail("cannot load " + modulePath);
    // Through void*: the exported symbol is a dialog procedure, not a FARPROC.
    auto proc = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(GetProcAddress(module, "PhonebookDlgProc")));
    if (!proc) {
        FreeLibrary(module);
        return Fail(modulePath + " does not export PhonebookDlgProc");
    }
    if (argc == 2) {
        if (int rc = MakeCurrent(argv[1])) {
            FreeLibrary(module);
            return rc;
        }
    }
    INT_PTR result = DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_PHONEBOOK), nullptr, proc, 0);
    FreeLibrary(module);
    return result == -1 ? Fail("the dialog could not be shown") : 0;
}
