// Small string routines the module carries itself: on the host's rendering
// side it links against nothing but the engine's time call.

#include <cstring>

#include "exports.h"
#include "format.h"

extern "C" {

void FAXAPI memcpyn(void* dest, const void* source, int32_t count) {
    if (count <= 0 || !dest || !source) return;
    std::memmove(dest, source, static_cast<size_t>(count));
}

int32_t FAXAPI ASCIIstrlen(const char* text) {
    if (!text) return 0;
    return static_cast<int32_t>(std::strlen(text));
}

void FAXAPI CopyStringA(char* dest, const char* source, int32_t size) {
    if (size <= 0 || !dest) return;
    int32_t i = 0;
    if (source) {
        for (; i < size - 1 && source[i]; ++i) dest[i] = source[i];
    }
    for (; i < size; ++i) dest[i] = '\0';
}

int32_t FAXCDECL SPRINTF(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int32_t n = VSPRINTF(buffer, format, args);
    va_end(args);
    return n;
}

int32_t FAXAPI VSPRINTF(char* buffer, const char* format, va_list args) {
    return static_cast<int32_t>(FormatUnboundedV(buffer, format, args));
}

}  // extern "C"
