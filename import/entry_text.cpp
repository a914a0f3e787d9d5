#include "entry_text.h"

#include "kfd_format.h"
#include "windows.h"

namespace {

struct AnsiLeadBytes {
    bool operator()(char c) const { return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE; }
};

}  // namespace

bool SplitEntryText(const std::string& entry, std::string& name, std::string& fax) {
    kfd::TextSpan n, f;
    bool ok = kfd::ParseIndividualText(entry.data(), entry.size(), n, f, AnsiLeadBytes{});
    name.assign(entry, n.begin, n.end - n.begin);
    fax.assign(entry, f.begin, f.end - f.begin);
    return ok;
}
