#pragma once
// Relay destination codes: how a number typed into the destination edit
// becomes a stored 3-character code, and which texts are refused.

#include "windows.h"

enum class DestinationCheck {
    Ok,
    NeedGroupNumber,   // group send: 1 - 9
    NeedNumber,        // 1 - 99
    NoDigitsAfterStar, // '*' followed by a digit
};

// Checks the typed text (not empty). With Ok, code holds the 3-character
// code (4 WCHARs with the terminator).
DestinationCheck MakeDestinationCode(const WCHAR* typed, bool groupSend, WCHAR code[4]);

// A character the destination edit takes: a digit (alphanumeric, not
// alphabetic), or '*' while group send is off.
bool DestinationCharAllowed(WCHAR c, bool groupSend);
