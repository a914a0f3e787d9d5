#include "old_format.h"

#include <cstdlib>

namespace kfd {

namespace {

struct Delims {
    uint8_t blockStart, nameEnd, separator;
};

Delims DelimsFor(Version v) {
    if (v == Version::V0000) return {'{', '}', '|'};
    return {0x01, 0x02, 0x03};
}

bool IsLineBreak(uint8_t b) { return b == '\r' || b == '\n'; }

// Walks a block by characters, so that the second byte of a double-byte
// character is never taken for a delimiter.
class BlockReader {
public:
    BlockReader(const uint8_t* data, size_t len, size_t pos, LeadBytePredicate isLead)
        : d_(data), n_(len), i_(pos), isLead_(isLead) {}
    size_t Pos() const { return i_; }
    bool AtEnd() const { return i_ >= n_; }
    // Finds the next occurrence of delim (or of a line break when stopAtBreak);
    // the text before it is [start, result).
    size_t Find(uint8_t delim, bool stopAtBreak) const {
        size_t i = i_;
        while (i < n_) {
            uint8_t b = d_[i];
            if (b == delim || (stopAtBreak && IsLineBreak(b))) return i;
            i += (isLead_(b) && i + 1 < n_) ? 2 : 1;
        }
        return n_;
    }
    size_t FindBreak() const {
        size_t i = i_;
        while (i < n_ && !IsLineBreak(d_[i])) i += (isLead_(d_[i]) && i + 1 < n_) ? 2 : 1;
        return i < n_ ? i : n_;
    }
    void MoveTo(size_t i) { i_ = i < n_ ? i : n_; }
    // One CR or LF, optionally followed by a second.
    void SkipLineBreak() {
        if (i_ < n_ && IsLineBreak(d_[i_])) ++i_;
        if (i_ < n_ && IsLineBreak(d_[i_])) ++i_;
    }

private:
    const uint8_t* d_;
    size_t n_;
    size_t i_;
    LeadBytePredicate isLead_;
};

// A text field of the new file: brackets in names become parentheses,
// control bytes are left out, and the text is cut to its limit.
std::string CleanField(const uint8_t* p, size_t len, size_t max, bool isName, LeadBytePredicate isLead_) {
    std::string out;
    size_t i = 0;
    while (i < len) {
        uint8_t b = p[i];
        if (isLead_(b) && i + 1 < len && !IsControlByte(p[i + 1])) {
            if (out.size() + 2 > max) break;
            out += static_cast<char>(b);
            out += static_cast<char>(p[i + 1]);
            i += 2;
            continue;
        }
        ++i;
        if (IsControlByte(b)) continue;
        if (isName && b == '[') b = '(';
        if (isName && b == ']') b = ')';
        if (out.size() + 1 > max) break;
        out += static_cast<char>(b);
    }
    return out;
}

constexpr size_t kFirstLimits[6] = {kNameMax, kFaxMax, kCompanyMax, kPhoneMax, kEmailMax, kMemoMax};
// Fields after the memo: comm option, relay print, station, destination
// count; then as many destinations as the count says; then comm mode,
// mailbox and password. Each is cut to its own size.
constexpr size_t kLeadingSizes[4] = {1, 1, kStationMax, kDestCountMax};
constexpr size_t kTrailingSizes[3] = {kModeMax, kMailboxMax, kMailboxPwMax};

// The destination count as a reader takes it (digit by digit), within 0-20.
size_t DestinationCount(const std::string& text) {
    long v = 0;
    for (unsigned char c : text) v = v * 10 + (static_cast<long>(c) - '0');
    return v < 0 ? 0 : (v > kMaxRelayDests ? kMaxRelayDests : static_cast<size_t>(v));
}

class BlockConverter {
public:
    BlockConverter(const Delims& d, ByteSink& out, DuplicateFilter& dups, ConvertStats& st,
                   LeadBytePredicate isLead)
        : dl_(d), out_(out), dups_(dups), st_(st), isLead_(isLead) {}

