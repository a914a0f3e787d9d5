#include "edit_filters.h"

namespace {

// Replaces the control's characters 0..i with the text as it now stands
// (cut after position i or at it).
void ReplaceHead(HWND dialog, int id, int i, const WCHAR* text) {
    SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, i + 1);
    SendDlgItemMessageW(dialog, id, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

}  // namespace

bool EditCharRefused(WCHAR c, WCHAR low, WCHAR high, int mode) {
    if (c >= 1 && c <= 4) return true;  // these separate fields in the phonebook file
    bool outside = c < low || c > high;
    switch (mode) {
    case kFilterRange: return outside;
    case kFilterExclude: return c == low || c == high;
    case kFilterRangeStar: return outside && c != '*';
    case kFilterRangeStarHash: return outside && c != '*' && c != '#';
    default: return false;
    }
}

bool FaxCharAccepted(WCHAR c) { return c >= 33 && c <= 122 && c != ',' && c != '[' && c != ']'; }

int FilterEditChars(HWND dialog, int id, WCHAR* text, WCHAR low, WCHAR high, int mode) {
    for (int i = 0; text[i]; ++i) {
        if (!EditCharRefused(text[i], low, high, mode)) continue;
        MessageBeep(static_cast<UINT>(-1));
        text[i] = 0;
        ReplaceHead(dialog, id, i, text);
        return 0;
    }
    return 1;
}

int FilterFaxNumber(HWND dialog, int id, WCHAR* text) {
    for (int i = 0; text[i]; ++i) {
        WCHAR upper = text[i];
        CharUpperBuffW(&upper, 1);
        if (upper != text[i]) {  // a lower-case letter: it has an upper-case form
            text[i] = upper;
            text[i + 1] = 0;
            ReplaceHead(dialog, id, i, text);
            return 1;  // the new text comes back with the next notification
        }
        if (FaxCharAccepted(text[i])) continue;
        MessageBeep(static_cast<UINT>(-1));
        text[i] = 0;
        ReplaceHead(dialog, id, i, text);
        return 0;
    }
    return 1;
}
