#include "comm_modes.h"

#include "string_ids.h"

int RecipientCommModes[kCommModeSlots] = {IDS_COMM_MODE_G3, IDS_COMM_MODE_F4800, IDS_COMM_MODE_G4, kCommModeListEnd};
const int EntryCommModes[kCommModeSlots] = {IDS_COMM_MODE_G3, IDS_COMM_MODE_F4800, IDS_COMM_MODE_G4, kCommModeListEnd};

void SetRecipientCommModes(bool g4Available) {
    RecipientCommModes[2] = g4Available ? IDS_COMM_MODE_G4 : kCommModeListEnd;
}
