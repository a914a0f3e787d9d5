// Dialog 114: the user marks the name field and the fax number field of a
// contact file's header.
#include <cstdio>

#include "import_app.h"
#include "rcpimport_ids.h"

namespace {

const char kTitle[] = "Tuonti CSV-tiedostosta";
const char kAttach[] = "Liit\xE4";
const char kDetach[] = "Erota";

struct FieldMapState {
    const std::string* path;
    const std::vector<std::string>* fields;
    int nameColumn = -1;
    int faxColumn = -1;
};

FieldMapState* State(HWND dlg) { return reinterpret_cast<FieldMapState*>(GetWindowLongPtrA(dlg, DWLP_USER)); }

void OnInit(HWND dlg, FieldMapState* st) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(st));
    std::string title = std::string(kTitle) + " - " + *st->path;
    SetWindowTextA(dlg, title.c_str());
    for (const std::string& f : *st->fields)
        SendDlgItemMessageA(dlg, IDC_MAP_FIELDS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
    SendDlgItemMessageA(dlg, IDC_MAP_FIELDS, LB_SETCURSEL, 0, 0);
    SetDlgItemTextA(dlg, IDC_MAP_NAME_BUTTON, kAttach);
    SetDlgItemTextA(dlg, IDC_MAP_FAX_BUTTON, kAttach);
    SetForegroundWindow(dlg);
}

struct Side {
    int button;
    int edit;
    int FieldMapState::*column;
};
const Side kNameSide{IDC_MAP_NAME_BUTTON, IDC_MAP_NAME, &FieldMapState::nameColumn};
const Side kFaxSide{IDC_MAP_FAX_BUTTON, IDC_MAP_FAX, &FieldMapState::faxColumn};

void Detach(HWND dlg, FieldMapState* st, const Side& side) {
    st->*side.column = -1;
    SetDlgItemTextA(dlg, side.edit, "");
    SetDlgItemTextA(dlg, side.button, kAttach);
}

// One field is the name or the fax number, never both.
void Toggle(HWND dlg, const Side& side, const Side& other) {
    FieldMapState* st = State(dlg);
    if (st->fields->empty()) return;
    char text[16] = {};
    GetDlgItemTextA(dlg, side.button, text, sizeof text);
    if (std::string(text) != kAttach) {
        Detach(dlg, st, side);
        return;
    }
    LRESULT sel = SendDlgItemMessageA(dlg, IDC_MAP_FIELDS, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR || static_cast<size_t>(sel) >= st->fields->size()) return;
    st->*side.column = static_cast<int>(sel);
    SetDlgItemTextA(dlg, side.edit, (*st->fields)[static_cast<size_t>(sel)].c_str());
    if (st->*other.column == sel) Detach(dlg, st, other);
    SetDlgItemTextA(dlg, side.button, kDetach);
}

void OnOk(HWND dlg) {
    if (State(dlg)->faxColumn < 0) {
        MessageBoxA(dlg, "V\xE4hint\xE4\xE4n yksi kentt\xE4 on liitett\xE4v\xE4 faksinumeroon.", kTitle,
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(dlg, IDOK);
}

INT_PTR CALLBACK FieldMapDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInit(dlg, reinterpret_cast<FieldMapState*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_MAP_NAME_BUTTON: Toggle(dlg, kNameSide, kFaxSide); break;
        case IDC_MAP_FAX_BUTTON: Toggle(dlg, kFaxSide, kNameSide); break;
        case IDOK: OnOk(dlg); break;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); break;
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace

bool RunFieldMapDialog(ImportApp& app, const std::string& path, const std::vector<std::string>& fields,
                       int& nameColumn, int& faxColumn) {
    FieldMapState st{&path, &fields};
    INT_PTR r = DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_FIELD_MAP), app.callerWindow, FieldMapDlgProc,
                                reinterpret_cast<LPARAM>(&st));
    if (r != IDOK) return false;
    nameColumn = st.nameColumn;
    faxColumn = st.faxColumn;
    return true;
}
