#include "recipient_list_text.h"

#include <iterator>

#include "text_convert.h"

RecipientText RecipientListText(const WCHAR* name, const WCHAR* number, bool speedDial) {
    // Names and numbers come from 31-character fields, so the text fits.
    WCHAR text[128] = {0};
    if (speedDial)
        wsprintfW(text, WIDE("%s %c%c%s%c%c"), name, '<', '\'', number, '\'', '>');
    else
        wsprintfW(text, WIDE("%s %c%s%c"), name, '<', number, '>');
    return RecipientText(text);
}

RecipientText RecipientListText(const FaxRecipient& r) {
    WCHAR name[32] = {0};
    WCHAR number[32] = {0};
    AnsiToWideField(r.name, sizeof r.name, name, std::size(name));
    AnsiToWideField(r.faxNumber, sizeof r.faxNumber, number, std::size(number));
    return RecipientListText(name, number, r.comm.speedDial == 1);
}

void FillRecipientList(HWND dialog, int listId, const RecipientBlock& block) {
    SendDlgItemMessageW(dialog, listId, LB_RESETCONTENT, 0, 0);
    int count = block.recipientCount < 0 ? 0 : (block.recipientCount > kMaxRecipients ? kMaxRecipients : block.recipientCount);
    for (int i = 0; i < count; ++i) {
        RecipientText text = RecipientListText(block.recipients[i]);
        SendDlgItemMessageW(dialog, listId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}
