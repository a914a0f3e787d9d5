// Dialogs 102 and 118: the user moves candidates into the selected list.
// Dialog 119 shows one speed-dial record as read from the file.
#include <cstdio>
#include <cstring>
#include <new>

#include "csv_reader.h"
#include "import_app.h"
#include "list_extent.h"
#include "picked_set.h"
#include "rcpimport_ids.h"

namespace {

const char kCsvTitle[] = "Tuonti CSV-tiedostosta";
const char kSpeedTitle[] = "Lyhytvalinnan CSV-tiedoston tuonti";
const char kFull[] =
    "Luettelosta valittujen vastaanottajien m\xE4\xE4r\xE4 on suurin mahdollinen.\n"
    "Voit tuoda enint\xE4\xE4n 50 vastaanottajaa.";
const char kNoMemory[] =
    "Muisti ei riit\xE4 useiden kohtien lis\xE4\xE4miseen.\nPienenn\xE4 valintaa ja yrit\xE4 uudelleen.";

struct PickState {
    ImportApp* app;
    const std::string* path;
    bool speedDial;
    const CsvCandidates* csv;  // dialog 102
    int searchMax;             // characters of edit 1003 searched
    bool helpOpened = false;
};

PickState* State(HWND dlg) { return reinterpret_cast<PickState*>(GetWindowLongPtrA(dlg, DWLP_USER)); }
const char* Caption(const PickState* st) { return st->speedDial ? kSpeedTitle : kCsvTitle; }

std::string ItemText(HWND list, int i) {
    LRESULT len = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len == LB_ERR) return std::string();
    std::string text(static_cast<size_t>(len) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

size_t ItemIndex(HWND list, int i) { return static_cast<size_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)); }

int ListCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

bool Append(HWND list, const std::string& text, size_t index) {
    LRESULT i = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (i < 0) return false;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(i), static_cast<LPARAM>(index));
    return true;
}

RecipientTexts Candidate(const PickState* st, size_t i) {
    if (st->speedDial) return {st->app->speedDial.records[i].name, st->app->speedDial.records[i].faxNumber};
    return {(*st->csv)[i].name, (*st->csv)[i].faxNumber};
}

std::string EntryText(const RecipientTexts& r) { return std::string(r.name) + " <" + r.fax + ">"; }

// The candidate of every item of the selected list, top down.
std::vector<size_t> ListedCandidates(HWND list) {
    std::vector<size_t> listed(static_cast<size_t>(ListCount(list)));
    for (size_t k = 0; k < listed.size(); ++k) listed[k] = ItemIndex(list, static_cast<int>(k));
    return listed;
}

void AddCsvCandidate(HWND dlg, const PickState* st, PickedSet& picked, size_t i) {
    RecipientTexts r = Candidate(st, i);
    size_t other, position;
    if (r.fax[0] == '\0' || picked.Find(i, other, position)) return;
    if (Append(GetDlgItem(dlg, IDC_PICK_SELECTED), EntryText(r), i)) picked.Append(i);
}

