// The address book library's entry point: a book from the named vCard file
// or, without a name, the default one.
#include <memory>

#include "exports.h"
#include "faults.h"
#include "objects.h"

HRESULT FAXAPI WABOpen(LPADRBOOK* book, LPWABOBJECT* wab, LPWAB_PARAM param, DWORD) {
    if (!book || !wab) return MAPI_E_INVALID_PARAMETER;
    *book = nullptr;
    *wab = nullptr;
    if (standin::Fails("wabopen")) return MAPI_E_CALL_FAILED;
    std::string path = param && param->szFileName && *param->szFileName ? param->szFileName : standin::DefaultBookPath();
    auto loaded = std::make_shared<standin::Book>();
    if (!loaded->Load(path.c_str())) return MAPI_E_NOT_FOUND;
    *book = standin::NewAddrBook(loaded, standin::Heap::Wab);
    *wab = standin::NewWabObject();
    return S_OK;
}
