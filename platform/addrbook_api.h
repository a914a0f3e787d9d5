#pragma once
// The messaging (MAPI) and Windows Address Book interfaces the import
// program uses. On Windows the system's own headers; elsewhere our own
// declarations of just those calls, after the public documentation: the
// same names, tags, records and results, the interfaces as C++ classes.

#include <windows.h>  // ours: platform/ is on the include path

#if defined(_WIN32)
#include <mapix.h>
#include <wab.h>
#else

#include <cstddef>
#include <cstdint>

#define STDMETHODCALLTYPE
typedef LONG HRESULT;
typedef LONG SCODE;

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
constexpr HRESULT S_OK = 0;
constexpr HRESULT MAPI_E_CALL_FAILED = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT MAPI_E_NOT_ENOUGH_MEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT MAPI_E_INVALID_PARAMETER = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT MAPI_E_NO_SUPPORT = static_cast<HRESULT>(0x80040102u);
constexpr HRESULT MAPI_E_NOT_FOUND = static_cast<HRESULT>(0x8004010Fu);
constexpr HRESULT MAPI_E_LOGON_FAILED = static_cast<HRESULT>(0x80040111u);
constexpr HRESULT MAPI_E_USER_CANCEL = static_cast<HRESULT>(0x80040113u);
constexpr HRESULT MAPI_W_ERRORS_RETURNED = 0x00040380;

// Property tags: type in the low word, identifier in the high word.
#define PROP_TYPE(tag) ((ULONG)(tag) & 0xFFFFu)
#define PROP_ID(tag) ((ULONG)(tag) >> 16)
#define PROP_TAG(type, id) ((((ULONG)(id)) << 16) | ((ULONG)(type)))
constexpr ULONG PT_LONG = 0x0003;
constexpr ULONG PT_ERROR = 0x000A;
constexpr ULONG PT_STRING8 = 0x001E;
constexpr ULONG PT_BINARY = 0x0102;
constexpr ULONG PR_DISPLAY_NAME_A = 0x3001001E;
constexpr ULONG PR_PRIMARY_FAX_NUMBER_A = 0x3A23001E;
constexpr ULONG PR_BUSINESS_FAX_NUMBER_A = 0x3A24001E;
constexpr ULONG PR_HOME_FAX_NUMBER_A = 0x3A25001E;
constexpr ULONG PR_ENTRYID = 0x0FFF0102;
constexpr ULONG PR_OBJECT_TYPE = 0x0FFE0003;
constexpr ULONG PR_RECIPIENT_TYPE = 0x0C150003;

constexpr ULONG MAPI_MAILUSER = 6;
constexpr ULONG MAPI_DISTLIST = 8;
constexpr ULONG MAPI_TO = 1;

constexpr ULONG MAPI_LOGON_UI = 0x00000001;
constexpr ULONG MAPI_NO_MAIL = 0x00008000;
constexpr ULONG MAPI_EXTENDED = 0x00000020;
constexpr ULONG MAPI_LOGOFF_UI = 0x00000002;
constexpr ULONG DIALOG_MODAL = 0x00000001;
typedef ULONG BOOKMARK;
constexpr BOOKMARK BOOKMARK_BEGINNING = 0;
constexpr ULONG TBL_BATCH = 0x00000002;

#define MAPI_DIM 1

struct ENTRYID {
    BYTE abFlags[4];
    BYTE ab[MAPI_DIM];
};
typedef ENTRYID* LPENTRYID;

struct SBinary {
    ULONG cb;
    BYTE* lpb;
};

union PV {
    short i;
    LONG l;
    ULONG ul;
    double dbl;
    LPSTR lpszA;
    SBinary bin;
    SCODE err;
    int64_t li;
};

struct SPropValue {
    ULONG ulPropTag;
    ULONG dwAlignPad;
    PV Value;
};
typedef SPropValue* LPSPropValue;

struct SPropTagArray {
    ULONG cValues;
    ULONG aulPropTag[MAPI_DIM];
};
typedef SPropTagArray* LPSPropTagArray;

struct SRow {
    ULONG ulAdrEntryPad;
    ULONG cValues;
    LPSPropValue lpProps;
};

struct SRowSet {
    ULONG cRows;
    SRow aRow[MAPI_DIM];
};
typedef SRowSet* LPSRowSet;

struct ADRENTRY {
    ULONG ulReserved1;
    ULONG cValues;
    LPSPropValue rgPropVals;
};

struct ADRLIST {
    ULONG cEntries;
    ADRENTRY aEntries[MAPI_DIM];
};
typedef ADRLIST* LPADRLIST;

