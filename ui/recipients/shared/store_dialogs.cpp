#include "store_dialogs.h"

#include <cstring>

#include "entry_codec.h"
#include "kfd_format.h"
#include "list_routines.h"
#include "messages.h"
#include "shared_state.h"
#include "store.h"
#include "store_file.h"
#include "store_state.h"
#include "text_convert.h"

namespace {

using kfd::Step;

const WCHAR* const kFileErrorCaption = WIDE("Tietokantatiedoston virhe");
const WCHAR* const kNoMemoryText = WIDE("Muisti ei riitä puhelinmuistiotiedoston avaamiseen.");
const WCHAR* const kAddCaption = WIDE("Lisää luetteloon vastaanottaja");

// Opens the current phonebook for a listing or a validation; on failure
// shows the message of the step that failed and returns false.
bool OpenForListing(HWND owner, FileHandle& file, uint64_t& size) {
    const WCHAR* path = StoreState.currentPath;
    file.Reset(OpenPhonebookExclusive(path));
    if (!file.Valid()) {
        ShowPhonebookFileError(owner, path, kFileErrorCaption, DB_NOT_FOUND);
        return false;
    }
    if (!FileSize(file.Get(), &size)) {
        ShowPhonebookFileError(owner, path, kFileErrorCaption, DB_CANNOT_OPEN);
        return false;
    }
    DBResult v = size == 0 || !DBHasPhonebookExtension(path) ? DB_BAD_FORMAT : DBCheckVersionOpen(file.Get());
    if (v != DB_DONE) {
        ShowPhonebookFileError(owner, path, kFileErrorCaption, v == DB_CANNOT_OPEN ? DB_CANNOT_OPEN : DB_BAD_FORMAT);
        return false;
    }
    return true;
}

// Opens the current phonebook and visits it, showing the message of a failure.
int ListCurrent(HWND owner, kfd::RecordVisitor& v) {
    FileHandle file;
    uint64_t size = 0;
    if (!OpenForListing(owner, file, size)) return 0;
    kfd::ScanResult scan = kfd::ScanResult::Done;
    switch (PhonebookVisitOpen(file.Get(), size, v, &scan)) {
    case DB_DONE: return 1;
    case DB_NO_MEMORY:
        MessageBoxW(owner, kNoMemoryText, kFileErrorCaption,
                    scan == kfd::ScanResult::TooLarge ? MB_ICONERROR : MB_ICONWARNING);
        return 0;
    default:
        // The data could not be read after the file was opened.
        ShowPhonebookFileError(owner, StoreState.currentPath, kFileErrorCaption, DB_CANNOT_OPEN);
        return 0;
    }
}

class FillVisitor : public kfd::RecordVisitor {
public:
    FillVisitor(HWND dialog, int listId) : dialog_(dialog), listId_(listId) {}
    Step Gap(uint64_t, const uint8_t*, size_t) override { return Step::Continue; }
    Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        WCHAR text[kListTextChars];
        DBRecordListText(rec, len, text);
        LRESULT i = SendDlgItemMessageW(dialog_, listId_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (i >= 0) SendDlgItemMessageW(dialog_, listId_, LB_SETITEMDATA, i, rec[0]);
        return Step::Continue;
    }

private:
    HWND dialog_;
    int listId_;
};

class MembersVisitor : public kfd::RecordVisitor {
public:
    MembersVisitor(HWND dialog, int listId, const char* group, bool add)
        : dialog_(dialog), listId_(listId), group_(group), add_(add) {}
    Step Gap(uint64_t, const uint8_t*, size_t) override { return Step::Continue; }
    Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        if (rec[0] != kfd::kGroup) return Step::Continue;
        size_t pos = 1;
        kfd::Field name;
        if (!kfd::NextField(rec, len, pos, name) || !kfd::KeyEquals(name.data, name.len, group_))
            return Step::Continue;
        kfd::Field n, x;
        while (kfd::NextField(rec, len, pos, n) && kfd::NextField(rec, len, pos, x)) {
            if (!AddMember(n, x)) break;
            if (add_ && ExchangeRecipients.recipientCount >= kMaxRecipients) {
                size_t more = pos;
                kfd::Field extra;
                if (kfd::NextField(rec, len, more, extra))
                    MessageBoxW(dialog_,
                                WIDE("Luettelon vastaanottajien maksimimäärä 50 on jo täynnä.\n"
                                     "Joitakin vastaanottajia ei ole lisätty luetteloon."),
                                kAddCaption, MB_ICONWARNING | MB_OK);
                break;
            }
        }
        return Step::Stop;
    }

private:
    bool AddMember(const kfd::Field& n, const kfd::Field& x) {
        WCHAR name[31], fax[31];
        AnsiToWideField(reinterpret_cast<const char*>(n.data), n.len, name, 31);
        AnsiToWideField(reinterpret_cast<const char*>(x.data), x.len, fax, 31);
        WideString text = IndividualListText(name, fax);
        // A member list holds phonebook records, told apart by their keys; a
        // recipient list asks about any text that looks the same.
        HWND list = GetDlgItem(dialog_, listId_);
        LRESULT found = add_ ? SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(text.c_str()))
                             : FindRecordItem(list, text.c_str());
        if (found != LB_ERR) {
            if (!add_) return true;
            int answer = ShowRecipientMessage(dialog_, name, fax,
                                              WIDE("\n\nVastaanottaja on jo luettelossa.\n"
                                                   "Haluatko silti lisätä sen?"),
                                              kAddCaption, MB_YESNO | MB_ICONQUESTION);
            if (answer != IDYES) return true;
        }
        LRESULT index = SendDlgItemMessageW(dialog_, listId_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index < 0) return false;
        SendDlgItemMessageW(dialog_, listId_, LB_SETITEMDATA, index, kfd::kIndividual);
        if (add_) {
            int slot = ExchangeRecipients.recipientCount;
            if (slot < 0 || slot >= kMaxRecipients) return false;
            ExchangeRecipients.recipients[slot] = DefaultRecipient;
            if (ExchangeDetails) {
                ClearEntryDetails(ExchangeDetails[slot]);
                ExchangeDetails[slot].workFlag = 1;
            }
            ExchangeRecipients.recipientCount = slot + 1;
        }
        return true;
    }

    HWND dialog_;
    int listId_;
    const char* group_;
    bool add_;
};

}  // namespace

int DBValidateCurrentPhonebook(HWND owner) {
    FileHandle file;
    uint64_t size = 0;
    return OpenForListing(owner, file, size) ? 1 : 0;
}

int DBFillList(HWND dialog, int listId) {
    FillVisitor v(dialog, listId);
    return ListCurrent(dialog, v);
}

int DBListGroupMembers(HWND dialog, int listId, const WCHAR* groupName, BOOL addAsRecipients) {
    if (addAsRecipients && ExchangeRecipients.recipientCount >= kMaxRecipients) return 0;
    char group[kfd::kNameMax + 1];
    WideToAnsiField(groupName, 31, group, sizeof group);
    MembersVisitor v(dialog, listId, group, addAsRecipients != FALSE);
    return ListCurrent(dialog, v);
}
