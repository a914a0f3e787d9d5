#pragma once
// Holding a dialog still while scripts/dialog-pictures.sh takes its
// picture: the window's rectangle goes to DIR\NAME.rect, and the dialog
// waits for DIR\NAME.done.
#include <windows.h>

#include <cstdio>
#include <string>

inline std::string& PictureDir() {
    static std::string dir;
    return dir;
}

// Lets the window paint, tells its rectangle and waits for the picture.
inline void HoldForPicture(HWND d, const char* name) {
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 20; ++i) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        Sleep(25);
    }
    RECT r;
    GetWindowRect(d, &r);
    const std::string base = PictureDir() + "\\" + name;
    // Written whole under another name and then renamed: the script
    // watching for NAME.rect must never read it half written.
    if (FILE* f = std::fopen((base + ".part").c_str(), "w")) {
        std::fprintf(f, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        std::fclose(f);
        MoveFileA((base + ".part").c_str(), (base + ".rect").c_str());
    }
    for (int i = 0; i < 400 && GetFileAttributesA((base + ".done").c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
}
