#pragma once
// The fax flow at print time: the recipient list dialog, then the
// confirmation with an optional delayed-send time.

#include "fax_settings.h"
#include "host_settings.h"
#include "windows.h"

// Runs both dialogs, owned by 'owner'. The recipient list reads the
// speed-dial range and the G4 availability from 'host'. The caller has
// located both blocks inside the job's settings image and checked that
// they fit in it.
// 1: both confirmed; 'ss' holds the recipients and the send time.
// 0: either was cancelled; 'ss' is untouched.
int RunFaxFlow(HWND owner, const HostSubBlock& host, FaxSS& ss);
