#pragma once
// The dialogs, message boxes and property sheets the scripted user is
// playing on Windows, in the order they were created (innermost last).
#include <windows.h>

#include <string>
#include <vector>

#include "../automation_internal.h"

namespace automation {
namespace win {

enum class Kind { Dialog, MessageBox, Sheet };

struct Tracked {
    HWND hwnd = nullptr;
    Kind kind = Kind::Dialog;
    int templateId = 0;
    int answer = 0;           // message box: the button to click
    std::vector<int> pages;   // property sheet: template id of each page
    bool busy = false;        // a step of this window is running
};

std::vector<Tracked>& TrackedWindows();
Tracked* FindTracked(HWND h);
// The innermost live window being played, or null.
Tracked* Innermost();
// Template id the next step's guard is checked against: a dialog's own,
// a property sheet's current page's.
int TemplateOf(const Tracked& t);
// The current page of a property sheet (null for other windows).
HWND CurrentPage(const Tracked& t);

inline std::u16string U16(LPCWSTR s) {
    return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline LPCWSTR Wide(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

}  // namespace win
}  // namespace automation
