#pragma once
// Loads an add-on module the way the host driver does: by path, then asks
// it for its function table and checks the table before using anything.

#include <string>

#include "addon.h"

class AddonModule {
public:
    AddonModule() = default;
    ~AddonModule();
    AddonModule(const AddonModule&) = delete;
    AddonModule& operator=(const AddonModule&) = delete;

    // Loads the module and checks its table: format 1235, the expected
    // module id, sane block sizes. On failure returns false with a message.
    bool Load(const std::string& path, int32_t expectedModuleId, std::string* error);

    const AddOnTable* table() const { return table_; }
    const std::string& path() const { return path_; }
    // An exported symbol by name, or null.
    void* Symbol(const char* name) const;
    AddOnWriteHook WriteHook() const;

private:
    void Unload();

    void* handle_ = nullptr;
    const AddOnTable* table_ = nullptr;
    std::string path_;
};
