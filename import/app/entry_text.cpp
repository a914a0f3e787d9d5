#include "import_app.h"

int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags) {
    return MessageBoxA(owner, text, caption, flags);
}

void ShowHelp(ImportApp& app, HWND dlg, DWORD context, bool& opened) {
    if (WinHelpA(dlg, app.helpPath.c_str(), HELP_CONTEXT, context)) opened = true;
}

void CloseHelp(ImportApp& app, HWND dlg, bool opened) {
    if (opened) WinHelpA(dlg, app.helpPath.c_str(), HELP_QUIT, 0);
}
