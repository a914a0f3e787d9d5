// Damaged INI and registry files: parse, query, change and write back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "posix/kernel/store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string content(reinterpret_cast<const char*>(data), size);

    kernel::IniFile ini = kernel::ParseIni(content);
    std::string value;
    for (const std::string& section : kernel::IniSections(ini))
        for (const std::string& key : kernel::IniKeys(ini, section)) kernel::IniGet(ini, section, key, value);
    // A value written reads back; a deleted key or section is gone; what
    // is written reads back to the same file.
    std::string key = "MAPIX", v = "1";
    kernel::IniSet(ini, "Mail", &key, &v);
    if (!kernel::IniGet(ini, "Mail", key, value) || value != v) __builtin_trap();
    kernel::IniSet(ini, "Mail", &key, nullptr);
    if (kernel::IniGet(ini, "Mail", key, value)) __builtin_trap();
    kernel::IniSet(ini, "Mail", nullptr, nullptr);
    if (!kernel::IniKeys(ini, "Mail").empty()) __builtin_trap();
    std::string written = kernel::SerializeIni(ini);
    if (kernel::SerializeIni(kernel::ParseIni(written)) != written) __builtin_trap();

    kernel::Registry reg = kernel::ParseRegistry(content);
    std::string text = kernel::SerializeRegistry(reg);
    // What we write must read back the same.
    if (kernel::SerializeRegistry(kernel::ParseRegistry(text)) != text) __builtin_trap();
    return 0;
}
