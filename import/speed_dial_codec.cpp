#include "speed_dial_codec.h"

#include <cstring>

#include "csv_fields.h"

std::string Rot13(const std::string& text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>('A' + (c - 'A' + 13) % 26);
        else if (c >= 'a' && c <= 'z') c = static_cast<char>('a' + (c - 'a' + 13) % 26);
    }
    return out;
}

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

unsigned SextetOf(char c) {
    const char* p = c ? std::strchr(kAlphabet, c) : nullptr;
    return p ? static_cast<unsigned>(p - kAlphabet) : 0;
}

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

std::string Base64Decode(const std::string& text) {
    if (text.size() % 4 != 0) return "";
    std::string out;
    unsigned bits = 0;
    int held = 0;
    for (char c : text) {
        if (c == '=') break;
        bits = (bits << 6) | SextetOf(c);
        held += 6;
        if (held >= 8) {
            held -= 8;
            out.push_back(static_cast<char>((bits >> held) & 0xFF));
        }
    }
    return out.substr(0, std::strlen(out.c_str()));
}

std::string Base64Encode(const std::string& bytes) {
    std::string out;
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                     static_cast<unsigned char>(bytes[i + 2]);
        for (int s = 18; s >= 0; s -= 6) out.push_back(kAlphabet[(v >> s) & 63]);
    }
    size_t rest = bytes.size() - i;
    if (rest) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out.push_back(kAlphabet[(v >> 18) & 63]);
        out.push_back(kAlphabet[(v >> 12) & 63]);
        out.push_back(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

std::string DecodeSpeedDialText(const std::string& text) { return Base64Decode(Rot13(text)); }
std::string EncodeSpeedDialText(const std::string& plain) { return Rot13(Base64Encode(plain)); }

namespace {

// Puts one '/'-part of a relay text into code (3 bytes, no terminator
// needed by the record). Returns whether the code is accepted.
bool RelayCode(const std::string& part, char code[3]) {
    std::string c3 = part.size() >= 3 ? part.substr(0, 3) : std::string(3 - part.size(), '0') + part;
    std::memcpy(code, c3.data(), 3);
    size_t first = c3.find_first_not_of('0');
    if (first == std::string::npos) return true;
    std::string sig = c3.substr(first);
    if (sig[0] == '#') {
        std::string after = sig.substr(1);
        return AllDigits(after) && std::stoi(after) >= 1 && std::stoi(after) <= 9;
    }
    // A code must fit in two significant characters: three would have to
    // lose its last one, and the NUL left in its place would cut the
    // destination list when the fax number is written.
    if (sig.size() > 2) return false;
    if (sig[0] == '*') return sig.size() == 1 || sig[1] == '*';
    if (sig.size() == 2 && sig[1] == '*') return true;
    return AllDigits(sig) && std::stoi(sig) >= 1;
}

// "mailbox:password" style values: the part before the first ':' and
// whether there was a colon.
void SplitAtColon(const std::string& value, std::string& first, std::string& second, bool& colon) {
    size_t at = value.find(':');
    colon = at != std::string::npos;
    first = colon ? value.substr(0, at) : value;
    second = colon ? value.substr(at + 1) : std::string();
}

}  // namespace

bool DecodeRelay(FaxRecipient& r, const char* text) {
    CommSettings& c = r.comm;
    std::memset(c.relayStationId, 0, sizeof c.relayStationId);
    c.relayPrint = '0';
    c.relayDestCount = 0;
    std::memset(c.relayDests, 0, sizeof c.relayDests);
    std::string t = text ? text : "";
    if (t.empty()) return false;
    if (t[0] == 'P') {
        c.relayPrint = '1';
        t.erase(0, 1);
    }
    size_t slash = t.find('/');
    std::string station = t.substr(0, slash).substr(0, 2);
    if (AllDigits(station) && std::stoi(station) >= 1) CopyCut(c.relayStationId, 2, station.c_str());
    while (slash != std::string::npos && c.relayDestCount < kMaxRelayDests) {
        size_t next = t.find('/', slash + 1);
        std::string part = t.substr(slash + 1, next == std::string::npos ? std::string::npos : next - slash - 1);
        slash = next;
        if (part.empty()) continue;
        char code[3];
        if (!RelayCode(part, code)) continue;
        std::memcpy(c.relayDests + kRelayDestLen * c.relayDestCount, code, 3);
        ++c.relayDestCount;
    }
    return c.relayDestCount > 0 && c.relayStationId[0] != '\0';
}

bool DecodeSecureMailbox(FaxRecipient& r, const char* text) {
    CommSettings& c = r.comm;
    std::memset(c.mailboxId, 0, sizeof c.mailboxId);
    std::memset(c.mailboxPassword, 0, sizeof c.mailboxPassword);
    std::string value = DecodeSpeedDialText(text ? text : "");
    if (value.empty()) return false;
    std::string id, password;
    bool colon;
    SplitAtColon(value, id, password, colon);
    CopyCut(c.mailboxId, 3, id.c_str());
    bool passwordOk = password.empty() || password.size() >= 4;
    CopyCut(c.mailboxPassword, 4, password.c_str());
    return c.mailboxId[0] != '\0' && passwordOk;
}

void DecodeFCode(FaxRecipient& r, const char* text) {
    CommSettings& c = r.comm;
    std::memset(c.fCode, 0, sizeof c.fCode);
    std::memset(c.fCodePassword, 0, sizeof c.fCodePassword);
    std::string value = DecodeSpeedDialText(text ? text : "");
    std::string code, password;
    bool colon;
    SplitAtColon(value, code, password, colon);
    CopyCut(c.fCode, 20, code.c_str());
    CopyCut(c.fCodePassword, 20, password.c_str());
}

void CompleteSpeedDialRecord(FaxRecipient& r, const char* relayText, const char* secureText,
                             const char* fCodeText) {
    bool relay = DecodeRelay(r, relayText);
    bool secure = DecodeSecureMailbox(r, secureText);
    if (relay == secure) r.comm.commOption = kCommOptionNone;
    else r.comm.commOption = relay ? kCommOptionRelay : kCommOptionMailbox;
    DecodeFCode(r, fCodeText);
}
