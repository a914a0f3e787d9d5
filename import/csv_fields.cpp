#include "csv_fields.h"

#include <cstring>

namespace {

// A quoted field starting at open (the opening quote). Writes the field's
// text in place, terminated, and returns the closing quote, or nullptr
// when there is none.
char* QuotedField(char* open) {
    char* text = open + 1;
    char* close = std::strchr(text, '"');
    if (!close) return nullptr;
    char* end = close;  // where the field's text ends so far
    while (close[1] == '"') {
        char* second = close + 1;
        char* next = std::strchr(second + 1, '"');
        if (!next) break;  // the field ends at the first quote of the pair
        size_t n = static_cast<size_t>(next - second);
        std::memmove(end, second, n);  // the second quote stays as the one quote
        end += n;
        close = next;
    }
    *end = '\0';
    return close;
}

char* UnquotedEnd(char* p) { return p + std::strcspn(p, ","); }

}  // namespace

int SplitFields(char** fields) {
    char* p = fields[0];
    if (*p == '\0') return 0;
    int n = 0;
    for (;;) {
        if (n == kMaxCsvFields - 1) {
            fields[n] = p;
            return n + 1;
        }
        char* comma;
        if (*p == '"') {
            char* close = QuotedField(p);
            if (!close) return kCsvUnclosedQuote;
            fields[n] = p + 1;
            comma = UnquotedEnd(close + 1);
        } else {
            fields[n] = p;
            comma = UnquotedEnd(p);
        }
        ++n;
        if (*comma != ',') return n;
        *comma = '\0';
        p = comma + 1;
    }
}

void TrimBlanks(char* text) {
    size_t len = std::strlen(text);
    while (len > 0 && text[len - 1] == ' ') --len;
    size_t lead = 0;
    while (lead < len && text[lead] == ' ') ++lead;
    std::memmove(text, text + lead, len - lead);
    text[len - lead] = '\0';
}

void BracketsToParentheses(char* text) {
    for (unsigned char* p = reinterpret_cast<unsigned char*>(text); *p; ++p) {
        if (*p == '[') {
            *p = '(';
        } else if (*p == ']') {
            *p = ')';
        } else if (*p >= 128) {
            if (p[1] == '\0') break;
            ++p;
        }
    }
}

namespace {

bool KeptInFaxNumber(unsigned char c) {
    return (c >= '!' && c <= '+') || (c >= '-' && c <= 'Z') || c == '\\' || (c >= '^' && c <= 'z');
}

}  // namespace

size_t CleanFaxNumber(char* text) {
    char* out = text;
    for (char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        if (KeptInFaxNumber(c)) *out++ = static_cast<char>(c);
    }
    *out = '\0';
    return static_cast<size_t>(out - text);
}

void CopyCut(char* field, size_t max, const char* text) {
    size_t n = 0;
    while (n < max && text[n]) {
        field[n] = text[n];
        ++n;
    }
    std::memset(field + n, 0, max + 1 - n);
}