    // block[0] is the block start byte; offset is its place in the file.
    bool Convert(const uint8_t* block, size_t len, uint64_t offset) {
        BlockReader r(block, len, 1, isLead_);
        size_t nameEnd = r.Find(dl_.nameEnd, false);
        if (nameEnd >= len) return Damage(offset);
        std::string group(1, static_cast<char>(kGroup));
        group += CleanField(block + 1, nameEnd - 1, kNameMax, true, isLead_);
        group += static_cast<char>(kFieldEnd);
        r.MoveTo(nameEnd + 1);
        r.SkipLineBreak();
        size_t countEnd = r.FindBreak();
        long count = 0;
        for (size_t i = r.Pos(); i < countEnd && count < 1000000; ++i) {
            if (block[i] >= '0' && block[i] <= '9') count = count * 10 + (block[i] - '0');
        }
        r.MoveTo(countEnd);
        r.SkipLineBreak();
        ++st_.groups;
        for (long m = 0; m < count; ++m) {
            if (r.AtEnd()) {
                Damage(offset + r.Pos());  // fewer member lines than counted
                break;
            }
            size_t lineStart = r.Pos();
            bool cut = false;
            if (!Member(block, len, r, group, cut)) {
                Damage(offset + r.Pos());
                break;
            }
            if (cut) Damage(offset + lineStart);  // converted, but its line is cut short
        }
        group += static_cast<char>(kRecordEnd);
        return out_.Write(group.data(), group.size());
    }
    bool writeFailed = false;

private:
    bool Member(const uint8_t* block, size_t len, BlockReader& r, std::string& group, bool& cut) {
        std::string rec(1, static_cast<char>(kIndividual));
        std::string name, fax;
        for (int f = 0; f < 6; ++f) {
            size_t end = r.Find(dl_.separator, false);
            if (end >= len) return false;
            std::string text = CleanField(block + r.Pos(), end - r.Pos(), kFirstLimits[f], f == 0, isLead_);
            if (f == 0) name = text;
            if (f == 1) fax = text;
            rec += text;
            rec += static_cast<char>(kFieldEnd);
            r.MoveTo(end + 1);
        }
        size_t lineEnd = r.FindBreak();
        cut = lineEnd >= len;
        size_t dests = 0;  // known once the count is read
        size_t k = 0;
        for (; k < 4 + dests + 3; ++k) {
            size_t end = r.Find(dl_.separator, true);
            if (end >= lineEnd) break;
            size_t size = k < 4 ? kLeadingSizes[k] : k < 4 + dests ? kDestLen : kTrailingSizes[k - 4 - dests];
            std::string text = CleanField(block + r.Pos(), end - r.Pos(), size, false, isLead_);
            if (k == 3) {
                // The count written is the number of destination fields that follow.
                dests = DestinationCount(text);
                if (text.find_first_not_of("0123456789") != std::string::npos || std::atoi(text.c_str()) > kMaxRelayDests)
                    text = std::to_string(dests);
            }
            rec += text;
            rec += static_cast<char>(kFieldEnd);
            r.MoveTo(end + 1);
        }
        if (k < 4 + dests + 3) {
            // A line short of fields: the record is written whole, the
            // missing fields empty, and the line counts as damaged.
            rec.append(4 + dests + 3 - k, static_cast<char>(kFieldEnd));
            cut = true;
        }
        rec += static_cast<char>(kRecordEnd);
        r.MoveTo(lineEnd);
        r.SkipLineBreak();
        ++st_.members;
        if (dups_.FirstTime(name, fax)) {
            ++st_.individuals;
            if (!out_.Write(rec.data(), rec.size())) {
                writeFailed = true;
                return false;
            }
        }
        group += name;
        group += static_cast<char>(kFieldEnd);
        group += fax;
        group += static_cast<char>(kFieldEnd);
        return true;
    }

    bool Damage(uint64_t at) {
        if (st_.damaged++ == 0) st_.firstDamage = at;
        return true;
    }

    Delims dl_;
    ByteSink& out_;
    DuplicateFilter& dups_;
    ConvertStats& st_;
    LeadBytePredicate isLead_;
};

// Finds the next block start at or after i, stepping over double-byte characters.
size_t FindBlockStart(const uint8_t* buf, size_t i, size_t n, uint8_t start, LeadBytePredicate isLead_) {
    while (i < n) {
        if (buf[i] == start) return i;
        i += (isLead_(buf[i]) && i + 1 < n) ? 2 : 1;
    }
    return n;
}

}  // namespace

ConvertResult ConvertOldFile(ByteSource& src, Version version, uint8_t* buf, size_t cap, ByteSink& out,
                   DuplicateFilter& dups, LeadBytePredicate isLead, ConvertStats* stats) {
    ConvertStats local;
    ConvertStats& st = stats ? *stats : local;
    Delims dl = DelimsFor(version);
    if (!out.Write(kMagicCurrent, kMagicLen) || !out.Write("\n", 1)) return ConvertResult::WriteFailed;
    BlockConverter conv(dl, out, dups, st, isLead);
    uint64_t size = src.Size();
    uint64_t pos = kMagicLen;
    while (pos < size) {
        uint64_t left = size - pos;
        size_t want = left < cap ? static_cast<size_t>(left) : cap;
        size_t n = 0;
        if (!src.ReadAt(pos, buf, want, &n)) return ConvertResult::ReadFailed;
        if (n == 0) break;
        bool atEnd = pos + n >= size || n < want;
        size_t consumed = n;
        size_t s = FindBlockStart(buf, 0, n, dl.blockStart, isLead);
        while (s < n) {
            size_t e = FindBlockStart(buf, s + 1, n, dl.blockStart, isLead);
            if (e == n && !atEnd) {
                if (s == 0) {
                    st.firstDamage = pos;
                    return ConvertResult::BlockTooLarge;
                }
                consumed = s;  // read this block again from its start
                break;
            }
            if (!conv.Convert(buf + s, e - s, pos + s) || conv.writeFailed) return ConvertResult::WriteFailed;
            s = e;
        }
        pos += consumed;
        if (atEnd && consumed == n) break;
    }
    return ConvertResult::Done;
}

}  // namespace kfd

