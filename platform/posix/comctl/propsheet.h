#pragma once
// What the scripted user needs of the property sheets.
#include "posix/win_base.h"

#include <string>

namespace winuser {

// Property sheets, for the user of the headless build.
namespace sheet {
bool Is(HWND h);
HWND CurrentPage(HWND h);    // null when h is no sheet
int CurrentTemplate(HWND h); // template id of the current page
// A click on the tab of page 'index'; empty or why it cannot be done.
std::string ClickTab(HWND h, int index);
}  // namespace sheet

}  // namespace winuser
