#include "address_book_rules.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "csv_fields.h"

namespace {

constexpr size_t kFieldBytes = 30;

enum class Added { Added, NotAdded, LimitReached };

std::string Cut(const char* text) {
    size_t n = 0;
    while (n < kFieldBytes && text[n]) ++n;
    return std::string(text, n);
}

// `texts` holds every entry text of t, so that a repeat is found at once
// however many entries there are.
Added AddEntry(AddressTally& t, std::unordered_set<std::string>& texts, const std::string& rawName,
               const std::string& rawNumber) {
    char number[kFieldBytes + 1] = {};
    std::memcpy(number, rawNumber.data(), std::min(rawNumber.size(), kFieldBytes));
    if (CleanFaxNumber(number) == 0) return Added::NotAdded;
    char name[kFieldBytes + 1] = {};
    std::memcpy(name, rawName.data(), std::min(rawName.size(), kFieldBytes));
    TrimBlanks(name);
    BracketsToParentheses(name);
    std::string text = std::string(name) + " <" + number + ">";
    if (texts.count(text) != 0) return Added::NotAdded;
    if (t.maxCount > 0 && static_cast<int>(t.entries.size()) == t.maxCount) return Added::LimitReached;
    texts.insert(text);
    t.entries.push_back(text);
    return Added::Added;
}

// The values a row or an address entry carries; the last of a tag counts.
struct EntryRef {
    const SBinary* id = nullptr;
    ULONG objectType = 0;
    bool hasType = false;
};

EntryRef RefOf(const SPropValue* values, ULONG count) {
    EntryRef r;
    for (ULONG i = 0; values && i < count; ++i) {
        if (values[i].ulPropTag == PR_ENTRYID) r.id = &values[i].Value.bin;
        if (values[i].ulPropTag == PR_OBJECT_TYPE) {
            r.objectType = values[i].Value.ul;
            r.hasType = true;
        }
    }
    return r;
}

class Collector {
public:
    Collector(const AddressBookAccess& ab, AddressTally& tally) : ab_(ab), t_(tally) {}

    // One member of a list or one entry of the address list.
    void CollectRef(const EntryRef& r, bool fromList) {
        bool usable = r.id && r.hasType;
        if (usable && r.objectType == MAPI_DISTLIST && visited_.size() < kMaxVisitedLists) {
            if (fromList && AlreadyVisited(*r.id)) return;
            visited_.emplace_back(r.id->lpb, r.id->lpb + r.id->cb);
            ExpandList(*r.id);
            return;
        }
        if (usable && r.objectType == MAPI_MAILUSER) {
            CollectPerson(*r.id);
            return;
        }
        // Anything else, an entry without its identifier or type, a list past the limit.
        ++t_.found;
        ++t_.rejected;
    }

private:
    void ExaminePerson(const SPropValue* values, ULONG count) {
        std::string name;
        const char* numbers[3] = {};
        for (ULONG i = 0; i < count; ++i) {
            const SPropValue& v = values[i];
            if (PROP_TYPE(v.ulPropTag) == PT_ERROR || !v.Value.lpszA) continue;
            switch (v.ulPropTag) {
            case PR_DISPLAY_NAME_A: name = Cut(v.Value.lpszA); break;
            case PR_PRIMARY_FAX_NUMBER_A: numbers[0] = v.Value.lpszA; break;
            case PR_BUSINESS_FAX_NUMBER_A: numbers[1] = v.Value.lpszA; break;
            case PR_HOME_FAX_NUMBER_A: numbers[2] = v.Value.lpszA; break;
            default: break;
            }
        }
        if (!numbers[0] && !numbers[1] && !numbers[2]) {
            ++t_.rejected;
            return;
        }
        int before = t_.confirmed;
        for (const char* n : numbers) {
            if (!n) continue;
            switch (AddEntry(t_, texts_, name, Cut(n))) {
            case Added::Added: t_.confirmed = static_cast<int>(t_.entries.size()); break;
            case Added::LimitReached: ++t_.confirmed; break;
            case Added::NotAdded: break;
            }
        }
        if (t_.confirmed == before) ++t_.rejected;
    }

