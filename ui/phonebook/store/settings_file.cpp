#include "settings_file.h"

#include <cstring>
#include <string>

#include "store_file.h"

namespace {

constexpr size_t kLineMax = 360;

// Reads up to n bytes of the file; false when it cannot be read.
bool ReadStart(const WCHAR* settingsPath, char* text, DWORD n, DWORD* got) {
    HANDLE h = CreateFileW(settingsPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BOOL ok = ReadFile(h, text, n, got, nullptr);
    CloseHandle(h);
    return ok != FALSE;
}

}  // namespace

WideString ReadSettingsFile(const WCHAR* settingsPath) {
    char text[kLineMax + 1] = {0};
    DWORD got = 0;
    if (!ReadStart(settingsPath, text, kLineMax, &got)) return WideString();
    const char* lf = static_cast<const char*>(std::memchr(text, '\n', got));
    if (!lf || lf == text) return WideString();
    return AnsiToWide(std::string(text, static_cast<size_t>(lf - text)));
}

// An unchanged file is not rewritten: every opening of a dialog names the
// current phonebook again, and a rewrite costs a flush to disk each time.
DBResult WriteSettingsFile(const WCHAR* settingsPath, const WCHAR* phonebookPath) {
    std::string line = WideToAnsi(WideString(phonebookPath, WideBoundedLen(phonebookPath, kLineMax)));
    if (line.size() > kLineMax) line.resize(kLineMax);
    line += '\n';
    char held[kLineMax + 2];
    DWORD got = 0;
    if (ReadStart(settingsPath, held, sizeof held, &got) && got == line.size() &&
        std::memcmp(held, line.data(), got) == 0) {
        return DB_DONE;
    }
    TempFile temp(settingsPath);
    if (!temp.Valid() || !temp.Write(line.data(), line.size())) return DB_WRITE_FAILED;
    return temp.Commit();
}
