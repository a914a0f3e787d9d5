#pragma once
// The fax module's share of the host's job settings. Both add-ons and the
// host address these blocks by byte offset, so every layout is fixed.

#include <cstddef>
#include <cstdint>

constexpr int kMaxRecipients = 50;
constexpr int kMaxRelayDests = 20;
constexpr int kRelayDestLen = 3;
constexpr int kMaxResolution = 3;  // ULTRAFINE
constexpr int kMaxTxReport = 2;    // OFF
constexpr int kJobTypeSecure = 1;
constexpr int kJobTypeProof = 2;
constexpr int kJobTypeFax = 3;

struct FaxDS {
    int32_t jobMode;
    int32_t resolution;
    int32_t txReport;
    int32_t txHeader;
    char clientId[101];
    char printUserId[25];
    char printPassword[5];
    char printDocName[25];
};
static_assert(sizeof(FaxDS) == 172, "FaxDS size");
static_assert(offsetof(FaxDS, jobMode) == 0, "FaxDS.jobMode");
static_assert(offsetof(FaxDS, resolution) == 4, "FaxDS.resolution");
static_assert(offsetof(FaxDS, txReport) == 8, "FaxDS.txReport");
static_assert(offsetof(FaxDS, txHeader) == 12, "FaxDS.txHeader");
static_assert(offsetof(FaxDS, clientId) == 16, "FaxDS.clientId");
static_assert(offsetof(FaxDS, printUserId) == 117, "FaxDS.printUserId");
static_assert(offsetof(FaxDS, printPassword) == 142, "FaxDS.printPassword");
static_assert(offsetof(FaxDS, printDocName) == 147, "FaxDS.printDocName");

// commOption values
constexpr char kCommOptionNone = '0';
constexpr char kCommOptionRelay = '1';
constexpr char kCommOptionMailbox = '4';

// A recipient's communication settings: bytes 64-235 of FaxRecipient.
struct CommSettings {
    int32_t commMode;          // 0 G3, 1 F4800, 2 G4
    char commOption;           // '0'/NUL none, '1' relay, '4' mailbox
    char mailboxId[4];
    char mailboxPassword[5];
    char reserved1[2];
    char relayStationId[3];
    char relayPrint;           // '1' print at relay station, '0' not
    int32_t relayDestCount;    // 0-20
    char relayDests[100];      // 3-byte codes back to back, unterminated
    int32_t speedDial;         // 1 = faxNumber is a speed-dial number
    char fCode[21];
    char fCodePassword[21];
    char reserved2[2];
};
static_assert(sizeof(CommSettings) == 172, "CommSettings size");

struct FaxRecipient {
    char name[31];
    char faxNumber[31];
    char reserved[2];
    CommSettings comm;
};
static_assert(sizeof(FaxRecipient) == 236, "FaxRecipient size");
static_assert(offsetof(FaxRecipient, name) == 0, "FaxRecipient.name");
static_assert(offsetof(FaxRecipient, faxNumber) == 31, "FaxRecipient.faxNumber");
static_assert(offsetof(FaxRecipient, comm) == 64, "FaxRecipient.comm");
static_assert(offsetof(FaxRecipient, comm.commMode) == 64, "commMode");
static_assert(offsetof(FaxRecipient, comm.commOption) == 68, "commOption");
static_assert(offsetof(FaxRecipient, comm.mailboxId) == 69, "mailboxId");
static_assert(offsetof(FaxRecipient, comm.mailboxPassword) == 73, "mailboxPassword");
static_assert(offsetof(FaxRecipient, comm.relayStationId) == 80, "relayStationId");
static_assert(offsetof(FaxRecipient, comm.relayPrint) == 83, "relayPrint");
static_assert(offsetof(FaxRecipient, comm.relayDestCount) == 84, "relayDestCount");
static_assert(offsetof(FaxRecipient, comm.relayDests) == 88, "relayDests");
static_assert(offsetof(FaxRecipient, comm.speedDial) == 188, "speedDial");
static_assert(offsetof(FaxRecipient, comm.fCode) == 192, "fCode");
static_assert(offsetof(FaxRecipient, comm.fCodePassword) == 213, "fCodePassword");

struct FaxSS {
    int32_t delaySend;
    int32_t delayHour;
    int32_t delayMinute;
    int32_t recipientCount;
    FaxRecipient recipients[kMaxRecipients];
};
static_assert(sizeof(FaxSS) == 11816, "FaxSS size");
static_assert(offsetof(FaxSS, delaySend) == 0, "FaxSS.delaySend");
static_assert(offsetof(FaxSS, delayHour) == 4, "FaxSS.delayHour");
static_assert(offsetof(FaxSS, delayMinute) == 8, "FaxSS.delayMinute");
static_assert(offsetof(FaxSS, recipientCount) == 12, "FaxSS.recipientCount");
static_assert(offsetof(FaxSS, recipients) == 16, "FaxSS.recipients");

struct FaxJobSettings {
    FaxDS* ds;
    FaxSS* ss;
};

extern const FaxDS DefaultFaxDS;
extern const FaxSS DefaultFaxSS;
extern const FaxRecipient DefaultRecipient;

// Stored counts from an image that may be damaged, clamped before they index
// anything.
inline int ClampedRecipientCount(const FaxSS& ss) {
    int n = ss.recipientCount;
    return n < 0 ? 0 : (n > kMaxRecipients ? kMaxRecipients : n);
}
inline int ClampedRelayDestCount(const CommSettings& c) {
    int n = c.relayDestCount;
    return n < 0 ? 0 : (n > kMaxRelayDests ? kMaxRelayDests : n);
}