void AddSpeedDialCandidate(HWND dlg, const PickState* st, PickedSet& picked, size_t i) {
    HWND selected = GetDlgItem(dlg, IDC_PICK_SELECTED);
    size_t other, position;
    if (picked.Find(i, other, position)) {
        if (other == i) return;
        RecipientTexts r = Candidate(st, other);
        std::string ask = std::string("Nimi: ") + r.name + "\nFaksinumero: " + r.fax +
                          "\n\nVastaanottaja on jo nykyisess\xE4 valinnassa.\nHaluatko korvata sen?";
        if (MessageBoxA(dlg, ask.c_str(), kSpeedTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
        SendMessageA(selected, LB_DELETESTRING, static_cast<WPARAM>(position), 0);
        picked.Remove(other);
    }
    if (Append(selected, st->app->speedDial.speedDialKeys[i] + "\t" + EntryText(Candidate(st, i)), i))
        picked.Append(i);
}

bool IsFull(HWND dlg, const PickState* st) {
    return st->app->selection.maxCount > 0 && ListCount(GetDlgItem(dlg, IDC_PICK_SELECTED)) >= st->app->selection.maxCount;
}

void AddSelected(HWND dlg) {
    PickState* st = State(dlg);
    HWND source = GetDlgItem(dlg, IDC_PICK_SOURCE);
    LRESULT n = SendMessageA(source, LB_GETSELCOUNT, 0, 0);
    if (n == LB_ERR || n <= 0) return;
    if (IsFull(dlg, st)) {
        MessageBoxA(dlg, kFull, Caption(st), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    try {
        std::vector<int> items(static_cast<size_t>(n));
        PickedSet picked([st](size_t i) { return Candidate(st, i); },
                         ListedCandidates(GetDlgItem(dlg, IDC_PICK_SELECTED)), items.size());
        n = SendMessageA(source, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(items.data()));
        for (LRESULT k = 0; k < n; ++k) {
            if (IsFull(dlg, st)) {
                MessageBoxA(dlg, kFull, Caption(st), MB_OK | MB_ICONEXCLAMATION);
                return;
            }
            size_t i = ItemIndex(source, items[static_cast<size_t>(k)]);
            if (st->speedDial) AddSpeedDialCandidate(dlg, st, picked, i);
            else AddCsvCandidate(dlg, st, picked, i);
        }
    } catch (const std::bad_alloc&) {
        // Before the first item when the lists cannot be had; otherwise
        // what was added stays, each item whole.
        MessageBoxA(dlg, kNoMemory, Caption(st), MB_OK | MB_ICONEXCLAMATION);
    }
}

// Removes the selected items of the selected list, the last first.
void RemoveSelected(HWND dlg) {
    HWND selected = GetDlgItem(dlg, IDC_PICK_SELECTED);
    for (int k = ListCount(selected) - 1; k >= 0; --k) {
        if (SendMessageA(selected, LB_GETSEL, static_cast<WPARAM>(k), 0) > 0)
            SendMessageA(selected, LB_DELETESTRING, static_cast<WPARAM>(k), 0);
    }
}

void Search(HWND dlg) {
    PickState* st = State(dlg);
    char text[32] = {};
    GetDlgItemTextA(dlg, IDC_PICK_SEARCH, text, st->searchMax + 1);
    if (text[0] == '\0') return;
    HWND source = GetDlgItem(dlg, IDC_PICK_SOURCE);
    int first = -1;
    if (SendMessageA(source, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) != 1) first = -1;
    // LB_FINDSTRING starts after the index it is given.
    LRESULT found = SendMessageA(source, LB_FINDSTRING, static_cast<WPARAM>(first >= 0 ? first - 1 : -1),
                                 reinterpret_cast<LPARAM>(text));
    if (found == LB_ERR) return;
    SendMessageA(source, LB_SETSEL, FALSE, -1);
    SendMessageA(source, LB_SETSEL, TRUE, found);
    SendMessageA(source, LB_SETTOPINDEX, static_cast<WPARAM>(found), 0);
}

void ShowDetails(HWND dlg);

void OnOk(HWND dlg) {
    PickState* st = State(dlg);
    ImportSelection& sel = st->app->selection;
    HWND selected = GetDlgItem(dlg, IDC_PICK_SELECTED);
    sel.entries.clear();
    sel.chosen.clear();
    for (int k = 0; k < ListCount(selected); ++k) {
        std::string text = ItemText(selected, k);
        if (st->speedDial) {
            size_t tab = text.find('\t');
            text = tab == std::string::npos ? text : text.substr(tab + 1);
            sel.chosen.push_back(ItemIndex(selected, k));
        }
        sel.entries.push_back(text);
    }
    CloseHelp(*st->app, dlg, st->helpOpened);
    EndDialog(dlg, IDOK);
}

void OnCancel(HWND dlg) {
    PickState* st = State(dlg);
    st->app->selection.entries.clear();
    st->app->selection.chosen.clear();
    CloseHelp(*st->app, dlg, st->helpOpened);
    EndDialog(dlg, IDCANCEL);
}

void FillSource(HWND dlg, const PickState* st) {
    HWND source = GetDlgItem(dlg, IDC_PICK_SOURCE);
    if (st->speedDial) {
        const SpeedDialCandidates& c = st->app->speedDial;
        for (size_t i = 0; i < c.Count(); ++i) Append(source, c.speedDialKeys[i], i);
    } else {
        for (size_t i = 0; i < st->csv->Count(); ++i) Append(source, EntryText(Candidate(st, i)), i);
    }
    SendMessageA(source, LB_SETSEL, TRUE, 0);
}

INT_PTR CALLBACK ProgressDlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

void OnInit(HWND dlg, PickState* st) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(st));
    std::string title = std::string(Caption(st)) + " - " + *st->path;
    SetWindowTextA(dlg, title.c_str());
    // Before the tab stops are set, so the selected list is measured with them.
    ScrollToWidestItem(GetDlgItem(dlg, IDC_PICK_SOURCE));
    ScrollToWidestItem(GetDlgItem(dlg, IDC_PICK_SELECTED));
    SendDlgItemMessageA(dlg, IDC_PICK_SOURCE, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(dlg, IDC_PICK_SELECTED, LB_RESETCONTENT, 0, 0);
    if (st->speedDial) {
        INT tab = 70;
        SendDlgItemMessageA(dlg, IDC_PICK_SELECTED, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab));
        SendDlgItemMessageA(dlg, IDC_PICK_HEADING, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab));
        SendDlgItemMessageA(dlg, IDC_PICK_SEARCH, EM_LIMITTEXT, 3, 0);
        SetDlgItemTextA(dlg, IDC_PICK_HEADING, "Lyhytvalintanro\tValitut vastaanottajat");
    }
    // Filling a long contact list takes a while: say what is going on.
    HWND progress = st->speedDial ? nullptr
                                  : CreateDialogParamA(st->app->instance, MAKEINTRESOURCEA(IDD_PROGRESS), dlg,
                                                       ProgressDlgProc, 0);
    FillSource(dlg, st);
    if (progress) DestroyWindow(progress);
    SetForegroundWindow(dlg);
}

void OnCommand(HWND dlg, int id, int code) {
    switch (id) {
    case IDC_PICK_SEARCH:
        if (code == EN_CHANGE) Search(dlg);
        break;
    case IDC_PICK_SOURCE:
        if (code == LBN_DBLCLK) AddSelected(dlg);
        break;
    case IDC_PICK_ADD: AddSelected(dlg); break;
    case IDC_PICK_REMOVE: RemoveSelected(dlg); break;
    case IDC_PICK_DETAILS: ShowDetails(dlg); break;
    case IDC_PICK_HELP: {
        PickState* st = State(dlg);
        ShowHelp(*st->app, dlg, st->speedDial ? 15514 : 15511, st->helpOpened);
        break;
    }
    case IDOK: OnOk(dlg); break;
    case IDCANCEL: OnCancel(dlg); break;
    }
}

// Delete in the selected list removes its selected items; every other key
// keeps the list's own behaviour.
INT_PTR OnKeyToItem(HWND dlg, UINT vk, HWND list) {
    if (list != GetDlgItem(dlg, IDC_PICK_SELECTED)) return -1;
    if (vk != VK_DELETE) return -1;
    RemoveSelected(dlg);
    return -2;
}

INT_PTR CALLBACK PickDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInit(dlg, reinterpret_cast<PickState*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_VKEYTOITEM:
        return OnKeyToItem(dlg, LOWORD(wParam), reinterpret_cast<HWND>(lParam));
    }
    return FALSE;
}

