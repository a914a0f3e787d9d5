// Recipients from an address book: the messaging system's or a Windows
// Address Book file. The user picks people and lists in the book's own
// dialog; every chosen person's fax numbers become entries, lists are
// expanded once each.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "addrbook_api.h"
#include "csv_fields.h"
#include "import_app.h"
#include "import_codes.h"
#include "rcpimport_ids.h"

namespace {

constexpr size_t kMaxVisitedLists = 256;
constexpr size_t kFieldBytes = 30;

const char kMapiMissing[] = "Tarvittavaa DLL-tiedostoa, MAPI32.DLL, ei l\xF6ytynyt.";
const char kMapiCaption[] = "MAPI-alij\xE4rjestelm\xE4n k\xE4ynnistysvirhe";
const char kWabFailed[] = "Windows-osoitteiston avaaminen ei onnistunut.\nTietoja ei voi tuoda kohteesta %s.";
const char kWabCaption[] = "Virhe WAB-tiedoston tuonnissa";
const char kWabDefaultName[] = "Oletus-WAB-tiedosto";

template <typename F>
F Proc(HMODULE lib, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(lib, name)));
}

// The open address book and what it was opened with.
struct AddressBook {
    HMODULE mapiLib = nullptr;
    LPMAPISESSION session = nullptr;
    HMODULE wabLib = nullptr;
    LPWABOBJECT wab = nullptr;
    LPADRBOOK book = nullptr;
    LPMAPIFREEBUFFER mapiFree = nullptr;
    std::vector<std::vector<BYTE>> visited;  // entry identifiers of the lists expanded

    void FreeBuffer(void* p) const {
        if (!p) return;
        if (wab) wab->FreeBuffer(p);
        else if (mapiFree) mapiFree(p);
    }
};

enum class Added { Added, NotAdded, LimitReached };

std::string Cut(const char* text) {
    size_t n = 0;
    while (n < kFieldBytes && text[n]) ++n;
    return std::string(text, n);
}

Added AddEntry(ImportApp& app, const std::string& rawName, const std::string& rawNumber) {
    char number[kFieldBytes + 1] = {};
    std::memcpy(number, rawNumber.data(), std::min(rawNumber.size(), kFieldBytes));
    if (CleanFaxNumber(number) == 0) return Added::NotAdded;
    char name[kFieldBytes + 1] = {};
    std::memcpy(name, rawName.data(), std::min(rawName.size(), kFieldBytes));
    TrimBlanks(name);
    BracketsToParentheses(name);
    std::string text = std::string(name) + " <" + number + ">";
    ImportSelection& sel = app.selection;
    for (const std::string& e : sel.entries)
        if (e == text) return Added::NotAdded;
    if (sel.maxCount > 0 && static_cast<int>(sel.entries.size()) == sel.maxCount) return Added::LimitReached;
    sel.entries.push_back(text);
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
    for (ULONG i = 0; i < count; ++i) {
        if (values[i].ulPropTag == PR_ENTRYID) r.id = &values[i].Value.bin;
        if (values[i].ulPropTag == PR_OBJECT_TYPE) {
            r.objectType = values[i].Value.ul;
            r.hasType = true;
        }
    }
    return r;
}

void ExaminePerson(ImportApp& app, const SPropValue* values, ULONG count) {
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
        ++app.rejectedCount;
        return;
    }
    int before = app.confirmedCount;
    for (const char* n : numbers) {
        if (!n) continue;
        switch (AddEntry(app, name, Cut(n))) {
        case Added::Added: app.confirmedCount = static_cast<int>(app.selection.entries.size()); break;
        case Added::LimitReached: ++app.confirmedCount; break;
        case Added::NotAdded: break;
        }
    }
    if (app.confirmedCount == before) ++app.rejectedCount;
}

