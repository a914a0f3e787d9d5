#pragma once
// Texts between a test's 8-bit literals and the wide strings of the API.
// The 8-bit texts are Latin-1, one character a byte, as the tests write
// their accented names.

#include <windows.h>

#include <string>

// A NUL-terminated wide text as the tests compare it (null: empty).
inline std::u16string U16(const WCHAR* s) {
    std::u16string r;
    for (; s && *s; ++s) r.push_back(static_cast<char16_t>(*s));
    return r;
}

inline std::u16string AsU16(const std::string& latin1) {
    std::u16string r;
    for (unsigned char c : latin1) r.push_back(static_cast<char16_t>(c));
    return r;
}

// The same as the API's own wide string type (WCHAR is not char16_t on Windows).
inline std::basic_string<WCHAR> Wide(const std::string& latin1) {
    std::basic_string<WCHAR> r;
    for (unsigned char c : latin1) r.push_back(static_cast<WCHAR>(c));
    return r;
}
