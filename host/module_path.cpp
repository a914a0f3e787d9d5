#include "module_path.h"

#include <cstdlib>
#include <fstream>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

#if defined(_WIN32)
const char kModuleFile[] = "faxrender.dll";
const char kUiModuleFile[] = "faxui.dll";
const char kJobwatchFile[] = "qjwapi.dll";
const char kSeparator[] = "\\";
#else
const char kModuleFile[] = "faxrender.so";
const char kUiModuleFile[] = "faxui.so";
const char kJobwatchFile[] = "qjwapi.so";
const char kSeparator[] = "/";
#endif

std::string ExecutableDirectory() {
#if defined(_WIN32)
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return ".";
    std::string p(path, n);
    size_t slash = p.find_last_of("\\/");
    return slash == std::string::npos ? "." : p.substr(0, slash);
#else
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    std::string p(path, static_cast<size_t>(n));
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "." : p.substr(0, slash);
#endif
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

// The variable when set; otherwise the file next to this executable;
// otherwise the one of the build tree.
std::string ModulePath(const char* variable, const char* file, const char* built) {
    const char* env = std::getenv(variable);
    if (env && *env) return env;
    return ModuleInDirectory(ExecutableDirectory(), file, built);
}

}  // namespace

std::string ModuleInDirectory(const std::string& directory, const char* file, const char* built) {
    std::string beside = directory + kSeparator + file;
    if (Exists(beside)) return beside;
    if (built && *built && Exists(built)) return built;
    return beside;
}

std::string DefaultRenderModulePath() {
#ifdef FAXHOST_BUILD_RENDER_MODULE
    return ModulePath("FAX_RENDER_MODULE", kModuleFile, FAXHOST_BUILD_RENDER_MODULE);
#else
    return ModulePath("FAX_RENDER_MODULE", kModuleFile, nullptr);
#endif
}

std::string DefaultUiModulePath() {
#ifdef FAXHOST_BUILD_UI_MODULE
    return ModulePath("FAX_UI_MODULE", kUiModuleFile, FAXHOST_BUILD_UI_MODULE);
#else
    return ModulePath("FAX_UI_MODULE", kUiModuleFile, nullptr);
#endif
}

std::string DefaultJobwatchLibraryPath() {
#ifdef FAXHOST_BUILD_JOBWATCH_STANDIN
    return ModuleInDirectory(ExecutableDirectory(), kJobwatchFile, FAXHOST_BUILD_JOBWATCH_STANDIN);
#else
    return ModuleInDirectory(ExecutableDirectory(), kJobwatchFile, nullptr);
#endif
}
