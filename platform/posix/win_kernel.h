#pragma once
// Kernel calls of the headless build: errors, text, files, system, memory,
// settings, modules. Names, signatures, constants and GetLastError codes
// are those of Win32; only the subset the modules call is declared. One
// header per purpose, as the implementation in kernel/ is split.
#include "win_error.h"
#include "win_text.h"
#include "win_file.h"
#include "win_system.h"
#include "win_memory.h"
#include "win_registry.h"
#include "win_module.h"
