#pragma once
// The common dispatcher of the pages: sheet notifications, help and the
// host's own page messages handled alike for every page, the rest passed
// to the page's actions by key.

#include <windows.h>

// Action keys.
enum PageActionKey {
    kActInit = 0, kActDrawItem = 1, kActMeasureItem = 2, kActCommand = 3, kActPaint = 4,
    kActEraseBackground = 5, kActSetActive = 6, kActKillActive = 7, kActApply = 8, kActReset = 10,
    kActDestroy = 11,
};

typedef INT_PTR (*PageAction)(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
struct PageActionEntry {
    int key;
    PageAction action;
};

// Messages the host asks its pages to pass on to it.
constexpr UINT kHostPageMessage1 = 4591;
constexpr UINT kHostPageMessage2 = 4592;

INT_PTR DispatchPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, int count,
                            const PageActionEntry* actions);
