// Dialog 116: which source to import from.
#include "import_app.h"
#include "import_codes.h"
#include "rcpimport_ids.h"

namespace {

struct DataTypeState {
    ImportApp* app;
    bool helpOpened = false;
};

// The address book library as the registry names it, else its usual name.
std::string WabLibraryPath() {
    HKEY key;
    std::string path;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\WAB\\DLLPath", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char buf[274] = {};
        DWORD size = sizeof buf - 1;
        DWORD type = 0;
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ))
            path = buf;
        RegCloseKey(key);
    }
    return path.empty() ? "WAB32.DLL" : path;
}

// Remembers the library path for the run; a library that cannot be
// loaded now is not offered, and its path is forgotten.
bool WabAvailable(ImportApp& app) {
    app.wabLibraryPath = WabLibraryPath();
    HMODULE lib = LoadLibraryA(app.wabLibraryPath.c_str());
    if (!lib) {
        app.wabLibraryPath.clear();
        return false;
    }
    FreeLibrary(lib);
    return true;
}

void AddType(HWND dlg, const char* text, int code) {
    LRESULT i = SendDlgItemMessageA(dlg, IDC_TYPE_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageA(dlg, IDC_TYPE_COMBO, CB_SETITEMDATA, static_cast<WPARAM>(i), code);
}

int CurrentCode(HWND dlg) {
    LRESULT i = SendDlgItemMessageA(dlg, IDC_TYPE_COMBO, CB_GETCURSEL, 0, 0);
    if (i == CB_ERR) return SourceNone;
    return static_cast<int>(SendDlgItemMessageA(dlg, IDC_TYPE_COMBO, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
}

void ShowOnlyFor(HWND dlg, int id, bool on) {
    HWND box = GetDlgItem(dlg, id);
    EnableWindow(box, on);
    ShowWindow(box, on ? SW_SHOW : SW_HIDE);
}

void UpdateCheckBoxes(HWND dlg) {
    int code = CurrentCode(dlg);
    ShowOnlyFor(dlg, IDC_TYPE_AUTO_CSV, code == SourceCsvManual);
    ShowOnlyFor(dlg, IDC_TYPE_DEFAULT_WAB, code == SourceWabFile);
}

void OnInit(HWND dlg, DataTypeState* st) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(st));
    if (GetProfileIntA("Mail", "MAPIX", 0) == 1) AddType(dlg, "MS Messaging-j\xE4rjestelm\xE4n osoitteisto", SourceMapi);
    if (WabAvailable(*st->app)) AddType(dlg, "Windows-osoitteisto (WAB)", SourceWabFile);
    AddType(dlg, "Pilkuin eroteltu tekstitiedosto (CSV)", SourceCsvManual);
    AddType(dlg, "Lyhytvalintatiedosto EWS-CSV", SourceSpeedDial);
    CheckDlgButton(dlg, IDC_TYPE_AUTO_CSV, BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_TYPE_DEFAULT_WAB, BST_CHECKED);
    SendDlgItemMessageA(dlg, IDC_TYPE_COMBO, CB_SETCURSEL, 0, 0);
    UpdateCheckBoxes(dlg);
    SetForegroundWindow(dlg);
}

int ChosenSource(HWND dlg) {
    int code = CurrentCode(dlg);
    if (code == SourceCsvManual && IsDlgButtonChecked(dlg, IDC_TYPE_AUTO_CSV) == BST_CHECKED) return SourceCsvAuto;
    if (code == SourceWabFile && IsDlgButtonChecked(dlg, IDC_TYPE_DEFAULT_WAB) == BST_CHECKED) return SourceWabDefault;
    return code;
}

void End(HWND dlg, int result) {
    auto* st = reinterpret_cast<DataTypeState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    CloseHelp(*st->app, dlg, st->helpOpened);
    EndDialog(dlg, result);
}

void OnCommand(HWND dlg, int id, int code) {
    auto* st = reinterpret_cast<DataTypeState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (id) {
    case IDC_TYPE_COMBO:
        if (code == CBN_SELCHANGE) UpdateCheckBoxes(dlg);
        break;
    case IDOK: End(dlg, ChosenSource(dlg)); break;
    case IDCANCEL: End(dlg, SourceNone); break;
    case IDC_TYPE_HELP: ShowHelp(*st->app, dlg, 15510, st->helpOpened); break;
    }
}

INT_PTR CALLBACK DataTypeDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInit(dlg, reinterpret_cast<DataTypeState*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int RunDataTypeDialog(ImportApp& app) {
    DataTypeState st{&app};
    INT_PTR r = DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_DATA_TYPE), app.callerWindow, DataTypeDlgProc,
                                reinterpret_cast<LPARAM>(&st));
    return r < 0 ? SourceNone : static_cast<int>(r);
}
