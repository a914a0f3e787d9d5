#include "relay_codes.h"

#include "text_routines.h"

namespace {

bool IsDigit(WCHAR c) { return c >= '0' && c <= '9'; }

// The value of a text made only of digits; 0 for any other text.
unsigned PureNumber(const WCHAR* text) {
    unsigned value = 0;
    for (const WCHAR* p = text; *p; ++p) {
        if (!IsDigit(*p)) return 0;
        if (value > 100000) return value;  // far past every range checked
        value = value * 10 + (*p - '0');
    }
    return value;
}

}  // namespace

bool DestinationCharAllowed(WCHAR c, bool groupSend) {
    // A digit is what the system calls alphanumeric but not alphabetic, so
    // the digits of other scripts pass here and are refused as no number
    // when added.
    return (IsCharAlphaNumericW(c) && !IsCharAlphaW(c)) || (!groupSend && c == '*');
}

DestinationCheck MakeDestinationCode(const WCHAR* typed, bool groupSend, WCHAR code[4]) {
    const WCHAR first = typed[0];
    const WCHAR second = first ? typed[1] : 0;
    const unsigned value = PureNumber(typed);
    int len = 0;
    while (typed[len]) ++len;
    if (groupSend) {
        if (first == '*' || second == '*' || value < 1 || value > 9) return DestinationCheck::NeedGroupNumber;
    } else {
        if (first == '*' && second != '*' && second != 0) return DestinationCheck::NoDigitsAfterStar;
        if (first != '*' && second != '*' && value < 1) return DestinationCheck::NeedNumber;
    }
    // A code has exactly 3 characters: longer texts (only ever set by a
    // program, the edit takes 2) would not fit the record.
    const DestinationCheck outOfRange = groupSend ? DestinationCheck::NeedGroupNumber : DestinationCheck::NeedNumber;
    if (len > 2 || (!groupSend && value > 99)) return outOfRange;
    // The edit takes the digits of every script; the code the fax unit
    // reads has only 0-9 and the wildcard.
    for (int i = 0; i < len; ++i) {
        if (!IsDigit(typed[i]) && typed[i] != '*') return outOfRange;
    }
    for (int i = 0; i <= len; ++i) code[i] = typed[i];
    PadWithZeros(code, len, 3);
    if (groupSend) code[1] = '#';
    return DestinationCheck::Ok;
}
