#pragma once
// One scratch directory for the benchmark run, removed when it ends.
#include <stdlib.h>

#include <filesystem>
#include <string>

inline const std::string& BenchDir() {
    static std::string dir = [] {
        char tmpl[] = "/tmp/fax-bench-XXXXXX";
        std::string d = mkdtemp(tmpl);
        std::atexit([] { std::filesystem::remove_all(BenchDir()); });
        return d;
    }();
    return dir;
}
