#pragma once
// The hand-made golden files of tests/data.
#include <fstream>
#include <iterator>
#include <string>

inline std::string GoldenPath(const std::string& name) { return std::string(FAX_TEST_DATA) + "/" + name; }

inline std::string ReadGolden(const std::string& name) {
    std::ifstream f(GoldenPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}
