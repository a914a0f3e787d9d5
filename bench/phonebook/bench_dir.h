#pragma once
// One scratch directory for the benchmark run, removed when it ends.
#include <string>

#include "scratch_dir.h"

inline const std::string& BenchDir() {
    static ScratchDir dir("fax-bench");
    return dir.dir();
}
