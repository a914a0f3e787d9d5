#pragma once
// The communication modes the settings dialog offers: string ids ended by
// -1. The recipient list opens the dialog with RecipientCommModes, which
// it narrows when the host does not allow G4; every other opener uses
// EntryCommModes.

constexpr int kCommModeListEnd = -1;
constexpr int kCommModeSlots = 4;

extern int RecipientCommModes[kCommModeSlots];
extern const int EntryCommModes[kCommModeSlots];

// Offers G4 in RecipientCommModes or ends the list before it.
void SetRecipientCommModes(bool g4Available);
