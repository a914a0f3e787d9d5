#pragma once
// The document-event hook: where a print job becomes a fax job. At the
// start of a document it keeps the names the job monitor reports; at the
// start of a page the host marks as due it fills in the accounting
// identity, reports the job to the monitor when asked, and for a fax job
// runs the fax flow and hands the recipients back to the host.

#include <windows.h>

#include <cstdint>

#include "addon.h"
#include "host_settings.h"

constexpr int32_t kDocEventCancelled = -1;

// The fax flow: recipient list, then confirmation. 1 = send ('ss' holds
// the recipients and the send time), 0 = cancelled. Both are this call's copies
// of the job's blocks; 'ss' goes back to the host after an accepted flow.
typedef int (*FaxFlowFn)(HWND owner, const HostSubBlock& sub, FaxSS& ss);

// 1 = go on, -1 = the fax job was cancelled, or its recipients could not be
// written into the job's settings, and the document was aborted.
int32_t HandleDocumentEvent(const HostDriverContext* host, HANDLE printer, HDC dc, int32_t event,
                            void* docInfoRef, FaxFlowFn faxFlow);
