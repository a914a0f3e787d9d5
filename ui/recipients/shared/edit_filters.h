#pragma once
// Live character filters of the edit controls, called with the control's
// text after every change notification.

#include "windows.h"

enum FilterMode {
    kFilterRange = 0,           // refuse outside low..high
    kFilterExclude = 2,         // refuse low and high themselves
    kFilterRangeStar = 3,       // refuse outside low..high except '*'
    kFilterRangeStarHash = 4,   // refuse outside low..high except '*' and '#'
};

// 1 when the text is acceptable; 0 when the first refused character was
// removed from the control (with a beep). Codes 1-4 are always refused.
int FilterEditChars(HWND dialog, int id, WCHAR* text, WCHAR low, WCHAR high, int mode);

// Fax and phone numbers: '!'..'z' except ',', '[' and ']'; a lower-case
// letter is replaced by its upper-case form (result 1), anything else
// refused is removed with a beep (result 0).
int FilterFaxNumber(HWND dialog, int id, WCHAR* text);

// The pure decisions behind the filters, for a single character.
bool EditCharRefused(WCHAR c, WCHAR low, WCHAR high, int mode);
bool FaxCharAccepted(WCHAR c);
