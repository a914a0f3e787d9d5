#include "builtin_print.h"

#include <cstring>

#include "entry_details.h"
#include "fax_settings.h"
#include "store.h"
#include "store_state.h"
#include "text_convert.h"

const char kBuiltinPrintJobFile[] = R"(# faxhost built-in print job
type = fax
appdoc = Kuukausiraportti.doc
resolution = fine
report = onerror
header = on
g4 = yes
)";

const char kBuiltinUserScript[] = R"(# The recipient list: two recipients typed, one of them a speed-dial number
dialog 101
type 1001 Matti Virtanen
type 1004 09-1234567
click 1006
check 1027 on
type 1001 Toimisto Tampere
type 1004 12
click 1006
# Two picked from the phonebook: Aluekonttori and Johto, whose entry carries
# its secure-mailbox settings (picks are added from the last one up)
click 1010
dialog 600
multiselect 601 0 1
click 608
click 1
# Relay broadcast for Aluekonttori: G4, an F-code, station 12 printing too,
# destinations 005 and group 0#3
dialog 101
select 1008 3
click 1005
dialog 104
select 402 2
type 421 1234
type 423 12*#
check 404 on
type 410 12
check 411 on
type 412 5
click 415
check 417 on
type 412 3
click 415
click 1
dialog 101
click 1
# Confirmed, to be sent at 18:30
dialog 108
check 803 on
settext 804 18
settext 805 30
click 801
)";

namespace {

struct BookEntry {
    const char* name;
    const char* number;
    const char16_t* company;
    const char16_t* phone;
    const char16_t* email;
    int32_t commMode;
    char commOption;
    const char* mailbox;
    const char* mailboxPassword;
};

// Sorted as the phonebook list shows them: the script picks the first two.
const BookEntry kBook[] = {
    {"Aluekonttori", "0-800-FLOWERS", u"Kukkatalo Oy", u"+358 9 555 0100", u"alue@example.fi", 0, '0', "", ""},
    {"Johto", "091234000", u"Kukkatalo Oy", u"+358 9 555 0101", u"johto@example.fi", 1, '4', "25", "4321"},
    {"Korhonen Pekka", "0407654321", u"J\u00e4rvisen Kuljetus Oy", u"+358 40 765 4321", u"pekka.korhonen@example.fi",
     0, '0', "", ""},
    {"Nieminen Aino", "0501112233", u"Tilitoimisto Nieminen", u"+358 50 111 2233", u"aino@example.fi", 0, '0', "",
     ""},
};

template <size_t N>
void Wide(WCHAR (&field)[N], const char16_t* text) {
    size_t i = 0;
    for (; text[i] && i + 1 < N; ++i) field[i] = static_cast<WCHAR>(text[i]);
    field[i] = 0;
}

template <size_t N>
void Ansi(char (&field)[N], const char* text) {
    std::memset(field, 0, N);
    std::strncpy(field, text, N - 1);
}

}  // namespace

bool WriteBuiltinPhonebook(const std::string& path, std::string* error) {
#if defined(_WIN32)
    const UINT cp = CP_ACP;
#else
    const UINT cp = CP_UTF8;  // the host's file names
#endif
    WCHAR wide[kStorePathChars] = {};
    if (MultiByteToWideChar(cp, 0, path.c_str(), -1, wide, kStorePathChars) <= 0) {
        *error = "the phonebook path is too long: " + path;
        return false;
    }
    if (DBCreateEmptyPhonebook(wide) != DB_DONE) {
        *error = "cannot write the phonebook " + path;
        return false;
    }
    for (const BookEntry& e : kBook) {
        FaxRecipient r = DefaultRecipient;
        Ansi(r.name, e.name);
        Ansi(r.faxNumber, e.number);
        r.comm.commMode = e.commMode;
        r.comm.commOption = e.commOption;
        Ansi(r.comm.mailboxId, e.mailbox);
        Ansi(r.comm.mailboxPassword, e.mailboxPassword);
        EntryDetails d;
        ClearEntryDetails(d);
        AnsiToWideField(r.name, std::strlen(r.name), d.name, 31);
        AnsiToWideField(r.faxNumber, std::strlen(r.faxNumber), d.faxNumber, 31);
        Wide(d.company, e.company);
        Wide(d.phone, e.phone);
        Wide(d.email, e.email);
        if (PhonebookWriteEntry(wide, nullptr, r, d, kModeNew) != DB_DONE) {
            *error = "cannot write the phonebook " + path;
            return false;
        }
    }
    return true;
}
