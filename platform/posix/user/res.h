#pragma once
// Reader of compiled resource files (.res) and of the binary dialog
// templates they hold. Everything here treats its input as untrusted:
// every length is checked against the bytes actually present.
#include "posix/win_base.h"

#include <cstddef>
#include <string>
#include <vector>

namespace winres {

// A resource name or type: an ordinal (id != 0) or a string.
struct ResName {
    WORD id = 0;
    std::u16string name;
    bool operator==(const ResName& o) const { return id == o.id && name == o.name; }
};

struct ResEntry {
    ResName type;
    ResName name;
    WORD language = 0;
    size_t offset = 0;  // of the data within the .res image
    DWORD size = 0;
};

// Parses a .res image. Returns false (and leaves 'out' with the entries read
// so far) when the image is damaged.
bool ParseRes(const unsigned char* data, size_t size, std::vector<ResEntry>& out);

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    ResName cls;          // ordinal 0x80..0x85 or a class name
    ResName title;        // text or resource ordinal
    std::vector<unsigned char> creationData;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    ResName menu;
    ResName cls;
    std::u16string title;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    std::u16string face;
    std::vector<DialogItem> items;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX of at most 'size' bytes.
bool ParseDialog(const unsigned char* data, size_t size, DialogTemplate& out);

// Length in bytes of a dialog template that starts at 'data' and may run to
// 'size' bytes, or 0 when it is damaged.
size_t DialogSize(const unsigned char* data, size_t size);

}  // namespace winres
