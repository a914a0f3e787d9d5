// Resources embedded in modules: each module registers its compiled .res
// image at start-up under its load address, which is its HMODULE.
#include "posix/gdi/bitmap.h"
#include "posix/user/resources.h"
#include "posix/user/text.h"
#include "posix/user/window.h"

#include <dlfcn.h>
#include <link.h>

#include <memory>
#include <mutex>
#include <vector>

namespace winuser {
namespace {

struct Module {
    uintptr_t base;
    const unsigned char* data;
    size_t size;
    std::vector<winres::ResEntry> entries;
};

std::vector<Module>& Modules() {
    static std::vector<Module> m;
    return m;
}

// HRSRC and HGLOBAL of a resource are addresses inside this table.
struct Found {
    const Module* mod;
    const winres::ResEntry* entry;
};

std::vector<std::unique_ptr<Found>>& Handles() {
    static std::vector<std::unique_ptr<Found>> h;
    return h;
}

int PhdrFirst(struct dl_phdr_info* info, size_t, void* out) {
    uintptr_t lo = UINTPTR_MAX;
    for (int i = 0; i < info->dlpi_phnum; ++i)
        if (info->dlpi_phdr[i].p_type == PT_LOAD && info->dlpi_phdr[i].p_vaddr < lo) lo = info->dlpi_phdr[i].p_vaddr;
    *(uintptr_t*)out = info->dlpi_addr + (lo == UINTPTR_MAX ? 0 : lo);
    return 1;  // the first object is the program itself
}

uintptr_t MainBase() {
    static uintptr_t base = [] {
        uintptr_t b = 0;
        dl_iterate_phdr(PhdrFirst, &b);
        return b;
    }();
    return base;
}

const Module* ModuleOf(HMODULE h) {
    uintptr_t key = h ? (uintptr_t)h : MainBase();
    for (const auto& m : Modules())
        if (m.base == key) return &m;
    return nullptr;
}

bool Match(const winres::ResName& want, const winres::ResName& have) {
    if (want.id || have.id) return want.id == have.id;
    return CompareNoCase(want.name, have.name) == 0;
}

const winres::ResEntry* Lookup(const Module* m, const winres::ResName& type, const winres::ResName& name) {
    bool typeSeen = false;
    for (const auto& e : m->entries) {
        if (!Match(type, e.type)) continue;
        typeSeen = true;
        if (Match(name, e.name)) return &e;
    }
    SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

}  // namespace

winres::ResName ResNameFromW(LPCWSTR p) {
    winres::ResName r;
    if (IS_INTRESOURCE(p)) r.id = (WORD)(uintptr_t)p;
    else if (p[0] == u'#') {
        // "#123" names the ordinal 123.
        unsigned v = 0;
        for (const WCHAR* q = p + 1; *q >= u'0' && *q <= u'9' && v < 0x10000; ++q) v = v * 10 + (*q - u'0');
        r.id = (WORD)v;
    } else
        r.name = p;
    return r;
}

winres::ResName ResNameFromA(LPCSTR p) {
    if (IS_INTRESOURCE(p)) return ResNameFromW((LPCWSTR)p);
    std::u16string w = FromAnsi(p);
    return ResNameFromW(w.c_str());
}

bool FindResourceBytes(HMODULE mod, const winres::ResName& type, const winres::ResName& name,
                       const unsigned char*& data, DWORD& size) {
    const Module* m = ModuleOf(mod);
    if (!m) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return false;
    }
    const winres::ResEntry* e = Lookup(m, type, name);
    if (!e) return false;
    data = m->data + e->offset;
    size = e->size;
    return true;
}

}  // namespace winuser

using namespace winuser;

// Called by the code that embeds a module's .res image; 'anchor' is any
// address inside the registering module. Returns false for a damaged image.
bool PlatformRegisterResources(const void* anchor, const unsigned char* data, size_t size) {
    Dl_info info{};
    uintptr_t base = 0;
    if (dladdr(anchor, &info) && info.dli_fbase) base = (uintptr_t)info.dli_fbase;
    Module m{base, data, size, {}};
    bool ok = winres::ParseRes(data, size, m.entries);
    for (auto& old : Modules())
        if (old.base == base) {
            old = std::move(m);
            return ok;
        }
    Modules().push_back(std::move(m));
    return ok;
}

HRSRC WINAPI FindResourceW(HMODULE mod, LPCWSTR name, LPCWSTR type) {
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const Module* m = ModuleOf(mod);
    if (!m) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const winres::ResEntry* e = Lookup(m, ResNameFromW(type), ResNameFromW(name));
    if (!e) return nullptr;
    for (auto& f : Handles())
        if (f->entry == e) return (HRSRC)f.get();
    Handles().push_back(std::make_unique<Found>(Found{m, e}));
    return (HRSRC)Handles().back().get();
}

HRSRC WINAPI FindResourceA(HMODULE mod, LPCSTR name, LPCSTR type) {
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::u16string n = IS_INTRESOURCE(name) ? std::u16string() : FromAnsi(name);
    std::u16string t = IS_INTRESOURCE(type) ? std::u16string() : FromAnsi(type);
    return FindResourceW(mod, IS_INTRESOURCE(name) ? (LPCWSTR)name : n.c_str(),
                         IS_INTRESOURCE(type) ? (LPCWSTR)type : t.c_str());
}

