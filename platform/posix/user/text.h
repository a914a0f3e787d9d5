#pragma once
// Text helpers of the user side: list text comparison and the conversions
// between the code pages and UTF-16.
#include "posix/win_base.h"

#include <cstddef>
#include <string>

namespace winuser {

// Case-insensitive compare of list texts; upper-cases as the system does
// for the Latin scripts.
int CompareNoCase(const std::u16string& a, const std::u16string& b);
bool PrefixNoCase(const std::u16string& text, const std::u16string& prefix);
char16_t UpperChar(char16_t c);

// ANSI (code page 1252) conversions.
std::u16string FromAnsi(const char* s);
std::u16string FromAnsiN(const char* s, size_t n);
std::string ToAnsi(const std::u16string& s);
std::u16string FromUtf8(const std::string& s);
std::string ToUtf8(const std::u16string& s);
std::u16string W(LPCWSTR s);  // null-safe copy

}  // namespace winuser
