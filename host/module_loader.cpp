#include "module_loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

// No module declares blocks anywhere near this; a larger value is a broken
// table, not something to allocate.
constexpr int32_t kMaxBlockSize = 1 << 20;

typedef const AddOnTable*(FAXAPI* GetFuncTableFn)();

void* OpenLibrary(const std::string& path, std::string* error) {
#if defined(_WIN32)
    HMODULE h = LoadLibraryA(path.c_str());
    if (!h) *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(h);
#else
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* why = dlerror();
        *error = "cannot load " + path + ": " + (why ? why : "unknown error");
    }
    return h;
#endif
}

void* LookUp(void* handle, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}

void CloseLibrary(void* handle) {
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

bool BlockSizeOk(int32_t size) { return size >= 0 && size <= kMaxBlockSize; }

}  // namespace

AddonModule::~AddonModule() { Unload(); }

void AddonModule::Unload() {
    if (handle_) CloseLibrary(handle_);
    handle_ = nullptr;
    table_ = nullptr;
}

bool AddonModule::Load(const std::string& path, int32_t expectedModuleId, std::string* error) {
    Unload();
    path_ = path;
    handle_ = OpenLibrary(path, error);
    if (!handle_) return false;

    auto getTable = reinterpret_cast<GetFuncTableFn>(LookUp(handle_, "GetFuncTable"));
    const AddOnTable* table = getTable ? getTable() : nullptr;
    std::string problem;
    if (!getTable)
        problem = "it exports no GetFuncTable";
    else if (!table)
        problem = "GetFuncTable returned no table";
    else if (table->tableFormat != kAddOnTableFormat)
        problem = "its table format is " + std::to_string(table->tableFormat) + ", not " +
                  std::to_string(kAddOnTableFormat);
    else if (table->tableSize < static_cast<int32_t>(sizeof(AddOnTable)))
        problem = "its table is only " + std::to_string(table->tableSize) + " bytes";
    else if (table->moduleId != expectedModuleId)
        problem = "its module id is " + std::to_string(table->moduleId) + ", not " +
                  std::to_string(expectedModuleId);
    else if (!BlockSizeOk(table->blockSize1) || !BlockSizeOk(table->blockSize2) ||
             !BlockSizeOk(table->blockSize3))
        problem = "its table declares impossible block sizes";
    if (!problem.empty()) {
        *error = path + ": " + problem;
        Unload();
        return false;
    }
    table_ = table;
    return true;
}

void* AddonModule::Symbol(const char* name) const {
    return handle_ ? LookUp(handle_, name) : nullptr;
}

AddOnWriteHook AddonModule::WriteHook() const {
    return table_ ? reinterpret_cast<AddOnWriteHook>(table_->hooks[kHookWrite]) : nullptr;
}
