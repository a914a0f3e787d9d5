#pragma once
// The interfaces the stand-in's objects implement. On Windows they are the
// system's, with every method of the interface: the ones the import program
// never calls answer MAPI_E_NO_SUPPORT, because the stand-in does not
// support them (no containers, one-offs, notifications, named properties,
// writing). Elsewhere our own declarations hold only the called methods and
// the bases are those interfaces themselves.

#include "addrbook_api.h"

namespace standin {

#if defined(_WIN32)
// The system's method lists give each method its body; parameters unnamed
// in use by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define STANDIN_NO_SUPPORT { return MAPI_E_NO_SUPPORT; }

class TableBase : public IMAPITable {
public:
    MAPI_IMAPITABLE_METHODS(STANDIN_NO_SUPPORT)
};
// A person or a list: one object, opened as either.
class EntryBase : public IDistList {
public:
    MAPI_IMAPIPROP_METHODS(STANDIN_NO_SUPPORT)
    MAPI_IMAPICONTAINER_METHODS(STANDIN_NO_SUPPORT)
    MAPI_IDISTLIST_METHODS(STANDIN_NO_SUPPORT)
};
class AddrBookBase : public IAddrBook {
public:
    MAPI_IMAPIPROP_METHODS(STANDIN_NO_SUPPORT)
    MAPI_IADDRBOOK_METHODS(STANDIN_NO_SUPPORT)
};
class SessionBase : public IMAPISession {
public:
    MAPI_IMAPISESSION_METHODS(STANDIN_NO_SUPPORT)
};
class WabObjectBase : public IWABObject {
public:
    WAB_IWABOBJECT_METHODS(STANDIN_NO_SUPPORT)
};

#undef STANDIN_NO_SUPPORT
#pragma GCC diagnostic pop
#else
using TableBase = IMAPITable;
using EntryBase = IMAPIContainer;
using AddrBookBase = IAddrBook;
using SessionBase = IMAPISession;
using WabObjectBase = IWABObject;
#endif

}  // namespace standin
