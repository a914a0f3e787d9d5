#pragma once
// The dialog manager's own calls: dialogs from templates, the modal loop,
// modal owners and the dialog's keyboard focus.
#include "posix/user/res.h"
#include "posix/win_user.h"

namespace winuser {

// Modal loop of a dialog: runs until EndDialog.
void RunModal(HWND dlg);
HWND TopModal();  // innermost running modal dialog, or null

LRESULT CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);

// The owner of a dialog or sheet is the top-level window of the one given
// (null when that is gone). A modal one disables it while it runs; then it
// is enabled, activated and given back the focus it had.
HWND TopLevelOwner(HWND given);
struct ModalOwner {
    HWND hwnd = nullptr;
    bool wasEnabled = false;
};
ModalOwner DisableOwner(HWND given);
void RestoreOwner(const ModalOwner& owner);

// The dialog template of a module's resource; false, with the last error
// set, when there is none or it is damaged.
bool LoadDialogTemplate(HINSTANCE inst, LPCWSTR name, winres::DialogTemplate& t);

// Dialog creation from a parsed template (no modal loop).
HWND CreateDialogFromTemplate(HINSTANCE inst, const winres::DialogTemplate& t, HWND owner, DLGPROC proc,
                              LPARAM param, int templateId, bool child);

// Focus to the next tab stop from the dialog's point of view (Tab / WM_NEXTDLGCTL).
void DialogFocus(HWND dlg, HWND ctl, bool selectAll);

}  // namespace winuser
