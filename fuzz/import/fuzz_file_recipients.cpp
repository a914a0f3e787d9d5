// Our command line's reading of a contact or speed-dial file, in pieces of
// a few bytes so that every character, quoted line break and kept text
// straddles a piece end somewhere, and handed between the reading's two
// threads a few recipients at a time: recipients have a cleaned fax number,
// fit their fields, are not repeated, and come out the same whatever the
// size of the pieces and whether the encoding is told before the first
// line or at the first letter that tells it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "file_recipients.h"
#include "import_codes.h"

namespace {

struct Collect : RecipientSink {
    std::vector<std::string> got;
    bool encodingFirst = true;
    bool EncodingAtBegin() const override { return encodingFirst; }
    bool Take(const FaxRecipient& r, const char* key) override {
        if (!std::memchr(r.name, '\0', sizeof r.name) || !std::memchr(r.faxNumber, '\0', sizeof r.faxNumber))
            __builtin_trap();
        if (r.faxNumber[0] == '\0') __builtin_trap();
        for (const char* p = r.faxNumber; *p; ++p) {
            unsigned char c = static_cast<unsigned char>(*p);
            if (c <= ' ' || c >= 127 || c == ',' || (c >= 'a' && c <= 'z')) __builtin_trap();
        }
        got.push_back(std::string(r.name) + "\n" + r.faxNumber + "\n" + key);
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_file_recipients_" + std::to_string(getpid()) + ".csv";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    // Small pieces, the encoding told at the first letter; against large
    // pieces, the encoding told first.
    Collect small, large;
    small.encodingFirst = false;
    FileReading a, b;
    int rcSmall = ReadFileRecipients(path.c_str(), ColumnNames{}, a, small, 8 + (size ? data[0] % 8 : 0),
                                     1 + (size ? data[0] / 8 % 4 : 0));
    int rcLarge = ReadFileRecipients(path.c_str(), ColumnNames{}, b, large);
    if (rcSmall != rcLarge || small.got != large.got || a.lostNames != b.lostNames ||
        a.duplicates != b.duplicates || a.rejected.size() != b.rejected.size() || a.encoding != b.encoding)
        __builtin_trap();
    if (rcSmall == 0 && !a.speedDial) {
        for (size_t i = 0; i < small.got.size(); ++i)
            for (size_t j = i + 1; j < small.got.size(); ++j)
                if (small.got[i] == small.got[j]) __builtin_trap();
    }
    return 0;
}
