// A demo of the scripted user from outside: opens the test dialog, and on OK
// prints what the user left in it. Run with FAX_UI_SCRIPT naming a script.
#include <cstdio>
#include <string>

#include "test_ids.h"
#include "windows.h"

namespace {

std::string Utf8Text(HWND dlg, int id) {
    WCHAR text[256];
    GetDlgItemTextW(dlg, id, text, 256);
    char out[1024];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return n > 0 ? std::string(out) : std::string();
}

void PrintChoices(HWND dlg) {
    std::printf("name: %s\n", Utf8Text(dlg, IDC_EDIT).c_str());
    std::printf("checked: %s\n", IsDlgButtonChecked(dlg, IDC_CHECK) == BST_CHECKED ? "yes" : "no");
    LRESULT sel = SendDlgItemMessageW(dlg, IDC_COMBO, CB_GETCURSEL, 0, 0);
    std::printf("combo: %ld\n", (long)sel);
}

void FillCombo(HWND dlg) {
    SendDlgItemMessageW(dlg, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)WIDE("G3 - Autom."));
    SendDlgItemMessageW(dlg, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)WIDE("F4800"));
    SendDlgItemMessageW(dlg, IDC_COMBO, CB_SETCURSEL, 0, 0);
}

void OnCommand(HWND dlg, WORD id) {
    switch (id) {
    case IDC_NESTED:
        MessageBoxW(dlg, WIDE("Avataanko?"), WIDE("Demo"), MB_YESNO | MB_ICONQUESTION);
        break;
    case IDOK:
        PrintChoices(dlg);
        EndDialog(dlg, IDOK);
        break;
    case IDCANCEL:
        EndDialog(dlg, IDCANCEL);
        break;
    }
}

INT_PTR CALLBACK DemoDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        FillCombo(dlg);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dlg, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int main() {
    INT_PTR r = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST), nullptr, DemoDlgProc, 0);
    std::printf("result: %ld\n", (long)r);
    return r == IDOK ? 0 : 1;
}
