// Character classes of the user side (IsCharAlpha and companions): letters
// are what has a case, plus the scripts whose letters have none; digits are
// the decimal digits of the scripts the dialogs may meet.
#include "posix/win_kernel.h"
#include "posix/win_user.h"

namespace {

struct Range {
    char16_t first, last;
};

// Letters without case.
const Range kCaseless[] = {
    {0x00AA, 0x00AA}, {0x00BA, 0x00BA}, {0x01BB, 0x01BB}, {0x01C0, 0x01C3}, {0x0294, 0x0294},
    {0x05D0, 0x05EA}, {0x0620, 0x064A}, {0x0671, 0x06D3}, {0x0904, 0x0939}, {0x0E01, 0x0E30},
    {0x3041, 0x3096}, {0x30A1, 0x30FA}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},
};

// Decimal digits (and the superscript ones of Latin-1, which the system
// counts as digits).
const Range kDigits[] = {
    {u'0', u'9'}, {0x00B2, 0x00B3}, {0x00B9, 0x00B9}, {0x0660, 0x0669}, {0x06F0, 0x06F9},
    {0x0966, 0x096F}, {0xFF10, 0xFF19},
};

template <size_t N>
bool In(const Range (&table)[N], char16_t c) {
    for (const Range& r : table)
        if (c >= r.first && c <= r.last) return true;
    return false;
}

char16_t Upper(char16_t c) { return (char16_t)(uintptr_t)CharUpperW((LPWSTR)(uintptr_t)c); }
char16_t Lower(char16_t c) { return (char16_t)(uintptr_t)CharLowerW((LPWSTR)(uintptr_t)c); }

// Lower-case letters with no upper-case form of their own.
bool LowerOnly(char16_t c) { return c == 0x00DF || c == 0x00B5 || c == 0x00AA || c == 0x00BA; }

bool IsUpper(char16_t c) { return Lower(c) != c; }
bool IsLower(char16_t c) { return Upper(c) != c || LowerOnly(c); }
bool IsAlpha(char16_t c) { return IsUpper(c) || IsLower(c) || In(kCaseless, c); }

WCHAR Widen(CHAR c) {
    WCHAR w = 0;
    return MultiByteToWideChar(CP_ACP, 0, &c, 1, &w, 1) == 1 ? w : 0;
}

}  // namespace

BOOL WINAPI IsCharAlphaW(WCHAR c) { return IsAlpha(c); }
BOOL WINAPI IsCharAlphaNumericW(WCHAR c) { return IsAlpha(c) || In(kDigits, c); }
BOOL WINAPI IsCharUpperW(WCHAR c) { return IsUpper(c); }
BOOL WINAPI IsCharLowerW(WCHAR c) { return IsLower(c); }
BOOL WINAPI IsCharAlphaA(CHAR c) { return IsCharAlphaW(Widen(c)); }
BOOL WINAPI IsCharAlphaNumericA(CHAR c) { return IsCharAlphaNumericW(Widen(c)); }
BOOL WINAPI IsCharUpperA(CHAR c) { return IsCharUpperW(Widen(c)); }
BOOL WINAPI IsCharLowerA(CHAR c) { return IsCharLowerW(Widen(c)); }
