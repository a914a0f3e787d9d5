#pragma once
// The option page's instance data: a global memory block attached to the
// page window as the property "TLRNJB", holding what the page needs to
// reach the host and the job's settings.

#include <windows.h>

#include <cstdint>

#include "host_pages.h"

constexpr int kPageFontFaceSize = 32;

struct PageData {
    HWND page;
    HWND parent;
    const PageEntry* entry;
    HostPageContext* pageContext;
    HostSheetContext* sheet;
    HostDriverContext* driver;
    void* image;
    HINSTANCE instance;
    int32_t fontSize;
    WCHAR fontFace[kPageFontFaceSize];
    HWND hint;
    FaxDS* ds;  // null when the image holds no fax settings block
};
constexpr size_t kPageDataHeaderSize = 200;
static_assert(sizeof(PageData) <= kPageDataHeaderSize, "page data header");

struct PageBlock {
    PageData data;
    uint8_t headerRest[kPageDataHeaderSize - sizeof(PageData)];
    int32_t imageSize;  // the page's own data: the checked size of the image
};

extern const WCHAR kPageDataProp[];   // "TLRNJB"
extern const WCHAR kHostSheetProp[];  // "SW_UI_PS"

// Allocates and attaches the block from the host page context, asks the
// host for the page's hint window. False when no block could be made.
bool AttachPageData(HWND page, HostPageContext* context, HINSTANCE instance);
// The page's data, or null (the information page has none).
PageData* GetPageData(HWND page);
// Destroys the hint window, frees the block, removes both properties.
void ReleasePageData(HWND page);

// The dialog font of a template: size and face, or the system font.
void TemplateFont(HINSTANCE instance, int templateId, int32_t* size, WCHAR (&face)[kPageFontFaceSize]);
