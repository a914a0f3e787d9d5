// The speed-dial export and its decoders: records complete inside their
// fields, relay codes never holding a NUL, counts within bounds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "speed_dial_codec.h"
#include "speed_dial_reader.h"
#include "text_image.h"

namespace {

void CheckField(const char* field, size_t size) {
    if (std::memchr(field, '\0', size) == nullptr) __builtin_trap();
}

void CheckRecord(const FaxRecipient& r) {
    CheckField(r.name, sizeof r.name);
    CheckField(r.faxNumber, sizeof r.faxNumber);
    CheckField(r.comm.mailboxId, sizeof r.comm.mailboxId);
    CheckField(r.comm.mailboxPassword, sizeof r.comm.mailboxPassword);
    CheckField(r.comm.relayStationId, sizeof r.comm.relayStationId);
    CheckField(r.comm.fCode, sizeof r.comm.fCode);
    CheckField(r.comm.fCodePassword, sizeof r.comm.fCodePassword);
    if (r.comm.relayDestCount < 0 || r.comm.relayDestCount > kMaxRelayDests) __builtin_trap();
    if (std::memchr(r.comm.relayDests, '\0', 3 * r.comm.relayDestCount)) __builtin_trap();
    for (size_t i = 3 * r.comm.relayDestCount; i < sizeof r.comm.relayDests; ++i) {
        if (r.comm.relayDests[i] != 0) __builtin_trap();
    }
    char o = r.comm.commOption;
    if (o != '0' && o != '1' && o != '4') __builtin_trap();
    if (r.comm.relayPrint != '0' && r.comm.relayPrint != '1') __builtin_trap();
    if (r.comm.speedDial != 0 || r.reserved[0] || r.reserved[1]) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The decoders straight on the input too.
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, std::strlen(text.c_str()));
    FaxRecipient direct = DefaultRecipient;
    CompleteSpeedDialRecord(direct, text.c_str(), text.c_str(), text.c_str());
    CheckRecord(direct);
    std::string plain = DecodeSpeedDialText(text);
    if (!plain.empty() && DecodeSpeedDialText(EncodeSpeedDialText(plain)) != plain) __builtin_trap();

    TextImage image;
    if (LoadTextImage(data, size, image) != 0) return 0;
    SpeedDialCandidates c;
    if (ReadSpeedDialLines(image, c) != 0) return 0;
    size_t n = c.Count();
    if (c.speedDialKeys.size() != n || c.secureTexts.size() != n || c.relayTexts.size() != n ||
        c.fCodeTexts.size() != n || c.commModeTexts.size() != n)
        __builtin_trap();
    for (size_t i = 0; i < n; ++i) {
        if (c.speedDialKeys[i].empty()) __builtin_trap();
        CheckRecord(c.Completed(i));
    }
    return 0;
}
