#pragma once
// Whole-file reads and crash-safe whole-file replacement for the profile
// and registry files, plus their parsers (kept apart for the fuzz target).

#include <string>
#include <vector>

#include "posix/win_base.h"

namespace kernel {

// False when the file cannot be read (missing, directory, ...).
bool ReadWholeFile(const std::string& hostPath, std::string& content);
// Writes a temporary file beside the target, syncs it and renames it over
// the target: a reader sees the old or the new file, never a mix.
// Returns ERROR_SUCCESS or the Win32 error.
DWORD ReplaceWholeFile(const std::string& hostPath, const std::string& content);

// ---- INI text --------------------------------------------------------------
struct IniFile {
    std::vector<std::string> lines;  // without line ends
};
IniFile ParseIni(const std::string& content);
std::string SerializeIni(const IniFile& ini);
// Section names, in file order, without duplicates (case-insensitive).
std::vector<std::string> IniSections(const IniFile& ini);
// Key names of a section, in file order.
std::vector<std::string> IniKeys(const IniFile& ini, const std::string& section);
// Value of a key; false when the section or key is absent.
bool IniGet(const IniFile& ini, const std::string& section, const std::string& key, std::string& value);
// value == nullptr deletes the key; key == nullptr deletes the section.
void IniSet(IniFile& ini, const std::string& section, const std::string* key, const std::string* value);

// ---- Registry text ---------------------------------------------------------
struct RegValue {
    std::string name;  // UTF-8, "" = the default value
    DWORD type;
    std::string data;  // strings: UTF-8 text; REG_DWORD: 4 bytes LE; others raw
};
struct RegKey {
    std::string path;  // "HKEY_LOCAL_MACHINE\\Software\\..."
    std::vector<RegValue> values;
};
struct Registry {
    std::vector<RegKey> keys;
};
Registry ParseRegistry(const std::string& content);
std::string SerializeRegistry(const Registry& reg);
RegKey* FindKey(Registry& reg, const std::string& path);

// Case-insensitive equality of names, for 1252 text and for UTF-8 text.
bool SameName(const std::string& a, const std::string& b);
bool SameUtf8Name(const std::string& a, const std::string& b);

}  // namespace kernel
