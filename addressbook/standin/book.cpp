#include "book.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "vcard.h"

namespace standin {
namespace {

std::string ToAnsi(const std::string& utf8) {
    if (utf8.empty()) return std::string();
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return std::string();
    std::vector<WCHAR> wide(n);
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return std::string();
    std::string out(m, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
    return out;
}

vcard::ReadResult ReadWhole(const char* path, std::string& data) {
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return vcard::ReadResult::NotFound;
    DWORD high = 0;
    DWORD size = GetFileSize(f, &high);
    vcard::ReadResult r = vcard::ReadResult::Ok;
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) r = vcard::ReadResult::NotFound;
    else if (high != 0 || size > vcard::kMaxFileBytes) r = vcard::ReadResult::TooLarge;
    if (r == vcard::ReadResult::Ok) {
        data.resize(size);
        DWORD got = 0;
        if (size != 0 && (!ReadFile(f, &data[0], size, &got, nullptr) || got != size)) r = vcard::ReadResult::NotFound;
    }
    CloseHandle(f);
    return r;
}

ULONG ObjectTypeOf(vcard::CardKind kind) {
    switch (kind) {
    case vcard::CardKind::Person: return MAPI_MAILUSER;
    case vcard::CardKind::List: return MAPI_DISTLIST;
    case vcard::CardKind::Other: break;
    }
    return 4;  // shown as a container: neither a person nor a list
}

}  // namespace

bool Book::Load(const char* path, vcard::ReadResult* why) {
    entries_.clear();
    skipped_ = 0;
    std::string data;
    vcard::ReadResult r = path ? ReadWhole(path, data) : vcard::ReadResult::NotFound;
    vcard::Book cards;
    if (r == vcard::ReadResult::Ok) r = vcard::ParseBook(data.data(), data.size(), cards);
    if (why) *why = r;
    if (r != vcard::ReadResult::Ok) return false;
    skipped_ = cards.skippedCards;

    std::map<std::string, uint32_t> byUid;
    for (uint32_t i = 0; i < cards.cards.size(); ++i)
        if (!cards.cards[i].uid.empty()) byUid.emplace(vcard::MemberUid(cards.cards[i].uid), i);
    for (const vcard::Card& c : cards.cards) {
        Entry e;
        e.objectType = ObjectTypeOf(c.kind);
        e.name = ToAnsi(c.displayName);
        e.primaryFax = ToAnsi(c.primaryFax);
        e.businessFax = ToAnsi(c.businessFax);
        e.homeFax = ToAnsi(c.homeFax);
        for (const std::string& m : c.members) {
            auto it = byUid.find(vcard::MemberUid(m));
            if (it != byUid.end()) e.members.push_back(it->second);  // unknown members are left out
        }
        entries_.push_back(std::move(e));
    }
    AddCategoryLists(cards);
    return true;
}

// Many programs export their groups only as the CATEGORIES of each contact:
// each category becomes a list of the people in it, after the cards, unless
// the book already has a list of that name.
void Book::AddCategoryLists(const vcard::Book& cards) {
    std::vector<std::string> names;
    std::map<std::string, std::vector<uint32_t>> members;
    for (uint32_t i = 0; i < cards.cards.size(); ++i) {
        if (cards.cards[i].kind != vcard::CardKind::Person) continue;
        for (const std::string& c : cards.cards[i].categories) {
            std::vector<uint32_t>& m = members[c];
            if (m.empty()) names.push_back(c);
            if (m.empty() || m.back() != i) m.push_back(i);
        }
    }
    std::set<std::string> listNames;
    for (const Entry& e : entries_)
        if (e.objectType == MAPI_DISTLIST) listNames.insert(e.name);
    for (const std::string& name : names) {
        Entry list;
        list.objectType = MAPI_DISTLIST;
        list.name = ToAnsi(name);
        if (!listNames.insert(list.name).second) continue;
        list.members = members[name];
        entries_.push_back(std::move(list));
    }
}

EntryIdBytes Book::IdOf(uint32_t index) {
    EntryIdBytes id{};
    std::memcpy(id.mark, "VCF1", 4);
    id.index = index;
    return id;
}

const Entry* Book::Find(ULONG cb, const ENTRYID* id, uint32_t* index) const {
    if (!id || cb != sizeof(EntryIdBytes)) return nullptr;
    EntryIdBytes bytes;
    std::memcpy(&bytes, id, sizeof bytes);
    if (std::memcmp(bytes.mark, "VCF1", 4) != 0 || bytes.index >= entries_.size()) return nullptr;
    if (index) *index = bytes.index;
    return &entries_[bytes.index];
}

std::string DefaultBookPath() {
    if (const char* p = std::getenv("FAX_ADDRESS_BOOK")) {
        if (*p) return p;
    }
    char dir[MAX_PATH] = {};
    UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "ADDRESS.VCF";
    std::string path(dir);
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + "ADDRESS.VCF";
}

}  // namespace standin
