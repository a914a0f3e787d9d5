// Opens each dialog of the import program in turn, filled from the contact
// and speed-dial exports in tests/data/import as a user would fill it, and
// holds it still while scripts/dialog-pictures.sh takes its picture.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "automation.h"
#include "csv_fields.h"
#include "csv_reader.h"
#include "import_app.h"
#include "import_codes.h"
#include "picture_hold.h"
#include "rcpimport_ids.h"
#include "scripted_user.h"
#include "speed_dial_reader.h"

namespace {

using automation::Script;

// The exports copied where a user keeps them, so titles show such a path.
const char kFolder[] = "C:\\Tiedot";
const std::string kContacts = std::string(kFolder) + "\\yhteystiedot.csv";
const std::string kSpeedDials = std::string(kFolder) + "\\lyhytvalinnat.csv";

std::function<void(HWND)> Hold(const char* name) {
    return [name](HWND d) { HoldForPicture(d, name); };
}
void Close(HWND d) { EndDialog(d, IDCANCEL); }

std::vector<std::string> HeaderFields() {
    TextImage image;
    std::vector<std::string> out;
    if (LoadTextImage(kContacts.c_str(), image) != 0) return out;
    char* fields[kMaxCsvFields];
    fields[0] = image.Line(image.HeaderLine());
    int n = SplitFields(fields);
    for (int i = 0; i < n; ++i) out.push_back(fields[i]);
    return out;
}

void PickContacts(ImportApp& app) {
    TextImage image;
    CsvColumns columns;
    CsvCandidates candidates;
    if (LoadTextImage(kContacts.c_str(), image) != 0) return;
    size_t header = image.HeaderLine();
    if (AutoCsvColumns(image.Line(header), columns) != 0 || candidates.Collect(image, header, columns) != 0) return;
    app.selection.maxCount = 50;
    RunCsvPickDialog(app, candidates, kContacts);
}

void Confirm(ImportApp& app, int source, const std::vector<std::string>& entries, int found, int rejected,
             int confirmed) {
    app.selection.entries = entries;
    app.foundCount = found;
    app.rejectedCount = rejected;
    app.confirmedCount = confirmed;
    RunConfirmDialog(app, source);
}

std::vector<std::string> SixtyColleagues() {
    const char* first[] = {"Aino", "Eero", "Helmi", "Juhani", "Kaisa", "Lauri"};
    const char* last[] = {"Heikkinen", "Koskinen", "M\xE4kel\xE4", "Nieminen", "R\xE4s\xE4nen",
                          "Salminen", "Virtanen", "Laaksonen", "H\xE4m\xE4l\xE4inen", "Lehtonen"};
    std::vector<std::string> out;
    for (int i = 0; i < 50; ++i)
        out.push_back(std::string(last[i % 10]) + " " + first[i % 6] + " <0" + std::to_string(20 + i % 7) + "555" +
                      std::to_string(1000 + 37 * i) + ">");
    return out;
}

INT_PTR CALLBACK ProgressProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// Offers the two address book types while the data type dialog opens: the
// messaging system's book ("MAPIX" in the initialisation file) and the
// address book library at its registered path, the stand-in's; the
// previous settings come back afterwards.
void RunWithAddressBooksOffered(ImportApp& app) {
    const char kKey[] = "Software\\Microsoft\\WAB\\DLLPath";
    char before[MAX_PATH + 1] = {};
    LONG size = sizeof before - 1;
    bool had = RegQueryValueA(HKEY_LOCAL_MACHINE, kKey, before, &size) == ERROR_SUCCESS;
    char mapix[8] = {};
    GetProfileStringA("Mail", "MAPIX", "", mapix, sizeof mapix);
    RegSetValueA(HKEY_LOCAL_MACHINE, kKey, REG_SZ, STANDIN_WAB_LIBRARY, sizeof STANDIN_WAB_LIBRARY - 1);
    WriteProfileStringA("Mail", "MAPIX", "1");
    RunDataTypeDialog(app);
    WriteProfileStringA("Mail", "MAPIX", mapix[0] ? mapix : nullptr);
    if (had) RegSetValueA(HKEY_LOCAL_MACHINE, kKey, REG_SZ, before, static_cast<DWORD>(std::strlen(before)));
    else RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
}

struct Picture {
    std::function<Script()> user;  // fills the dialogs and holds each for its picture
    std::function<void(ImportApp&)> open;
};

const Picture pictures[] = {
    {[] {
         return Script()
             .dialog(IDD_DATA_TYPE)
             .select(IDC_TYPE_COMBO, u"Lyhytvalintatiedosto EWS-CSV")
             .call(Hold("116-data-type-speed-dial"))
             .call(Close);
     },
     [](ImportApp& app) { RunDataTypeDialog(app); }},
    {[] {
         return Script()
             .dialog(IDD_DATA_TYPE)
             .select(IDC_TYPE_COMBO, u"Pilkuin eroteltu tekstitiedosto (CSV)")
             .check(IDC_TYPE_AUTO_CSV)
             .call(Hold("116-data-type-csv"))
             .call(Close);
     },
     [](ImportApp& app) { RunDataTypeDialog(app); }},
    {[] {
         return Script()
             .dialog(IDD_DATA_TYPE)
             .select(IDC_TYPE_COMBO, u"Windows-osoitteisto (WAB)")
             .check(IDC_TYPE_DEFAULT_WAB, false)
             .call(Hold("116-data-type-address-book"))
             .call(Close);
     },
     RunWithAddressBooksOffered},
    {[] {
         return Script()
             .dialog(IDD_DATA_TYPE)
             .select(IDC_TYPE_COMBO, u"MS Messaging-j\u00e4rjestelm\u00e4n osoitteisto")
             .call(Hold("116-data-type-messaging"))
             .call(Close);
     },
     RunWithAddressBooksOffered},
    {[] {
         return Script()
             .dialog(IDD_FIELD_MAP)
             .select(IDC_MAP_FIELDS, 2)
             .click(IDC_MAP_NAME_BUTTON)
             .select(IDC_MAP_FIELDS, 4)
             .click(IDC_MAP_FAX_BUTTON)
             .call(Hold("114-field-map"))
             .call(Close);
     },
     [](ImportApp& app) {
         int name = -1, fax = -1;
         RunFieldMapDialog(app, kContacts, HeaderFields(), name, fax);
     }},
    {[] {
         return Script()
             .dialog(IDD_CSV_PICK)
             .selectMany(IDC_PICK_SOURCE, {0, 2, 3, 8})
             .click(IDC_PICK_ADD)
             .select(IDC_PICK_SOURCE, 6)
             .call(Hold("102-csv-pick"))
             .call(Close);
     },
     PickContacts},
    {[] {
         return Script()
             .dialog(IDD_SPEED_PICK)
             .selectMany(IDC_PICK_SOURCE, {0, 1, 2})
             .click(IDC_PICK_ADD)
             .select(IDC_PICK_SOURCE, 2)
             .call(Hold("118-speed-pick"))
             .call(Close);
     },
     [](ImportApp& app) { ReadSpeedDialRecipients(app, kSpeedDials); }},
    // Opened from dialog 118 it stays unpainted under wine (black in the
    // picture), so it is opened on its own and filled as its procedure
    // fills it, from the reader's texts of speed dial 10.
    {[] { return Script().dialog(IDD_SPEED_DETAILS).call(Hold("119-speed-details")).call(Close); },
     [](ImportApp& app) {
         TextImage image;
         SpeedDialCandidates c;
         int rc = LoadTextImage(kSpeedDials.c_str(), image);
         if (rc == 0) rc = ReadSpeedDialLines(image, c);
         if (rc != 0 || c.Count() == 0) {
             std::fprintf(stderr, "%s: cannot be read (%d)\n", kSpeedDials.c_str(), rc);
             return;
         }
         size_t i = 0;
         while (i + 1 < c.Count() && c.speedDialKeys[i] != "10") ++i;
         static const SpeedDialCandidates* shown;
         static size_t index;
         shown = &c;
         index = i;
         DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_SPEED_DETAILS), nullptr,
                         [](HWND d, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
                             if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
                                 EndDialog(d, LOWORD(wParam));
                             if (msg != WM_INITDIALOG) return FALSE;
                             SetWindowTextA(d, ("Lyhytvalintanro " + shown->speedDialKeys[index]).c_str());
                             SetDlgItemTextA(d, IDC_DETAIL_NAME, shown->records[index].name);
                             SetDlgItemTextA(d, IDC_DETAIL_FAX, shown->records[index].faxNumber);
                             SetDlgItemTextA(d, IDC_DETAIL_MODE, shown->commModeTexts[index].c_str());
                             SetDlgItemTextA(d, IDC_DETAIL_SECURE, shown->secureTexts[index].c_str());
                             SetDlgItemTextA(d, IDC_DETAIL_RELAY, shown->relayTexts[index].c_str());
                             SetDlgItemTextA(d, IDC_DETAIL_FCODE, shown->fCodeTexts[index].c_str());
                             return TRUE;
                         },
                         0);
     }},
    {[] { return Script().dialog(IDD_CONFIRM).call(Hold("101-confirm-csv")).call(Close); },
     [](ImportApp& app) {
         Confirm(app, SourceCsvAuto,
                 {"Anna Ek <+35891234567>", "Pekka M\xE4ki (Myynti) <(09)555-1212>",
                  "Pekka M\xE4ki (Myynti) <095551213>", "Kalle Virta <097777888>"},
                 5, 2, 4);
     }},
    {[] { return Script().dialog(IDD_CONFIRM).call(Hold("101-confirm-address-book")).call(Close); },
     [](ImportApp& app) {
         app.selection.maxCount = 50;  // started from the recipient list
         Confirm(app, SourceWabFile, SixtyColleagues(), 63, 3, 60);
     }},
    // Modeless: the scripted user acts on it while this loop runs.
    {[] { return Script().call(Hold("117-progress")).call([](HWND d) { DestroyWindow(d); }); },
     [](ImportApp& app) {
         HWND progress = CreateDialogParamA(app.instance, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, ProgressProc, 0);
         for (int i = 0; IsWindow(progress) && i < 2000; ++i) {
             MSG m;
             while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
             Sleep(10);
         }
     }},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: import_pictures DIR\n");
        return 2;
    }
    PictureDir() = argv[1];
    CreateDirectoryA(kFolder, nullptr);
    CopyFileA(FAX_TEST_DATA "/import/yhteystiedot.csv", kContacts.c_str(), FALSE);
    CopyFileA(FAX_TEST_DATA "/import/lyhytvalinnat.csv", kSpeedDials.c_str(), FALSE);
    StartScriptedUser(PrintScriptFailure);
    for (const Picture& p : pictures) {
        ImportApp app;
        app.instance = GetModuleHandleA(nullptr);
        automation::Reset();
        if (p.user) automation::Play(p.user());
        p.open(app);
    }
    return 0;
}
