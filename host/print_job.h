#pragma once
// A whole print job as the host driver runs it: the document events through
// the user-interface add-on on a printer device context of the host's own,
// then the header write points through the render add-on with the settings
// image the user-interface add-on stored.

#include <string>
#include <vector>

#include "job_file.h"
#include "module_loader.h"
#include "settings_image.h"

struct PrintJobResult {
    bool cancelled = false;   // the add-on cancelled the job (no header)
    bool aborted = false;     // AbortDoc reached the device
    int stores = 0;           // images handed back with escape 15001
    std::string pjl;
};

// The printer as the spooler names it to the add-on.
extern const char16_t kHostPrinterName[];
extern const char16_t kHostPortName[];

// How this host behaves as other hosts may: where it puts the blocks of
// the settings image, and which private escapes it fails.
struct PrintHost {
    ImageLayout layout = ImageLayout::Standard;
    std::vector<int> failingEscapes;
};

// "standard", "packed" or "spread"; false for anything else.
bool ParseImageLayout(const std::string& text, ImageLayout* layout);
// Escape numbers separated by commas ("15001" or "15000,15001"); an empty
// text is none. False with a message for anything else.
bool ParseFailingEscapes(const std::string& text, std::vector<int>* codes, std::string* error);

// False with a message when a module cannot take the job.
bool RunPrintJob(const AddonModule& ui, const AddonModule& render, const JobDescription& job,
                 const PrintHost& host, PrintJobResult* result, std::string* error);