struct DetailsState {
    const SpeedDialCandidates* c;
    size_t i;
};

void FillDetails(HWND dlg, const DetailsState* st) {
    const SpeedDialCandidates& c = *st->c;
    std::string title = std::string("Lyhytvalintanro ") + c.speedDialKeys[st->i];
    SetWindowTextA(dlg, title.c_str());
    SetDlgItemTextA(dlg, IDC_DETAIL_NAME, c.records[st->i].name);
    SetDlgItemTextA(dlg, IDC_DETAIL_FAX, c.records[st->i].faxNumber);
    SetDlgItemTextA(dlg, IDC_DETAIL_MODE, c.commModeTexts[st->i].c_str());
    SetDlgItemTextA(dlg, IDC_DETAIL_SECURE, c.secureTexts[st->i].c_str());
    SetDlgItemTextA(dlg, IDC_DETAIL_RELAY, c.relayTexts[st->i].c_str());
    SetDlgItemTextA(dlg, IDC_DETAIL_FCODE, c.fCodeTexts[st->i].c_str());
}

INT_PTR CALLBACK DetailsDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        FillDetails(dlg, reinterpret_cast<DetailsState*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void ShowDetails(HWND dlg) {
    PickState* st = State(dlg);
    HWND source = GetDlgItem(dlg, IDC_PICK_SOURCE);
    int item = -1;
    if (SendMessageA(source, LB_GETSELCOUNT, 0, 0) != 1 ||
        SendMessageA(source, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&item)) != 1) {
        MessageBoxA(dlg,
                    "Sinun on valittava luettelosta t\xE4sm\xE4lleen yksi lyhytvalintanumero voidaksesi katsoa "
                    "tietoja.",
                    kSpeedTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    DetailsState details{&st->app->speedDial, ItemIndex(source, item)};
    DialogBoxParamA(st->app->instance, MAKEINTRESOURCEA(IDD_SPEED_DETAILS), dlg, DetailsDlgProc,
                    reinterpret_cast<LPARAM>(&details));
}

}  // namespace

bool RunCsvPickDialog(ImportApp& app, const CsvCandidates& candidates, const std::string& path) {
    PickState st{&app, &path, false, &candidates, 30};
    return DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_CSV_PICK), app.callerWindow, PickDlgProc,
                           reinterpret_cast<LPARAM>(&st)) == IDOK;
}

bool RunSpeedDialPickDialog(ImportApp& app, const std::string& path) {
    PickState st{&app, &path, true, nullptr, 3};
    return DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_SPEED_PICK), app.callerWindow, PickDlgProc,
                           reinterpret_cast<LPARAM>(&st)) == IDOK;
}
