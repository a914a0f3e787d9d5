#pragma once
// A print job described in a small text file (see JOBFILE.md): the host
// fields, the held-print and fax settings, and the recipients.

#include <cstdint>
#include <string>

#include "addon.h"
#include "fax_settings.h"
#include "host_settings.h"

struct JobDescription {
    // Host fields.
    int32_t jobType = 0;
    int32_t copies = 1;
    int32_t collateMode = 0;
    int32_t qtyForce = 0;
    int32_t optionA = 0;
    int32_t optionB = 0;
    int32_t outputOption = 0;
    int32_t outputTray = 0;
    int32_t jobMonitor = 0;
    // The printer model's fax capabilities, as the host knows them.
    int32_t faxInstalled = 1;
    int32_t g4Available = 0;
    int32_t speedDial999 = 0;
    char accountUser[sizeof(HostSubBlock::accountUser)] = {};
    // The application's document name, handed over in the output context.
    char appDocName[kHostDocNameSize] = {};
    // The skip flag the host passes at the job-start and job-settings points.
    int32_t skip = 0;
    // The fax module's blocks.
    FaxDS ds = DefaultFaxDS;
    FaxSS ss = DefaultFaxSS;
};

// Parses a job file's text. On failure returns false and sets error to
// "line N: what is wrong"; job is then unspecified.
bool ParseJobFile(const std::string& text, JobDescription* job, std::string* error);
