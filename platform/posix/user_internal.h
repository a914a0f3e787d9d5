#pragma once
// Private state of the headless window manager: the window table, the
// posted-message queue and helpers shared by the user_*.cpp files.
#include "win_kernel.h"
#include "win_user.h"
#include "user_liststore.h"
#include "user_res.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>



namespace winuser {

enum class Kind { Generic, Dialog, Button, Edit, Static, ListBox, ComboBox };

struct Window {
    HWND hwnd = nullptr;
    Kind kind = Kind::Generic;
    std::u16string className;
    HWND parent = nullptr;  // parent of a child, owner of a popup
    std::vector<HWND> children;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::u16string text;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::map<std::u16string, HANDLE> props;  // keys upper-cased
    bool destroying = false;
    bool invalid = false;  // needs WM_PAINT
    RECT rect{0, 0, 0, 0};

    // dialogs
    DLGPROC dlgProc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR dlgUser = 0;
    int templateId = 0;
    bool ended = false;
    INT_PTR result = 0;
    int defId = IDOK;
    HWND focus = nullptr;  // last focused control, restored on activation

    // buttons
    int check = BST_UNCHECKED;

    // edits
    DWORD limit = 32767;
    DWORD selStart = 0, selEnd = 0;
    bool modified = false;
    WCHAR passwordChar = 0;

    // list and combo boxes
    ListStore items;
    int curSel = -1;  // single selection / combo
    int caret = 0;
    int anchor = -1;  // none until a selection sets it
    int top = 0;
    std::vector<int> tabStops;
    int horizontalExtent = 0;  // pixels the list scrolls across
};

Window* Find(HWND h);           // local, live window or null
// Find() that sets ERROR_INVALID_WINDOW_HANDLE when there is no such window.
Window* Lookup(HWND h);
bool IsLocalHandle(HWND h);     // handle minted by this process
DWORD HandleProcess(HWND h);    // process id encoded in a handle
HWND NewHandle();

// Creates a window of a built-in or registered class.
HWND Create(DWORD exStyle, const std::u16string& cls, const std::u16string& text, DWORD style,
            int x, int y, int cx, int cy, HWND parent, int id, HINSTANCE inst, LPVOID param);

LRESULT Send(HWND h, UINT msg, WPARAM wp, LPARAM lp);
void Notify(Window& ctl, int code);  // WM_COMMAND to the parent

// Posted messages of this process.
struct Posted {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};
std::deque<Posted>& Queue();
// Delivers one posted message; false when none was queued.
bool DeliverOnePosted();
// With nothing posted: WM_PAINT to the first visible window that needs
// it (a parent before its children); false when none does.
bool DeliverOnePaint();
// Marks a window, and the visible windows inside it, as needing WM_PAINT.
void Invalidate(HWND h);
void Validate(HWND h);

// Modal loop of a dialog: runs until EndDialog.
void RunModal(HWND dlg);
HWND TopModal();  // innermost running modal dialog, or null

// Built-in control procedures.
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
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

// Case-insensitive compare of list texts; upper-cases as the system does
// for the Latin scripts.
int CompareNoCase(const std::u16string& a, const std::u16string& b);
bool PrefixNoCase(const std::u16string& text, const std::u16string& prefix);
char16_t UpperChar(char16_t c);

// ANSI (code page 1252) conversions.
std::u16string FromAnsi(const char* s);
std::u16string FromAnsiN(const char* s, size_t n);
std::string ToAnsi(const std::u16string& s);
std::u16string FromUtf8(const std::string& s);
std::string ToUtf8(const std::u16string& s);
std::u16string W(LPCWSTR s);  // null-safe copy

// Resource access for the dialog manager.
bool FindResourceBytes(HMODULE mod, const winres::ResName& type, const winres::ResName& name,
                       const unsigned char*& data, DWORD& size);
winres::ResName ResNameFromW(LPCWSTR p);
winres::ResName ResNameFromA(LPCSTR p);

// Focus bookkeeping.
void SetFocusInternal(HWND h);
// Focus to the next tab stop from the dialog's point of view (Tab / WM_NEXTDLGCTL).
void DialogFocus(HWND dlg, HWND ctl, bool selectAll);

// Foreground window shared between processes.
void SetForegroundLocal(HWND h);

// Called when a local window is destroyed.
void ForgetWindow(HWND h);

// Cross-process service: polls the socket of this process once; waits up
// to timeoutMs for a request when timeoutMs > 0. Returns true when it
// served a request.
bool ServeRemote(int timeoutMs);
void EnsureServer();
// Requests to another process; false when it cannot be reached.
bool RemoteCall(HWND target, int op, UINT msg, WPARAM a, LPARAM b, LRESULT& result);
// Messages other processes have posted here so far.
uint64_t& RemotePostCount();
enum RemoteOp { kPost = 1, kEnable = 2, kIsWindow = 3, kGetDlgItem = 4, kIsEnabled = 5, kIsVisible = 6 };

// Property sheets, for the user of the headless build.
namespace sheet {
bool Is(HWND h);
HWND CurrentPage(HWND h);    // null when h is no sheet
int CurrentTemplate(HWND h); // template id of the current page
// A click on the tab of page 'index'; empty or why it cannot be done.
std::string ClickTab(HWND h, int index);
}  // namespace sheet

// Records and asks the user (automation).
namespace user {
int AnswerMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags);
void RecordBeep(UINT type);
void RecordHelp(HWND h, const std::u16string& file, UINT cmd, ULONG_PTR data);
// File dialog: false = cancelled; otherwise 'path' is the answer.
bool AnswerFileDialog(HWND owner, bool save, const std::u16string& title, DWORD flags, std::u16string& path);
// Performs the next user action in the modal dialog 'dlg'. Returns false
// only when the loop must end without an action (the failure was reported).
bool Act(HWND dlg);
void DialogOpened(HWND dlg);
void DialogEnded(HWND dlg, INT_PTR result);
void Fail(const std::string& why, HWND dlg);
}  // namespace user

}  // namespace winuser
