#pragma once
// The Windows directory of a dialog test, where KFD.INI and the default
// phonebook live: on our layer a private directory of the test's; on
// Windows the system's own, so a test removes the phonebook files there
// before and after it runs.

#include <stdlib.h>
#include <windows.h>

#include <filesystem>
#include <string>

// The Windows directory in use: privateDir where the system lets a test choose.
inline std::string UseWindowsDirectory(const std::string& privateDir) {
#if defined(_WIN32)
    (void)privateDir;
    char buf[MAX_PATH + 1] = {0};
    GetWindowsDirectoryA(buf, MAX_PATH);
    return buf;
#else
    setenv("FAX_WINDIR", privateDir.c_str(), 1);
    return privateDir;
#endif
}

// The current phonebook's setting, the default phonebook and its temporary
// and backup copies.
inline void RemovePhonebookFiles(const std::string& windir) {
    std::error_code ec;
    for (const char* name : {"KFD.INI", "DEFAULT.KFD", "DEFAULT.TMP", "DEFAULT.BAK"})
        std::filesystem::remove_all(windir + "/" + name, ec);
}
