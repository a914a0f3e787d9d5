// Opens each dialog of faxui in turn, filled with realistic data, and holds
// it still while scripts/dialog-pictures.sh takes its picture.
//
// To add a dialog: one row in the table below (name, template, procedure,
// the buffers it reads, the user's steps that fill it).
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "addrbook_api.h"
#include "automation.h"
#include "comm_dialog.h"
#include "dialog_help.h"
#include "entry_codec.h"
#include "entry_dialogs.h"
#include "fax_prompt.h"
#include "group_dialogs.h"
#include "kfd_format.h"
#include "phonebook_dialog.h"
#include "picture_hold.h"
#include "recipient_dialog.h"
#include "resource.h"
#include "scripted_user.h"
#include "shared_state.h"
#include "store.h"
#include "store_state.h"
#include "ui_host.h"

namespace {

void Copy(char* field, size_t size, const char* text) {
    memset(field, 0, size);
    memcpy(field, text, strnlen(text, size - 1));
}

[[maybe_unused]] void SetText(HWND d, int id, const char16_t* text) {
    SetDlgItemTextW(d, id, reinterpret_cast<const WCHAR*>(text));
}

// A template shown as it stands, for dialogs whose procedure is not here.
[[maybe_unused]] INT_PTR CALLBACK TemplateOnly(HWND d, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) EndDialog(d, LOWORD(wParam));
    return message == WM_INITDIALOG;
}

struct Picture {
    const char* name;
    int templateId;
    DLGPROC proc;
    std::function<void()> buffers;          // before opening
    std::function<void(HWND)> controls;     // once open
    bool fromPhonebook = false;             // owned by a phonebook list 601
    std::function<void()> show = nullptr;   // opens and pictures it itself (a property sheet)
};

void RelayRecipient() {
    CurrentRecipient = DefaultRecipient;
    Copy(CurrentRecipient.name, sizeof CurrentRecipient.name, "Mäkinen Oy");
    Copy(CurrentRecipient.faxNumber, sizeof CurrentRecipient.faxNumber, "0923456789");
    CommSettings& c = CurrentRecipient.comm;
    c.commMode = 1;
    c.commOption = '1';
    Copy(c.relayStationId, sizeof c.relayStationId, "12");
    c.relayPrint = '1';
    memcpy(c.relayDests, "0050120#3", 9);
    c.relayDestCount = 3;
    Copy(c.fCode, sizeof c.fCode, "4412");
    Copy(c.fCodePassword, sizeof c.fCodePassword, "77#1");
}

void SecureRecipient() {
    RelayRecipient();
    CurrentRecipient.comm.commOption = '4';
    Copy(CurrentRecipient.comm.mailboxId, sizeof CurrentRecipient.comm.mailboxId, "120");
    Copy(CurrentRecipient.comm.mailboxPassword, sizeof CurrentRecipient.comm.mailboxPassword, "4321");
}

template <size_t N>
void SetWide(WCHAR (&field)[N], const char16_t* text) {
    size_t i = 0;
    for (; text[i] && i + 1 < N; ++i) field[i] = (WCHAR)text[i];
    field[i] = 0;
}

void VirtanenDetails() {
    CurrentRecipient = DefaultRecipient;
    Copy(CurrentRecipient.name, sizeof CurrentRecipient.name, "Virtanen Matti");
    Copy(CurrentRecipient.faxNumber, sizeof CurrentRecipient.faxNumber, "0912345678");
    EntryDetails& d = CurrentDetails;
    d = EntryDetails{};
    SetWide(d.name, u"Virtanen Matti");
    SetWide(d.faxNumber, u"0912345678");
    SetWide(d.company, u"Järvisen Kuljetus Oy");
    SetWide(d.phone, u"+358 40 123 4567");
    SetWide(d.email, u"matti.virtanen@example.fi");
    SetWide(d.memo, u"Tilaukset aina perjantaisin.\r\nSoita ennen lähetystä.");
    d.workFlag = 601;
}

// The phonebook the group dialogs read, and the phonebook dialog's list
// that opens them (the group "Hallitus" selected).
const struct {
    const char* name;
    const char* fax;
} kPeople[] = {{"Matti Virtanen", "091234567"},  {"Liisa Heikkinen", "031234567"},
               {"Pekka Korhonen", "0407654321"}, {"Aino Nieminen", "0501112233"},
               {"Juha M\xe4kel\xe4", "0923456789"},    {"Sari Lehtonen", "0145556677"},
               {"Kari J\xe4rvinen", "0198765432"}};

