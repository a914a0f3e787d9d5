#pragma once
// Where the module's local time comes from. On Windows the graphics engine
// answers EngQueryLocalTime; on Linux the system clock stands in for it,
// and FAX_FIXED_TIME=HH:MM:SS pins it (the simulator's reproducible runs).
// Tests replace the source directly.

#include "exports.h"

typedef void (*LocalTimeSource)(EngTimeFields* fields);

// Installs a source for EngQueryLocalTime; null restores the system clock.
// Not exported from the module.
void SetLocalTimeSource(LocalTimeSource source);

// Parses "H:MM:SS" / "HH:MM:SS" (24-hour) into hour, minute and second.
// Returns false for anything else.
bool ParseFixedTime(const char* text, EngTimeFields* fields);
