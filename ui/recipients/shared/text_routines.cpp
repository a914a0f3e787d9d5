#include "text_routines.h"

#include <climits>

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

void SplitListText(const WCHAR* text, WCHAR* name, size_t nameCap, WCHAR* fax, size_t faxCap) {
    size_t len = Length(text);
    size_t blank = len;
    for (size_t i = len; i-- > 0;) {
        if (text[i] == ' ') {
            blank = i;
            break;
        }
    }
    if (blank == len) {
        CopyCut(text, len, name, nameCap);
        CopyCut(text, 0, fax, faxCap);
        return;
    }
    CopyCut(text, blank, name, nameCap);
    size_t start = blank + 2;
    size_t end = len > 0 ? len - 1 : 0;
    CopyCut(text + (start < len ? start : len), end > start ? end - start : 0, fax, faxCap);
}

void SplitListText(const WCHAR* text, WCHAR* group, size_t groupCap) {
    size_t len = Length(text);
    size_t start = len > 0 ? 1 : 0;
    size_t end = start;
    while (end < len && text[end] != ']') ++end;
    CopyCut(text + start, end - start, group, groupCap);
}