// A phonebook of the pictures, in the temporary folder as a user's file:
// its path shows in the phonebook dialog's title, which a longer path
// (a directory of our own) would cut.
std::string UserFile(const char* name) {
    char dir[MAX_PATH] = {0};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

void WritePhonebook() {
    std::string book = std::string(kfd::kMagicCurrent) + "\n";
    for (const auto& p : kPeople) {
        FaxRecipient r = DefaultRecipient;
        Copy(r.name, sizeof r.name, p.name);
        Copy(r.faxNumber, sizeof r.faxNumber, p.fax);
        EntryDetails d{};
        DBEncodeEntry(r, d, book);
    }
    kfd::BeginGroup("Asiakkaat", book);
    for (int i : {0, 1, 2}) kfd::AddGroupMember(kPeople[i].name, kPeople[i].fax, book);
    kfd::EndGroup(book);
    kfd::BeginGroup("Hallitus", book);
    for (int i : {4, 5, 6}) kfd::AddGroupMember(kPeople[i].name, kPeople[i].fax, book);
    kfd::EndGroup(book);
    const std::string path = UserFile("fax-pictures.KFD");
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(book.data(), 1, book.size(), f);
        fclose(f);
    }
    for (size_t i = 0; i < path.size() && i + 1 < kStorePathChars; ++i)
        StoreState.currentPath[i] = (WCHAR)(unsigned char)path[i];
}

HWND PhonebookList() {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_SORT | LBS_EXTENDEDSEL, 0, 0, 10, 10, owner,
                                (HMENU)(INT_PTR)IDC_GROUP_AVAILABLE, nullptr, nullptr);
    for (const auto& p : kPeople) {
        WCHAR name[31], fax[31];
        AnsiToWideField(p.name, strlen(p.name), name, 31);
        AnsiToWideField(p.fax, strlen(p.fax), fax, 31);
        LRESULT i = SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)IndividualListText(name, fax).c_str());
        SendMessageW(list, LB_SETITEMDATA, i, 1);
    }
    for (const WCHAR* g : {L"[Asiakkaat]", L"[Hallitus]"}) {
        LRESULT i = SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)g);
        SendMessageW(list, LB_SETITEMDATA, i, 2);
    }
    SendMessageW(list, LB_SETSEL, TRUE, SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)L"[Hallitus]"));
    return owner;
}

void Group(const char16_t* name) {
    SetWide(CurrentGroupName, name);
    CurrentDetails.workFlag = IDC_GROUP_AVAILABLE;
}

// A phonebook of a small firm's customers, made current for the phonebook
// dialogs by KFD.INI, where they look for it. Texts go through the
// ANSI code page, as the dialogs store them.
const char16_t* const kCustomers[][2] = {
    {u"Heikkinen Liisa", u"031234567"},    {u"Korhonen Pekka", u"0407654321"}, {u"Lehtonen Sari", u"0145556677"},
    {u"Mäkelä Juha", u"0923456789"},       {u"Nieminen Aino", u"0501112233"},  {u"Järvisen Kuljetus Oy", u"0207654321"},
    {u"Virtanen Matti", u"0912345678"},    {u"Rautakauppa Salo", u"027334455"}, {u"Öhman Kristiina", u"0196543210"},
    {u"Tilitoimisto Aalto", u"0923344556"}, {u"Laine Ville", u"0442223344"},    {u"Koskinen Helena", u"0138887766"},
};

std::string Ansi(const char16_t* text) { return WideToAnsi(reinterpret_cast<const WCHAR*>(text)); }

