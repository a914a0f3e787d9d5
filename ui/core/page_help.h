#pragma once
// Context help of the pages: the help map of the page that painted last.

#include <windows.h>

#include <cstdint>

// Marks the page whose help map F1, WM_HELP and WM_CONTEXTMENU use.
void SetHelpPage(int templateId);
// Help id of a control in the current map; the page's own id when the
// control has no pair (or there is no control).
DWORD HelpIdFor(int controlId);
void ShowPageHelp(HWND page, DWORD context);
void ShowControlHelp(const HELPINFO* info);
void ShowContextMenuHelp(HWND control);
