#pragma once
// Kernel, file, registry/profile, code-page and string calls.
#include "win_base.h"
