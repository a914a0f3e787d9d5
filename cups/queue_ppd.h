#pragma once
// The queue's settings from its PPD (the file CUPS names in $PPD).

#include <string>

#include "fax_job.h"

// Missing file or attributes leave the fields at their defaults.
QueueSettings ReadQueueSettings(const char* ppdPath);
