// Started by the WinExec tests: writes its arguments, one a line, and the
// show state to the file named (Windows-style) by its first argument.
#include <cstdlib>
#include <string>

#include "windows.h"

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    std::string text;
    for (int i = 1; i < argc; ++i) text += std::string(argv[i]) + "\n";
    const char* show = std::getenv("FAX_SHOWCMD");
    text += std::string("show=") + (show ? show : "") + "\n";
    HANDLE h = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    DWORD n = 0;
    BOOL ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
    return ok ? 0 : 1;
}
