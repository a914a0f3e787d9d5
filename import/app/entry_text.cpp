#include "import_app.h"

void SplitEntryText(const std::string& entry, std::string& name, std::string& fax) {
    size_t lt = entry.find('<');
    if (lt == std::string::npos) {
        name = entry;
        fax.clear();
        return;
    }
    // The character before '<' is the blank of "%s <%s>".
    name = entry.substr(0, lt == 0 ? 0 : lt - 1);
    size_t gt = entry.find('>', lt + 1);
    fax = entry.substr(lt + 1, gt == std::string::npos ? std::string::npos : gt - lt - 1);
}

int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags) {
    return MessageBoxA(owner, text, caption, flags);
}

void ShowHelp(ImportApp& app, HWND dlg, DWORD context, bool& opened) {
    if (WinHelpA(dlg, app.helpPath.c_str(), HELP_CONTEXT, context)) opened = true;
}

void CloseHelp(ImportApp& app, HWND dlg, bool opened) {
    if (opened) WinHelpA(dlg, app.helpPath.c_str(), HELP_QUIT, 0);
}
