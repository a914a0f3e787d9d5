#pragma once
// One scratch directory for the benchmark run, removed when it ends. It is
// made under $FAX_BENCH_DIR when set (a memory file system there shows the
// cost without the disk's), otherwise under /tmp.
#include <stdlib.h>

#include <filesystem>
#include <string>

inline const std::string& BenchDir() {
    static std::string dir = [] {
        const char* base = getenv("FAX_BENCH_DIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/fax-bench-XXXXXX";
        std::string d = mkdtemp(&tmpl[0]);
        std::atexit([] { std::filesystem::remove_all(BenchDir()); });
        return d;
    }();
    return dir;
}