void CustomerPhonebook() {
    const WideString path = AnsiToWide(UserFile("Asiakkaat.KFD"));
    if (DBCreateEmptyPhonebook(path.c_str()) != DB_DONE) return;
    for (const auto& c : kCustomers) {
        FaxRecipient r = DefaultRecipient;
        Copy(r.name, sizeof r.name, Ansi(c[0]).c_str());
        Copy(r.faxNumber, sizeof r.faxNumber, Ansi(c[1]).c_str());
        EntryDetails d = EntryDetails{};
        (void)PhonebookWriteEntry(path.c_str(), nullptr, r, d, kModeNew);
    }
    for (const char16_t* group : {u"Tampereen myynti", u"Hallitus"}) {
        std::string g;
        kfd::BeginGroup(Ansi(group).c_str(), g);
        kfd::AddGroupMember(Ansi(u"Mäkelä Juha").c_str(), "0923456789", g);
        kfd::AddGroupMember("Lehtonen Sari", "0145556677", g);
        kfd::EndGroup(g);
        (void)PhonebookWriteGroup(path.c_str(), nullptr, reinterpret_cast<const uint8_t*>(g.data()), g.size(), kModeNew);
    }
    char windows[MAX_PATH + 1] = {0};
    GetWindowsDirectoryA(windows, MAX_PATH);
    if (FILE* ini = fopen((std::string(windows) + "\\KFD.INI").c_str(), "wb")) {
        fprintf(ini, "%s\n", UserFile("Asiakkaat.KFD").c_str());
        fclose(ini);
    }
}

// The picker as the recipient list hands it over: two typed recipients.
void HandedRecipients() {
    CustomerPhonebook();
    AllocateExchangeDetails();
    const char16_t* const handed[][2] = {{u"Laine Ville", u"0442223344"}, {u"Kauppahalli Hämeenlinna", u"0209876543"}};
    ExchangeRecipients.recipientCount = 2;
    for (int i = 0; i < 2; ++i) {
        FaxRecipient& r = ExchangeRecipients.recipients[i];
        r = DefaultRecipient;
        Copy(r.name, sizeof r.name, Ansi(handed[i][0]).c_str());
        Copy(r.faxNumber, sizeof r.faxNumber, Ansi(handed[i][1]).c_str());
    }
}

// A fax job's recipient list as a user builds it: typed, one speed dial.
struct RecipientRow {
    const char16_t* name;
    const char16_t* number;
    bool speedDial;
};
const RecipientRow kRecipients[] = {
    {u"Virtanen Matti", u"09-1234567", false},
    {u"Toimisto Tampere", u"12", true},
    {u"J\u00e4rvisen Kuljetus Oy", u"0145556677", false},
    {u"M\u00e4kinen Oy", u"0923456789", false},
    {u"Korhonen Pekka", u"0407654321", false},
    {u"Aluekonttori", u"0-800-FLOWERS", false},
};

void Click(HWND d, int id) { SendDlgItemMessageW(d, id, BM_CLICK, 0, 0); }

// Adds the rows through the dialog's own controls, so its rules set the
// buttons as they would for a user.
void TypeRecipients(HWND d) {
    for (const RecipientRow& r : kRecipients) {
        if (r.speedDial) Click(d, 1027);
        SetText(d, 1001, r.name);
        SetText(d, 1004, r.number);
        Click(d, 1006);
        if (r.speedDial) Click(d, 1027);
    }
}

// The same list in the working buffer, as the confirmation reads it.
void FinnishRecipients() {
    WorkingRecipients.recipientCount = 0;
    for (const RecipientRow& r : kRecipients) {
        FaxRecipient& slot = WorkingRecipients.recipients[WorkingRecipients.recipientCount++];
        slot = DefaultRecipient;
        WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(r.name), -1, slot.name, sizeof slot.name - 1,
                            nullptr, nullptr);
        std::u16string number = r.speedDial ? u"0" + std::u16string(r.number) : std::u16string(r.number);
        WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(number.c_str()), -1, slot.faxNumber,
                            sizeof slot.faxNumber - 1, nullptr, nullptr);
        slot.comm.speedDial = r.speedDial ? 1 : 0;
    }
}

HostSubBlock pictureHost{};

