#pragma once
// Resource ids of faxui: one header per dialog family, included by the
// module's .rc script and by the code that loads the resources.
// Resource scripts are read by windres too, so these headers hold only
// #define lines.

#include "string_ids.h"
#include "comm_dialog_ids.h"
#include "entry_dialog_ids.h"
#include "pages_ids.h"
