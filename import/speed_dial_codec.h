#pragma once
// The printer's speed-dial export keeps secure-fax and F-code values as
// base64 (RFC 4648, '=' padding) rotated by ROT13, and relay broadcasts as
// "[P]station/dest/dest...". These turn them into CommSettings fields.

#include <string>

#include "fax_settings.h"

// Letters moved 13 places within their case; other bytes unchanged.
std::string Rot13(const std::string& text);

// Standard alphabet; a length that is not a multiple of 4 gives "";
// characters outside the alphabet count as 0; decoding stops at the first
// '='. The value ends at its first NUL, as the texts it holds do.
std::string Base64Decode(const std::string& text);
std::string Base64Encode(const std::string& bytes);

// ROT13 then base64, and back.
std::string DecodeSpeedDialText(const std::string& text);
std::string EncodeSpeedDialText(const std::string& plain);

// Each resets its own fields of r first. The two with a result return
// whether the decoded block is usable.
bool DecodeRelay(FaxRecipient& r, const char* text);
bool DecodeSecureMailbox(FaxRecipient& r, const char* text);
void DecodeFCode(FaxRecipient& r, const char* text);

// Decodes the three texts into r and chooses commOption from which of
// relay and mailbox are usable.
void CompleteSpeedDialRecord(FaxRecipient& r, const char* relayText, const char* secureText,
                             const char* fCodeText);