// The option page and the information page in the host's property sheet,
// from faxui.dll as the host loads it.
void ShowPreferencesPages() {
    AddonModule module;
    std::string error;
    if (!module.Load(FAXUI_MODULE_PATH, kFaxModuleId, &error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return;
    }
    SettingsImage image;
    HostUi host(module, image);
    image.settings().jobType = kJobTypeFax;
    image.sub().faxInstalled = 1;
    image.At<FaxDS>(host.block().block1Offset)->jobMode = kJobTypeFax;
    automation::Reset();
    automation::Play(automation::Script()
                         .dialog(102)
                         .call([](HWND sheet) { HoldForPicture(sheet, "102-page-options"); })
                         .page(1)
                         .call([](HWND sheet) { HoldForPicture(sheet, "109-page-info"); })
                         .sheetCancel());
    host.ShowPreferences();
}

const Picture pictures[] = {
    {"104-comm-relay", IDD_COMM_SETTINGS, CommDlgProc, RelayRecipient, nullptr},
    {"104-comm-secure", IDD_COMM_SETTINGS, CommDlgProc, SecureRecipient, nullptr},
    {"103-entry-edit", IDD_ENTRY, EditDBInfoDlgProc, VirtanenDetails, nullptr},
    {"103-entry-view", IDD_ENTRY, ShowDBInfoDlgProc, VirtanenDetails, nullptr},
    {"105-new-entry", IDD_NEW_ENTRY, NewEntryDlgProc, nullptr, nullptr},
    {"107-group-edit", IDD_GROUP_EDIT, EditDBGrpDlgProc, [] { Group(u"Asiakkaat"); },
     [](HWND d) {
         // A person picking two more members.
         for (int i : {1, 3}) SendDlgItemMessageW(d, IDC_GROUP_AVAILABLE, LB_SETSEL, TRUE, i);
         SendDlgItemMessageW(d, IDC_GROUP_MEMBERS, LB_SETSEL, TRUE, 1);
     },
     true},
    {"107-group-new", IDD_GROUP_EDIT, EditDBGrpDlgProc, [] { Group(u""); }, nullptr, true},
    {"700-group-view", IDD_GROUP_VIEW, ShowDBGrpDlgProc, nullptr,
     [](HWND d) { SendDlgItemMessageW(d, IDC_GROUP_AVAILABLE, LB_SETSEL, TRUE, 0); }, true},
    {"106-phonebook", IDD_PHONEBOOK, PhonebookDlgProc, CustomerPhonebook, nullptr},
    {"600-phonebook-pick", IDD_PHONEBOOK_PICK, PhonebookDlgProc, HandedRecipients,
     [](HWND d) {
         // One more picked from the phonebook, as a click on "Vast.->" adds it.
         HWND list = GetDlgItem(d, IDC_PB_PHONEBOOK_LIST);
         LRESULT i = SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1,
                                  (LPARAM)reinterpret_cast<const WCHAR*>(u"Nieminen Aino <0501112233>"));
         SendMessageW(list, LB_SETSEL, FALSE, -1);
         SendMessageW(list, LB_SETSEL, TRUE, i);
         SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_PB_PICK, BN_CLICKED), (LPARAM)GetDlgItem(d, IDC_PB_PICK));
     }},
    // The fax path: the pages as the host shows them, then the recipient
    // list (showing the phonebook the rows above made current) and the
    // confirmation.
    {"102-109-pages", 0, nullptr, nullptr, nullptr, false, ShowPreferencesPages},
    {"101-recipients", IDD_RECIPIENTS, RecipientDlgProc, [] { SetRecipientHostBlock(&pictureHost); },
     [](HWND d) {
         TypeRecipients(d);
         SendDlgItemMessageW(d, 1008, LB_SETSEL, FALSE, -1);
         SendDlgItemMessageW(d, 1008, LB_SETSEL, TRUE, 2);
         SendMessageW(d, WM_COMMAND, MAKEWPARAM(1008, LBN_SELCHANGE), (LPARAM)GetDlgItem(d, 1008));
         SetText(d, 1001, u"Nieminen Aino");
         SetText(d, 1004, u"050-1112233");
     }},
    {"108-fax-prompt", IDD_FAX_PROMPT, FaxPromptDlgProc, FinnishRecipients,
     [](HWND d) {
         SendDlgItemMessageW(d, 803, BM_CLICK, 0, 0);
         SetText(d, 804, u"18");
         SetText(d, 805, u"30");
     }},
};

