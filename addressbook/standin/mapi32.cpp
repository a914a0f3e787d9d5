// The messaging library's entry points.
#include "exports.h"
#include "faults.h"
#include "heap.h"
#include "objects.h"

HRESULT FAXAPI MAPIInitialize(LPVOID) { return S_OK; }

HRESULT FAXAPI MAPILogonEx(ULONG_PTR, LPSTR, LPSTR, ULONG, LPMAPISESSION* session) {
    if (!session) return MAPI_E_INVALID_PARAMETER;
    *session = nullptr;
    if (standin::Fails("logon")) return MAPI_E_LOGON_FAILED;
    *session = standin::NewSession();
    return S_OK;
}

SCODE FAXAPI MAPIAllocateBuffer(ULONG size, LPVOID* buffer) {
    if (!buffer) return MAPI_E_INVALID_PARAMETER;
    *buffer = standin::Allocate(standin::Heap::Mapi, size);
    return *buffer ? S_OK : MAPI_E_NOT_ENOUGH_MEMORY;
}

ULONG FAXAPI MAPIFreeBuffer(LPVOID buffer) {
    standin::Free(standin::Heap::Mapi, buffer);
    return 0;
}

void FAXAPI MAPIUninitialize() {}
