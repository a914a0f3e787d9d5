// Recipients from an address book: the messaging system's or a Windows
// Address Book file. The user picks people and lists in the book's own
// dialog; every chosen person's fax numbers become entries, lists are
// expanded once each.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "address_book_rules.h"
#include "import_app.h"
#include "import_codes.h"
#include "rcpimport_ids.h"

namespace {

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
struct AddressBook : AddressBookAccess {
    HMODULE mapiLib = nullptr;
    LPMAPISESSION session = nullptr;
    HMODULE wabLib = nullptr;
};

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
    AddressTally tally;
    tally.maxCount = app.selection.maxCount;
    tally.found = app.foundCount;
    tally.confirmed = app.confirmedCount;
    tally.rejected = app.rejectedCount;
    CollectAddressEntries(ab, list, tally);
    app.selection.entries = std::move(tally.entries);
    app.foundCount = tally.found;
    app.confirmedCount = tally.confirmed;
    app.rejectedCount = tally.rejected;
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
