#pragma once
// Windows, dialogs, controls, resources, message boxes and help.
#include "win_base.h"
