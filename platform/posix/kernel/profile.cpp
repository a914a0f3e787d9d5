// Profile calls over INI files. A file name without a directory lives in
// the Windows directory; GetProfile* use WIN.INI there. Files hold 1252 text.

#include <cstring>
#include <string>
#include <vector>

#include "posix/kernel/store.h"
#include "posix/kernel/system.h"
#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

using namespace kernel;

namespace {

std::string ProfilePath(const std::string& fileName) {
    std::string host = HostPathA(fileName.c_str());
    if (host.find('/') != std::string::npos) return host;
    std::string dir = WindowsDirectoryHost();
    return dir.empty() ? std::string() : dir + "/" + host;
}

// Copies a list of strings as "a\0b\0\0", cut to fit as Windows does.
DWORD CopyList(const std::vector<std::string>& items, char* out, DWORD size) {
    if (size == 0) return 0;
    if (size == 1) {
        out[0] = 0;
        return 0;
    }
    DWORD used = 0;
    for (const std::string& item : items) {
        for (char c : item) {
            if (used + 2 >= size) {
                out[used] = 0;
                out[used + 1] = 0;
                return size - 2;
            }
            out[used++] = c;
        }
        if (used + 2 >= size) {
            out[used] = 0;
            out[used + 1] = 0;
            return size - 2;
        }
        out[used++] = 0;
    }
    out[used] = 0;
    return used;
}

DWORD CopyString(std::string text, char* out, DWORD size) {
    if (size == 0) return 0;
    if (text.size() > size - 1) text.resize(size - 1);
    std::memcpy(out, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

DWORD GetString(const char* section, const char* key, const char* def, char* out, DWORD size, const std::string& path) {
    if (!out) return 0;
    std::string content;
    bool exists = !path.empty() && ReadWholeFile(path, content);
    IniFile ini = ParseIni(content);
    if (!section) return CopyList(IniSections(ini), out, size);
    if (!key) return CopyList(IniKeys(ini, section), out, size);
    std::string value;
    if (IniGet(ini, section, key, value)) return CopyString(value.substr(0, value.find('\0')), out, size);
    std::string fallback = def ? def : "";
    while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
    SetLastError(exists ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
    return CopyString(fallback, out, size);
}

BOOL WriteString(const char* section, const char* key, const char* value, const std::string& path) {
    if (!section || path.empty()) {
        SetLastError(section ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string content;
    ReadWholeFile(path, content);
    IniFile ini = ParseIni(content);
    std::string k = key ? key : "", v = value ? value : "";
    IniSet(ini, section, key ? &k : nullptr, value ? &v : nullptr);
    DWORD error = ReplaceWholeFile(path, SerializeIni(ini));
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

UINT GetInt(const char* section, const char* key, INT def, const std::string& path) {
    char buffer[64];
    if (GetString(section, key, "", buffer, sizeof buffer, path) == 0 || !section || !key) return static_cast<UINT>(def);
    const char* p = buffer;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    uint32_t n = 0;
    while (*p >= '0' && *p <= '9') n = n * 10 + static_cast<uint32_t>(*p++ - '0');  // wraps like Windows
    return negative ? 0 : n;  // negative values read as zero
}

std::string Narrow(LPCWSTR text) { return WideToAnsi(WideFrom(text)); }

}  // namespace

extern "C" {

DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                                      DWORD nSize, LPCSTR lpFileName) {
    return GetString(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize,
                     ProfilePath(lpFileName ? lpFileName : "WIN.INI"));
}

DWORD WINAPI GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                                      LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName) {
    if (!lpReturnedString || nSize == 0) return 0;
    std::vector<char> narrow(static_cast<size_t>(nSize) * 2 + 2);
    std::string app = Narrow(lpAppName), key = Narrow(lpKeyName), def = Narrow(lpDefault);
    DWORD n = GetString(lpAppName ? app.c_str() : nullptr, lpKeyName ? key.c_str() : nullptr, def.c_str(),
                        narrow.data(), static_cast<DWORD>(narrow.size()), ProfilePath(lpFileName ? Narrow(lpFileName) : "WIN.INI"));
    // 1252 is one unit per byte either way, so the cut points carry over.
    DWORD count = n < nSize ? n : (nSize > 1 ? nSize - 1 : 0);
    for (DWORD i = 0; i < count; ++i) lpReturnedString[i] = Cp1252ToWide(static_cast<unsigned char>(narrow[i]));
    lpReturnedString[count] = 0;
    if ((!lpAppName || !lpKeyName) && count + 1 < nSize) lpReturnedString[count + 1] = 0;
    return count;
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
    return WriteString(lpAppName, lpKeyName, lpString, ProfilePath(lpFileName ? lpFileName : "WIN.INI"));
}

BOOL WINAPI WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName) {
    std::string app = Narrow(lpAppName), key = Narrow(lpKeyName), value = Narrow(lpString);
    return WriteString(lpAppName ? app.c_str() : nullptr, lpKeyName ? key.c_str() : nullptr,
                       lpString ? value.c_str() : nullptr, ProfilePath(lpFileName ? Narrow(lpFileName) : "WIN.INI"));
}

UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
    return GetInt(lpAppName, lpKeyName, nDefault, ProfilePath(lpFileName ? lpFileName : "WIN.INI"));
}

DWORD WINAPI GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize) {
    return GetString(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, ProfilePath("WIN.INI"));
}

UINT WINAPI GetProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault) {
    return GetInt(lpAppName, lpKeyName, nDefault, ProfilePath("WIN.INI"));
}

BOOL WINAPI WriteProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString) {
    return WriteString(lpAppName, lpKeyName, lpString, ProfilePath("WIN.INI"));
}

}  // extern "C"
