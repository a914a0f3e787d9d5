#pragma once
// Text helpers shared by the kernel calls: the 1252 code page, UTF-8 and
// the translation of Windows-style paths to the host's file names.

#include <string>

#include "posix/win_base.h"

namespace kernel {

// 1252 byte -> UTF-16 unit; the five bytes 1252 leaves undefined map to the
// C1 control of the same value, as Windows does.
WCHAR Cp1252ToWide(unsigned char byte);
// UTF-16 unit -> 1252 byte; false when 1252 has no such character.
bool WideToCp1252(WCHAR wc, unsigned char* byte);

std::u16string AnsiToWide(const char* text);
std::string WideToAnsi(const std::u16string& text);  // unmappable -> '?'
std::u16string Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::u16string& text);
std::u16string WideFrom(const WCHAR* text);  // NULL -> empty

// A path as product code spells it ('\\' or '/', ANSI or wide) to the host
// file name (UTF-8, '/'); and back to the Windows spelling with '\\'.
std::string HostPathA(const char* path);
std::string HostPathW(const WCHAR* path);
std::u16string WindowsPath(const std::string& hostPath);

// Copies text plus NUL into a caller buffer of `size` units. Returns the
// length copied, or when it does not fit the size needed including the NUL
// (the contract of GetWindowsDirectory, GetTempPath and friends).
DWORD CopyOutA(const std::string& text, char* buffer, DWORD size);
DWORD CopyOutW(const std::u16string& text, WCHAR* buffer, DWORD size);

// Case mapping of one UTF-16 unit (Latin-1, Latin Extended-A, Greek, Cyrillic).
WCHAR ToUpper(WCHAR c);
WCHAR ToLower(WCHAR c);

// Win32 error for an errno value.
DWORD ErrorFromErrno(int err);

}  // namespace kernel
