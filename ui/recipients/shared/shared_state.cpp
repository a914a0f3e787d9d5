#include "shared_state.h"

#include <cstring>
#include <new>

RecipientBlock WorkingRecipients;
EntryDetails WorkingDetails[kMaxRecipients];
RecipientBlock ExchangeRecipients;
EntryDetails* ExchangeDetails = nullptr;
FaxRecipient CurrentRecipient;
EntryDetails CurrentDetails;
WCHAR CurrentGroupName[31];
GroupRecordBlock GroupRecordBuffer = {nullptr, 0};

bool AllocateExchangeDetails() {
    FreeExchangeDetails();
    ExchangeDetails = new (std::nothrow) EntryDetails[kMaxRecipients]();
    return ExchangeDetails != nullptr;
}

void FreeExchangeDetails() {
    delete[] ExchangeDetails;
    ExchangeDetails = nullptr;
}

bool AllocateGroupRecord(size_t n) {
    FreeGroupRecord();
    if (n > 0xFFFFFFFFu) return false;
    GroupRecordBuffer.data = new (std::nothrow) uint8_t[n ? n : 1]();
    if (!GroupRecordBuffer.data) return false;
    GroupRecordBuffer.length = static_cast<DWORD>(n);
    return true;
}

void FreeGroupRecord() {
    delete[] GroupRecordBuffer.data;
    GroupRecordBuffer.data = nullptr;
    GroupRecordBuffer.length = 0;
}

void RemoveRecipientSlot(RecipientBlock& block, EntryDetails* details, int i) {
    int count = block.recipientCount;
    if (count > kMaxRecipients) count = kMaxRecipients;
    if (i < 0 || i >= count) return;
    int later = kMaxRecipients - 1 - i;
    std::memmove(&block.recipients[i], &block.recipients[i + 1], later * sizeof(FaxRecipient));
    if (details) std::memmove(&details[i], &details[i + 1], later * sizeof(EntryDetails));
    block.recipientCount = count - 1;
}
