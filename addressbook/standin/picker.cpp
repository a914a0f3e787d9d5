// The stand-in's own selection dialog: the user moves entries of the book
// into the destination well and confirms.
#include <string>
#include <unordered_set>
#include <vector>

#include "objects.h"
#include "picker_ids.h"

namespace standin {
namespace {

struct PickerState {
    const Book* book;
    const ADRPARM* parm;
    std::vector<uint32_t>* chosen;
};

std::string ItemText(const Entry& e) {
    return e.objectType == MAPI_DISTLIST ? e.name + " (jakelulista)" : e.name;
}

void AddItem(HWND dlg, int list, const Entry& e, uint32_t index) {
    LRESULT at = SendDlgItemMessageA(dlg, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ItemText(e).c_str()));
    if (at >= 0) SendDlgItemMessageA(dlg, list, LB_SETITEMDATA, static_cast<WPARAM>(at), index);
}

std::vector<int> SelectedItems(HWND dlg, int list) {
    LRESULT n = SendDlgItemMessageA(dlg, list, LB_GETSELCOUNT, 0, 0);
    std::vector<int> items(n > 0 ? static_cast<size_t>(n) : 0);
    if (n > 0) SendDlgItemMessageA(dlg, list, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(items.data()));
    return items;
}

// The book indexes already in the well, read once per move.
std::unordered_set<uint32_t> WellIndexes(HWND dlg) {
    std::unordered_set<uint32_t> in;
    LRESULT n = SendDlgItemMessageA(dlg, IDC_WELL_LIST, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i)
        in.insert(static_cast<uint32_t>(SendDlgItemMessageA(dlg, IDC_WELL_LIST, LB_GETITEMDATA, i, 0)));
    return in;
}

void OnInit(HWND dlg, PickerState* st) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(st));
    if (st->parm->lpszCaption) SetWindowTextA(dlg, st->parm->lpszCaption);
    if (st->parm->lpszDestWellsTitle) SetDlgItemTextA(dlg, IDC_WELLS_TITLE, st->parm->lpszDestWellsTitle);
    if (st->parm->cDestFields >= 1 && st->parm->lppszDestTitles && st->parm->lppszDestTitles[0])
        SetDlgItemTextA(dlg, IDC_ADD_TO_WELL, (std::string(st->parm->lppszDestTitles[0]) + " ->").c_str());
    const std::vector<Entry>& entries = st->book->Entries();
    for (uint32_t i = 0; i < entries.size(); ++i) AddItem(dlg, IDC_BOOK_LIST, entries[i], i);
}

// Each entry is in the well at most once, however often it is moved.
void OnAdd(HWND dlg, PickerState* st) {
    std::unordered_set<uint32_t> inWell = WellIndexes(dlg);
    for (int item : SelectedItems(dlg, IDC_BOOK_LIST)) {
        uint32_t index = static_cast<uint32_t>(SendDlgItemMessageA(dlg, IDC_BOOK_LIST, LB_GETITEMDATA, item, 0));
        if (index < st->book->Entries().size() && inWell.insert(index).second)
            AddItem(dlg, IDC_WELL_LIST, st->book->Entries()[index], index);
    }
}

void OnRemove(HWND dlg) {
    std::vector<int> items = SelectedItems(dlg, IDC_WELL_LIST);
    for (auto it = items.rbegin(); it != items.rend(); ++it) SendDlgItemMessageA(dlg, IDC_WELL_LIST, LB_DELETESTRING, *it, 0);
}

void OnOk(HWND dlg, PickerState* st) {
    LRESULT n = SendDlgItemMessageA(dlg, IDC_WELL_LIST, LB_GETCOUNT, 0, 0);
    st->chosen->clear();
    for (LRESULT i = 0; i < n; ++i)
        st->chosen->push_back(static_cast<uint32_t>(SendDlgItemMessageA(dlg, IDC_WELL_LIST, LB_GETITEMDATA, i, 0)));
    EndDialog(dlg, IDOK);
}

void OnCommand(HWND dlg, int id, int code) {
    PickerState* st = reinterpret_cast<PickerState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (!st) return;
    switch (id) {
    case IDC_ADD_TO_WELL: OnAdd(dlg, st); break;
    case IDC_BOOK_LIST: if (code == LBN_DBLCLK) OnAdd(dlg, st); break;
    case IDC_REMOVE_FROM_WELL: OnRemove(dlg); break;
    case IDOK: OnOk(dlg, st); break;
    case IDCANCEL: EndDialog(dlg, IDCANCEL); break;
    default: break;
    }
}

INT_PTR CALLBACK PickerDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInit(dlg, reinterpret_cast<PickerState*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool RunPicker(HWND owner, const Book& book, const ADRPARM& parm, std::vector<uint32_t>& chosen) {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&RunPicker), &self);
    PickerState st{&book, &parm, &chosen};
    INT_PTR r = DialogBoxParamA(self, MAKEINTRESOURCEA(IDD_ADDRESS_PICKER), owner, PickerDlgProc,
                                reinterpret_cast<LPARAM>(&st));
    return r == IDOK;
}

}  // namespace standin
