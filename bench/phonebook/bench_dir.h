#pragma once
// One scratch directory for the benchmark run, removed when it ends, and
// the phonebooks the list benchmarks fill from.
#include <cstdio>
#include <cstring>
#include <string>

#include "kfd_format.h"
#include "scratch_dir.h"

inline const std::string& BenchDir() {
    static ScratchDir dir("fax-bench");
    return dir.dir();
}

// A phonebook of n individuals whose names come in a scattered order, so
// that a sorted list inserts everywhere.
inline std::string ScatteredPhonebook(int n) {
    std::string file = std::string(kfd::kMagicCurrent) + "\n";
    for (int i = 0; i < n; ++i) {
        FaxRecipient r = DefaultRecipient;
        unsigned key = static_cast<unsigned>(i) * 2654435761u % 1000000007u;
        std::snprintf(r.name, sizeof r.name, "Nimi %010u", key);
        std::snprintf(r.faxNumber, sizeof r.faxNumber, "%d", i);
        kfd::AnsiDetails d;
        std::memset(&d, 0, sizeof d);
        kfd::EncodeEntry(r, d, file);
    }
    return file;
}
