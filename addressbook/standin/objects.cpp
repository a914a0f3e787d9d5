#include "objects.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "bases.h"
#include "faults.h"
#include "props.h"

namespace standin {
namespace {

ULONG g_live = 0;

// Reference counting shared by every object; the last Release deletes.
template <typename Interface>
class Counted : public Interface {
public:
    Counted() { ++g_live; }
    virtual ~Counted() { --g_live; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
#if defined(_WIN32)
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    // Only the interface the object was handed out as, and IUnknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, LPVOID* out) override {
        static const GUID kUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        if (std::memcmp(&iid, &kUnknown, sizeof kUnknown) != 0) return E_NOINTERFACE;
        AddRef();
        *out = this;
        return S_OK;
    }
#endif

private:
    ULONG refs_ = 1;
};

std::vector<Prop> EntryProps(const Entry& e, uint32_t index, LPSPropTagArray tags) {
    EntryIdBytes id = Book::IdOf(index);
    std::vector<Prop> out;
    for (ULONG i = 0; i < tags->cValues; ++i) {
        ULONG tag = tags->aulPropTag[i];
        const std::string* text = nullptr;
        switch (tag) {
        case PR_DISPLAY_NAME_A: text = &e.name; break;
        case PR_PRIMARY_FAX_NUMBER_A: text = &e.primaryFax; break;
        case PR_BUSINESS_FAX_NUMBER_A: text = &e.businessFax; break;
        case PR_HOME_FAX_NUMBER_A: text = &e.homeFax; break;
        case PR_ENTRYID: out.push_back(BinaryProp(tag, &id, sizeof id)); continue;
        case PR_OBJECT_TYPE: out.push_back(NumberProp(tag, static_cast<LONG>(e.objectType))); continue;
        default: out.push_back(ErrorProp(tag)); continue;
        }
        // An address book has no value for an empty property.
        out.push_back(text->empty() ? ErrorProp(tag) : TextProp(tag, *text));
    }
    return out;
}

HRESULT ReturnProps(Heap heap, const std::vector<Prop>& props, ULONG* count, LPSPropValue* values) {
    if (!count || !values) return MAPI_E_INVALID_PARAMETER;
    *values = BuildProps(heap, props);
    if (!*values) return MAPI_E_NOT_ENOUGH_MEMORY;
    *count = static_cast<ULONG>(props.size());
    for (const Prop& p : props)
        if (PROP_TYPE(p.tag) == PT_ERROR) return MAPI_W_ERRORS_RETURNED;
    return S_OK;
}

class Table final : public Counted<TableBase> {
public:
    Table(std::shared_ptr<const Book> book, uint32_t list, Heap heap) : book_(std::move(book)), list_(list), heap_(heap) {}

    HRESULT STDMETHODCALLTYPE SetColumns(LPSPropTagArray columns, ULONG) override {
        if (!columns) return MAPI_E_INVALID_PARAMETER;
        columns_.assign(columns->aulPropTag, columns->aulPropTag + columns->cValues);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SeekRow(BOOKMARK bookmark, LONG rowCount, LONG* sought) override {
        if (bookmark != BOOKMARK_BEGINNING || rowCount < 0) return MAPI_E_NO_SUPPORT;
        position_ = std::min<size_t>(static_cast<size_t>(rowCount), Members().size());
        if (sought) *sought = static_cast<LONG>(position_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryRows(LONG rowCount, ULONG, LPSRowSet* rows) override {
        if (!rows || rowCount <= 0) return MAPI_E_INVALID_PARAMETER;
        *rows = nullptr;
        int failAfter = RowsBeforeFailure(book_->Entries()[list_].name);
        if (failAfter >= 0 && position_ >= static_cast<size_t>(failAfter)) return MAPI_E_CALL_FAILED;
        size_t n = std::min<size_t>(static_cast<size_t>(rowCount), Members().size() - position_);
        size_t size = sizeof(SRowSet) + (n > 0 ? n - 1 : 0) * sizeof(SRow);
        LPSRowSet set = static_cast<LPSRowSet>(Allocate(heap_, size));
        if (!set) return MAPI_E_NOT_ENOUGH_MEMORY;
        std::vector<ULONG> cols = columns_;
        SizedPropTagArray<1> one{};
        for (size_t r = 0; r < n; ++r) {
            uint32_t index = Members()[position_ + r];
            std::vector<Prop> props;
            for (ULONG tag : cols) {
                one.cValues = 1;
                one.aulPropTag[0] = tag;
                std::vector<Prop> p = EntryProps(book_->Entries()[index], index, one.get());
                props.push_back(p[0]);
            }
            set->aRow[r].cValues = static_cast<ULONG>(props.size());
            set->aRow[r].lpProps = BuildProps(heap_, props);
        }
        set->cRows = static_cast<ULONG>(n);
        position_ += n;
        *rows = set;
        return S_OK;
    }

private:
    const std::vector<uint32_t>& Members() const { return book_->Entries()[list_].members; }

    std::shared_ptr<const Book> book_;
    uint32_t list_;
    Heap heap_;
    std::vector<ULONG> columns_{PR_DISPLAY_NAME_A, PR_ENTRYID, PR_OBJECT_TYPE};
    size_t position_ = 0;
};

// A person or a list opened from the book.
class OpenedEntry final : public Counted<EntryBase> {
public:
    OpenedEntry(std::shared_ptr<const Book> book, uint32_t index, Heap heap) : book_(std::move(book)), index_(index), heap_(heap) {}

    HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray tags, ULONG, ULONG* count, LPSPropValue* values) override {
        const Entry& e = book_->Entries()[index_];
        if (!tags) return MAPI_E_NO_SUPPORT;
        if (FailsFor("getprops", e.name)) return MAPI_E_CALL_FAILED;
        return ReturnProps(heap_, EntryProps(e, index_, tags), count, values);
    }
    HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG, IMAPITable** table) override {
        const Entry& e = book_->Entries()[index_];
        if (!table) return MAPI_E_INVALID_PARAMETER;
        *table = nullptr;
        if (e.objectType != MAPI_DISTLIST) return MAPI_E_NO_SUPPORT;
        if (FailsFor("contents", e.name)) return MAPI_E_CALL_FAILED;
        *table = new Table(book_, index_, heap_);
        return S_OK;
    }

private:
    std::shared_ptr<const Book> book_;
    uint32_t index_;
    Heap heap_;
};

class AddrBook final : public Counted<AddrBookBase> {
public:
    AddrBook(std::shared_ptr<const Book> book, Heap heap) : book_(std::move(book)), heap_(heap) {}

    HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray, ULONG, ULONG*, LPSPropValue*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cb, LPENTRYID id, LPCIID, ULONG, ULONG* objType,
                                        IUnknown** entry) override {
        if (!entry) return MAPI_E_INVALID_PARAMETER;
        *entry = nullptr;
        uint32_t index = 0;
        const Entry* e = book_->Find(cb, id, &index);
        if (!e) return MAPI_E_NOT_FOUND;
        if (FailsFor("openentry", e->name)) return MAPI_E_CALL_FAILED;
        if (objType) *objType = e->objectType;
        *entry = new OpenedEntry(book_, index, heap_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CompareEntryIDs(ULONG cb1, LPENTRYID id1, ULONG cb2, LPENTRYID id2, ULONG,
                                              ULONG* result) override {
        if (!result) return MAPI_E_INVALID_PARAMETER;
        uint32_t a = 0, b = 0;
        if (!book_->Find(cb1, id1, &a) || !book_->Find(cb2, id2, &b)) return MAPI_E_NOT_FOUND;
        *result = a == b;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Address(ULONG_PTR* uiParam, LPADRPARM parm, LPADRLIST* list) override {
        if (!parm || !list) return MAPI_E_INVALID_PARAMETER;
        *list = nullptr;
        if (Fails("address")) return MAPI_E_CALL_FAILED;
        std::vector<uint32_t> chosen;
        HWND owner = uiParam ? reinterpret_cast<HWND>(*uiParam) : nullptr;
        if (!RunPicker(owner, *book_, *parm, chosen)) return MAPI_E_USER_CANCEL;
        return BuildAddressList(*book_, heap_, chosen, list);
    }

private:
    std::shared_ptr<const Book> book_;
    Heap heap_;
};

class Session final : public Counted<SessionBase> {
public:
    HRESULT STDMETHODCALLTYPE OpenAddressBook(ULONG_PTR, LPCIID, ULONG, LPADRBOOK* book) override {
        if (!book) return MAPI_E_INVALID_PARAMETER;
        *book = nullptr;
        if (Fails("openbook")) return MAPI_E_CALL_FAILED;
        auto loaded = std::make_shared<Book>();
        if (!loaded->Load(DefaultBookPath().c_str())) return MAPI_E_NOT_FOUND;
        *book = NewAddrBook(loaded, Heap::Mapi);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Logoff(ULONG_PTR, ULONG, ULONG) override { return S_OK; }
};

class WabObject final : public Counted<WabObjectBase> {
public:
    HRESULT STDMETHODCALLTYPE AllocateBuffer(ULONG size, LPVOID* buffer) override {
        if (!buffer) return MAPI_E_INVALID_PARAMETER;
        *buffer = Allocate(Heap::Wab, size);
        return *buffer ? S_OK : MAPI_E_NOT_ENOUGH_MEMORY;
    }
    HRESULT STDMETHODCALLTYPE FreeBuffer(LPVOID buffer) override {
        Free(Heap::Wab, buffer);
        return S_OK;
    }
};

}  // namespace

HRESULT BuildAddressList(const Book& book, Heap heap, const std::vector<uint32_t>& chosen, LPADRLIST* list) {
    size_t n = chosen.size();
    size_t size = sizeof(ADRLIST) + (n > 0 ? n - 1 : 0) * sizeof(ADRENTRY);
    LPADRLIST out = static_cast<LPADRLIST>(Allocate(heap, size));
    if (!out) return MAPI_E_NOT_ENOUGH_MEMORY;
    SizedPropTagArray<3> tags{3, {PR_DISPLAY_NAME_A, PR_ENTRYID, PR_OBJECT_TYPE}};
    for (size_t i = 0; i < n; ++i) {
        std::vector<Prop> props = EntryProps(book.Entries()[chosen[i]], chosen[i], tags.get());
        props.push_back(NumberProp(PR_RECIPIENT_TYPE, MAPI_TO));
        out->aEntries[i].cValues = static_cast<ULONG>(props.size());
        out->aEntries[i].rgPropVals = BuildProps(heap, props);
    }
    out->cEntries = static_cast<ULONG>(n);
    *list = out;
    return S_OK;
}

IAddrBook* NewAddrBook(std::shared_ptr<const Book> book, Heap heap) { return new AddrBook(std::move(book), heap); }
IMAPISession* NewSession() { return new Session(); }
IWABObject* NewWabObject() { return new WabObject(); }
ULONG LiveObjects() { return g_live; }

}  // namespace standin
