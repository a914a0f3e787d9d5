#pragma once
// The confirmation of a fax job (dialog 108): the recipients once more and
// an optional delayed-send time.

#include <cstdint>

#include "windows.h"

struct DelayedSend {
    int32_t on;
    int32_t hour;
    int32_t minute;
};
// Reset when the dialog opens; read by the fax flow after it ended.
extern DelayedSend PromptDelay;

// Ends with 1 for OK and 0 for "Keskeytä"; nothing else ends it.
INT_PTR CALLBACK FaxPromptDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
