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
// The same with another separator (our command line reads semicolon and
// tab separated files too).
int SplitFieldsBy(char** fields, char separator);
// The same for a line whose length is known.
int SplitFieldsBy(char** fields, char separator, size_t length);

// The separator of a header line: the one of comma, semicolon and tab that
// occurs most often outside quotes; comma on a tie or when none does.
char HeaderSeparator(const char* line);

// Whether a quoted field is still open at the end of a record read in
// pieces, by the quoting rules of SplitFields: a record whose quoted field
// holds a line break goes on in the next line.
class QuoteScan {
public:
    explicit QuoteScan(char separator) : separator_(separator) {}
    void Feed(const char* p, size_t n);
    bool Open() const { return state_ == kQuoted; }

private:
    enum State { kFieldStart, kPlain, kQuoted, kQuoteSeen, kAfterQuote, kRest };
    char separator_;
    State state_ = kFieldStart;
    int fields_ = 1;
};

// Removes leading and trailing blanks (code 32 only).
void TrimBlanks(char* text);
// The same, returning the length left.
size_t TrimBlanksLength(char* text);

// '[' -> '(' and ']' -> ')'; a byte of 128 or more starts a two-byte
// character whose second byte is left alone.
void BracketsToParentheses(char* text);
// The same for a text whose length is known.
void BracketsToParentheses(char* text, size_t length);

// Capitals for a-z, then drops every byte outside '!'-'+', '-'-'Z', '\',
// '^'-'z'. Returns the remaining length.
size_t CleanFaxNumber(char* text);

// Copies at most max bytes of text into a field of max + 1 bytes, always
// terminated; the rest of the field is zeroed.
void CopyCut(char* field, size_t max, const char* text);
