// Reader of .res images and dialog templates.
#include "posix/user/res.h"

#include <cstring>

namespace winres {
namespace {

// Bounded little-endian cursor over untrusted bytes.
class Cursor {
public:
    Cursor(const unsigned char* d, size_t n) : data_(d), size_(n) {}
    bool ok() const { return ok_; }
    size_t pos() const { return pos_; }
    size_t left() const { return ok_ ? size_ - pos_ : 0; }
    WORD word() {
        if (!need(2)) return 0;
        WORD v = (WORD)(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    DWORD dword() {
        DWORD lo = word();
        DWORD hi = word();
        return lo | (hi << 16);
    }
    short sword() { return (short)word(); }
    BYTE byte() {
        if (!need(1)) return 0;
        return data_[pos_++];
    }
    void skip(size_t n) {
        if (need(n)) pos_ += n;
    }
    void alignTo(size_t base, size_t a) {
        size_t rel = pos_ - base;
        size_t pad = (a - rel % a) % a;
        if (pad > left()) pos_ = size_;  // trailing padding may be missing at the very end
        else pos_ += pad;
    }
    void seek(size_t p) {
        if (p > size_) ok_ = false;
        else pos_ = p;
    }
    std::u16string sz() {
        std::u16string s;
        for (;;) {
            if (!need(2)) return s;
            WORD c = word();
            if (c == 0) return s;
            s.push_back((char16_t)c);
        }
    }
    // sz_Or_Ord: 0x0000 = none, 0xFFFF ord = ordinal, else a string.
    ResName nameOrOrd() {
        ResName r;
        if (!need(2)) return r;
        WORD first = (WORD)(data_[pos_] | (data_[pos_ + 1] << 8));
        if (first == 0xFFFF) {
            pos_ += 2;
            r.id = word();
        } else {
            r.name = sz();
        }
        return r;
    }
    const unsigned char* at() const { return data_ + pos_; }

private:
    bool need(size_t n) {
        if (!ok_ || size_ - pos_ < n) {
            ok_ = false;
            return false;
        }
        return true;
    }
    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

bool ParseRes(const unsigned char* data, size_t size, std::vector<ResEntry>& out) {
    size_t pos = 0;
    while (pos < size) {
        if (size - pos < 32) return size - pos == 0;
        Cursor c(data + pos, size - pos);
        DWORD dataSize = c.dword();
        DWORD headerSize = c.dword();
        if (headerSize < 16 || headerSize > size - pos) return false;
        Cursor h(data + pos, headerSize);
        h.skip(8);
        ResEntry e;
        e.type = h.nameOrOrd();
        e.name = h.nameOrOrd();
        h.alignTo(0, 4);
        h.dword();  // DataVersion
        h.word();   // MemoryFlags
        e.language = h.word();
        if (!h.ok()) return false;
        size_t dataStart = pos + headerSize;
        if (dataSize > size - dataStart) return false;
        e.offset = dataStart;
        e.size = dataSize;
        // The leading empty entry (type 0) only marks a 32-bit .res file.
        if (!(e.type.id == 0 && e.type.name.empty()))
            out.push_back(e);
        size_t next = dataStart + dataSize;
        next += (4 - next % 4) % 4;
        if (next <= pos) return false;
        pos = next > size ? size : next;
    }
    return true;
}

namespace {

bool ParseItems(Cursor& c, bool ex, WORD count, DialogTemplate& out) {
    for (WORD i = 0; i < count; ++i) {
        c.alignTo(0, 4);
        DialogItem it;
        if (ex) {
            it.helpId = c.dword();
            it.exStyle = c.dword();
            it.style = c.dword();
        } else {
            it.style = c.dword();
            it.exStyle = c.dword();
        }
        it.x = c.sword();
        it.y = c.sword();
        it.cx = c.sword();
        it.cy = c.sword();
        it.id = ex ? c.dword() : c.word();
        it.cls = c.nameOrOrd();
        it.title = c.nameOrOrd();
        WORD extra = c.word();
        if (!c.ok()) return false;
        if (extra) {
            // In the classic template the count includes itself.
            size_t n = ex ? extra : (extra >= 2 ? extra - 2u : 0u);
            if (n > c.left()) return false;
            it.creationData.assign(c.at(), c.at() + n);
            c.skip(n);
        }
        if (!c.ok()) return false;
        out.items.push_back(std::move(it));
    }
    return true;
}

bool Parse(Cursor& c, DialogTemplate& out) {
    out = DialogTemplate();
    WORD ver = c.word();
    WORD sig = c.word();
    out.extended = (ver == 1 && sig == 0xFFFF);
    WORD count;
    if (out.extended) {
        out.helpId = c.dword();
        out.exStyle = c.dword();
        out.style = c.dword();
        count = c.word();
    } else {
        c.seek(0);
        out.style = c.dword();
        out.exStyle = c.dword();
        count = c.word();
    }
    out.x = c.sword();
    out.y = c.sword();
    out.cx = c.sword();
    out.cy = c.sword();
    out.menu = c.nameOrOrd();
    out.cls = c.nameOrOrd();
    out.title = c.sz();
    if (out.style & (DWORD)0x40 /* DS_SETFONT */) {
        out.pointSize = c.word();
        if (out.extended) {
            out.weight = c.word();
            out.italic = c.byte();
            c.byte();  // charset
        }
        out.face = c.sz();
    }
    if (!c.ok()) return false;
    return ParseItems(c, out.extended, count, out);
}

}  // namespace

bool ParseDialog(const unsigned char* data, size_t size, DialogTemplate& out) {
    Cursor c(data, size);
    return Parse(c, out);
}

size_t DialogSize(const unsigned char* data, size_t size) {
    Cursor c(data, size);
    DialogTemplate t;
    if (!Parse(c, t)) return 0;
    return c.pos();
}

}  // namespace winres
