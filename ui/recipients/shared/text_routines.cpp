#include "text_routines.h"

#include <climits>

#include "kfd_format.h"

namespace {

size_t Length(const WCHAR* t) {
    size_t n = 0;
    while (t[n]) ++n;
    return n;
}

void CopyCut(const WCHAR* from, size_t len, WCHAR* to, size_t cap) {
    if (cap == 0) return;
    if (len > cap - 1) len = cap - 1;
    for (size_t i = 0; i < len; ++i) to[i] = from[i];
    to[len] = 0;
}

}  // namespace

void TrimBlanks(WCHAR* text) {
    size_t len = Length(text);
    size_t start = 0;
    while (start < len && text[start] == ' ') ++start;
    size_t end = len;
    while (end > start && text[end - 1] == ' ') --end;
    for (size_t i = start; i < end; ++i) text[i - start] = text[i];
    text[end - start] = 0;
}

void PadWithZeros(WCHAR* text, int len, int wanted) {
    if (len < 0 || len >= wanted) return;
    int shift = wanted - len;
    for (int i = len - 1; i >= 0; --i) text[i + shift] = text[i];
    for (int i = 0; i < shift; ++i) text[i] = '0';
    text[wanted] = 0;
}

int DigitValue(const char* text) {
    int value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        int d = *p - '0';
        if (value > (INT_MAX - d) / 10) break;
        value = value * 10 + d;
    }
    return value;
}

bool SplitListText(const WCHAR* text, WCHAR* name, size_t nameCap, WCHAR* fax, size_t faxCap) {
    kfd::TextSpan n, f;
    bool ok = kfd::ParseIndividualText(text, Length(text), n, f);
    CopyCut(text + n.begin, n.end - n.begin, name, nameCap);
    CopyCut(text + f.begin, f.end - f.begin, fax, faxCap);
    return ok;
}

bool SplitListText(const WCHAR* text, WCHAR* group, size_t groupCap) {
    kfd::TextSpan n;
    bool ok = kfd::ParseGroupText(text, Length(text), n);
    CopyCut(text + n.begin, n.end - n.begin, group, groupCap);
    return ok;
}
