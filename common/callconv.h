#pragma once

// Exported routines and host callbacks use the standard Windows calling
// convention (callee removes the arguments). It only means something on
// 32-bit x86; elsewhere there is a single convention.
#if defined(_WIN32) && defined(__i386__)
#define FAXAPI __stdcall
#define FAXCDECL __cdecl
#else
#define FAXAPI
#define FAXCDECL
#endif

#if defined(_WIN32)
#define FAX_EXPORT
#else
#define FAX_EXPORT __attribute__((visibility("default")))
#endif
