#include "handoff.h"

#include <cstdio>
#include <cstring>

size_t HandoffCountSize(HandoffLayout layout) { return layout == HandoffLayout::Compact ? 2 : 4; }

size_t HandoffRecordSize(HandoffLayout layout, int command) {
    if (command != kImportDoneFull) return sizeof(HandoffNameRecord);
    return layout == HandoffLayout::Compact ? sizeof(FaxRecipientCompact) : sizeof(FaxRecipient);
}

namespace {

void PutLE16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
uint16_t GetLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

template <size_t N>
void Terminate(char (&field)[N]) {
    field[N - 1] = 0;
}

}  // namespace

void SanitizeRecipient(FaxRecipient& r) {
    Terminate(r.name);
    Terminate(r.faxNumber);
    CommSettings& c = r.comm;
    Terminate(c.mailboxId);
    Terminate(c.mailboxPassword);
    Terminate(c.relayStationId);
    Terminate(c.fCode);
    Terminate(c.fCodePassword);
    c.relayDestCount = ClampedRelayDestCount(c);
}

void EncodeHandoffRecord(HandoffLayout layout, int command, const FaxRecipient& r, uint8_t* out) {
    if (command != kImportDoneFull) {
        HandoffNameRecord rec;
        std::memcpy(rec.name, r.name, sizeof rec.name);
        std::memcpy(rec.faxNumber, r.faxNumber, sizeof rec.faxNumber);
        std::memcpy(out, &rec, sizeof rec);
        return;
    }
    if (layout == HandoffLayout::Standard) {
        // The record is laid out as in memory; the platforms are little-endian.
        std::memcpy(out, &r, sizeof r);
        return;
    }
    const CommSettings& c = r.comm;
    FaxRecipientCompact k;
    std::memset(&k, 0, sizeof k);
    std::memcpy(k.name, r.name, sizeof k.name);
    std::memcpy(k.faxNumber, r.faxNumber, sizeof k.faxNumber);
    k.commOption = c.commOption;
    std::memcpy(k.mailboxId, c.mailboxId, sizeof k.mailboxId);
    std::memcpy(k.mailboxPassword, c.mailboxPassword, sizeof k.mailboxPassword);
    std::memcpy(k.relayStationId, c.relayStationId, sizeof k.relayStationId);
    k.relayPrint = c.relayPrint;
    std::memcpy(k.relayDests, c.relayDests, sizeof k.relayDests);
    std::memcpy(k.fCode, c.fCode, sizeof k.fCode);
    std::memcpy(k.fCodePassword, c.fCodePassword, sizeof k.fCodePassword);
    std::memcpy(out, &k, sizeof k);
    uint8_t* base = out;
    PutLE16(base + offsetof(FaxRecipientCompact, commMode), static_cast<uint16_t>(c.commMode));
    PutLE16(base + offsetof(FaxRecipientCompact, relayDestCount), static_cast<uint16_t>(ClampedRelayDestCount(c)));
}

FaxRecipient DecodeHandoffRecord(HandoffLayout layout, int command, const uint8_t* rec) {
    FaxRecipient r = DefaultRecipient;
    if (command != kImportDoneFull) {
        std::memcpy(&r, rec, sizeof(HandoffNameRecord));
    } else if (layout == HandoffLayout::Standard) {
        std::memcpy(&r, rec, sizeof r);
    } else {
        FaxRecipientCompact k;
        std::memcpy(&k, rec, sizeof k);
        CommSettings& c = r.comm;
        std::memcpy(r.name, k.name, sizeof k.name);
        std::memcpy(r.faxNumber, k.faxNumber, sizeof k.faxNumber);
        c.commMode = GetLE16(rec + offsetof(FaxRecipientCompact, commMode));
        c.commOption = k.commOption;
        std::memcpy(c.mailboxId, k.mailboxId, sizeof k.mailboxId);
        std::memcpy(c.mailboxPassword, k.mailboxPassword, sizeof k.mailboxPassword);
        std::memcpy(c.relayStationId, k.relayStationId, sizeof k.relayStationId);
        c.relayPrint = k.relayPrint;
        c.relayDestCount = GetLE16(rec + offsetof(FaxRecipientCompact, relayDestCount));
        std::memcpy(c.relayDests, k.relayDests, sizeof k.relayDests);
        std::memcpy(c.fCode, k.fCode, sizeof k.fCode);
        std::memcpy(c.fCodePassword, k.fCodePassword, sizeof k.fCodePassword);
    }
    SanitizeRecipient(r);
    return r;
}

std::string HandoffRootFor(const char* windowsDir) {
    if (!windowsDir || !windowsDir[0]) return "C:\\";
    size_t n = std::strlen(windowsDir);
    char c = windowsDir[0];
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (n >= 3 && letter && windowsDir[1] == ':' && windowsDir[2] == '\\') return std::string(windowsDir, 3);
    std::string root(windowsDir, n);
    char last = root.back();
    if (last != '\\' && last != '/') root += (root.find('\\') != std::string::npos ? '\\' : '/');
    // The import program takes its argument up to the first blank, so the
    // root climbs to the nearest folder above any blank.
    size_t blank = root.find(' ');
    if (blank == std::string::npos) return root;
    size_t sep = root.find_last_of("\\/", blank);
    return sep == std::string::npos ? std::string("C:\\") : root.substr(0, sep + 1);
}

std::string HandoffPath(const std::string& root, int hour, int minute, int second, int attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "DB%02d%02d%02d", hour % 100, minute % 100, second % 100);
    std::string path = root + name;
    if (attempt > 0 && attempt <= 26) path += static_cast<char>('A' + attempt - 1);
    path += ".TMP";
    return path;
}

std::string ImportCommandLine(const std::string& program, const std::string& handoffPath) {
    if (program.empty() || handoffPath.empty()) return std::string();
    if (handoffPath.find(' ') != std::string::npos) return std::string();  // it would be cut there
    std::string line = program + " " + handoffPath;
    if (line.size() + 1 > kImportCommandMax) return std::string();
    return line;
}

std::string HandoffPathFromArguments(const char* args) {
    if (!args) return std::string();
    size_t n = 0;
    while (args[n] && args[n] != ' ' && n < kHandoffPathMax) ++n;
    // A path cut by the bound is not the path that was meant.
    if (args[n] && args[n] != ' ') return std::string();
    return std::string(args, n);
}
