#pragma once
// The pages faxui adds to the host's property sheet, described as the host
// expects them: page entries with their control descriptions and help maps.

#include "host_pages.h"
#include "host_settings.h"

// Radio buttons of the option page; a position is the stored value.
extern const int kResolutionRadios[];  // ends with -1
extern const int kReportRadios[];      // ends with -1

extern const int32_t kOptionPageHelpMap[];
extern const int32_t kAboutPageHelpMap[];

// Three pages with the fax option installed, else the two information pages.
const PageSet& PageSetFor(bool faxInstalled);
