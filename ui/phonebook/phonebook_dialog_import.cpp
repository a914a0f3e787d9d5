// Import into the phonebook: starting the import program and storing the
// recipients it hands back.
#include <cstring>
#include <string>

#include "current_phonebook.h"
#include "entry_codec.h"
#include "handoff.h"
#include "handoff_file.h"
#include "list_routines.h"
#include "messages.h"
#include "phonebook_dialog_internal.h"
#include "shared_state.h"
#include "store.h"
#include "store_state.h"

namespace {

const WCHAR* const kImportCaption = WIDE("Tuo faksin vastaanottaja");

// How many records a hand-off file can hold at most, from its size.
int RecordCapacity(const char* path, int command) {
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return -1;
    DWORD high = 0;
    DWORD size = GetFileSize(h, &high);
    CloseHandle(h);
    if (size == INVALID_FILE_SIZE || high != 0) return 0;
    size_t n = size / HandoffRecordSize(HandoffLayout::Standard, command);
    return n > 100000 ? 100000 : static_cast<int>(n);
}

// Stores one imported recipient; false when the import is to end.
bool ImportOne(HWND dialog, const FaxRecipient& record) {
    CurrentRecipient = record;
    ClearEntryDetails(CurrentDetails);
    AnsiToWideField(CurrentRecipient.name, sizeof CurrentRecipient.name, CurrentDetails.name, 31);
    AnsiToWideField(CurrentRecipient.faxNumber, sizeof CurrentRecipient.faxNumber, CurrentDetails.faxNumber, 31);
    WideString text = IndividualListText(CurrentDetails.name, CurrentDetails.faxNumber);
    // Replacing is right only for the record the store will replace.
    bool replacing = FindRecordItem(GetDlgItem(dialog, IDC_PB_PHONEBOOK_LIST), text.c_str()) != LB_ERR;
    if (replacing) {
        int answer = ShowRecipientMessage(
            dialog, CurrentDetails.name, CurrentDetails.faxNumber,
            WIDE("\n\nVastaanottajan nimi on jo nykyisessä muistiossa.\nHaluatko korvata sen?"), kImportCaption,
            MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDNO) return true;
        if (answer != IDYES) return false;
    }
    DBResult rc = DBWriteEntry(text.c_str(), CurrentRecipient, CurrentDetails, replacing ? kModeSameKey : kModeNew);
    switch (rc) {
    case DB_DONE:
        if (!replacing) {
            LRESULT i = SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_ADDSTRING, 0,
                                            reinterpret_cast<LPARAM>(text.c_str()));
            if (i >= 0) SendDlgItemMessageW(dialog, IDC_PB_PHONEBOOK_LIST, LB_SETITEMDATA, i, kItemIndividual);
        }
        return true;
    case DB_NO_MEMORY:
        MessageBoxW(dialog, WIDE("Muisti ei riitä jatkamiseen."), kImportCaption, MB_ICONERROR | MB_OK);
        return false;
    case DB_WRITE_FAILED:
        MessageBoxW(dialog, WIDE("Levytila ei riitä jatkamiseen."), kImportCaption, MB_ICONERROR | MB_OK);
        return false;
    default: ShowPhonebookFileError(dialog, StoreState.currentPath, kImportCaption, rc); return false;
    }
}

}  // namespace

void OnStartImport() {
    SetHandoffRootFromWindowsDirectory();
    StartRecipientImport();
}

// The import program's completion command arrives as the id of a hidden
// control; the command is read as the hand-off's record layout.
static_assert(IDC_PB_IMPORT_NAMES == kImportDoneNames && IDC_PB_IMPORT_FULL == kImportDoneFull,
              "completion controls carry the hand-off commands");

void OnPhonebookImportResult(HWND dialog, int command) {
    // Only the import this process started hands anything back.
    const char* end = static_cast<const char*>(std::memchr(StoreState.handoffPath, 0, sizeof StoreState.handoffPath));
    const char* begin = StoreState.handoffPath;
    std::string path(begin, end ? end : begin + sizeof StoreState.handoffPath);
    if (path.empty()) return;
    int capacity = RecordCapacity(path.c_str(), command);
    if (capacity < 0) return;
    std::vector<FaxRecipient> records(static_cast<size_t>(capacity));
    int n = ReadRecipientImportFile(path.c_str(), HandoffLayout::Standard, command, records.data(), capacity);
    if (n < 0) return;
    StoreState.handoffPath[0] = 0;
    for (int i = 0; i < n; ++i) {
        if (!ImportOne(dialog, records[static_cast<size_t>(i)])) break;
    }
}
