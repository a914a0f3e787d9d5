#pragma once
// The module's own formatter. The exported VSPRINTF has no bound (its
// callers size their buffers); everything inside the module formats through
// the bounded form so no settings image can overrun a buffer.

#include <cstdarg>
#include <cstddef>

// Formats into buffer, writing at most capacity-1 characters and always a
// terminating NUL (nothing at all when capacity is 0). Returns the number
// of characters written before that NUL.
size_t FormatBoundedV(char* buffer, size_t capacity, const char* format, va_list args);
size_t FormatBounded(char* buffer, size_t capacity, const char* format, ...);

// Same conversions with no bound, for the exported VSPRINTF.
size_t FormatUnboundedV(char* buffer, const char* format, va_list args);
