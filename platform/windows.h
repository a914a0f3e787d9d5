#pragma once
// The one header product code includes for the Win32 API. On Windows it is
// the system's own; elsewhere it declares the subset this system calls,
// implemented headlessly in posix/: the declarations in its win_*.h, one
// header per purpose as the system's own headers are, the implementation in
// its folders kernel/, user/, comctl/, gdi/ and print/.

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
// Without the rarely used parts (sockets, OLE, DDE, multimedia, crypto):
// they doubled the compile time of every file. What this system calls from
// them is included by name below.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// This file is itself found as <windows.h> through the include path, so the
// system's header is the next one of that name.
#include_next <windows.h>
#include <commdlg.h>
#include <prsht.h>
#include <winspool.h>
#define WIDE_(s) L##s
#else
#include "posix/win_base.h"
#include "posix/win_kernel.h"
#include "posix/win_user.h"
#include "posix/win_print.h"
#define WIDE_(s) u##s
#endif

// Wide-character literal of the platform's 16-bit WCHAR: WIDE("Teksti").
#define WIDE(s) WIDE_(s)
