#include "fax_flow.h"

#include <cstring>

#include "dialog_help.h"
#include "fax_prompt.h"
#include "fax_prompt_ids.h"
#include "recipient_dialog.h"
#include "recipient_dialog_ids.h"
#include "shared_state.h"

int RunFaxFlow(HWND owner, const HostSubBlock& host, FaxSS& ss) {
    SetRecipientHostBlock(&host);
    INT_PTR listed = DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_RECIPIENTS), owner, RecipientDlgProc, 0);
    // The block lives in the caller's copy of the image, which ends with the call.
    SetRecipientHostBlock(nullptr);
    if (listed != 1) return 0;
    if (DialogBoxParamW(DialogModule(), MAKEINTRESOURCEW(IDD_FAX_PROMPT), owner, FaxPromptDlgProc, 0) != 1) return 0;
    std::memcpy(&ss.recipientCount, &WorkingRecipients, sizeof WorkingRecipients);
    ss.delaySend = PromptDelay.on;
    ss.delayHour = PromptDelay.hour;
    ss.delayMinute = PromptDelay.minute;
    return 1;
}
