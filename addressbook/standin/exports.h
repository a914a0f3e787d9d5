#pragma once
// Entry points of the stand-in libraries, found by name as the real ones are.

#include "addrbook_api.h"
#include "callconv.h"

extern "C" {
FAX_EXPORT HRESULT FAXAPI MAPIInitialize(LPVOID init);
FAX_EXPORT HRESULT FAXAPI MAPILogonEx(ULONG_PTR uiParam, LPSTR profile, LPSTR password, ULONG flags,
                                      LPMAPISESSION* session);
FAX_EXPORT SCODE FAXAPI MAPIAllocateBuffer(ULONG size, LPVOID* buffer);
FAX_EXPORT ULONG FAXAPI MAPIFreeBuffer(LPVOID buffer);
FAX_EXPORT void FAXAPI MAPIUninitialize();
FAX_EXPORT HRESULT FAXAPI WABOpen(LPADRBOOK* book, LPWABOBJECT* wab, LPWAB_PARAM param, DWORD reserved);
// For tests only: allocations, frees, live blocks, wrong-function frees,
// unknown frees, live objects.
FAX_EXPORT void FAXAPI StandinCounts(ULONG counts[6]);
}
