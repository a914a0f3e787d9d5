#pragma once
// The recipient hand-off between faxui and the import program: the file
// RecipientImportFile in its two layouts, its path, the command line and
// the completion commands. One reader and one writer serve both sides.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fax_settings.h"

// Completion commands posted to the starting dialog.
constexpr int kImportDoneNames = 1022;  // 62-byte name and number records
constexpr int kImportDoneFull = 1028;   // whole FaxRecipient records

constexpr size_t kHandoffPathMax = 272;     // characters, without terminator
constexpr size_t kImportCommandMax = 273;   // bytes, with terminator

// A 62-byte record: name and fax number.
struct HandoffNameRecord {
    char name[31];
    char faxNumber[31];
};
static_assert(sizeof(HandoffNameRecord) == 62, "HandoffNameRecord size");
static_assert(offsetof(HandoffNameRecord, faxNumber) == 31, "HandoffNameRecord.faxNumber");

// The compact record of the second import build: FaxRecipient without
// speedDial, with 16-bit counts.
#pragma pack(push, 1)
struct FaxRecipientCompact {
    char name[31];
    char faxNumber[31];
    uint16_t commMode;
    char commOption;
    char mailboxId[4];
    char mailboxPassword[5];
    char relayStationId[3];
    char relayPrint;
    uint16_t relayDestCount;
    char relayDests[60];
    char reserved[2];
    char fCode[21];
    char fCodePassword[21];
};
#pragma pack(pop)
static_assert(sizeof(FaxRecipientCompact) == 184, "FaxRecipientCompact size");
static_assert(offsetof(FaxRecipientCompact, faxNumber) == 31, "compact faxNumber");
static_assert(offsetof(FaxRecipientCompact, commMode) == 62, "compact commMode");
static_assert(offsetof(FaxRecipientCompact, commOption) == 64, "compact commOption");
static_assert(offsetof(FaxRecipientCompact, mailboxId) == 65, "compact mailboxId");
static_assert(offsetof(FaxRecipientCompact, mailboxPassword) == 69, "compact mailboxPassword");
static_assert(offsetof(FaxRecipientCompact, relayStationId) == 74, "compact relayStationId");
static_assert(offsetof(FaxRecipientCompact, relayPrint) == 77, "compact relayPrint");
static_assert(offsetof(FaxRecipientCompact, relayDestCount) == 78, "compact relayDestCount");
static_assert(offsetof(FaxRecipientCompact, relayDests) == 80, "compact relayDests");
static_assert(offsetof(FaxRecipientCompact, reserved) == 140, "compact reserved");
static_assert(offsetof(FaxRecipientCompact, fCode) == 142, "compact fCode");
static_assert(offsetof(FaxRecipientCompact, fCodePassword) == 163, "compact fCodePassword");

enum class HandoffLayout {
    Standard,  // int32 count; 62- or 236-byte records
    Compact,   // uint16 count; 62- or 184-byte records
};

// Size in bytes of one record of the layout for a completion command.
size_t HandoffRecordSize(HandoffLayout layout, int command);
size_t HandoffCountSize(HandoffLayout layout);

// Byte images of records (little-endian, as in the file).
void EncodeHandoffRecord(HandoffLayout layout, int command, const FaxRecipient& r, uint8_t* out);
// Lays a record from the file over a copy of DefaultRecipient. Text fields
// are terminated inside their bounds and counts are clamped.
FaxRecipient DecodeHandoffRecord(HandoffLayout layout, int command, const uint8_t* rec);

// Makes a FaxRecipient safe to use after it came from outside: every text
// field terminated, the relay count clamped.
void SanitizeRecipient(FaxRecipient& r);

// The hand-off root for a Windows directory: its drive root when it starts
// with a drive letter ("C:\"), otherwise the directory itself with a
// trailing separator, or its nearest parent folder above any blank in it;
// "C:\" when there is no directory. Never holds a blank.
std::string HandoffRootFor(const char* windowsDir);

// root + "DB" + hhmmss + ".TMP"; with a non-zero attempt a letter A-Z is
// added after the time, for when the plain name is taken.
std::string HandoffPath(const std::string& root, int hour, int minute, int second, int attempt);

// "<program> <hand-off path>"; empty when it does not fit in 273 bytes,
// either part holds nothing, or the hand-off path holds a blank.
std::string ImportCommandLine(const std::string& program, const std::string& handoffPath);

// The hand-off path from the import program's arguments: up to the first
// blank, at most 272 characters.
std::string HandoffPathFromArguments(const char* args);
