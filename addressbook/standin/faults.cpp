#include "faults.h"

#include <cstdlib>
#include <vector>

namespace standin {
namespace {

std::vector<std::string> Switches() {
    std::vector<std::string> out;
    const char* env = std::getenv("FAX_ADDRESS_BOOK_FAIL");
    if (!env) return out;
    std::string s(env);
    size_t start = 0;
    while (start <= s.size()) {
        size_t comma = s.find(',', start);
        if (comma == std::string::npos) comma = s.size();
        if (comma > start) out.push_back(s.substr(start, comma - start));
        start = comma + 1;
    }
    return out;
}

}  // namespace

bool Fails(const char* call) {
    for (const std::string& s : Switches())
        if (s == call) return true;
    return false;
}

bool FailsFor(const char* call, const std::string& entryName) {
    return Fails((std::string(call) + ":" + entryName).c_str());
}

int RowsBeforeFailure(const std::string& listName) {
    std::string prefix = "rows:" + listName + ":";
    for (const std::string& s : Switches())
        if (s.compare(0, prefix.size(), prefix) == 0) return std::atoi(s.c_str() + prefix.size());
    return -1;
}

}  // namespace standin
