#pragma once
// Texts the print-time hook derives for a job: the accounting identity
// (user name, a backslash, computer name) and the two short displays the
// document monitor shows for a fax job.

#include <windows.h>

#include <string>

#include "fax_settings.h"

constexpr size_t kAccountUserSize = 32;  // HostSubBlock.accountUser
constexpr size_t kDisplaySize = 32;      // 31 characters and a NUL

// Builds the identity into 'out' from the names the system gave (empty when
// a call failed or returned nothing).
void BuildAccountUser(const std::u16string& user, const std::u16string& computer,
                      char (&out)[kAccountUserSize]);
// The same with the logged-on user's and this computer's names.
void FillAccountUser(char (&out)[kAccountUserSize]);

// The first recipient's number, keypad-decoded, with " ..." when more follow.
void BuildNumberDisplay(const FaxRecipient& first, int recipientCount, char (&out)[kDisplaySize]);
// The first recipient's name, with " and N others" when more follow.
void BuildRecipientDisplay(const FaxRecipient& first, int recipientCount, char (&out)[kDisplaySize]);

// Wide text in the system code page, cut to 'size' - 1 bytes, terminated.
void ToAnsiField(const std::u16string& text, char* out, size_t size);
