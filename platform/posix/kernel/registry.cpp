// Registry calls over one text file, <Windows directory>/registry.reg
// (format in kernel/store.cpp). Every change rewrites the file through a
// temporary, so a crash leaves the old or the new registry.

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "posix/kernel/store.h"
#include "posix/kernel/system.h"
#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

using namespace kernel;

namespace {

struct OpenKey {
    std::string path;  // full path with root name, UTF-8
    REGSAM access;
};

std::mutex keyLock;
std::unordered_map<HKEY, std::unique_ptr<OpenKey>>& Keys() {
    static std::unordered_map<HKEY, std::unique_ptr<OpenKey>> keys;
    return keys;
}

const char* RootName(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (root == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (root == HKEY_USERS) return "HKEY_USERS";
    return nullptr;
}

// Full path and granted access of a handle; false for an unknown handle.
bool Resolve(HKEY key, std::string& path, REGSAM& access) {
    if (const char* root = RootName(key)) {
        path = root;
        access = KEY_ALL_ACCESS;
        return true;
    }
    std::lock_guard<std::mutex> guard(keyLock);
    auto it = Keys().find(key);
    if (it == Keys().end()) return false;
    path = it->second->path;
    access = it->second->access;
    return true;
}

std::string RegistryFile() {
    std::string dir = WindowsDirectoryHost();
    return dir.empty() ? std::string() : dir + "/registry.reg";
}

Registry Load() {
    std::string content;
    std::string file = RegistryFile();
    if (!file.empty()) ReadWholeFile(file, content);
    return ParseRegistry(content);
}

LONG Save(const Registry& reg) {
    std::string file = RegistryFile();
    if (file.empty()) return ERROR_PATH_NOT_FOUND;
    return static_cast<LONG>(ReplaceWholeFile(file, SerializeRegistry(reg)));
}

// Sub key text to a clean relative path: backslashes, no empty parts.
bool CleanSubKey(const std::string& sub, std::string& out) {
    out.clear();
    size_t i = 0;
    while (i < sub.size()) {
        size_t end = sub.find('\\', i);
        if (end == std::string::npos) end = sub.size();
        std::string part = sub.substr(i, end - i);
        if (!part.empty()) {
            if (part.size() > 255) return false;
            out += (out.empty() ? "" : "\\") + part;
        }
        i = end + 1;
    }
    return true;
}

HKEY NewHandle(const std::string& path, REGSAM access) {
    auto key = std::make_unique<OpenKey>(OpenKey{path, access});
    HKEY h = reinterpret_cast<HKEY>(key.get());
    std::lock_guard<std::mutex> guard(keyLock);
    Keys()[h] = std::move(key);
    return h;
}

LONG Open(HKEY parent, const std::string& sub, REGSAM access, PHKEY result, bool create, LPDWORD disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::string base, rel;
    REGSAM parentAccess;
    if (!Resolve(parent, base, parentAccess)) return ERROR_INVALID_HANDLE;
    if (!CleanSubKey(sub, rel)) return ERROR_INVALID_PARAMETER;
    std::string path = rel.empty() ? base : base + "\\" + rel;
    Registry reg = Load();
    bool exists = FindKey(reg, path) != nullptr || (RootName(parent) != nullptr && rel.empty());
    if (!exists && !create) return ERROR_FILE_NOT_FOUND;
    if (!exists) {
        // Create every missing level, as RegCreateKeyEx does.
        std::string partial = base;
        size_t i = 0;
        while (i <= rel.size()) {
            size_t end = rel.find('\\', i);
            if (end == std::string::npos) end = rel.size();
            partial += "\\" + rel.substr(i, end - i);
            if (!FindKey(reg, partial)) reg.keys.push_back(RegKey{partial, {}});
            i = end + 1;
        }
        if (LONG error = Save(reg)) return error;
    }
    if (disposition) *disposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *result = NewHandle(FindKey(reg, path) ? FindKey(reg, path)->path : path, access);
    return ERROR_SUCCESS;
}

// Value bytes as the A or W caller sees them.
std::string Present(const RegValue& v, bool wide) {
    if (v.type != REG_SZ && v.type != REG_EXPAND_SZ) return v.data;
    if (!wide) return WideToAnsi(Utf8ToWide(v.data)) + std::string(1, '\0');
    std::u16string w = Utf8ToWide(v.data);
    return std::string(reinterpret_cast<const char*>(w.c_str()), (w.size() + 1) * sizeof(char16_t));
}

LONG Query(HKEY key, const std::string& name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size, bool wide) {
    std::string path;
    REGSAM access;
    if (!Resolve(key, path, access)) return ERROR_INVALID_HANDLE;
    if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
    if (!(access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    Registry reg = Load();
    RegKey* k = FindKey(reg, path);
    if (!k) return ERROR_FILE_NOT_FOUND;  // deleted meanwhile, or a bare root
    for (const RegValue& v : k->values) {
        if (!SameUtf8Name(v.name, name)) continue;
        std::string bytes = Present(v, wide);
        if (type) *type = v.type;
        if (!size) return ERROR_SUCCESS;
        DWORD room = *size;
        *size = static_cast<DWORD>(bytes.size());
        if (!data) return ERROR_SUCCESS;
        if (room < bytes.size()) return ERROR_MORE_DATA;
        std::memcpy(data, bytes.data(), bytes.size());
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

}  // namespace

extern "C" {

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    return Open(hKey, WideToUtf8(AnsiToWide(lpSubKey)), samDesired, phkResult, false, nullptr);
}

LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    return Open(hKey, WideToUtf8(WideFrom(lpSubKey)), samDesired, phkResult, false, nullptr);
}

LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
                            LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!lpSubKey) return ERROR_INVALID_PARAMETER;
    return Open(hKey, WideToUtf8(AnsiToWide(lpSubKey)), samDesired, phkResult, true, lpdwDisposition);
}

LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                             LPDWORD lpcbData) {
    return Query(hKey, WideToUtf8(AnsiToWide(lpValueName)), lpReserved, lpType, lpData, lpcbData, false);
}

LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                             LPDWORD lpcbData) {
    return Query(hKey, WideToUtf8(WideFrom(lpValueName)), lpReserved, lpType, lpData, lpcbData, true);
}

LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    std::string path;
    REGSAM access;
    if (!Resolve(hKey, path, access)) return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    RegValue v{WideToUtf8(AnsiToWide(lpValueName)), dwType, {}};
    const char* bytes = reinterpret_cast<const char*>(lpData);
    if (dwType == REG_SZ || dwType == REG_EXPAND_SZ) {
        std::string text(bytes ? bytes : "", bytes ? cbData : 0);
        v.data = WideToUtf8(AnsiToWide(text.substr(0, text.find('\0')).c_str()));
    } else if (dwType == REG_DWORD) {
        if (cbData != 4) return ERROR_INVALID_PARAMETER;
        v.data.assign(bytes, 4);
    } else if (dwType == REG_BINARY) {
        v.data.assign(bytes ? bytes : "", cbData);
    } else {
        return ERROR_NOT_SUPPORTED;
    }
    Registry reg = Load();
    RegKey* k = FindKey(reg, path);
    if (!k) {
        if (!RootName(hKey)) return ERROR_FILE_NOT_FOUND;  // key deleted meanwhile
        reg.keys.push_back(RegKey{path, {}});
        k = &reg.keys.back();
    }
    bool replaced = false;
    for (RegValue& old : k->values)
        if (!replaced && SameUtf8Name(old.name, v.name)) {
            old = v;
            replaced = true;
        }
    if (!replaced) k->values.push_back(v);
    return Save(reg);
}

LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    std::string path;
    REGSAM access;
    if (!Resolve(hKey, path, access)) return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    std::string name = WideToUtf8(AnsiToWide(lpValueName));
    Registry reg = Load();
    RegKey* k = FindKey(reg, path);
    if (!k) return ERROR_FILE_NOT_FOUND;
    for (size_t i = 0; i < k->values.size(); ++i) {
        if (!SameUtf8Name(k->values[i].name, name)) continue;
        k->values.erase(k->values.begin() + static_cast<std::ptrdiff_t>(i));
        return Save(reg);
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    if (RootName(hKey)) return ERROR_SUCCESS;
    std::lock_guard<std::mutex> guard(keyLock);
    return Keys().erase(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // extern "C"
