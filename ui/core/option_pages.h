#pragma once
// The fax option page "Faksiasetukset" and the information page, served by
// one table-driven procedure, and the page hook that registers them.

#include <windows.h>

#include <cstdint>

// The procedure of both pages.
INT_PTR CALLBACK FaxPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The page hook: host driver context, host page context, settings image.
// Registers the page set the host's fax flag selects; returns 1.
int32_t RegisterFaxPages(void* host, void* pageContext, void* image, HINSTANCE instance);
