#include "dialog_help.h"

#include <string>

#include "string_ids.h"

namespace {

HINSTANCE helpModule = nullptr;
std::basic_string<WCHAR> helpPath;  // built on first use, kept for the module's life
const WCHAR kHelpOpenProp[] = {'F', 'a', 'x', 'H', 'e', 'l', 'p', 'O', 'p', 'e', 'n', 0};

// Until a host hook names the module, the dialogs are those of the module
// this code is in: a host may call an exported dialog procedure first, and
// the module's strings (the import program's name) must still be found.
HINSTANCE OwnModule() {
    HMODULE own = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModule), &own);
    return own;
}

const WCHAR* HelpPath() {
    if (!helpPath.empty()) return helpPath.c_str();
    HINSTANCE helpModule = DialogModule();
    WCHAR module[MAX_PATH + 1] = {0};
    DWORD n = GetModuleFileNameW(helpModule, module, MAX_PATH);
    if (n > MAX_PATH) n = MAX_PATH;
    std::basic_string<WCHAR> dir(module, n);
    size_t slash = dir.find_last_of(WIDE("\\/"));
    dir.resize(slash == std::basic_string<WCHAR>::npos ? 0 : slash + 1);
    WCHAR file[MAX_PATH + 1] = {0};
    LoadStringW(helpModule, IDS_HELP_FILE, file, MAX_PATH);
    helpPath = dir + file;
    return helpPath.c_str();
}

}  // namespace

const WCHAR* DialogHelpFile() { return HelpPath(); }

void SetHelpModule(HINSTANCE module) {
    helpModule = module;
    helpPath.clear();
}

void ShowDialogHelp(HWND dialog, DWORD context) {
    if (WinHelpW(dialog, HelpPath(), HELP_CONTEXT, context)) SetPropW(dialog, kHelpOpenProp, reinterpret_cast<HANDLE>(1));
}

void CloseDialogHelp(HWND dialog) {
    if (!GetPropW(dialog, kHelpOpenProp)) return;
    WinHelpW(dialog, HelpPath(), HELP_QUIT, 0);
    RemovePropW(dialog, kHelpOpenProp);
}

void EnableDialogControl(HWND dialog, int id, BOOL enable) {
    HWND control = GetDlgItem(dialog, id);
    if (control) EnableWindow(control, enable);
}

HINSTANCE DialogModule() { return helpModule ? helpModule : OwnModule(); }
