// The entry of a Windows GUI program on the headless build: main calls the
// program's WinMain with the text after the program name, as the Windows
// C runtime does (the name, then blanks and tabs skipped).
#include "windows.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show);

int main() {
    LPSTR p = GetCommandLineA();
    bool quoted = false;
    while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
        if (*p == '"') quoted = !quoted;
        ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return WinMain(GetModuleHandleA(nullptr), nullptr, p, SW_SHOWDEFAULT);
}
