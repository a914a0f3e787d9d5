// Opens each dialog of faxui in turn, filled with realistic data, and holds
// it still while scripts/dialog-pictures.sh takes its picture.
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
#include "picture_hold.h"
#include "resource.h"
#include "shared_state.h"

namespace {

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

const Picture pictures[] = {
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: dialog_pictures DIR\n");
        return 2;
    }
    PictureDir() = argv[1];
    HINSTANCE self = GetModuleHandleW(nullptr);
    SetHelpModule(self);
    automation::SetFailureHandler([](const std::string& m) { fprintf(stderr, "%s\n", m.c_str()); });
    for (const Picture& p : pictures) {
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
