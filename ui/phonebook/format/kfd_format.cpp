#include "kfd_format.h"

#include <cstring>

namespace kfd {

const char kMagicCurrent[kMagicLen + 1] = "KESTRELTEC_ORYX_FAX_DATA_FILE_2000";
const char kMagic0000[kMagicLen + 1] = "KESTRELTEC_ORYX_FAX_DATA_FILE_0000";
const char kMagic1000[kMagicLen + 1] = "KESTRELTEC_ORYX_FAX_DATA_FILE_1000";

Version ClassifyMagic(const uint8_t* data, size_t len) {
    if (len < kMagicLen) return Version::Unknown;
    if (std::memcmp(data, kMagicCurrent, kMagicLen) == 0) return Version::Current;
    if (std::memcmp(data, kMagic0000, kMagicLen) == 0) return Version::V0000;
    if (std::memcmp(data, kMagic1000, kMagicLen) == 0) return Version::V1000;
    return Version::Unknown;
}

size_t FitAnsi(const char* text, size_t len, size_t max) {
    size_t i = 0;
    while (i < len) {
        size_t step = (static_cast<uint8_t>(text[i]) >= 0x80 && i + 1 < len) ? 2 : 1;
        if (i + step > max) break;
        i += step;
    }
    return i;
}

size_t BoundedLen(const char* field, size_t size) {
    const void* nul = std::memchr(field, 0, size);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : size;
}

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

uint64_t WordAt(const void* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Eight ASCII bytes with 'A'-'Z' made small: a capital gets the high bit of
// its byte from the first sum and not from the second, and takes 32.
uint64_t FoldedAscii(uint64_t word) {
    uint64_t capitals = ((word + kOnes * (0x80 - 'A')) ^ (word + kOnes * (0x80 - 'Z' - 1))) & kHighs;
    return word | capitals >> 2;
}

// A text field: its bytes up to the NUL within size, cut to max without
// splitting a double-byte character, control bytes left out.
char* PutText(char* out, const char* field, size_t size, size_t max) {
    size_t len = field[0] ? BoundedLen(field, size) : 0;  // most fields of a new entry are empty
    if (len > max) len = FitAnsi(field, len, max);  // a shorter text fits as it is
    // Eight bytes at a time while none of them is below 5: the text has no
    // NUL, so such a byte is a control byte, left out by the loop below.
    auto controlIn = [](uint64_t word) { return ((word - kOnes * 5) & ~word & kHighs) != 0; };
    size_t i = 0;
    for (; i + 8 <= len; i += 8) {
        uint64_t word = WordAt(field + i);
        if (controlIn(word)) break;
        std::memcpy(out, &word, sizeof word);
        out += sizeof word;
    }
    // The last bytes as a word overlapping those copied, which all were.
    if (i < len && len >= 8 && i == (len & ~size_t{7})) {
        uint64_t word = WordAt(field + len - 8);
        if (!controlIn(word)) {
            std::memcpy(out + (len - i) - 8, &word, sizeof word);
            out += len - i;
            i = len;
        }
    }
    for (; i < len; ++i) {
        char c = field[i];
        *out = c;
        out += !IsControlByte(static_cast<uint8_t>(c));
    }
    *out++ = static_cast<char>(kFieldEnd);
    return out;
}

char* PutByte(char* out, char b) {
    *out++ = IsControlByte(static_cast<uint8_t>(b)) ? '0' : b;
    *out++ = static_cast<char>(kFieldEnd);
    return out;
}

char* PutNumber(char* out, unsigned value) {
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    while (n) *out++ = digits[--n];
    *out++ = static_cast<char>(kFieldEnd);
    return out;
}

// Copies a field into a fixed text buffer of size bytes, NUL-terminated.
void CopyField(const Field& f, char* dst, size_t size) {
    std::memset(dst, 0, size);
    size_t n = FitAnsi(reinterpret_cast<const char*>(f.data), f.len, size - 1);
    if (n) std::memcpy(dst, f.data, n);
}

// Digit by digit as the format defines it; bounded so that damaged fields
// cannot overflow.
int32_t ReadNumber(const Field& f) {
    int64_t v = 0;
    for (size_t i = 0; i < f.len && i < 9; ++i) v = v * 10 + (static_cast<int>(f.data[i]) - '0');
    if (v > INT32_MAX) v = INT32_MAX;
    if (v < INT32_MIN) v = INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

char* EncodeEntryHead(const FaxRecipient& r, char* out, size_t* nameLen, size_t* faxLen) {
    char* o = out;
    *o++ = static_cast<char>(kIndividual);
    char* name = o;
    o = PutText(o, r.name, sizeof r.name, kNameMax);
    *nameLen = static_cast<size_t>(o - 1 - name);
    char* fax = o;
    o = PutText(o, r.faxNumber, sizeof r.faxNumber, kFaxMax);
    *faxLen = static_cast<size_t>(o - 1 - fax);
    return o;
}

size_t EncodeEntryTo(const FaxRecipient& r, const AnsiDetails& d, char* out) {
    size_t nameLen, faxLen;
    char* o = EncodeEntryHead(r, out, &nameLen, &faxLen);
    return static_cast<size_t>(EncodeEntryTail(r, d, o) - out);
}

char* EncodeEntryTail(const FaxRecipient& r, const AnsiDetails& d, char* out) {
    const CommSettings& c = r.comm;
    char* o = out;
    o = PutText(o, d.company, sizeof d.company, kCompanyMax);
    o = PutText(o, d.phone, sizeof d.phone, kPhoneMax);
    o = PutText(o, d.email, sizeof d.email, kEmailMax);
    o = PutText(o, d.memo, sizeof d.memo, kMemoMax);
    o = PutByte(o, c.commOption);
    o = PutByte(o, c.relayPrint);
    o = PutText(o, c.relayStationId, sizeof c.relayStationId, kStationMax);
    int count = ClampedRelayDestCount(c);
    o = PutNumber(o, static_cast<unsigned>(count));
    for (int i = 0; i < count; ++i) {
        for (size_t k = 0; k < kDestLen; ++k) {
            char b = c.relayDests[i * kDestLen + k];
            *o++ = IsControlByte(static_cast<uint8_t>(b)) ? '0' : b;
        }
        *o++ = static_cast<char>(kFieldEnd);
    }
    o = PutNumber(o, (c.commMode >= 0 && c.commMode <= 2) ? static_cast<unsigned>(c.commMode) : 0u);
    o = PutText(o, c.mailboxId, sizeof c.mailboxId, kMailboxMax);
    o = PutText(o, c.mailboxPassword, sizeof c.mailboxPassword, kMailboxPwMax);
    o = PutText(o, c.fCode, sizeof c.fCode, kFCodeMax);
    o = PutText(o, c.fCodePassword, sizeof c.fCodePassword, kFCodeMax);
    *o++ = static_cast<char>(kRecordEnd);
    return o;
}

void EncodeEntry(const FaxRecipient& r, const AnsiDetails& d, std::string& out) {
    char record[kEntryRecordMax];
    out.append(record, EncodeEntryTo(r, d, record));
}

bool NextField(const uint8_t* rec, size_t len, size_t& pos, Field& f) {
    if (pos >= len || rec[pos] == kRecordEnd) return false;
    size_t start = pos;
    // The field ends at the first of its end and the record's end marker.
    const void* fieldEnd = std::memchr(rec + pos, kFieldEnd, len - pos);
    size_t stop = fieldEnd ? static_cast<size_t>(static_cast<const uint8_t*>(fieldEnd) - rec) : len;
    const void* recordEnd = std::memchr(rec + pos, kRecordEnd, stop - pos);
    pos = recordEnd ? static_cast<size_t>(static_cast<const uint8_t*>(recordEnd) - rec) : stop;
    f.data = rec + start;
    f.len = pos - start;
    if (pos < len && rec[pos] == kFieldEnd) ++pos;
    return true;
}

bool DecodeEntry(const uint8_t* rec, size_t len, FaxRecipient& r, AnsiDetails& d) {
    CommSettings& c = r.comm;
    size_t pos = 1;
    bool ok = true;
    Field f;
    auto next = [&](Field& out) {
        if (NextField(rec, len, pos, out)) return true;
        out = Field{};
        ok = false;
        return false;
    };
    next(f); CopyField(f, r.name, sizeof r.name);
    next(f); CopyField(f, r.faxNumber, sizeof r.faxNumber);
    next(f); CopyField(f, d.company, sizeof d.company);
    next(f); CopyField(f, d.phone, sizeof d.phone);
    next(f); CopyField(f, d.email, sizeof d.email);
    next(f); CopyField(f, d.memo, sizeof d.memo);
    next(f); c.commOption = f.len ? static_cast<char>(f.data[0]) : 0;
    next(f); c.relayPrint = f.len ? static_cast<char>(f.data[0]) : 0;
    next(f); CopyField(f, c.relayStationId, sizeof c.relayStationId);
    next(f);
    int32_t count = ReadNumber(f);
    if (count < 0) count = 0;
    if (count > kMaxRelayDests) count = kMaxRelayDests;
    c.relayDestCount = count;
    for (int32_t i = 0; i < count; ++i) {
        next(f);
        char* code = c.relayDests + i * kDestLen;
        std::memset(code, 0, kDestLen);
        std::memcpy(code, f.data ? f.data : reinterpret_cast<const uint8_t*>(""),
                    f.len < kDestLen ? f.len : kDestLen);
    }
    next(f); c.commMode = ReadNumber(f);
    next(f); CopyField(f, c.mailboxId, sizeof c.mailboxId);
    next(f); CopyField(f, c.mailboxPassword, sizeof c.mailboxPassword);
    std::memset(c.fCode, 0, sizeof c.fCode);
    std::memset(c.fCodePassword, 0, sizeof c.fCodePassword);
    if (ok && pos < len && rec[pos] != kRecordEnd) {
        next(f); CopyField(f, c.fCode, sizeof c.fCode);
        next(f); CopyField(f, c.fCodePassword, sizeof c.fCodePassword);
    }
    // Anything but the end marker here means the record holds more than it should.
    if (pos >= len || rec[pos] != kRecordEnd) ok = false;
    return ok;
}

bool FieldsWithinSizes(const uint8_t* rec, size_t len) {
    if (len == 0 || !IsMarker(rec[0])) return false;
    size_t pos = 1;
    Field f;
    // A missing field is no overrun: whether a record is whole is the decoder's question.
    auto over = [&](size_t max) {
        if (NextField(rec, len, pos, f)) return f.len > max;
        f = Field{};
        return false;
    };
    if (rec[0] == kGroup) {
        if (over(kNameMax)) return false;
        while (pos < len && rec[pos] != kRecordEnd) {
            if (over(kNameMax) || over(kFaxMax)) return false;
        }
        return true;
    }
    const size_t texts[] = {kNameMax, kFaxMax, kCompanyMax, kPhoneMax, kEmailMax, kMemoMax, 1, 1, kStationMax};
    for (size_t max : texts) {
        if (over(max)) return false;
    }
    if (over(kDestCountMax)) return false;
    int32_t count = ReadNumber(f);
    if (count < 0 || count > kMaxRelayDests) return false;
    for (int32_t i = 0; i < count; ++i) {
        if (over(kDestLen)) return false;
    }
    return !over(kModeMax) && !over(kMailboxMax) && !over(kMailboxPwMax) && !over(kFCodeMax) && !over(kFCodeMax);
}

static inline uint8_t AsciiLower(uint8_t b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<uint8_t>(b + ('a' - 'A')) : b;
}

bool KeyEquals(const uint8_t* a, size_t alen, const uint8_t* b, size_t blen) {
    if (alen != blen) return false;
    // Bytes that differ even without regard to case differ under the full
    // rule too; keys that differ mostly do so near their ends.
    for (size_t k = alen; k-- > 0;) {
        if (AsciiLower(a[k]) != AsciiLower(b[k])) return false;
    }
    size_t i = 0;
    while (i < alen) {
        if (a[i] >= 0x80) {
            if (a[i] != b[i]) return false;
            if (i + 1 < alen && a[i + 1] != b[i + 1]) return false;
            i += 2;
            continue;
        }
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
        ++i;
    }
    return true;
}

bool KeyEquals(const uint8_t* a, size_t alen, const char* b) {
    return KeyEquals(a, alen, reinterpret_cast<const uint8_t*>(b), std::strlen(b));
}

void FoldKeyTo(const uint8_t* key, size_t len, char* out) {
    size_t i = 0;
    // Eight ASCII bytes at a time.
    for (; i + 8 <= len; i += 8) {
        uint64_t word = WordAt(key + i);
        if (word & kHighs) break;
        word = FoldedAscii(word);
        std::memcpy(out + i, &word, sizeof word);
    }
    // An ASCII key's last bytes as one word, overlapping those folded (the
    // folding of a byte does not depend on those before it).
    if (i < len && len >= 8 && i == (len & ~size_t{7})) {
        uint64_t word = WordAt(key + len - 8);
        if (!(word & kHighs)) {
            word = FoldedAscii(word);
            std::memcpy(out + len - 8, &word, sizeof word);
            return;
        }
    }
    for (; i < len; ++i) {
        if (key[i] >= 0x80 && i + 1 < len) {
            out[i] = static_cast<char>(key[i]);
            ++i;
            out[i] = static_cast<char>(key[i]);
        } else {
            out[i] = static_cast<char>(AsciiLower(key[i]));
        }
    }
}

std::string FoldKey(const uint8_t* key, size_t len) {
    std::string out(len, '\0');
    if (len) FoldKeyTo(key, len, &out[0]);
    return out;
}

bool RecordKey(const uint8_t* rec, size_t len, Field& name, Field& fax) {
    name = Field{};
    fax = Field{};
    if (len == 0 || !IsMarker(rec[0])) return false;
    size_t pos = 1;
    if (!NextField(rec, len, pos, name)) return false;
    if (rec[0] == kGroup) return true;
    return NextField(rec, len, pos, fax);
}

std::string RecordListTextAnsi(const uint8_t* rec, size_t len) {
    Field name, fax;
    RecordKey(rec, len, name, fax);
    const char* n = reinterpret_cast<const char*>(name.data);
    std::string text(n ? n : "", n ? FitAnsi(n, name.len, kNameMax) : 0);
    if (len && rec[0] == kIndividual) {
        const char* x = reinterpret_cast<const char*>(fax.data);
        text += " <";
        text.append(x ? x : "", x ? FitAnsi(x, fax.len, kFaxMax) : 0);
        text += '>';
    }
    return text;
}

static void AppendKeyText(std::string& out, const char* text) {
    size_t len = FitAnsi(text, std::strlen(text), kNameMax);
    for (size_t i = 0; i < len; ++i) {
        if (!IsControlByte(static_cast<uint8_t>(text[i]))) out += text[i];
    }
    out += static_cast<char>(kFieldEnd);
}

void BeginGroup(const char* name, std::string& out) {
    out += static_cast<char>(kGroup);
    AppendKeyText(out, name);
}

void AddGroupMember(const char* name, const char* fax, std::string& out) {
    AppendKeyText(out, name);
    AppendKeyText(out, fax);
}

void EndGroup(std::string& out) { out += static_cast<char>(kRecordEnd); }

bool RewriteGroupMembers(const uint8_t* rec, size_t len, const char* name, const char* fax,
                         const char* newName, const char* newFax, std::string& out) {
    if (len < 2 || rec[0] != kGroup) return false;
    // The fields run up to the first end marker, which must be the last byte.
    const uint8_t* endMark = static_cast<const uint8_t*>(std::memchr(rec, kRecordEnd, len));
    if (!endMark || static_cast<size_t>(endMark - rec) != len - 1) return false;
    const uint8_t* keyName = reinterpret_cast<const uint8_t*>(name);
    const uint8_t* keyFax = reinterpret_cast<const uint8_t*>(fax);
    const size_t nameLen = std::strlen(name), faxLen = std::strlen(fax);
    const size_t last = len - 1;
    // End of the field starting at pos: its 0x03, or the end marker.
    auto fieldEnd = [&](size_t pos) {
        const void* p = std::memchr(rec + pos, kFieldEnd, last - pos);
        return p ? static_cast<size_t>(static_cast<const uint8_t*>(p) - rec) : last;
    };
    size_t pos = fieldEnd(1);  // past the group name
    if (pos == last) return false;
    ++pos;
    // Built only from the first match on: most groups do not hold the key.
    std::string result;
    size_t copied = 0;  // bytes of rec up to which result stands for rec
    while (pos < last) {
        size_t pairStart = pos;
        size_t nEnd = fieldEnd(pos);
        if (nEnd == last) break;  // a member name without its fax number
        size_t xEnd = fieldEnd(nEnd + 1);
        if (xEnd == last) break;
        pos = xEnd + 1;
        if (!KeyEquals(rec + pairStart, nEnd - pairStart, keyName, nameLen) ||
            !KeyEquals(rec + nEnd + 1, xEnd - nEnd - 1, keyFax, faxLen))
            continue;
        result.append(reinterpret_cast<const char*>(rec + copied), pairStart - copied);
        if (newName) AddGroupMember(newName, newFax, result);
        copied = pos;
    }
    if (copied == 0) return false;
    result.append(reinterpret_cast<const char*>(rec + copied), len - copied);
    out += result;
    return true;
}

}  // namespace kfd