    void CollectPerson(const SBinary& id) {
        ++t_.found;
        ULONG type = 0;
        IUnknown* opened = nullptr;
        HRESULT hr = ab_.book->OpenEntry(id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr, 0, &type, &opened);
        if (FAILED(hr) || !opened) {
            ++t_.rejected;
            return;
        }
        SizedPropTagArray<4> tags{4, {PR_DISPLAY_NAME_A, PR_PRIMARY_FAX_NUMBER_A, PR_BUSINESS_FAX_NUMBER_A,
                                      PR_HOME_FAX_NUMBER_A}};
        ULONG count = 0;
        LPSPropValue values = nullptr;
        hr = static_cast<IMAPIProp*>(opened)->GetProps(tags.get(), 0, &count, &values);
        if (FAILED(hr) || !values) ++t_.rejected;
        else ExaminePerson(values, count);
        ab_.FreeBuffer(values);
        opened->Release();
    }

    bool AlreadyVisited(const SBinary& id) {
        for (std::vector<BYTE>& seen : visited_) {
            ULONG same = 0;
            HRESULT hr = ab_.book->CompareEntryIDs(static_cast<ULONG>(seen.size()),
                                                   reinterpret_cast<LPENTRYID>(seen.data()), id.cb,
                                                   reinterpret_cast<LPENTRYID>(id.lpb), 0, &same);
            if (SUCCEEDED(hr) && same) return true;
        }
        return false;
    }

    void ExpandList(const SBinary& listId) {
        // The identifier may live in a row that is freed while the list is read.
        std::vector<BYTE> idCopy(listId.lpb, listId.lpb + listId.cb);
        ULONG type = 0;
        IUnknown* opened = nullptr;
        if (FAILED(ab_.book->OpenEntry(static_cast<ULONG>(idCopy.size()), reinterpret_cast<LPENTRYID>(idCopy.data()),
                                       nullptr, 0, &type, &opened)) || !opened)
            return;
        IMAPITable* table = nullptr;
        SizedPropTagArray<3> columns{3, {PR_DISPLAY_NAME_A, PR_ENTRYID, PR_OBJECT_TYPE}};
        bool ready = SUCCEEDED(static_cast<IDistList*>(opened)->GetContentsTable(0, &table)) && table &&
                     SUCCEEDED(table->SetColumns(columns.get(), 0)) &&
                     SUCCEEDED(table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr));
        while (ready) {
            LPSRowSet rows = nullptr;
            if (FAILED(table->QueryRows(1, 0, &rows)) || !rows) break;
            if (rows->cRows == 0) {
                ab_.FreeBuffer(rows);
                break;
            }
            // The row is ours until freed: copy what the expansion needs.
            EntryRef r = RefOf(rows->aRow[0].lpProps, rows->aRow[0].cValues);
            std::vector<BYTE> rowId = r.id ? std::vector<BYTE>(r.id->lpb, r.id->lpb + r.id->cb) : std::vector<BYTE>();
            SBinary copy{static_cast<ULONG>(rowId.size()), rowId.data()};
            if (r.id) r.id = &copy;
            for (ULONG i = 0; i < rows->cRows; ++i) ab_.FreeBuffer(rows->aRow[i].lpProps);
            ab_.FreeBuffer(rows);
            CollectRef(r, true);
        }
        if (table) table->Release();
        opened->Release();
    }

    const AddressBookAccess& ab_;
    AddressTally& t_;
    std::vector<std::vector<BYTE>> visited_;  // entry identifiers of the lists expanded
    std::unordered_set<std::string> texts_;    // the entry texts of t_
};

}  // namespace

void AddressBookAccess::FreeBuffer(void* block) const {
    if (!block) return;
    if (wab) wab->FreeBuffer(block);
    else if (mapiFree) mapiFree(block);
}

void CollectAddressEntries(const AddressBookAccess& ab, const ADRLIST& list, AddressTally& tally) {
    tally.entries.clear();
    Collector c(ab, tally);
    for (ULONG i = 0; i < list.cEntries; ++i)
        c.CollectRef(RefOf(list.aEntries[i].rgPropVals, list.aEntries[i].cValues), false);
}

void FreeAddressList(const AddressBookAccess& ab, LPADRLIST list) {
    if (!list) return;
    for (ULONG i = 0; i < list->cEntries; ++i) ab.FreeBuffer(list->aEntries[i].rgPropVals);
    ab.FreeBuffer(list);
}
