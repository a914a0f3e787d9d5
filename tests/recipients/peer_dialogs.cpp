// The dialogs the recipient list opens, reduced to what a test needs: the
// scripted user reads and changes the module-wide buffers and ends them.
#include "windows.h"

namespace {
INT_PTR CALLBACK Plain(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}
}  // namespace

INT_PTR CALLBACK CommDlgProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Plain(d, m, w, l); }
INT_PTR CALLBACK ShowDBInfoDlgProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Plain(d, m, w, l); }
INT_PTR CALLBACK PhonebookDlgProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Plain(d, m, w, l); }
