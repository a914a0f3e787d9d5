#include "page_data.h"

#include <cstring>

#include "job_image.h"

const WCHAR kPageDataProp[] = {'T', 'L', 'R', 'N', 'J', 'B', 0};
const WCHAR kHostSheetProp[] = {'S', 'W', '_', 'U', 'I', '_', 'P', 'S', 0};

namespace {

const WCHAR kSystemFont[] = {'S', 'y', 's', 't', 'e', 'm', 0};
// The host's sheet block names the image by an offset in its 48th word,
// counted from 192 bytes into the block.
constexpr size_t kSheetBlockImageWord = 47;
constexpr size_t kSheetBlockImageBase = 192;

// Reads 16-bit units of a template within its size.
class TemplateReader {
public:
    TemplateReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    bool Word(uint16_t* v) {
        if (at_ + 2 > size_) return false;
        *v = static_cast<uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return true;
    }
    bool Skip(size_t n) {
        if (at_ + n > size_) return false;
        at_ += n;
        return true;
    }
    // A name or ordinal field: 0, 0xFFFF and an ordinal, or a string.
    bool SkipNameOrOrdinal() {
        uint16_t first;
        if (!Word(&first)) return false;
        if (first == 0) return true;
        if (first == 0xFFFF) return Skip(2);
        for (uint16_t c = first; c != 0;)
            if (!Word(&c)) return false;
        return true;
    }
    bool String(WCHAR* out, size_t capacity) {
        size_t n = 0;
        for (uint16_t c;;) {
            if (!Word(&c)) return false;
            if (c == 0) break;
            if (n + 1 < capacity) out[n++] = static_cast<WCHAR>(c);
        }
        out[n] = 0;
        return true;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t at_ = 0;
};

bool ReadTemplateFont(const uint8_t* bytes, size_t size, int32_t* fontSize, WCHAR (&face)[kPageFontFaceSize]) {
    TemplateReader r(bytes, size);
    uint16_t version = 0, signature = 0, lo = 0, hi = 0, pointSize = 0;
    if (!r.Word(&version) || !r.Word(&signature)) return false;
    const bool extended = version == 1 && signature == 0xFFFF;
    DWORD style;
    if (extended) {
        if (!r.Skip(8) || !r.Word(&lo) || !r.Word(&hi)) return false;  // help id, ex style, style
    } else {
        lo = version;
        hi = signature;
        if (!r.Skip(4)) return false;  // ex style
    }
    style = static_cast<DWORD>(lo) | static_cast<DWORD>(hi) << 16;
    if (!r.Skip(2 + 8) || !r.SkipNameOrOrdinal() || !r.SkipNameOrOrdinal()) return false;
    WCHAR title[2];
    if (!r.String(title, 2)) return false;
    if (!(style & DS_SETFONT)) return false;
    if (!r.Word(&pointSize)) return false;
    if (extended && !r.Skip(4)) return false;  // weight, italic, character set
    if (!r.String(face, kPageFontFaceSize)) return false;
    *fontSize = pointSize;
    return true;
}

// The image the page edits and its size: the host sheet's, or the one the
// host's sheet block names when the page carries that block.
void* LocateImage(HWND page, const HostSheetContext* sheet, int32_t* size) {
    *size = 0;
    if (HGLOBAL block = static_cast<HGLOBAL>(GetPropW(page, kHostSheetProp))) {
        size_t blockSize = GlobalSize(block);
        uint8_t* bytes = static_cast<uint8_t*>(GlobalLock(block));
        if (!bytes) return nullptr;
        GlobalUnlock(block);
        if (blockSize < (kSheetBlockImageWord + 1) * 4) return nullptr;
        int32_t offset;
        std::memcpy(&offset, bytes + kSheetBlockImageWord * 4, sizeof offset);
        if (offset < 0 || kSheetBlockImageBase + static_cast<size_t>(offset) >= blockSize) return nullptr;
        size_t start = kSheetBlockImageBase + static_cast<size_t>(offset);
        // The records are read in place: an image off their alignment is not one.
        if (reinterpret_cast<uintptr_t>(bytes + start) % alignof(HostJobSettings) != 0) return nullptr;
        *size = static_cast<int32_t>(blockSize - start);
        return bytes + start;
    }
    if (!sheet || !sheet->image || sheet->imageSize <= 0 || sheet->imageSize > kMaxImageSize) return nullptr;
    *size = sheet->imageSize;
    return sheet->image;
}

FaxDS* LocateFaxDS(const HostDriverContext* driver, void* image, int32_t size) {
    const AddonMCB* mcb = driver && image ? FindFaxAddonMCB(driver) : nullptr;
    if (!mcb || !BlockFits<FaxDS>(static_cast<size_t>(size), mcb->block1Offset) ||
        mcb->block1Offset % alignof(FaxDS) != 0)
        return nullptr;
    // The page writes into the block: it must keep clear of the host's
    // fixed part and of the sub-blocks the image names.
    const int32_t ds = mcb->block1Offset;
    if (size < static_cast<int32_t>(sizeof(HostJobSettings)) ||
        BlocksOverlap(ds, sizeof(FaxDS), 0, sizeof(HostJobSettings)))
        return nullptr;
    const auto* s = static_cast<const HostJobSettings*>(image);
    if ((s->subBlockOffset >= 0 && BlocksOverlap(ds, sizeof(FaxDS), s->subBlockOffset, sizeof(HostSubBlock))) ||
        (s->subBlock2Offset >= 0 && BlocksOverlap(ds, sizeof(FaxDS), s->subBlock2Offset, sizeof(HostSubBlock2))))
        return nullptr;
    return BlockAt<FaxDS>(image, mcb->block1Offset);
}

}  // namespace

void TemplateFont(HINSTANCE instance, int templateId, int32_t* size, WCHAR (&face)[kPageFontFaceSize]) {
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(templateId), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    const void* bytes = res ? LockResource(LoadResource(instance, res)) : nullptr;
    if (bytes && ReadTemplateFont(static_cast<const uint8_t*>(bytes), SizeofResource(instance, res), size, face))
        return;
    *size = 0;
    std::memcpy(face, kSystemFont, sizeof kSystemFont);
}

bool AttachPageData(HWND page, HostPageContext* context, HINSTANCE instance) {
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(PageBlock));
    PageBlock* block = handle ? static_cast<PageBlock*>(GlobalLock(handle)) : nullptr;
    if (!block) {
        if (handle) GlobalFree(handle);
        return false;
    }
    PageData& d = block->data;
    d.page = page;
    d.parent = GetParent(page);
    d.pageContext = context;
    d.entry = context ? context->entry : nullptr;
    d.sheet = context ? context->sheet : nullptr;
    d.driver = d.sheet ? d.sheet->driver : nullptr;
    d.image = LocateImage(page, d.sheet, &block->imageSize);
    d.ds = LocateFaxDS(d.driver, d.image, block->imageSize);
    d.instance = instance;
    TemplateFont(instance, d.entry ? d.entry->templateId : 0, &d.fontSize, d.fontFace);
    SetPropW(page, kPageDataProp, handle);

    HostServices* services = d.driver ? d.driver->services : nullptr;
    if (services && services->pageMessage) services->pageMessage(page, WM_INITDIALOG, 0);
    if (services && services->createHintWindow)
        d.hint = static_cast<HWND>(services->createHintWindow(instance, page, handle));
    return true;
}

PageData* GetPageData(HWND page) {
    HGLOBAL handle = static_cast<HGLOBAL>(GetPropW(page, kPageDataProp));
    if (!handle) return nullptr;
    PageData* d = static_cast<PageData*>(GlobalLock(handle));
    GlobalUnlock(handle);  // the block stays locked from attach to release
    return d;
}

void ReleasePageData(HWND page) {
    HGLOBAL handle = static_cast<HGLOBAL>(GetPropW(page, kPageDataProp));
    if (handle) {
        PageData* d = static_cast<PageData*>(GlobalLock(handle));
        if (d && d->hint && IsWindow(d->hint)) DestroyWindow(d->hint);
        GlobalUnlock(handle);
        GlobalUnlock(handle);
        GlobalFree(handle);
    }
    RemovePropW(page, kPageDataProp);
    RemovePropW(page, kHostSheetProp);
}