struct SRestriction;
typedef SRestriction* LPSRestriction;
struct IID {
    uint32_t Data1;
    uint16_t Data2, Data3;
    uint8_t Data4[8];
};
typedef const IID* LPCIID;

typedef void* LPFNABSDI;
typedef void* LPFNDISMISS;

struct ADRPARM {
    ULONG cbABContEntryID;
    LPENTRYID lpABContEntryID;
    ULONG ulFlags;
    LPVOID lpReserved;
    ULONG ulHelpContext;
    LPSTR lpszHelpFileName;
    LPFNABSDI lpfnABSDI;
    LPFNDISMISS lpfnDismiss;
    LPVOID lpvDismissContext;
    LPSTR lpszCaption;
    LPSTR lpszNewEntryTitle;
    LPSTR lpszDestWellsTitle;
    ULONG cDestFields;
    ULONG nDestFieldFocus;
    LPSTR* lppszDestTitles;
    ULONG* lpulDestComps;
    LPSRestriction lpContRestriction;
    LPSRestriction lpHierRestriction;
};
typedef ADRPARM* LPADRPARM;

// The interfaces, with only the methods the import program calls.
class IUnknown {
public:
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
protected:
    ~IUnknown() = default;
};

class IMAPIProp : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray tags, ULONG flags, ULONG* count,
                                               LPSPropValue* props) = 0;
protected:
    ~IMAPIProp() = default;
};

class IMAPITable : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE SetColumns(LPSPropTagArray columns, ULONG flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SeekRow(BOOKMARK bookmark, LONG rowCount, LONG* sought) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryRows(LONG rowCount, ULONG flags, LPSRowSet* rows) = 0;
protected:
    ~IMAPITable() = default;
};

class IMAPIContainer : public IMAPIProp {
public:
    virtual HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG flags, IMAPITable** table) = 0;
protected:
    ~IMAPIContainer() = default;
};
typedef IMAPIContainer IDistList;

class IAddrBook : public IMAPIProp {
public:
    virtual HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryID, LPENTRYID entryID, LPCIID iid, ULONG flags,
                                                ULONG* objType, IUnknown** entry) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareEntryIDs(ULONG cb1, LPENTRYID id1, ULONG cb2, LPENTRYID id2,
                                                      ULONG flags, ULONG* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Address(ULONG_PTR* uiParam, LPADRPARM parm, LPADRLIST* list) = 0;
protected:
    ~IAddrBook() = default;
};
typedef IAddrBook* LPADRBOOK;

class IMAPISession : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE OpenAddressBook(ULONG_PTR uiParam, LPCIID iid, ULONG flags,
                                                      LPADRBOOK* book) = 0;
    virtual HRESULT STDMETHODCALLTYPE Logoff(ULONG_PTR uiParam, ULONG flags, ULONG reserved) = 0;
protected:
    ~IMAPISession() = default;
};
typedef IMAPISession* LPMAPISESSION;

class IWABObject : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE AllocateBuffer(ULONG size, LPVOID* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE FreeBuffer(LPVOID buffer) = 0;
protected:
    ~IWABObject() = default;
};
typedef IWABObject* LPWABOBJECT;

struct WAB_PARAM {
    ULONG cbSize;
    HWND hwnd;
    LPSTR szFileName;
    ULONG ulFlags;
};
typedef WAB_PARAM* LPWAB_PARAM;

// The library entry points, found by name.
typedef HRESULT(STDMETHODCALLTYPE* LPMAPIINITIALIZE)(LPVOID init);
typedef HRESULT(STDMETHODCALLTYPE* LPMAPILOGONEX)(ULONG_PTR uiParam, LPSTR profile, LPSTR password, ULONG flags,
                                                  LPMAPISESSION* session);
typedef SCODE(STDMETHODCALLTYPE* LPMAPIALLOCATEBUFFER)(ULONG size, LPVOID* buffer);
typedef ULONG(STDMETHODCALLTYPE* LPMAPIFREEBUFFER)(LPVOID buffer);
typedef void(STDMETHODCALLTYPE* LPMAPIUNINITIALIZE)();
typedef HRESULT(STDMETHODCALLTYPE* LPWABOPEN)(LPADRBOOK* book, LPWABOBJECT* wab, LPWAB_PARAM param, DWORD reserved);

#endif

// A tag array of n tags with the layout of SPropTagArray, on both systems.
template <ULONG N>
struct SizedPropTagArray {
    ULONG cValues;
    ULONG aulPropTag[N];
    LPSPropTagArray get() { return reinterpret_cast<LPSPropTagArray>(this); }
};
