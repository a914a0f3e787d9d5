#include "current_phonebook.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "convert_old.h"
#include "handoff.h"
#include "handoff_file.h"
#include "dialog_help.h"
#include "messages.h"
#include "settings_file.h"
#include "store.h"
#include "store_file.h"
#include "store_state.h"
#include "string_ids.h"
#include "text_convert.h"

namespace {

constexpr int kDirMax = kStorePathChars - 1;

WideString W(const char* s) {
    WideString t;
    for (; *s; ++s) t += static_cast<WCHAR>(static_cast<unsigned char>(*s));
    return t;
}

void CopyPath(WCHAR* dst, const WideString& src) {
    size_t n = src.size() < static_cast<size_t>(kDirMax) ? src.size() : kDirMax;
    std::memcpy(dst, src.data(), n * sizeof(WCHAR));
    dst[n] = 0;
}

bool Exists(const WCHAR* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool SameIgnoringCase(const WideString& a, const WideString& b) { return FoldCase(a) == FoldCase(b); }

// Where paths have no drive (the headless build), the directory uses '/'.
WCHAR SeparatorOf(const WideString& dir) {
    return (dir.find(WCHAR('\\')) == WideString::npos && dir.find(WCHAR('/')) != WideString::npos) ? WCHAR('/')
                                                                                                    : WCHAR('\\');
}

// The Windows directory with its separator, or "C:\" when it cannot be read.
WideString WindowsDirectory(bool* ok) {
    WCHAR dir[kStorePathChars + 1] = {0};
    UINT n = GetWindowsDirectoryW(dir, kStorePathChars);
    *ok = n > 0 && n <= static_cast<UINT>(kDirMax);
    if (!*ok) return W("C:\\");
    WideString d(dir, n);
    WCHAR sep = SeparatorOf(d);
    if (d.back() != sep) d += sep;
    return d;
}

// Makes path current; result 1 of DBOpenCurrentPhonebook. When KFD.INI
// cannot be rewritten the phonebook is still usable now, and the next start
// begins from KFD.INI as it was: nothing the user needs to be told.
int UseAsCurrent(const WCHAR* path) {
    (void)DBSetCurrentPhonebook(path);
    return 1;
}

// A phonebook current for this session only, KFD.INI left as it was: a
// default phonebook that could not be written (the validation that follows
// names the missing file), or the named one that cannot be opened now.
int UseUnwritten(const WCHAR* path) {
    CopyPath(StoreState.currentPath, WideString(path, WideBoundedLen(path, kDirMax)));
    CopyPath(StoreState.tempPath, TempPathFor(StoreState.currentPath));
    return 1;
}

// Moves a damaged default phonebook aside before an empty one takes its
// name; false when no free name was found (the file is then kept).
bool KeepDamagedDefault(const WideString& dir, const WideString& path) {
    for (int i = 0; i < 100; ++i) {
        char name[16];
        if (i == 0)
            std::strcpy(name, "DEFAULT.BAK");
        else
            std::snprintf(name, sizeof name, "DEFAULT.B%02d", i);
        WideString aside = dir + W(name);
        if (Exists(aside.c_str())) continue;
        return MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    return false;
}

WideString LoadModuleString(UINT id) {
    WCHAR buf[kStorePathChars] = {0};
    int n = LoadStringW(DialogModule(), id, buf, kStorePathChars);
    return WideString(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

WideString ModuleDirectory() {
    WCHAR module[kStorePathChars + 1] = {0};
    DWORD n = GetModuleFileNameW(DialogModule(), module, kStorePathChars);
    if (n > static_cast<DWORD>(kStorePathChars)) n = kStorePathChars;
    WideString dir(module, n);
    size_t slash = dir.find_last_of(WIDE("\\/"));
    dir.resize(slash == WideString::npos ? 0 : slash + 1);
    return dir;
}

}  // namespace

void SetHandoffRootFromWindowsDirectory() {
    bool ok = false;
    WideString dir = WindowsDirectory(&ok);
    std::string root = HandoffRootFor(ok ? WideToAnsi(dir).c_str() : nullptr);
    CopyPath(StoreState.handoffRoot, AnsiToWide(root));
}

DBResult DBSetCurrentPhonebook(const WCHAR* path) {
    WideString p(path, WideBoundedLen(path, kDirMax));
    CopyPath(StoreState.currentPath, p);
    CopyPath(StoreState.tempPath, TempPathFor(p.c_str()));
    return WriteSettingsFile(StoreState.settingsPath, StoreState.currentPath);
}

int DBOpenCurrentPhonebook(HWND owner) {
    bool ok = false;
    WideString dir = WindowsDirectory(&ok);
    SetHandoffRootFromWindowsDirectory();
    CopyPath(StoreState.settingsPath, dir + W("KFD.INI"));
    CopyPath(StoreState.currentPath, dir);

    WideString declined;
    WCHAR path[kStorePathChars] = {0};
    WideString named = ReadSettingsFile(StoreState.settingsPath);
    if (!named.empty()) {
        CopyPath(path, named);
        DBResult v = DBCheckVersion(path);
        if (v == DB_DONE) return UseAsCurrent(path);
        // There, but held by another process or read-only for now: still the
        // user's choice. Current for this session without rewriting KFD.INI;
        // the validation that follows says why it cannot be used.
        if (v == DB_CANNOT_OPEN && Exists(path)) return UseUnwritten(path);
        if (v == DB_VERSION_0000 || v == DB_VERSION_1000) {
            if (DBOfferConversion(owner, path, v)) return UseAsCurrent(path);
            declined = named;
        }
    }

    WideString fallback = dir + W("DEFAULT.KFD");
    if (!declined.empty() && SameIgnoringCase(declined, fallback)) return 0;  // not asked twice
    CopyPath(path, fallback);
    if (!Exists(path)) return DBCreateEmptyPhonebook(path) == DB_DONE ? UseAsCurrent(path) : UseUnwritten(path);
    DBResult v = DBCheckVersion(path);
    if (v == DB_VERSION_0000 || v == DB_VERSION_1000)
        return DBOfferConversion(owner, path, v) ? UseAsCurrent(path) : 0;
    if (v == DB_BAD_FORMAT) {
        SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        if (KeepDamagedDefault(dir, fallback) && DBCreateEmptyPhonebook(path) != DB_DONE) return UseUnwritten(path);
    }
    // A default phonebook that exists but cannot be opened now (held by
    // another process) is kept; the validation reports it.
    return UseAsCurrent(path);
}

int DBAskFileName(HWND owner, WCHAR* path, AskPurpose purpose) {
    static const WCHAR* const kTitles[] = {WIDE("Uusi"), WIDE("Avaa"), WIDE("Tallenna nimellä"),
                                           WIDE("Tallenna muunnos nimellä")};
    if (static_cast<int>(purpose) < 0 || static_cast<int>(purpose) > 3) return 0;
    WideString title = kTitles[purpose];
    // The filter's last character separates its parts.
    WideString filter = LoadModuleString(IDS_PHONEBOOK_FILTER);
    if (filter.empty()) filter = WIDE("Oryx Fax Data (*.KFD)|*.kfd|");
    WCHAR sep = filter.back();
    for (auto& c : filter) {
        if (c == sep) c = 0;
    }
    filter += WCHAR(0);

    WideString initialDir(StoreState.currentPath, WideBoundedLen(StoreState.currentPath, kDirMax));
    size_t slash = initialDir.find_last_of(WIDE("\\/"));
    if (slash == WideString::npos) {
        bool ok = false;
        initialDir = WindowsDirectory(&ok);
    } else {
        initialDir.resize(slash + 1);
    }

    WCHAR file[kStorePathChars] = {0};
    std::memcpy(file, path, WideBoundedLen(path, kDirMax) * sizeof(WCHAR));
    OPENFILENAMEW ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kDirMax;
    ofn.lpstrInitialDir = initialDir.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = WIDE("KFD");
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOREADONLYRETURN | OFN_NONETWORKBUTTON | OFN_LONGNAMES;
    if (purpose == kAskOpen) ofn.Flags |= OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    BOOL chosen = purpose == kAskOpen ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!chosen) return 0;
    file[kDirMax] = 0;
    std::memcpy(path, file, (WideBoundedLen(file, kDirMax) + 1) * sizeof(WCHAR));
    return 1;
}

int DBOfferConversion(HWND owner, WCHAR* path, DBResult version) {
    WideString question(path, WideBoundedLen(path, kDirMax));
    question += WIDE("\nTIedostomuoto on luotu ajurin aikaisemmalla versiolla.\nHaluatko muuntaa sen?");
    question += WIDE("\n\nHuom:\nKohtia, joissa on sama nimi ja faksinumero pidetään toisintoina.\n"
                     "Vain ensimmäinen muunnetaan.");
    const WideString convCaption = WIDE("Tiedoston muunnos");
    if (MessageBoxW(owner, question.c_str(), convCaption.c_str(), MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) != IDYES)
        return 0;
    const WideString saveCaption = WIDE("Tallenna muunnos nimellä");
    WCHAR target[kStorePathChars];
    for (;;) {
        target[0] = 0;
        if (!DBAskFileName(owner, target, kAskSaveConversion)) return 0;
        if (!DBHasPhonebookExtension(target)) {
            WideString t = WideString(target) + W(".KFD");
            CopyPath(target, t);
        }
        if (!Exists(target)) break;
        WideString ask = WideString(target) + WIDE("\nTiedosto on jo olemassa. Haluatko korvata sen?");
        if (MessageBoxW(owner, ask.c_str(), saveCaption.c_str(),
                        MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION | MB_SYSTEMMODAL) == IDYES)
            break;
    }
    DBResult rc = DBConvertPhonebook(owner, path, target, version);
    if (rc == DB_NO_MEMORY || rc == DB_WRITE_FAILED) {
        const WCHAR* text = rc == DB_NO_MEMORY ? WIDE("Muisti ei riitä Tallenna nimellä -toiminnon suorittamiseen.")
                                               : WIDE("Levytila ei riitä Tallenna nimellä -toiminnon suorittamiseen.");
        MessageBoxW(owner, text, saveCaption.c_str(), MB_ICONERROR | MB_SYSTEMMODAL);
        return 0;
    }
    if (rc != DB_DONE) {
        ShowPhonebookFileError(owner, path, saveCaption.c_str(), rc);
        return 0;
    }
    std::memcpy(path, target, (WideBoundedLen(target, kDirMax) + 1) * sizeof(WCHAR));
    return 1;
}

UINT StartRecipientImport() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string root = WideToAnsi(WideString(StoreState.handoffRoot, WideBoundedLen(StoreState.handoffRoot, kDirMax)));
    std::string handoff = ChooseHandoffPath(root, now);
    WideString programName = LoadModuleString(IDS_IMPORT_PROGRAM);
    std::memset(StoreState.handoffPath, 0, sizeof StoreState.handoffPath);
    if (programName.empty()) return 0;  // a module without the program's name cannot start it
    std::string program = WideToAnsi(ModuleDirectory() + programName);
    std::string line = ImportCommandLine(program, handoff);
    if (line.empty()) return 0;  // no free name, or a path too long for the command line
    std::memcpy(StoreState.handoffPath, handoff.data(), handoff.size());
    UINT started = WinExec(line.c_str(), SW_SHOW);
    // Nothing will hand a file back: no completion command may read one
    // that happens to lie at that path.
    if (started <= 31) std::memset(StoreState.handoffPath, 0, sizeof StoreState.handoffPath);
    return started;
}
