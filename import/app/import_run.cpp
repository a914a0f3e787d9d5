// The run of the import program: caller, source, confirmation, hand-off,
// completion command.
#include <cstdio>
#include <cstring>
#include <vector>

#include "handoff_file.h"
#include "import_app.h"
#include "import_codes.h"
#include "import_messages.h"
#include "rcpimport_ids.h"
#include "recipient_dialog_ids.h"

namespace {

void TakeCaller(ImportApp& app) {
    app.callerWindow = GetForegroundWindow();
    if (!app.callerWindow) return;
    app.selection.maxCount = GetDlgItem(app.callerWindow, IDC_RCP_LIST) ? kMaxRecipients : 0;
    EnableWindow(app.callerWindow, FALSE);
}

std::string HelpPathOf(HINSTANCE instance) {
    char module[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(instance, module, MAX_PATH);
    std::string path(module, n);
    size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "FAXHELP.HLP";
}

// The open dialog for a file of the source; empty on Cancel.
std::string AskFile(ImportApp& app, int source) {
    bool wab = source == SourceWabFile;
    char filter[256] = {};
    int len = LoadStringA(app.instance, wab ? IDS_WAB_FILTER : IDS_CSV_FILTER, filter, sizeof filter - 1);
    if (len > 0) {
        char sep = filter[len - 1];
        for (int i = 0; i < len; ++i) {
            if (filter[i] == sep) filter[i] = '\0';
        }
    }
    char path[MAX_PATH + 1] = {};
    OPENFILENAMEA ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = app.callerWindow;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = wab ? "Tuo WAB-tiedosto"
                         : source == SourceSpeedDial ? "Tuo lyhytvalinnan EWS-CSV-tiedosto" : "Tuo CSV-tiedosto";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&ofn) ? std::string(path) : std::string();
}

void ShowReaderError(ImportApp& app, int code, const std::string& path) {
    const char* format = ReaderErrorFormat(code);
    if (!format) return;
    std::vector<char> text(std::strlen(format) + path.size() + 1);
    std::snprintf(text.data(), text.size(), format, path.c_str());
    ShowMessage(app.callerWindow, text.data(), kReaderErrorCaption, MB_OK | MB_ICONSTOP);
}

void RunFileSource(ImportApp& app, int source) {
    std::string path = AskFile(app, source);
    if (path.empty()) return;
    int n = source == SourceSpeedDial ? ReadSpeedDialRecipients(app, path) : ReadCsvRecipients(app, path, source);
    if (n < 0) {
        ShowReaderError(app, n, path);
        app.foundCount = app.confirmedCount = app.rejectedCount = 0;
        app.selection.entries.clear();
        return;
    }
    app.foundCount = app.confirmedCount = n;
}

// The records to hand over, in the order of the entries.
std::vector<FaxRecipient> HandoffRecords(const ImportApp& app, int command) {
    std::vector<FaxRecipient> out;
    const ImportSelection& sel = app.selection;
    for (size_t k = 0; k < sel.entries.size(); ++k) {
        if (command == kImportDoneFull) {
            if (k < sel.chosen.size() && sel.chosen[k] < app.speedDial.Count()) out.push_back(app.speedDial.Completed(sel.chosen[k]));
            continue;
        }
        FaxRecipient r = DefaultRecipient;
        std::string name, fax;
        SplitEntryText(sel.entries[k], name, fax);
        std::strncpy(r.name, name.c_str(), sizeof r.name - 1);
        std::strncpy(r.faxNumber, fax.c_str(), sizeof r.faxNumber - 1);
        out.push_back(r);
    }
    // The compact count is 16 bits.
    if (app.layout == HandoffLayout::Compact && out.size() > 0xFFFF) out.resize(0xFFFF);
    return out;
}

void WriteHandoff(ImportApp& app, int command) {
    std::vector<FaxRecipient> records = HandoffRecords(app, command);
    HandoffWrite w = WriteRecipientImportFile(app.handoffPath.c_str(), app.layout, command, records.data(), records.size());
    if (w == HandoffWrite::Written) return;
    std::string text = "Tiedostoon " + app.handoffPath + " ei voi kirjoittaa.\n" + kNothingImported;
    ShowMessage(app.callerWindow, text.c_str(), kImportCaption, MB_OK | MB_ICONSTOP);
}

void Outcome(ImportApp& app, int source, int command) {
    if (app.foundCount == 0) {
        ShowMessage(app.callerWindow, kNothingImported, kImportCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (app.selection.entries.empty()) {
        ShowMessage(app.callerWindow, kNoFaxNumbers, kImportCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (RunConfirmDialog(app, source) && !app.handoffPath.empty()) {
        WriteHandoff(app, command);
        return;
    }
    ShowMessage(app.callerWindow, kNothingImported, kImportCaption, MB_OK | MB_ICONEXCLAMATION);
}

// The run in progress, for a way out that does not return through RunImport.
ImportApp* g_running = nullptr;
int g_command = kImportDoneNames;

// Every way out of the run passes here: the caller is enabled and told.
void ReleaseCaller(ImportApp& app, int command) {
    HWND caller = app.callerWindow;
    app.callerWindow = nullptr;
    if (!caller) return;
    EnableWindow(caller, TRUE);
    SetForegroundWindow(caller);
    PostImportCompletion(caller, command);
}

}  // namespace

void ReleaseCallerOnExit() {
    if (g_running) ReleaseCaller(*g_running, g_command);
}

void RunImport(ImportApp& app, const char* args) {
    g_running = &app;
    g_command = kImportDoneNames;
    TakeCaller(app);
    app.handoffPath = HandoffPathFromArguments(args ? args : "");
    app.helpPath = HelpPathOf(app.instance);
    int source = RunDataTypeDialog(app);
    int command = source == SourceSpeedDial ? kImportDoneFull : kImportDoneNames;
    g_command = command;
    switch (source) {
    case SourceCsvManual:
    case SourceCsvAuto:
    case SourceSpeedDial:
        RunFileSource(app, source);
        Outcome(app, source, command);
        break;
    case SourceMapi:
    case SourceWabDefault:
        RunAddressBookSource(app, source, std::string());
        Outcome(app, source, command);
        break;
    case SourceWabFile: {
        std::string path = AskFile(app, source);
        if (!path.empty()) RunAddressBookSource(app, source, path);
        Outcome(app, source, command);
        break;
    }
    case SourceNone:
    default:
        break;
    }
    app.speedDial.Clear();
    ReleaseCaller(app, command);
    g_running = nullptr;
}
