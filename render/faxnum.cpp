#include "faxnum.h"

#include <cstring>

#include "exports.h"
#include "format.h"
#include "pjl_text.h"

namespace {

constexpr char kApostrophe = '\'';
constexpr int kMaxNumberChars = 30;

// Communication mode as the printer counts it: G3 0, F4800 2, G4 4. A value
// outside the three modes (damaged image) falls back to G3, the default.
int ModeCode(int32_t commMode) { return (commMode >= 0 && commMode <= 2) ? commMode * 2 : 0; }

// Relay destinations: '0' and the three characters of each counted code.
void RelayDestText(const CommSettings& comm, char* dest, size_t capacity) {
    size_t n = 0;
    int count = ClampedRelayDestCount(comm);
    for (int i = 0; i < count; ++i) {
        const char* code = comm.relayDests + i * kRelayDestLen;
        if (n + 1 < capacity) dest[n++] = '0';
        for (int k = 0; k < kRelayDestLen; ++k) {
            unsigned char c = static_cast<unsigned char>(code[k]);
            if (IsSafePjlByte(c, PjlContext::FaxNumField) && n + 1 < capacity)
                dest[n++] = static_cast<char>(c);
        }
    }
    dest[n] = '\0';
}

// A number field padded on the left with zeros to four digits.
size_t FourDigits(char* dest, size_t capacity, const char* field, size_t fieldSize) {
    size_t maxChars = fieldSize < 4 ? fieldSize : 4;
    size_t len = CopyPjlText(dest, capacity, field, maxChars, PjlContext::FaxNumField);
    if (len == 0) return 0;
    padzeroA(dest, static_cast<int32_t>(len), 4);
    return std::strlen(dest);
}

void RelayField(const CommSettings& comm, char* field, size_t capacity) {
    char dests[100] = {};
    char station[8] = {};
    RelayDestText(comm, dests, sizeof dests);
    // The station field holds at most two digits and its NUL; read it within
    // those three bytes, never into the print flag that follows.
    size_t len = CopyPjlText(station, sizeof station, comm.relayStationId,
                             sizeof comm.relayStationId, PjlContext::FaxNumField);
    padzeroA(station, static_cast<int32_t>(len), 4);
    // Only '1' asks for a print at the relay station; anything else (NUL in
    // a damaged image would cut the line) is written as '0'.
    char print = comm.relayPrint == '1' ? '1' : '0';
    FormatBounded(field, capacity, "{%c%s%c%s}", kCommOptionRelay, station, print, dests);
}

void MailboxField(const CommSettings& comm, char* field, size_t capacity) {
    char box[16] = {};
    size_t len = FourDigits(box, sizeof box, comm.mailboxId, sizeof comm.mailboxId);
    if (len == 0) return;
    CopyPjlText(box + len, sizeof box - len, comm.mailboxPassword, 4, PjlContext::FaxNumField);
    FormatBounded(field, capacity, "{%c%s}", kCommOptionMailbox, box);
}

void TextField(const char* format, const char* text, size_t textSize, char* field,
               size_t capacity) {
    char value[32] = {};
    if (CopyPjlText(value, sizeof value, text, textSize, PjlContext::FaxNumField) == 0) return;
    FormatBounded(field, capacity, format, value);
}

}  // namespace

char KeypadDigit(char c) {
    static const char kDigits[] = "22233344455566677778889999";
    return (c >= 'A' && c <= 'Z') ? kDigits[c - 'A'] : c;
}

size_t BuildFaxNumParam(const FaxRecipient& r, char* out, size_t capacity) {
    if (!out || capacity == 0) return 0;
    char relay[100] = {};
    char mailbox[20] = {};
    char fCode[32] = {};
    char fCodePassword[32] = {};
    char number[36] = {};
    char decoded[36] = {};

    const CommSettings& comm = r.comm;
    if (comm.commOption == kCommOptionRelay)
        RelayField(comm, relay, sizeof relay);
    else if (comm.commOption == kCommOptionMailbox)
        MailboxField(comm, mailbox, sizeof mailbox);
    TextField("{5%s}", comm.fCode, sizeof comm.fCode, fCode, sizeof fCode);
    TextField("{6%s}", comm.fCodePassword, sizeof comm.fCodePassword, fCodePassword,
              sizeof fCodePassword);

    CopyPjlText(number, sizeof number, r.faxNumber, kMaxNumberChars, PjlContext::FaxNumField);
    DecodeFaxNum(number, decoded);

    if (comm.speedDial == 1)
        return FormatBounded(out, capacity, "%c%s%c\n", kApostrophe, decoded, kApostrophe);
    return FormatBounded(out, capacity, "%s%s{20}{3%d}%s%s%s\n", decoded, relay,
                         ModeCode(comm.commMode), mailbox, fCode, fCodePassword);
}

extern "C" {

void FAXAPI DoFaxNumParam(const FaxRecipient* recipient, char* out) {
    if (!out) return;
    if (!recipient) {
        out[0] = '\0';
        return;
    }
    BuildFaxNumParam(*recipient, out, kFaxNumParamSize);
}

void FAXAPI DecodeFaxNum(const char* source, char* dest) {
    if (!source || !dest) return;
    size_t i = 0;
    for (; source[i]; ++i) dest[i] = KeypadDigit(source[i]);
    dest[i] = '\0';
}

void FAXAPI padzeroA(char* buffer, int32_t length, int32_t width) {
    if (!buffer || length < 0 || length >= width) return;
    int32_t shift = width - length;
    std::memmove(buffer + shift, buffer, static_cast<size_t>(length));
    std::memset(buffer, '0', static_cast<size_t>(shift));
    buffer[width] = '\0';
}

}  // extern "C"
