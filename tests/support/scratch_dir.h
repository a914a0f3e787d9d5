#pragma once
// A fresh directory under /tmp, removed with everything in it when the
// object goes, and small helpers for the files in it.

#include <stdlib.h>
#if defined(_WIN32)
#include <windows.h>
// Tests hand their directories to the programs in environment variables,
// with the POSIX calls on both systems.
inline int setenv(const char* name, const char* value, int) { return _putenv_s(name, value); }
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

class ScratchDir {
public:
    // prefix names the directory's owner in /tmp ("fax-store" and so on).
    explicit ScratchDir(const std::string& prefix) {
#if defined(_WIN32)
        // No mkdtemp there: the next free numbered name in the temporary directory.
        std::filesystem::path base = std::filesystem::temp_directory_path();
        for (unsigned n = GetTickCount();; ++n) {
            std::filesystem::path p = base / (prefix + "-" + std::to_string(n));
            if (std::filesystem::create_directory(p)) {
                dir_ = p.string();
                break;
            }
        }
#else
        std::string tmpl = "/tmp/" + prefix + "-XXXXXX";
        if (!mkdtemp(&tmpl[0])) throw std::runtime_error("cannot make " + tmpl);
        dir_ = tmpl;
#endif
    }
    ~ScratchDir() {
        std::error_code ec;
        // A test may have taken the owner's rights away to provoke errors.
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    // The same path spelled with backslashes, as product code builds it.
    std::string WinPath(const std::string& name) const {
        std::string p = Path(name);
        for (char& c : p) {
            if (c == '/') c = '\\';
        }
        return p;
    }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream f(Path(name), std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Get(const std::string& name) const {
        std::ifstream f(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

private:
    std::string dir_;
};
