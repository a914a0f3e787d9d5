#include "jobwatch_cmd.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "jobwatch_client.h"
#include "module_path.h"

namespace {

const char kUsage[] =
    "usage: faxhost jobwatch install [LIBRARY]   register a document monitor (default: the stand-in)\n"
    "       faxhost jobwatch uninstall           remove the registration\n"
    "The stand-in logs every call and record to $FAX_JOBWATCH_LOG.\n";

bool SetString(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

int Install(const std::string& library) {
    if (!std::ifstream(library).good()) {
        std::fprintf(stderr, "faxhost: %s does not exist\n", library.c_str());
        return 1;
    }
    if (library.size() >= kJobwatchApiPathSize) {
        std::fprintf(stderr, "faxhost: the library path is longer than the %u bytes the key holds\n",
                     static_cast<unsigned>(kJobwatchApiPathSize - 1));
        return 1;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kJobwatchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "faxhost: cannot create the registry key\n");
        return 1;
    }
    // The stand-in is its own monitor program: the key's default value
    // must name a file that exists.
    bool ok = SetString(key, nullptr, library) && SetString(key, kJobwatchApiValue, library);
    RegCloseKey(key);
    if (!ok) {
        std::fprintf(stderr, "faxhost: cannot write the registry key\n");
        return 1;
    }
    std::printf("document monitor registered: %s\n", library.c_str());
    return 0;
}

int Uninstall() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kJobwatchKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        std::printf("no document monitor registered\n");
        return 0;
    }
    RegDeleteValueA(key, nullptr);
    RegDeleteValueA(key, kJobwatchApiValue);
    RegCloseKey(key);
    std::printf("document monitor registration removed\n");
    return 0;
}

}  // namespace

int RunJobwatchCommand(int argc, char** argv) {
    if (argc == 2 && !std::strcmp(argv[1], "uninstall")) return Uninstall();
    if ((argc == 2 || argc == 3) && !std::strcmp(argv[1], "install"))
        return Install(argc == 3 ? argv[2] : DefaultJobwatchLibraryPath());
    std::fputs(kUsage, stderr);
    return 2;
}
