#pragma once
// Private state of the headless window manager: the window table, the
// posted-message queue and the focus, shared by the user/, comctl/ and gdi/
// implementation files.
#include "posix/win_kernel.h"
#include "posix/win_user.h"
#include "posix/comctl/liststore.h"

#include <deque>
#include <map>
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

// Focus bookkeeping.
void SetFocusInternal(HWND h);

// Foreground window shared between processes.
void SetForegroundLocal(HWND h);

// Called when a local window is destroyed.
void ForgetWindow(HWND h);

}  // namespace winuser
