#include "group_record.h"

#include <cstring>
#include <iterator>
#include <string>

#include "kfd_format.h"
#include "shared_state.h"
#include "text_routines.h"

namespace {

// A member reference at most: name, 0x03, fax number, 0x03.
constexpr size_t kMemberBytes = kfd::kNameMax + 1 + kfd::kFaxMax + 1;
// Marker, name, 0x03 and the end marker.
constexpr size_t kFrameBytes = 1 + kfd::kNameMax + 1 + 1;

}  // namespace

bool BuildGroupRecord(const WCHAR* name, const std::vector<WideString>& members) {
    std::string record;
    char ansiName[kfd::kNameMax + 1];
    WideToAnsiField(name, kfd::kNameMax + 1, ansiName, sizeof ansiName);
    kfd::BeginGroup(ansiName, record);
    for (const WideString& text : members) {
        WCHAR memberName[kfd::kNameMax + 1], fax[kfd::kFaxMax + 1];
        if (!SplitListText(text.c_str(), memberName, std::size(memberName), fax, std::size(fax))) continue;
        char ansiMember[kfd::kNameMax + 1], ansiFax[kfd::kFaxMax + 1];
        WideToAnsiField(memberName, kfd::kNameMax + 1, ansiMember, sizeof ansiMember);
        WideToAnsiField(fax, kfd::kFaxMax + 1, ansiFax, sizeof ansiFax);
        kfd::AddGroupMember(ansiMember, ansiFax, record);
    }
    kfd::EndGroup(record);

    if (!AllocateGroupRecord(members.size() * kMemberBytes + kFrameBytes)) return false;
    // Every part is cut to its field, so the record fits the block.
    std::memcpy(GroupRecordBuffer.data, record.data(), record.size());
    GroupRecordBuffer.length = static_cast<DWORD>(record.size());
    return true;
}
