#pragma once
// Module-wide buffers through which the recipient, phonebook, entry and
// group dialogs hand records to one another. Only the thread that runs the
// modal dialogs touches them.

#include <cstddef>
#include <cstdint>

#include "fax_settings.h"
#include "entry_details.h"
#include "windows.h"

// A recipient list: exactly the layout of FaxSS from recipientCount on.
struct RecipientBlock {
    int32_t recipientCount;
    FaxRecipient recipients[kMaxRecipients];
};
static_assert(sizeof(RecipientBlock) == 11804, "RecipientBlock size");
static_assert(offsetof(RecipientBlock, recipients) == 4, "RecipientBlock.recipients");
static_assert(offsetof(FaxSS, recipients) - offsetof(FaxSS, recipientCount) == 4, "same layout as FaxSS");

// The group record built by the group dialog for the store; the caller frees it.
struct GroupRecordBlock {
    uint8_t* data;
    DWORD length;
};

extern RecipientBlock WorkingRecipients;
extern EntryDetails WorkingDetails[kMaxRecipients];
extern RecipientBlock ExchangeRecipients;
extern EntryDetails* ExchangeDetails;  // only while the phonebook dialog runs
extern FaxRecipient CurrentRecipient;
extern EntryDetails CurrentDetails;
extern WCHAR CurrentGroupName[31];
extern GroupRecordBlock GroupRecordBuffer;

// ExchangeDetails: 50 cleared records, or false when memory is short.
bool AllocateExchangeDetails();
void FreeExchangeDetails();

// GroupRecordBuffer: a zero-filled block of n bytes (length n), or false.
bool AllocateGroupRecord(size_t n);
void FreeGroupRecord();

// Removes slot i of a recipient block (and of its details when given):
// later slots move one place forward and the count drops by one. An index
// outside the valid slots changes nothing.
void RemoveRecipientSlot(RecipientBlock& block, EntryDetails* details, int i);
