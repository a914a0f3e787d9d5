// Opens each dialog of faxui in turn, filled with realistic data, and holds
// it still while scripts/dialog-pictures.sh takes its picture: the window's
// rectangle goes to DIR\NAME.rect, and the dialog waits for DIR\NAME.done.
//
// To add a dialog: one row in the table below (name, template, procedure,
// the buffers it reads, the user's steps that fill it).
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "automation.h"
#include "comm_dialog.h"
#include "dialog_help.h"
#include "entry_dialogs.h"
#include "fax_prompt.h"
#include "recipient_dialog.h"
#include "resource.h"
#include "shared_state.h"
#include "ui_host.h"

namespace {

std::string outDir;

void Copy(char* field, size_t size, const char* text) {
    memset(field, 0, size);
    memcpy(field, text, strnlen(text, size - 1));
}

void SetText(HWND d, int id, const char16_t* text) {
    SetDlgItemTextW(d, id, reinterpret_cast<const WCHAR*>(text));
}

// A template shown as it stands, for dialogs whose procedure is not here.
INT_PTR CALLBACK TemplateOnly(HWND d, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) EndDialog(d, LOWORD(wParam));
    return message == WM_INITDIALOG;
}

struct Picture {
    const char* name;
    int templateId;
    DLGPROC proc;
    std::function<void()> buffers;          // before opening
    std::function<void(HWND)> controls;     // once open
    std::function<void()> show = nullptr;   // opens and pictures it itself (a property sheet)
};

void HoldForPicture(HWND d, const char* name);

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
    {"102-109-pages", 0, nullptr, nullptr, nullptr, ShowPreferencesPages},
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
    {"104-comm-relay", IDD_COMM_SETTINGS, CommDlgProc, RelayRecipient, nullptr},
    {"104-comm-secure", IDD_COMM_SETTINGS, CommDlgProc, SecureRecipient, nullptr},
    {"103-entry-edit", IDD_ENTRY, EditDBInfoDlgProc, VirtanenDetails, nullptr},
    {"103-entry-view", IDD_ENTRY, ShowDBInfoDlgProc, VirtanenDetails, nullptr},
    {"105-new-entry", IDD_NEW_ENTRY, NewEntryDlgProc, nullptr, nullptr},
    {"107-group-edit", IDD_GROUP_EDIT, TemplateOnly, nullptr,
     [](HWND d) {
         SetText(d, IDC_GROUP_NAME, u"Tampereen myynti");
         for (const char16_t* t : {u"Heikkinen Liisa <031234567>", u"Korhonen Pekka <0407654321>", u"[Hallitus]",
                                   u"Nieminen Aino <0501112233>"})
             SendDlgItemMessageW(d, IDC_GROUP_AVAILABLE, LB_ADDSTRING, 0, (LPARAM)t);
         for (const char16_t* t : {u"Mäkelä Juha <0923456789>", u"Lehtonen Sari <0145556677>"})
             SendDlgItemMessageW(d, IDC_GROUP_MEMBERS, LB_ADDSTRING, 0, (LPARAM)t);
     }},
    {"700-group-view", IDD_GROUP_VIEW, TemplateOnly, nullptr,
     [](HWND d) {
         SetWindowTextW(d, reinterpret_cast<const WCHAR*>(u"Tampereen myynti Ryhmän ominaisuudet"));
         for (const char16_t* t : {u"Mäkelä Juha <0923456789>", u"Lehtonen Sari <0145556677>"})
             SendDlgItemMessageW(d, IDC_GROUP_AVAILABLE, LB_ADDSTRING, 0, (LPARAM)t);
     }},
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Lets the dialog paint, tells its rectangle and waits for the picture.
void HoldForPicture(HWND d, const char* name) {
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 20; ++i) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        Sleep(25);
    }
    RECT r;
    GetWindowRect(d, &r);
    const std::string base = outDir + "\\" + name;
    if (FILE* f = fopen((base + ".rect").c_str(), "w")) {
        fprintf(f, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        fclose(f);
    }
    for (int i = 0; i < 400 && !Exists(base + ".done"); ++i) Sleep(50);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: dialog_pictures DIR\n");
        return 2;
    }
    outDir = argv[1];
    HINSTANCE self = GetModuleHandleW(nullptr);
    SetHelpModule(self);
    automation::SetFailureHandler([](const std::string& m) { fprintf(stderr, "%s\n", m.c_str()); });
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
        DialogBoxParamW(self, MAKEINTRESOURCEW(p.templateId), nullptr, p.proc, 0);
        printf("%s\n", p.name);
    }
    return 0;
}