// A contact export of a small Finnish firm, as the stand-in address book's
// book: people with work and home faxes, one without a fax, two lists.
const char kContacts[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p1\r\nFN:Sirkka H\xC3\xA4m\xC3\xA4l\xC3\xA4inen\r\n"
    "TEL;TYPE=FAX,WORK:09 222 3333\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p2\r\nFN:\xC3\x96sten J\xC3\xA4rvinen\r\n"
    "TEL;TYPE=FAX,WORK:019 888 777\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p3\r\nFN:Anna-Maria Korhonen\r\nTEL;TYPE=FAX,HOME:03 456 7890\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p4\r\nFN:Juha M\xC3\xA4kel\xC3\xA4\r\nTEL;TYPE=FAX,WORK:09 234 5678\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p5\r\nFN:Jari Nieminen\r\nTEL;TYPE=CELL:040 111 2222\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p6\r\nFN:Sari Lehtonen\r\nTEL;TYPE=FAX:014 555 6677\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p7\r\nFN:Pekka Virtanen\r\nTEL;TYPE=FAX,WORK:09 555 0101\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nUID:l1\r\nFN:Myynti\r\nMEMBER:urn:uuid:p1\r\n"
    "MEMBER:urn:uuid:p4\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nUID:l2\r\nFN:Tampereen toimisto\r\nMEMBER:urn:uuid:p3\r\n"
    "END:VCARD\r\n";

// The stand-in address book's selection dialog, opened through its own
// WABOpen and Address as the import program opens it, two entries in the
// well. The library is loaded before the script starts, so the scripted
// user sees its dialog.
void AddressBookPicture() {
    HMODULE lib = LoadLibraryA(STANDIN_WAB_LIBRARY);
    auto open = lib ? reinterpret_cast<LPWABOPEN>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "WABOpen"))) : nullptr;
    if (!open) {
        fprintf(stderr, "the stand-in address book library cannot be loaded\n");
        return;
    }
    std::string book = PictureDir() + "\\yhteystiedot.vcf";
    if (FILE* f = fopen(book.c_str(), "wb")) {
        fwrite(kContacts, 1, sizeof kContacts - 1, f);
        fclose(f);
    }
    automation::Reset();
    automation::Play(automation::Script()
                         .dialog(100)
                         .select(1001, u"Sirkka H\u00e4m\u00e4l\u00e4inen")
                         .click(1002)
                         .select(1001, u"Myynti (jakelulista)")
                         .click(1002)
                         .select(1001, u"Pekka Virtanen")
                         .call([](HWND d) { HoldForPicture(d, "100-address-book"); })
                         .call([](HWND d) { EndDialog(d, IDCANCEL); }));
    WAB_PARAM param;
    memset(&param, 0, sizeof param);
    param.cbSize = sizeof param;
    param.szFileName = &book[0];
    LPADRBOOK ab = nullptr;
    LPWABOBJECT wab = nullptr;
    if (open(&ab, &wab, &param, 0) == S_OK && ab && wab) {
        char caption[] = "Osoitteisto", newEntry[] = "K\xE4ytet\xE4\xE4n vain viesti\xE4 varten, ei faksin tuomiseen";
        char wells[] = "Valitut vastaanottajat", to[] = "Vast.";
        LPSTR titles[] = {to};
        ULONG comps[] = {MAPI_TO};
        ADRPARM parm;
        memset(&parm, 0, sizeof parm);
        parm.ulFlags = DIALOG_MODAL;
        parm.lpszCaption = caption;
        parm.lpszNewEntryTitle = newEntry;
        parm.lpszDestWellsTitle = wells;
        parm.cDestFields = 1;
        parm.lppszDestTitles = titles;
        parm.lpulDestComps = comps;
        ULONG_PTR ui = 0;
        LPADRLIST list = nullptr;
        ab->Address(&ui, &parm, &list);  // cancelled: no list
        ab->Release();
        wab->Release();
        printf("100-address-book\n");
    } else {
        fprintf(stderr, "the stand-in address book did not open %s\n", book.c_str());
    }
    DeleteFileA(book.c_str());
    FreeLibrary(lib);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: dialog_pictures DIR\n");
        return 2;
    }
    PictureDir() = argv[1];
    HINSTANCE self = GetModuleHandleW(nullptr);
    SetHelpModule(self);
    WritePhonebook();
    HWND phonebook = PhonebookList();
    StartScriptedUser(PrintScriptFailure);
    for (const Picture& p : pictures) {
        if (p.show) {
            p.show();
            printf("%s\n", p.name);
            continue;
        }
        if (p.buffers) p.buffers();
        automation::Reset();
        automation::Play(automation::Script()
                             .dialog(p.templateId)
                             .call([&](HWND d) {
                                 if (p.controls) p.controls(d);
                                 HoldForPicture(d, p.name);
                             })
                             .call([](HWND d) { EndDialog(d, IDCANCEL); }));
        DialogBoxParamW(self, MAKEINTRESOURCEW(p.templateId), p.fromPhonebook ? phonebook : nullptr, p.proc, 0);
        printf("%s\n", p.name);
    }
    AddressBookPicture();
    return 0;
}
