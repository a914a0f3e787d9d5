#pragma once
// The entry points the host finds faxui by.

#include <windows.h>

#include "addon.h"

extern "C" {
FAX_EXPORT const AddOnTable* FAXAPI GetFuncTable(void);
FAX_EXPORT const char* const* FAXAPI ModuleInfo(void);
FAX_EXPORT BOOL WINAPI DllInitialize(HINSTANCE instance, DWORD reason, LPVOID reserved);
}
