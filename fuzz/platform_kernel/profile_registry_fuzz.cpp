// Damaged INI and registry files: parse, query, change and write back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "posix/kernel_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string content(reinterpret_cast<const char*>(data), size);

    kernel::IniFile ini = kernel::ParseIni(content);
    std::string value;
    for (const std::string& section : kernel::IniSections(ini))
        for (const std::string& key : kernel::IniKeys(ini, section)) kernel::IniGet(ini, section, key, value);
    std::string key = "MAPIX", v = "1";
    kernel::IniSet(ini, "Mail", &key, &v);
    kernel::IniSet(ini, "Mail", &key, nullptr);
    kernel::IniSet(ini, "Mail", nullptr, nullptr);
    kernel::ParseIni(kernel::SerializeIni(ini));

    kernel::Registry reg = kernel::ParseRegistry(content);
    std::string text = kernel::SerializeRegistry(reg);
    // What we write must read back the same.
    if (kernel::SerializeRegistry(kernel::ParseRegistry(text)) != text) __builtin_trap();
    return 0;
}
