#pragma once
// Small text routines of the dialogs: trim, zero padding, digit value and
// the splitting of list item texts.

#include <cstddef>

#include "windows.h"

// Removes leading and trailing blanks (U+0020 only) in place.
void TrimBlanks(WCHAR* text);

// Shifts a text of length len right to wanted characters, filling with
// '0'; text must hold wanted + 1 characters. A text that is not shorter is
// left as it is.
void PadWithZeros(WCHAR* text, int len, int wanted);

// Decimal value of a text of digits read from its first character; an
// empty text is 0. Stops before the value would overflow.
int DigitValue(const char* text);

// Splits a list text (the rule is kfd::ParseIndividualText's and
// kfd::ParseGroupText's): an individual's "name <fax>" into name and fax
// number, a group's "[name]" into its name. Outputs are cut to their
// capacities (characters with terminator). False, with empty outputs, when
// the text is not of that shape.
bool SplitListText(const WCHAR* text, WCHAR* name, size_t nameCap, WCHAR* fax, size_t faxCap);
bool SplitListText(const WCHAR* text, WCHAR* group, size_t groupCap);
