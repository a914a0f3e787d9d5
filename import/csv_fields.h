#pragma once
// Field splitting and text clean-up of comma-separated lines. Everything
// works in place on ANSI text; nothing is copied per field.

#include <cstddef>

constexpr int kMaxCsvFields = 1025;  // the last one holds the rest of the line
constexpr int kCsvUnclosedQuote = -6;

// fields[0] points at a NUL-terminated line. Splits it in place (commas and
// closing quotes become NULs) and fills fields[0..n-1]. Returns n, 0 for an
// empty line, or kCsvUnclosedQuote. fields has room for kMaxCsvFields.
int SplitFields(char** fields);

// Removes leading and trailing blanks (code 32 only).
void TrimBlanks(char* text);

// '[' -> '(' and ']' -> ')'; a byte of 128 or more starts a two-byte
// character whose second byte is left alone.
void BracketsToParentheses(char* text);

// Capitals for a-z, then drops every byte outside '!'-'+', '-'-'Z', '\',
// '^'-'z'. Returns the remaining length.
size_t CleanFaxNumber(char* text);

// Copies at most max bytes of text into a field of max + 1 bytes, always
// terminated; the rest of the field is zeroed.
void CopyCut(char* field, size_t max, const char* text);
