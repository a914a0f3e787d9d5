#pragma once
// The host's service table, as the page hook last saw it: the pages reach
// the host through it (one property sheet at a time in a process).

#include "addon.h"

void RegisterHostServices(HostServices* services);
HostServices* RegisteredHostServices();
