#pragma once
// The import program's state for its one run and the dialogs it shows.

#include <string>
#include <vector>

#include "entry_text.h"
#include "handoff.h"
#include "speed_dial_reader.h"
#include "windows.h"

class CsvCandidates;

struct ImportSelection {
    int maxCount = 0;                  // 50 from the recipient list, 0: no limit
    std::vector<std::string> entries;  // "name <fax>", in hand-off order
    std::vector<size_t> chosen;        // speed-dial files: candidate index of each entry
};

struct ImportApp {
    HINSTANCE instance = nullptr;
    HWND callerWindow = nullptr;
    std::string handoffPath;
    std::string helpPath;
    HandoffLayout layout = HandoffLayout::Standard;
    int foundCount = 0;
    int confirmedCount = 0;
    int rejectedCount = 0;
    ImportSelection selection;
    SpeedDialCandidates speedDial;  // kept to the end: the hand-off completes its records
    std::string wabLibraryPath;     // as the data type dialog found it; empty when not loadable
};

// The whole run; args is the program's argument text.
void RunImport(ImportApp& app, const char* args);
// For an exit or a crash in the middle of a run: enables the caller and
// posts the completion command, as the end of the run does.
void ReleaseCallerOnExit();

// Dialogs (each modal, owned by the caller's window when there is one).
int RunDataTypeDialog(ImportApp& app);  // an ImportSource code
// Field mapping: fills nameColumn (-1 none) and faxColumn; false on Cancel.
bool RunFieldMapDialog(ImportApp& app, const std::string& path, const std::vector<std::string>& fields,
                       int& nameColumn, int& faxColumn);
bool RunCsvPickDialog(ImportApp& app, const CsvCandidates& candidates, const std::string& path);
bool RunSpeedDialPickDialog(ImportApp& app, const std::string& path);
bool RunConfirmDialog(ImportApp& app, int source);

// Readers with their dialogs: recipients chosen, 0, or an error code.
int ReadCsvRecipients(ImportApp& app, const std::string& path, int source);
int ReadSpeedDialRecipients(ImportApp& app, const std::string& path);
// An address book source: the messaging system's book, a book file
// (wabFile) or the default book; fills the counters and the selection.
void RunAddressBookSource(ImportApp& app, int source, const std::string& wabFile);

// Help for a dialog's "Ohje" button; CloseHelp when the dialog ends.
void ShowHelp(ImportApp& app, HWND dlg, DWORD context, bool& opened);
void CloseHelp(ImportApp& app, HWND dlg, bool opened);

// Message boxes with the program's captions; owner is the caller window.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags);
