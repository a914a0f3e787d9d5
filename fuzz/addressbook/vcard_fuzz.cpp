// The vCard reader on any bytes. Beyond memory safety: every text handed
// on is valid UTF-8 (the library converts it to the ANSI code page), and
// no more cards come out, whole or skipped, than the text begins.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vcard.h"
#include "vcard_text.h"

// The text with every join the reader may make already made: a line break
// followed by a blank (folding) and one after '=' (a quoted-printable soft
// break) removed. Joining can only add markers, so counting here bounds
// what the reader can find.
static std::string Joined(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '\r' && text[i] != '\n') { out += text[i++]; continue; }
        // A line end is LF, or CRs with or without an LF after them.
        while (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
        if (i < text.size() && (text[i] == ' ' || text[i] == '\t')) { ++i; continue; }
        if (!out.empty() && out.back() == '=') { out.pop_back(); continue; }
        out += '\n';
    }
    return out;
}

static size_t CountBegins(const std::string& text) {
    std::string upper = vcard::Upper(Joined(text));
    size_t n = 0;
    for (size_t at = upper.find("BEGIN:VCARD"); at != std::string::npos; at = upper.find("BEGIN:VCARD", at + 1)) ++n;
    return n;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vcard::Book book;
    vcard::ReadResult r = vcard::ParseBook(reinterpret_cast<const char*>(data), size, book);
    if (r != vcard::ReadResult::Ok) {
        if (!book.cards.empty()) std::abort();
        return 0;
    }
    if (book.cards.size() + book.skippedCards > CountBegins(std::string(reinterpret_cast<const char*>(data), size)))
        std::abort();
    for (const vcard::Card& c : book.cards) {
        for (const std::string* s : {&c.displayName, &c.primaryFax, &c.businessFax, &c.homeFax, &c.uid})
            if (!vcard::IsValidUtf8(*s)) std::abort();
    }
    return 0;
}
