#include "module_path.h"

#include <cstdlib>
#include <fstream>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

#if defined(_WIN32)
const char kModuleFile[] = "faxrender.dll";
const char kUiModuleFile[] = "faxui.dll";
#else
const char kModuleFile[] = "faxrender.so";
const char kUiModuleFile[] = "faxui.so";
#endif

std::string ExecutableDirectory() {
#if defined(_WIN32)
    return ".";
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

}  // namespace

std::string DefaultRenderModulePath() {
    const char* env = std::getenv("FAX_RENDER_MODULE");
    if (env && *env) return env;
    std::string beside = ExecutableDirectory() + "/" + kModuleFile;
    if (Exists(beside)) return beside;
#ifdef FAXHOST_BUILD_RENDER_MODULE
    if (Exists(FAXHOST_BUILD_RENDER_MODULE)) return FAXHOST_BUILD_RENDER_MODULE;
#endif
    return beside;
}

std::string DefaultUiModulePath() {
    const char* env = std::getenv("FAX_UI_MODULE");
    if (env && *env) return env;
    std::string beside = ExecutableDirectory() + "/" + kUiModuleFile;
    if (Exists(beside)) return beside;
#ifdef FAXHOST_BUILD_UI_MODULE
    if (Exists(FAXHOST_BUILD_UI_MODULE)) return FAXHOST_BUILD_UI_MODULE;
#endif
    return beside;
}
