#pragma once
// A whole print job as the host driver runs it: the document events through
// the user-interface add-on on a printer device context of the host's own,
// then the header write points through the render add-on with the settings
// image the user-interface add-on stored.

#include <string>

#include "job_file.h"
#include "module_loader.h"

struct PrintJobResult {
    bool cancelled = false;   // the add-on cancelled the job (no header)
    bool aborted = false;     // AbortDoc reached the device
    int stores = 0;           // images handed back with escape 15001
    std::string pjl;
};

// The printer as the spooler names it to the add-on.
extern const char16_t kHostPrinterName[];
extern const char16_t kHostPortName[];

// False with a message when a module cannot take the job.
bool RunPrintJob(const AddonModule& ui, const AddonModule& render, const JobDescription& job,
                 PrintJobResult* result, std::string* error);
