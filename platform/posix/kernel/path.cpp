// Windows-style paths to host file names and back.

#include <cstring>
#include <string>

#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

namespace kernel {

namespace {
std::string Slashes(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}
}  // namespace

std::string HostPathA(const char* path) { return Slashes(WideToUtf8(AnsiToWide(path))); }

std::string HostPathW(const WCHAR* path) { return Slashes(WideToUtf8(WideFrom(path))); }

std::u16string WindowsPath(const std::string& hostPath) {
    std::u16string out = Utf8ToWide(hostPath);
    for (char16_t& c : out)
        if (c == u'/') c = u'\\';
    return out;
}

DWORD CopyOutA(const std::string& text, char* buffer, DWORD size) {
    if (!buffer || text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

DWORD CopyOutW(const std::u16string& text, WCHAR* buffer, DWORD size) {
    if (!buffer || text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
    return static_cast<DWORD>(text.size());
}

}  // namespace kernel
