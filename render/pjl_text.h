#pragma once
// Text from a settings image on its way into a PJL line. The image may be
// damaged or foreign, so a field is read only within its own size, and the
// bytes that could end the line early or open a new command (a double
// quote, CR, LF, any other control byte, DEL) are dropped. Inside a FAXNUM
// parameter the braces that delimit its fields are dropped as well, so a
// number cannot forge a field of its own.

#include <cstddef>

enum class PjlContext {
    QuotedValue,  // between the quotes of a SET / JOBINFO value
    FaxNumField,  // inside a FAXNUM parameter
};

bool IsSafePjlByte(unsigned char c, PjlContext context);

// Copies at most min(fieldSize, capacity-1) safe bytes of field (stopping at
// its NUL) into dest and terminates it. Returns the bytes stored.
size_t CopyPjlText(char* dest, size_t capacity, const char* field, size_t fieldSize,
                   PjlContext context);
