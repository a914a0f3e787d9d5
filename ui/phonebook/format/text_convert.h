#pragma once
// Wide and ANSI text at the record boundary, always within the bounds of
// the destination field.

#include <cstddef>
#include <cstdint>
#include <string>

#include "windows.h"

using WideString = std::basic_string<WCHAR>;

// Length of a wide field up to its NUL, never past cap.
size_t WideBoundedLen(const WCHAR* text, size_t cap);

// Converts wide text (read with its bound) to the ANSI code page into
// dst[dstSize], NUL-terminated. Text that does not fit is cut at a
// character boundary.
void WideToAnsiField(const WCHAR* src, size_t srcCap, char* dst, size_t dstSize);

// Converts len ANSI bytes into dst[dstSize], NUL-terminated, cut to fit.
void AnsiToWideField(const char* src, size_t len, WCHAR* dst, size_t dstSize);

WideString AnsiToWide(const std::string& text);
std::string WideToAnsi(const WideString& text);

// True when the ANSI code page takes the byte as the first of two.
bool IsAnsiLeadByte(uint8_t b);

// Upper-case form for comparing texts without regard to case, as list
// boxes compare them.
WideString FoldCase(WideString text);
