#include "props.h"

#include <cstring>

namespace standin {

Prop TextProp(ULONG tag, const std::string& text) { return Prop{tag, text, {}, 0}; }

Prop BinaryProp(ULONG tag, const void* data, size_t size) {
    const BYTE* b = static_cast<const BYTE*>(data);
    return Prop{tag, {}, std::vector<BYTE>(b, b + size), 0};
}

Prop NumberProp(ULONG tag, LONG value) { return Prop{tag, {}, {}, value}; }

Prop ErrorProp(ULONG tag) {
    return Prop{PROP_TAG(PT_ERROR, PROP_ID(tag)), {}, {}, MAPI_E_NOT_FOUND};
}

LPSPropValue BuildProps(Heap heap, const std::vector<Prop>& props) {
    size_t size = props.size() * sizeof(SPropValue);
    for (const Prop& p : props) size += p.text.size() + 1 + p.bytes.size();
    BYTE* block = static_cast<BYTE*>(Allocate(heap, size));
    if (!block) return nullptr;
    LPSPropValue values = reinterpret_cast<LPSPropValue>(block);
    BYTE* extra = block + props.size() * sizeof(SPropValue);
    for (size_t i = 0; i < props.size(); ++i) {
        const Prop& p = props[i];
        SPropValue& v = values[i];
        v.ulPropTag = p.tag;
        switch (PROP_TYPE(p.tag)) {
        case PT_STRING8:
            std::memcpy(extra, p.text.c_str(), p.text.size() + 1);
            v.Value.lpszA = reinterpret_cast<LPSTR>(extra);
            extra += p.text.size() + 1;
            break;
        case PT_BINARY:
            if (!p.bytes.empty()) std::memcpy(extra, p.bytes.data(), p.bytes.size());
            v.Value.bin.cb = static_cast<ULONG>(p.bytes.size());
            v.Value.bin.lpb = extra;
            extra += p.bytes.size();
            break;
        case PT_ERROR:
            v.Value.err = p.number;
            break;
        default:
            v.Value.l = p.number;
            break;
        }
    }
    return values;
}

}  // namespace standin
