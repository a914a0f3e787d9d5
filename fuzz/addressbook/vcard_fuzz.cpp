// The vCard reader on any bytes. Beyond memory safety: every text handed
// on is valid UTF-8 (the library converts it to the ANSI code page), and
// no more cards come out, whole or skipped, than the text begins.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vcard.h"
#include "vcard_text.h"

static size_t CountBegins(const std::string& text) {
    std::string upper = vcard::Upper(text);
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
