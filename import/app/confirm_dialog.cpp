// Dialog 101: what will be handed over, with the statistics of the import.
#include <cstdio>

#include "import_app.h"
#include "import_codes.h"
#include "rcpimport_ids.h"

namespace {

struct ConfirmState {
    ImportApp* app;
    int source;
};

void OnInit(HWND dlg, ConfirmState* st) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(st));
    ImportApp& app = *st->app;
    char text[64];
    std::snprintf(text, sizeof text, "Tuodaan %d vastaanottajaa:", static_cast<int>(app.selection.entries.size()));
    SetDlgItemTextA(dlg, IDC_CONFIRM_COUNT, text);
    INT tab = 148;
    SendDlgItemMessageA(dlg, IDC_CONFIRM_LIST, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab));
    for (const std::string& entry : app.selection.entries) {
        std::string name, fax;
        SplitEntryText(entry, name, fax);
        std::string line = name + "\t" + fax;
        SendDlgItemMessageA(dlg, IDC_CONFIRM_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SetDlgItemInt(dlg, IDC_CONFIRM_FOUND, static_cast<UINT>(app.foundCount), TRUE);
    SetDlgItemInt(dlg, IDC_CONFIRM_REJECTED, static_cast<UINT>(app.rejectedCount), TRUE);
    SetDlgItemInt(dlg, IDC_CONFIRM_CONFIRMED, static_cast<UINT>(app.confirmedCount), TRUE);
    bool addressBook = st->source >= SourceMapi && st->source <= SourceWabDefault;
    SetDlgItemTextA(dlg, IDC_CONFIRM_REJECTED_LABEL,
                    addressBook ? "Hyl\xE4tty valinnasta:" : "Hyl\xE4tty tietokannasta:");
    int max = app.selection.maxCount;
    SetDlgItemTextA(dlg, IDC_CONFIRM_NOTE,
                    max > 0 && max < app.confirmedCount ? "*Vain 50 ensimm\xE4ist\xE4 vastaanottajaa tuodaan." : "");
}

void OnCancel(HWND dlg) {
    auto* st = reinterpret_cast<ConfirmState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    st->app->selection.entries.clear();
    st->app->selection.chosen.clear();
    EndDialog(dlg, IDCANCEL);
}

INT_PTR CALLBACK ConfirmDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInit(dlg, reinterpret_cast<ConfirmState*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndDialog(dlg, IDOK);
        else if (LOWORD(wParam) == IDCANCEL) OnCancel(dlg);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

bool RunConfirmDialog(ImportApp& app, int source) {
    ConfirmState st{&app, source};
    return DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_CONFIRM), app.callerWindow, ConfirmDlgProc,
                           reinterpret_cast<LPARAM>(&st)) == IDOK;
}
