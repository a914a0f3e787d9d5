#include "comm_modes.h"

namespace {
constexpr int kModeG3 = 1050;
constexpr int kModeF4800 = 1051;
constexpr int kModeG4 = 1052;
}  // namespace

int RecipientCommModes[kCommModeSlots] = {kModeG3, kModeF4800, kModeG4, kCommModeListEnd};
const int EntryCommModes[kCommModeSlots] = {kModeG3, kModeF4800, kModeG4, kCommModeListEnd};

void SetRecipientCommModes(bool g4Available) {
    RecipientCommModes[2] = g4Available ? kModeG4 : kCommModeListEnd;
}