void CollectPerson(ImportApp& app, AddressBook& ab, const SBinary& id) {
    ++app.foundCount;
    ULONG type = 0;
    IUnknown* opened = nullptr;
    HRESULT hr = ab.book->OpenEntry(id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr, 0, &type, &opened);
    if (FAILED(hr) || !opened) {
        ++app.rejectedCount;
        return;
    }
    SizedPropTagArray<4> tags{4, {PR_DISPLAY_NAME_A, PR_PRIMARY_FAX_NUMBER_A, PR_BUSINESS_FAX_NUMBER_A, PR_HOME_FAX_NUMBER_A}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    hr = static_cast<IMAPIProp*>(opened)->GetProps(tags.get(), 0, &count, &values);
    if (FAILED(hr) || !values) ++app.rejectedCount;
    else ExaminePerson(app, values, count);
    ab.FreeBuffer(values);
    opened->Release();
}

bool AlreadyVisited(AddressBook& ab, const SBinary& id) {
    for (std::vector<BYTE>& seen : ab.visited) {
        ULONG same = 0;
        HRESULT hr = ab.book->CompareEntryIDs(static_cast<ULONG>(seen.size()), reinterpret_cast<LPENTRYID>(seen.data()),
                                              id.cb, reinterpret_cast<LPENTRYID>(id.lpb), 0, &same);
        if (SUCCEEDED(hr) && same) return true;
    }
    return false;
}

void Visit(AddressBook& ab, const SBinary& id) { ab.visited.emplace_back(id.lpb, id.lpb + id.cb); }

void ExpandList(ImportApp& app, AddressBook& ab, const SBinary& id);

// One member of a list or one entry of the address list.
void CollectRef(ImportApp& app, AddressBook& ab, const EntryRef& r, bool fromList) {
    bool usable = r.id && r.hasType;
    if (usable && r.objectType == MAPI_DISTLIST && ab.visited.size() < kMaxVisitedLists) {
        if (fromList && AlreadyVisited(ab, *r.id)) return;
        Visit(ab, *r.id);
        ExpandList(app, ab, *r.id);
        return;
    }
    if (usable && r.objectType == MAPI_MAILUSER) {
        CollectPerson(app, ab, *r.id);
        return;
    }
    // Anything else, an entry without its identifier or type, a list past the limit.
    ++app.foundCount;
    ++app.rejectedCount;
}

void ExpandList(ImportApp& app, AddressBook& ab, const SBinary& listId) {
    // The identifier may live in a row that is freed while the list is read.
    std::vector<BYTE> idCopy(listId.lpb, listId.lpb + listId.cb);
    ULONG type = 0;
    IUnknown* opened = nullptr;
    if (FAILED(ab.book->OpenEntry(static_cast<ULONG>(idCopy.size()), reinterpret_cast<LPENTRYID>(idCopy.data()),
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
        bool none = rows->cRows == 0;
        if (!none) {
            // The row is ours until freed: copy what the expansion needs.
            EntryRef r = RefOf(rows->aRow[0].lpProps, rows->aRow[0].cValues);
            std::vector<BYTE> rowId = r.id ? std::vector<BYTE>(r.id->lpb, r.id->lpb + r.id->cb) : std::vector<BYTE>();
            SBinary copy{static_cast<ULONG>(rowId.size()), rowId.data()};
            if (r.id) r.id = &copy;
            for (ULONG i = 0; i < rows->cRows; ++i) ab.FreeBuffer(rows->aRow[i].lpProps);
            ab.FreeBuffer(rows);
            CollectRef(app, ab, r, true);
        } else {
            ab.FreeBuffer(rows);
        }
        if (none) break;
    }
    if (table) table->Release();
    opened->Release();
}

bool OpenMapiBook(ImportApp& app, AddressBook& ab) {
    ab.mapiLib = LoadLibraryA("MAPI32.DLL");
    if (!ab.mapiLib) {
        ShowMessage(app.callerWindow, kMapiMissing, kMapiCaption, MB_OK | MB_ICONSTOP);
        return false;
    }
    auto init = Proc<LPMAPIINITIALIZE>(ab.mapiLib, "MAPIInitialize");
    auto logon = Proc<LPMAPILOGONEX>(ab.mapiLib, "MAPILogonEx");
    ab.mapiFree = Proc<LPMAPIFREEBUFFER>(ab.mapiLib, "MAPIFreeBuffer");
    if (!init || !logon || !ab.mapiFree) return false;
    init(nullptr);
    ULONG_PTR ui = reinterpret_cast<ULONG_PTR>(app.callerWindow);
    if (FAILED(logon(ui, nullptr, nullptr, MAPI_LOGON_UI | MAPI_EXTENDED | MAPI_NO_MAIL, &ab.session)) || !ab.session)
        return false;
    return SUCCEEDED(ab.session->OpenAddressBook(ui, nullptr, 0, &ab.book)) && ab.book;
}

void CloseMapiBook(ImportApp& app, AddressBook& ab) {
    if (ab.book) ab.book->Release();
    if (ab.session) {
        ab.session->Logoff(reinterpret_cast<ULONG_PTR>(app.callerWindow), MAPI_LOGOFF_UI, 0);
        ab.session->Release();
    }
    if (ab.mapiLib) {
        if (auto uninit = Proc<LPMAPIUNINITIALIZE>(ab.mapiLib, "MAPIUninitialize")) uninit();
        FreeLibrary(ab.mapiLib);
    }
    ab = AddressBook();
}

bool OpenWabBook(ImportApp& app, AddressBook& ab, const std::string& path) {
    ab.wabLib = LoadLibraryA(app.wabLibraryPath.empty() ? "WAB32.DLL" : app.wabLibraryPath.c_str());
    auto open = ab.wabLib ? Proc<LPWABOPEN>(ab.wabLib, "WABOpen") : nullptr;
    if (!open) return false;
    std::string file = path;
    WAB_PARAM param;
    std::memset(&param, 0, sizeof param);
    param.cbSize = sizeof param;
    param.szFileName = file.empty() ? nullptr : &file[0];
    return open(&ab.book, &ab.wab, &param, 0) == S_OK && ab.book && ab.wab;
}

void CloseWabBook(AddressBook& ab) {
    if (ab.book) ab.book->Release();
    if (ab.wab) ab.wab->Release();
    if (ab.wabLib) FreeLibrary(ab.wabLib);
    ab = AddressBook();
}

void FreeAddressList(const AddressBook& ab, LPADRLIST list) {
    if (!list) return;
    for (ULONG i = 0; i < list->cEntries; ++i) ab.FreeBuffer(list->aEntries[i].rgPropVals);
    ab.FreeBuffer(list);
}

LPADRLIST RunAddressDialog(ImportApp& app, AddressBook& ab) {
    char caption[] = "Osoitteisto";
    char newEntry[] = "K\xE4ytet\xE4\xE4n vain viesti\xE4 varten, ei faksin tuomiseen";
    char wells[] = "Valitut vastaanottajat";
    char to[] = "Vast.";
    LPSTR titles[] = {to};
    ULONG comps[] = {MAPI_TO};
    ADRPARM parm;
    std::memset(&parm, 0, sizeof parm);
    parm.ulFlags = DIALOG_MODAL;
    parm.lpszCaption = caption;
    parm.lpszNewEntryTitle = newEntry;
    parm.lpszDestWellsTitle = wells;
    parm.cDestFields = 1;
    parm.lppszDestTitles = titles;
    parm.lpulDestComps = comps;
    ULONG_PTR ui = reinterpret_cast<ULONG_PTR>(app.callerWindow);
    LPADRLIST list = nullptr;
    if (FAILED(ab.book->Address(&ui, &parm, &list))) {
        FreeAddressList(ab, list);
        return nullptr;
    }
    return list;
}

INT_PTR CALLBACK ProgressProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

void CollectEntries(ImportApp& app, AddressBook& ab, const ADRLIST& list) {
    HWND progress = CreateDialogParamA(app.instance, MAKEINTRESOURCEA(IDD_PROGRESS), app.callerWindow, ProgressProc, 0);
    app.selection.entries.clear();
    ab.visited.clear();
    for (ULONG i = 0; i < list.cEntries; ++i) {
        EntryRef r = RefOf(list.aEntries[i].rgPropVals, list.aEntries[i].cValues);
        CollectRef(app, ab, r, false);
    }
    ab.visited.clear();
    if (progress) DestroyWindow(progress);
}

void ShowWabError(ImportApp& app, int source, const std::string& path) {
    std::string where = source == SourceWabDefault ? kWabDefaultName : path;
    std::vector<char> text(sizeof kWabFailed + where.size());
    std::snprintf(text.data(), text.size(), kWabFailed, where.c_str());
    ShowMessage(app.callerWindow, text.data(), kWabCaption, MB_OK | MB_ICONSTOP);
}

void CollectFromDialog(ImportApp& app, AddressBook& ab) {
    LPADRLIST list = RunAddressDialog(app, ab);
    if (!list) return;
    if (list->cEntries >= 1) CollectEntries(app, ab, *list);
    FreeAddressList(ab, list);
}

}  // namespace

void RunAddressBookSource(ImportApp& app, int source, const std::string& wabFile) {
    AddressBook ab;
    if (source == SourceMapi) {
        if (OpenMapiBook(app, ab)) CollectFromDialog(app, ab);
        CloseMapiBook(app, ab);
        return;
    }
    if (OpenWabBook(app, ab, wabFile)) CollectFromDialog(app, ab);
    else ShowWabError(app, source, wabFile);
    CloseWabBook(ab);
}
