#pragma once
// The Windows directory as a host path (created on demand); empty when it
// cannot be had.

#include <string>

namespace kernel {
std::string WindowsDirectoryHost();
}
