#pragma once
// The recipient list of a fax job (dialog 101). The opener sets the host
// block, runs the dialog with parameter 0 and, after OK, takes the list
// from WorkingRecipients.

#include "host_settings.h"
#include "windows.h"

INT_PTR CALLBACK RecipientDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The host block the dialog reads the speed-dial range and the G4 flag
// from; without one, the range is 1-200 and G4 is not offered.
void SetRecipientHostBlock(const HostSubBlock* host);

enum SpeedDialCheck { kSpeedDialOk = 0, kSpeedDialBadWildcard = 1, kSpeedDialOutOfRange = 2 };

// Checks a typed speed-dial number (at most 3 characters; 'number' holds
// at least 4) against the highest number allowed; a shorter number
// without '*' is padded with zeros in place.
SpeedDialCheck ValidateSpeedDial(WCHAR* number, int max);
