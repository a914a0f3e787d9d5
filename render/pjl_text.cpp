#include "pjl_text.h"

bool IsSafePjlByte(unsigned char c, PjlContext context) {
    if (c < 0x20 || c == 0x7F || c == '"') return false;
    if (context == PjlContext::FaxNumField && (c == '{' || c == '}')) return false;
    return true;
}

size_t CopyPjlText(char* dest, size_t capacity, const char* field, size_t fieldSize,
                   PjlContext context) {
    if (!dest || capacity == 0) return 0;
    size_t n = 0;
    if (field) {
        for (size_t i = 0; i < fieldSize && field[i] && n + 1 < capacity; ++i) {
            unsigned char c = static_cast<unsigned char>(field[i]);
            if (IsSafePjlByte(c, context)) dest[n++] = static_cast<char>(c);
        }
    }
    dest[n] = '\0';
    return n;
}