namespace {
const Found* Checked(HRSRC r) {
    for (auto& f : Handles())
        if ((HRSRC)f.get() == r) return f.get();
    return nullptr;
}
}  // namespace

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC r) {
    const Found* f = Checked(r);
    if (!f) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return (HGLOBAL)(f->mod->data + f->entry->offset);
}

LPVOID WINAPI LockResource(HGLOBAL h) { return h; }
BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

DWORD WINAPI SizeofResource(HMODULE, HRSRC r) {
    const Found* f = Checked(r);
    if (!f) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return f->entry->size;
}

namespace {
// A string table block holds 16 counted strings; string id n lives in
// block n / 16 + 1 at position n % 16.
bool StringOf(HINSTANCE inst, UINT id, std::u16string& out) {
    winres::ResName type, name;
    type.id = 6;
    name.id = (WORD)((id >> 4) + 1);
    const unsigned char* d;
    DWORD size;
    if (!FindResourceBytes(inst, type, name, d, size)) return false;
    size_t pos = 0;
    for (UINT i = 0; i < 16; ++i) {
        if (size - pos < 2) return false;
        size_t len = d[pos] | (d[pos + 1] << 8);
        pos += 2;
        if (len > (size - pos) / 2) return false;  // damaged block
        if (i == (id & 15)) {
            out.clear();
            for (size_t k = 0; k < len; ++k) out.push_back((char16_t)(d[pos + 2 * k] | (d[pos + 2 * k + 1] << 8)));
            return len > 0;
        }
        pos += len * 2;
    }
    return false;
}
}  // namespace

int WINAPI LoadStringW(HINSTANCE inst, UINT id, LPWSTR buf, int max) {
    if (!buf) return 0;
    std::u16string s;
    if (!StringOf(inst, id, s)) {
        if (max > 0) buf[0] = 0;
        return 0;
    }
    if (max == 0) {
        // A read-only pointer to the resource itself is not offered here.
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = s.size() < (size_t)max - 1 ? s.size() : (size_t)max - 1;
    for (size_t i = 0; i < n; ++i) buf[i] = s[i];
    buf[n] = 0;
    return (int)n;
}

int WINAPI LoadStringA(HINSTANCE inst, UINT id, LPSTR buf, int max) {
    if (!buf || max <= 0) return 0;
    std::u16string s;
    buf[0] = 0;
    if (!StringOf(inst, id, s)) return 0;
    std::string a = ToAnsi(s);
    size_t n = a.size() < (size_t)max - 1 ? a.size() : (size_t)max - 1;
    a.copy(buf, n);
    buf[n] = 0;
    return (int)n;
}

namespace {
HBITMAP LoadBitmapName(HINSTANCE inst, const winres::ResName& name) {
    winres::ResName type;
    type.id = 2;
    const unsigned char* d;
    DWORD size;
    if (!FindResourceBytes(inst, type, name, d, size)) return nullptr;
    // BITMAPINFOHEADER: size, width, height (negative = top-down), planes, bit count.
    if (size < 16) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    auto rd32 = [&](size_t o) { return (int32_t)(d[o] | (d[o + 1] << 8) | (d[o + 2] << 16) | ((uint32_t)d[o + 3] << 24)); };
    int32_t hdr = rd32(0);
    LONG w, hgt;
    WORD bits;
    if (hdr == 12) {  // BITMAPCOREHEADER
        w = d[4] | (d[5] << 8);
        hgt = d[6] | (d[7] << 8);
        bits = (WORD)(d[10] | (d[11] << 8));
    } else if (hdr >= 40 && (DWORD)hdr <= size) {
        w = rd32(4);
        hgt = rd32(8);
        bits = (WORD)(d[14] | (d[15] << 8));
    } else {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    if (hgt < 0) hgt = -hgt;
    if (w <= 0 || hgt <= 0) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return NewBitmap(BitmapObject{w, hgt, bits});
}
}  // namespace

HBITMAP WINAPI LoadBitmapW(HINSTANCE inst, LPCWSTR name) { return name ? LoadBitmapName(inst, ResNameFromW(name)) : nullptr; }
HBITMAP WINAPI LoadBitmapA(HINSTANCE inst, LPCSTR name) { return name ? LoadBitmapName(inst, ResNameFromA(name)) : nullptr; }

HICON WINAPI LoadIconW(HINSTANCE inst, LPCWSTR name) {
    if (!name) return nullptr;
    if (!inst) {
        // System icons (IDI_*): any non-null handle will do.
        static int systemIcon;
        return (HICON)&systemIcon;
    }
    winres::ResName type;
    type.id = 14;
    const unsigned char* d;
    DWORD size;
    if (!FindResourceBytes(inst, type, ResNameFromW(name), d, size)) return nullptr;
    return (HICON)d;
}

HICON WINAPI LoadIconA(HINSTANCE inst, LPCSTR name) {
    if (!name) return nullptr;
    if (IS_INTRESOURCE(name)) return LoadIconW(inst, (LPCWSTR)name);
    std::u16string w = FromAnsi(name);
    return LoadIconW(inst, w.c_str());
}
