#pragma once
// The fax job a CUPS job's options describe, as the job settings the
// recipient dialog and the fax prompt would have left in the host's image.

#include <string>

#include <cups/cups.h>

#include "job_file.h"

// What the queue says, from its PPD: its phonebook, the printer's
// speed-dial range, and the defaults of the fax options it lists (empty
// when the PPD does not list the option).
struct QueueSettings {
    std::string phonebook;
    bool speedDial999 = false;
    std::string resolution;
    std::string confirmation;
    std::string header;
};

enum class JobKind { Print, Fax };

// Reads the job's options. A job that names no recipients (neither
// fax-recipients nor fax-entries) is an ordinary print job: kind Print,
// nothing else looked at, unless it names fax-delay or fax-phonebook, which
// only a fax can use. 'account' is the accounting identity (user, a
// backslash, computer). False with a message for anything the dialogs
// would refuse.
bool BuildFaxJob(int optionCount, cups_option_t* options, const QueueSettings& queue, const std::string& account,
                 JobDescription* job, JobKind* kind, std::string* error);

// "H:MM" or "HH:MM", 00:00 to 23:59.
bool ParseDelay(const char* text, int* hour, int* minute);

// The accounting identity as the PJL header carries it: the bytes that
// would end its quoted text or its line become '_'.
std::string AccountText(const std::string& user, const std::string& computer);
