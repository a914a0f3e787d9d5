#include "entry_codec.h"

#include <cstring>

#include "text_convert.h"

size_t DBEncodeEntry(const FaxRecipient& r, const EntryDetails& d, std::string& out) {
    kfd::AnsiDetails a;
    WideToAnsiField(d.company, 60, a.company, sizeof a.company);
    WideToAnsiField(d.phone, 47, a.phone, sizeof a.phone);
    WideToAnsiField(d.email, 60, a.email, sizeof a.email);
    WideToAnsiField(d.memo, 255, a.memo, sizeof a.memo);
    size_t before = out.size();
    kfd::EncodeEntry(r, a, out);
    return out.size() - before;
}

bool DBDecodeEntry(const uint8_t* rec, size_t len, FaxRecipient& r, EntryDetails& d) {
    kfd::AnsiDetails a;
    bool ok = kfd::DecodeEntry(rec, len, r, a);
    AnsiToWideField(r.name, kfd::BoundedLen(r.name, sizeof r.name), d.name, 31);
    AnsiToWideField(r.faxNumber, kfd::BoundedLen(r.faxNumber, sizeof r.faxNumber), d.faxNumber, 31);
    AnsiToWideField(a.company, std::strlen(a.company), d.company, 60);
    AnsiToWideField(a.phone, std::strlen(a.phone), d.phone, 47);
    AnsiToWideField(a.email, std::strlen(a.email), d.email, 60);
    AnsiToWideField(a.memo, std::strlen(a.memo), d.memo, 255);
    return ok;
}

void DBRecordListText(const uint8_t* rec, size_t len, WCHAR text[kListTextChars]) {
    std::string ansi = kfd::RecordListTextAnsi(rec, len);
    if (len && rec[0] == kfd::kGroup) ansi = "[" + ansi + "]";
    AnsiToWideField(ansi.data(), ansi.size(), text, kListTextChars);
}

WideString IndividualListText(const WCHAR* name, const WCHAR* fax) {
    WideString t(name, WideBoundedLen(name, 30));
    t += WCHAR(' ');
    t += WCHAR('<');
    t.append(fax, WideBoundedLen(fax, 30));
    t += WCHAR('>');
    return t;
}

WideString GroupListText(const WCHAR* name) {
    WideString t(1, WCHAR('['));
    t.append(name, WideBoundedLen(name, 30));
    t += WCHAR(']');
    return t;
}

namespace {

// Room for every character of a list text, each two bytes at most.
constexpr size_t kListTextAnsiRoom = 2 * kListTextChars + 1;

struct AnsiLeadBytes {
    bool operator()(char c) const { return IsAnsiLeadByte(static_cast<uint8_t>(c)); }
};

void CopyKeyPart(const char* text, kfd::TextSpan part, char* out, size_t max) {
    size_t n = kfd::FitAnsi(text + part.begin, part.end - part.begin, max);
    std::memcpy(out, text + part.begin, n);
    out[n] = 0;
}

}  // namespace

bool ListTextToKey(const WCHAR* text, char name[kfd::kNameMax + 1], char fax[kfd::kFaxMax + 1]) {
    char ansi[kListTextAnsiRoom];
    WideToAnsiField(text, kListTextChars, ansi, sizeof ansi);
    kfd::TextSpan n, f;
    bool ok = kfd::ParseIndividualText(ansi, std::strlen(ansi), n, f, AnsiLeadBytes{});
    CopyKeyPart(ansi, n, name, kfd::kNameMax);
    CopyKeyPart(ansi, f, fax, kfd::kFaxMax);
    return ok;
}

bool GroupTextToKey(const WCHAR* text, char name[kfd::kNameMax + 1]) {
    char ansi[kListTextAnsiRoom];
    WideToAnsiField(text, kListTextChars, ansi, sizeof ansi);
    kfd::TextSpan n;
    bool ok = kfd::ParseGroupText(ansi, std::strlen(ansi), n, AnsiLeadBytes{});
    CopyKeyPart(ansi, n, name, kfd::kNameMax);
    return ok;
}

bool SameRecordKey(const WCHAR* a, const WCHAR* b) {
    char an[kfd::kNameMax + 1], bn[kfd::kNameMax + 1];
    if (GroupTextToKey(a, an))
        return GroupTextToKey(b, bn) && kfd::KeyEquals(reinterpret_cast<const uint8_t*>(an), std::strlen(an), bn);
    char af[kfd::kFaxMax + 1], bf[kfd::kFaxMax + 1];
    return ListTextToKey(a, an, af) && ListTextToKey(b, bn, bf) &&
           kfd::KeyEquals(reinterpret_cast<const uint8_t*>(an), std::strlen(an), bn) &&
           kfd::KeyEquals(reinterpret_cast<const uint8_t*>(af), std::strlen(af), bf);
}
