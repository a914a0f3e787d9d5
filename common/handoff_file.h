#pragma once
// Reading and writing RecipientImportFile, choosing its path and posting the
// completion command.

#include <cstddef>
#include <string>

#include "handoff.h"
#include "windows.h"

enum class HandoffWrite {
    Written,
    Clash,   // something already had the name; nothing was written through it
    Failed,  // it could not be created or written; nothing is left behind
};

// Creates the file exclusively (never through an existing file or link),
// writes the count and the records, flushes and closes it.
HandoffWrite WriteRecipientImportFile(const char* path, HandoffLayout layout, int command,
                                      const FaxRecipient* recipients, size_t count);

// Reads the file for a completion command into out (at most maxCount
// records, each laid over DefaultRecipient), then closes and deletes it.
// Returns the number of records read, or -1 when the file cannot be
// opened (nothing was imported). A count larger than the records present
// or than maxCount is cut to what is there and fits.
int ReadRecipientImportFile(const char* path, HandoffLayout layout, int command, FaxRecipient* out, int maxCount);

// A hand-off path under root for the given time that names nothing yet;
// empty when every candidate is taken.
std::string ChooseHandoffPath(const std::string& root, const SYSTEMTIME& now);

// Posts WM_COMMAND with the command id, notification 0, lParam 0.
bool PostImportCompletion(HWND dialog, int command);
