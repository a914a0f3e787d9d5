#pragma once
// List boxes whose texts ("Name <fax>", up to 30 + 30 characters) are wider
// than the list: the horizontal scroll bar must reach the end of the widest.
// Used by faxui's dialogs and the import program's picking dialogs.

#include <windows.h>

// Keeps the list's horizontal extent at its widest item's text for the
// list's life, whoever adds, inserts, deletes or empties items. The list
// needs WS_HSCROLL for the scroll bar to show. A list with LBS_USETABSTOPS
// is measured with the tab stops set after this call.
void ScrollToWidestItem(HWND list);
