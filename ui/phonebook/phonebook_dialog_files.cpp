// New, Open and Save as of the phonebook dialog.
#include "current_phonebook.h"
#include "messages.h"
#include "phonebook_dialog_internal.h"
#include "store.h"
#include "store_dialogs.h"
#include "store_file.h"
#include "store_state.h"

namespace {

constexpr size_t kPathMax = kStorePathChars - 1;

WideString CurrentPath() { return WideString(StoreState.currentPath, WideBoundedLen(StoreState.currentPath, kPathMax)); }

bool SamePath(const WideString& a, const WideString& b) { return FoldCase(a) == FoldCase(b); }

bool FileExists(const WCHAR* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

void WithExtension(WCHAR* path) {
    if (DBHasPhonebookExtension(path)) return;
    WideString p = WideString(path, WideBoundedLen(path, kPathMax)) + WIDE(".KFD");
    if (p.size() > kPathMax) p.resize(kPathMax);
    std::copy(p.begin(), p.end(), path);
    path[p.size()] = 0;
}

bool ConfirmReplace(HWND dialog, const WCHAR* path, const WCHAR* caption) {
    WideString ask = WideString(path) + WIDE("\nTiedosto on jo olemassa. Haluatko korvata sen?");
    return MessageBoxW(dialog, ask.c_str(), caption, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}

// Asks for a name to write a phonebook to; false when the user cancelled.
// With stopOnCurrent, choosing the current phonebook itself ends the
// question with false too.
bool AskTargetName(HWND dialog, AskPurpose purpose, const WCHAR* caption, bool stopOnCurrent, WCHAR* path) {
    for (;;) {
        path[0] = 0;
        if (!DBAskFileName(dialog, path, purpose)) return false;
        WithExtension(path);
        if (stopOnCurrent && SamePath(path, CurrentPath())) return false;
        if (!FileExists(path) || ConfirmReplace(dialog, path, caption)) return true;
    }
}

void UsePhonebook(HWND dialog, const WCHAR* path) {
    // A KFD.INI that cannot be written only means the next start forgets the
    // choice; this dialog works on the file all the same.
    (void)DBSetCurrentPhonebook(path);
    StoreState.noPhonebook = DBValidateCurrentPhonebook(dialog) ? 0 : 1;
    RefreshPhonebookView(dialog);
}

// Copies the current phonebook to target through target's temporary file,
// so a failed copy leaves whatever target held before.
bool CopyCurrentPhonebook(const WCHAR* target) {
    FileHandle source(OpenPhonebookExclusive(StoreState.currentPath));
    uint64_t size = 0;
    if (!source.Valid() || !FileSize(source.Get(), &size)) return false;
    TempFile out(target);
    if (!out.Valid()) return false;
    HandleSource in(source.Get(), size);
    std::vector<uint8_t> buffer(16384);
    for (uint64_t pos = 0; pos < size;) {
        size_t want = size - pos < buffer.size() ? static_cast<size_t>(size - pos) : buffer.size();
        size_t got = 0;
        if (!in.ReadAt(pos, buffer.data(), want, &got) || got == 0 || !out.Write(buffer.data(), got)) return false;
        pos += got;
    }
    source.Close();
    return out.Commit() == DB_DONE;
}

}  // namespace

void OnNewPhonebook(HWND dialog) {
    WCHAR path[kStorePathChars];
    const WCHAR* caption = WIDE("Uusi");
    if (!AskTargetName(dialog, kAskNew, caption, false, path)) return;
    // A file that could not be replaced still holds its old contents: it is
    // not the new, empty phonebook the user asked for.
    if (DBCreateEmptyPhonebook(path) != DB_DONE) {
        ShowPhonebookFileError(dialog, path, caption, DB_CANNOT_OPEN);
        return;
    }
    UsePhonebook(dialog, path);
}

void OnOpenPhonebook(HWND dialog) {
    WCHAR path[kStorePathChars] = {0};
    if (!DBAskFileName(dialog, path, kAskOpen)) return;
    if (!DBHasPhonebookExtension(path)) {
        WCHAR withExt[kStorePathChars];
        std::copy(path, path + kStorePathChars, withExt);
        WithExtension(withExt);
        if (FileExists(withExt)) std::copy(withExt, withExt + kStorePathChars, path);
    }
    if (!StoreState.noPhonebook && SamePath(path, CurrentPath())) return;
    DBResult version = DBCheckVersion(path);
    if (version == DB_VERSION_0000 || version == DB_VERSION_1000) {
        if (!DBOfferConversion(dialog, path, version)) return;
    } else if (version != DB_DONE) {
        // A file held by another process, or read-only, is no bad format.
        ShowPhonebookFileError(dialog, path, WIDE("Avaa"), version == DB_CANNOT_OPEN ? DB_CANNOT_OPEN : DB_BAD_FORMAT);
        return;
    }
    UsePhonebook(dialog, path);
}

void OnSaveAs(HWND dialog) {
    const WCHAR* caption = WIDE("Tallenna nimellä");
    WCHAR path[kStorePathChars];
    if (!AskTargetName(dialog, kAskSaveAs, caption, true, path)) return;
    if (!CopyCurrentPhonebook(path)) {
        MessageBoxW(dialog, WIDE("Tiedoston kopiointivirhe!\nTallenna nimellä -toiminto ei onnistunut."), caption,
                    MB_ICONERROR | MB_OK);
        return;
    }
    (void)DBSetCurrentPhonebook(path);  // as in UsePhonebook
    SetPhonebookTitle(dialog);
}
