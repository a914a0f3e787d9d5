#include <cstring>
#include <string>

#include "windows_dir_test.h"
#include "windows.h"

namespace {

class Registry : public WindowsDirTest {};

const char* kJobwatch = "SOFTWARE\\Kestrel\\Lanternix\\Client\\Jobwatch";

TEST_F(Registry, ValuesRoundTripThroughTheFile) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kJobwatch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
    const char path[] = "C:\\Ohjelmat\\jw.exe";
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof path));
    const char api[] = "C:\\Ohjelmat\\qjw\xE4.dll";
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "QjwApi", 0, REG_SZ, reinterpret_cast<const BYTE*>(api), sizeof api));
    DWORD count = 42;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), 4));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueExA(key, "Bad", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), 2));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));

    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\KESTREL\\lanternix\\client\\jobwatch", 0,
                                           KEY_READ, &key));
    struct Row {
        const char* name;
        DWORD type;
        std::string bytes;
    } rows[] = {
        {nullptr, REG_SZ, std::string(path, sizeof path)},
        {"", REG_SZ, std::string(path, sizeof path)},
        {"qjwapi", REG_SZ, std::string(api, sizeof api)},
        {"Count", REG_DWORD, std::string("\x2a\0\0\0", 4)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name ? r.name : "(default)");
        DWORD type = 0, size = 0;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, r.name, nullptr, &type, nullptr, &size));
        EXPECT_EQ(r.bytes.size(), size);
        EXPECT_EQ(r.type, type);
        BYTE buf[300];
        size = sizeof buf;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, r.name, nullptr, &type, buf, &size));
        EXPECT_EQ(r.bytes, std::string(reinterpret_cast<char*>(buf), size));
        size = static_cast<DWORD>(r.bytes.size() - 1);
        EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key, r.name, nullptr, &type, buf, &size));
        EXPECT_EQ(r.bytes.size(), size);
    }
    WCHAR wide[64];
    DWORD size = sizeof wide;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, u"QjwApi", nullptr, nullptr, reinterpret_cast<BYTE*>(wide), &size));
    EXPECT_EQ(std::u16string(u"C:\\Ohjelmat\\qjwä.dll"), std::u16string(wide));
    EXPECT_EQ((std::u16string(wide).size() + 1) * 2, size);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, &size));
    BYTE b[4];
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExA(key, "Count", nullptr, nullptr, b, nullptr));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(key, "x", 0, REG_SZ, reinterpret_cast<const BYTE*>("y"), 2));
    RegCloseKey(key);
}

TEST_F(Registry, MissingKeysAndBadHandles) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\WAB\\DLLPath", 0, KEY_READ, &key));
    EXPECT_EQ(nullptr, key);
    DWORD size = 4;
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExA(reinterpret_cast<HKEY>(0x1234), "x", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyExA(reinterpret_cast<HKEY>(0x1234), "x", 0, KEY_READ, &key));
    // HKCU and HKLM are separate trees.
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\A", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\A", 0, KEY_READ, &key));
    // Parents were created too; a second create opens.
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_READ, nullptr, &key, &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    RegCloseKey(key);
}

TEST_F(Registry, DeleteValue) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "K", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, "v", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%WINDIR%\\x"), 11);
    DWORD type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "v", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), type);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(key, "V"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key, "v"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(key);
}

TEST_F(Registry, HandWrittenAndDamagedFiles) {
    Put("registry.reg",
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\WAB\\DLLPath]\n"
        "@=\"C:\\\\Program Files\\\\wab32.dll\"\n"
        "garbage line\n\"Num\"=dword:zz\n\"Blob\"=hex:01,0\n\"ok\"=hex:01,ff\n"
        "[unterminated\n\"orphan\"=\"x\n");
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\WAB\\DLLPath", 0, KEY_READ, &key));
    char buf[274];
    DWORD size = sizeof buf;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size));
    EXPECT_STREQ("C:\\Program Files\\wab32.dll", buf);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "Num", nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "Blob", nullptr, nullptr, nullptr, nullptr));
    DWORD type = 0;
    size = sizeof buf;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "ok", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    EXPECT_EQ(2u, size);
    RegCloseKey(key);
}

}  // namespace
