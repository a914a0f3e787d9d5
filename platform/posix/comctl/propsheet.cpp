// Modal property sheets: pages made from dialog templates inside a sheet
// with OK, Cancel and Apply, told of activation, apply and reset through
// WM_NOTIFY as the system's sheets tell them.
#include "posix/comctl/propsheet.h"
#include "posix/user/dialog.h"
#include "posix/user/scripted_user.h"
#include "posix/user/text.h"
#include "posix/user/window.h"

#include <algorithm>

// What a page handle stands for: the creator's description, extra bytes
// after the documented fields included, kept for the page's lifetime.
struct _PSP {
    std::vector<unsigned char> bytes;
    PROPSHEETPAGEW* page() { return reinterpret_cast<PROPSHEETPAGEW*>(bytes.data()); }
};

namespace winuser {
namespace {

// The largest description accepted: the documented fields plus room for
// the data a caller appends.
constexpr DWORD kMaxPageSize = 64 * 1024;
constexpr UINT kMaxPages = 100;
constexpr int kApplyId = ID_APPLY_NOW;

struct SheetPage {
    HPROPSHEETPAGE handle = nullptr;
    HWND hwnd = nullptr;
    int templateId = 0;
};

struct Sheet {
    HWND hwnd = nullptr;
    std::vector<SheetPage> pages;
    int current = -1;
    std::vector<HWND> changed;  // pages that reported a change not yet applied
    bool applied = false;       // Apply succeeded at least once
};

std::map<HWND, Sheet*>& Sheets() {
    static std::map<HWND, Sheet*> m;
    return m;
}

Sheet* SheetOf(HWND h) {
    auto it = Sheets().find(h);
    return it == Sheets().end() ? nullptr : it->second;
}

int TemplateNumber(const PROPSHEETPAGEW* p) {
    if (p->dwFlags & PSP_DLGINDIRECT) return 0;
    return IS_INTRESOURCE(p->pszTemplate) ? (int)(ULONG_PTR)p->pszTemplate : 0;
}

LRESULT Tell(Sheet& s, int index, UINT code, LPARAM lp) {
    HWND page = s.pages[(size_t)index].hwnd;
    if (!page || !Find(page)) return 0;
    PSHNOTIFY n{};
    n.hdr.hwndFrom = s.hwnd;
    n.hdr.idFrom = 0;
    n.hdr.code = code;
    n.lParam = lp;
    return Send(page, WM_NOTIFY, 0, (LPARAM)&n);
}

// Makes the page's dialog the first time the page is shown.
bool Build(Sheet& s, int index) {
    SheetPage& sp = s.pages[(size_t)index];
    if (sp.hwnd) return true;
    PROPSHEETPAGEW* p = sp.handle->page();
    if ((p->dwFlags & PSP_USECALLBACK) && p->pfnCallback && !p->pfnCallback(nullptr, PSPCB_CREATE, p)) return false;
    winres::DialogTemplate t;
    if (p->dwFlags & PSP_DLGINDIRECT) {
        // The caller vouches for the size of an in-memory template.
        if (!p->pResource || !winres::ParseDialog((const unsigned char*)p->pResource, 1u << 20, t)) return false;
    } else if (!LoadDialogTemplate(p->hInstance, p->pszTemplate, t)) {
        return false;
    }
    t.style = (t.style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE)) | WS_CHILD;
    sp.hwnd = CreateDialogFromTemplate(p->hInstance, t, s.hwnd, p->pfnDlgProc, (LPARAM)p, sp.templateId, true);
    return sp.hwnd != nullptr;
}

void Show(Sheet& s, int index) {
    for (size_t k = 0; k < s.pages.size(); ++k)
        if (s.pages[k].hwnd && Find(s.pages[k].hwnd)) ShowWindow(s.pages[k].hwnd, (int)k == index ? SW_SHOW : SW_HIDE);
}

bool Activate(Sheet& s, int index) {
    if (!Build(s, index)) return false;
    s.current = index;
    Show(s, index);
    Tell(s, index, PSN_SETACTIVE, 0);
    return true;
}

// The current page is left for 'index' (even for itself, when the program
// asks); the page may refuse.
bool SwitchTo(Sheet& s, int index) {
    if (index < 0 || index >= (int)s.pages.size()) return false;
    if (s.current >= 0 && Tell(s, s.current, PSN_KILLACTIVE, 0)) return false;
    return Activate(s, index);
}

// Every page made so far confirms its values; false when one refuses.
bool ApplyAll(Sheet& s, bool ok) {
    if (s.current >= 0 && Tell(s, s.current, PSN_KILLACTIVE, 0)) return false;
    for (size_t k = 0; k < s.pages.size(); ++k) {
        if (!s.pages[k].hwnd) continue;
        LRESULT r = Tell(s, (int)k, PSN_APPLY, ok ? TRUE : FALSE);
        if (r == PSNRET_INVALID) {
            // The refusing page comes forward; no page is told of it.
            s.current = (int)k;
            Show(s, (int)k);
            return false;
        }
        if (r == PSNRET_INVALID_NOCHANGEPAGE) return false;
    }
    return true;
}

void EnableApply(Sheet& s, bool on) {
    HWND b = GetDlgItem(s.hwnd, kApplyId);
    if (b) EnableWindow(b, on);
}

void PressOk(Sheet& s) {
    if (!ApplyAll(s, true)) return;
    EndDialog(s.hwnd, 1);
}

void PressApply(Sheet& s) {
    HWND b = GetDlgItem(s.hwnd, kApplyId);
    if (!b || !IsWindowEnabled(b)) return;
    if (!ApplyAll(s, false)) return;
    s.applied = true;
    s.changed.clear();
    EnableApply(s, false);
    // The page that lost the focus to the button is active again.
    if (s.current >= 0) Tell(s, s.current, PSN_SETACTIVE, 0);
}

void PressCancel(Sheet& s) {
    if (s.current >= 0 && Tell(s, s.current, PSN_QUERYCANCEL, 0)) return;
    for (size_t k = 0; k < s.pages.size(); ++k)
        if (s.pages[k].hwnd) Tell(s, (int)k, PSN_RESET, FALSE);
    // Values saved by Apply stay saved: the sheet reports them.
    EndDialog(s.hwnd, s.applied ? 1 : 0);
}

void Changed(Sheet& s, HWND page, bool on) {
    auto it = std::find(s.changed.begin(), s.changed.end(), page);
    if (on && it == s.changed.end()) s.changed.push_back(page);
    if (!on && it != s.changed.end()) s.changed.erase(it);
    EnableApply(s, !s.changed.empty());
}

int IndexOf(const Sheet& s, HWND page, HPROPSHEETPAGE handle) {
    for (size_t k = 0; k < s.pages.size(); ++k)
        if ((page && s.pages[k].hwnd == page) || (handle && s.pages[k].handle == handle)) return (int)k;
    return -1;
}

INT_PTR Result(HWND h, LONG_PTR v) {
    SetWindowLongPtrW(h, DWLP_MSGRESULT, v);
    return TRUE;
}

INT_PTR OnCommand(Sheet& s, int id) {
    switch (id) {
    case IDOK: PressOk(s); return TRUE;
    case IDCANCEL: PressCancel(s); return TRUE;
    case kApplyId: PressApply(s); return TRUE;
    case IDHELP: Tell(s, s.current, PSN_HELP, 0); return TRUE;
    }
    return FALSE;
}

INT_PTR OnPressButton(Sheet& s, WPARAM which) {
    switch (which) {
    case PSBTN_OK: PressOk(s); break;
    case PSBTN_CANCEL: PressCancel(s); break;
    case PSBTN_APPLYNOW: PressApply(s); break;
    }
    return TRUE;
}

INT_PTR CALLBACK SheetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Sheet* s = SheetOf(h);
    if (!s) return msg == WM_INITDIALOG;
    switch (msg) {
    case WM_COMMAND: return OnCommand(*s, LOWORD(wp));
    case PSM_CHANGED: Changed(*s, (HWND)wp, true); return TRUE;
    case PSM_UNCHANGED: Changed(*s, (HWND)wp, false); return TRUE;
    case PSM_SETCURSEL: {
        int i = lp ? IndexOf(*s, nullptr, (HPROPSHEETPAGE)lp) : (int)wp;
        return Result(h, SwitchTo(*s, i));
    }
    case PSM_PRESSBUTTON: return OnPressButton(*s, wp);
    case PSM_APPLY: return Result(h, [&] {
        bool ok = ApplyAll(*s, false);
        if (ok) {
            s->applied = true;
            s->changed.clear();
            EnableApply(*s, false);
        }
        return ok;
    }());
    case PSM_CANCELTOCLOSE:
        if (HWND c = GetDlgItem(h, IDCANCEL)) EnableWindow(c, FALSE);
        SetDlgItemTextW(h, IDOK, u"Close");
        return TRUE;
    case PSM_GETCURRENTPAGEHWND:
        return Result(h, s->current >= 0 ? (LONG_PTR)s->pages[(size_t)s->current].hwnd : 0);
    case PSM_HWNDTOINDEX: return Result(h, IndexOf(*s, (HWND)wp, nullptr));
    case PSM_INDEXTOHWND:
        return Result(h, wp < s->pages.size() ? (LONG_PTR)s->pages[wp].hwnd : 0);
    case PSM_GETTABCONTROL: return Result(h, 0);
    }
    return msg == WM_INITDIALOG;
}

winres::DialogItem Button(int id, const char16_t* text, DWORD style) {
    winres::DialogItem it;
    it.id = (DWORD)id;
    it.cls.id = 0x80;
    it.title.name = text;
    it.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | style;
    return it;
}

bool ValidPage(LPCPROPSHEETPAGEW p) {
    return p && p->dwSize >= sizeof(PROPSHEETPAGEW) && p->dwSize <= kMaxPageSize;
}

void Release(HPROPSHEETPAGE h) {
    if (!h) return;
    PROPSHEETPAGEW* p = h->page();
    if ((p->dwFlags & PSP_USECALLBACK) && p->pfnCallback) p->pfnCallback(nullptr, PSPCB_RELEASE, p);
    if ((p->dwFlags & PSP_USEREFPARENT) && p->pcRefParent) --*p->pcRefParent;
    delete h;
}

}  // namespace

namespace sheet {
bool Is(HWND h) { return SheetOf(h) != nullptr; }

HWND CurrentPage(HWND h) {
    Sheet* s = SheetOf(h);
    return s && s->current >= 0 ? s->pages[(size_t)s->current].hwnd : nullptr;
}

int CurrentTemplate(HWND h) {
    Sheet* s = SheetOf(h);
    return s && s->current >= 0 ? s->pages[(size_t)s->current].templateId : 0;
}

std::string ClickTab(HWND h, int index) {
    Sheet* s = SheetOf(h);
    if (!s) return "the dialog is not a property sheet";
    if (index < 0 || index >= (int)s->pages.size()) return "the sheet has no page " + std::to_string(index);
    // A click on the current tab changes nothing; a page that refuses to be
    // left keeps the focus, as for a user.
    if (index != s->current) SwitchTo(*s, index);
    return "";
}
}  // namespace sheet

}  // namespace winuser

using namespace winuser;

HPROPSHEETPAGE WINAPI CreatePropertySheetPageW(LPCPROPSHEETPAGEW p) {
    if (!ValidPage(p)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* h = new _PSP;
    h->bytes.assign((const unsigned char*)p, (const unsigned char*)p + p->dwSize);
    PROPSHEETPAGEW* copy = h->page();
    if ((copy->dwFlags & PSP_USEREFPARENT) && copy->pcRefParent) ++*copy->pcRefParent;
    return h;
}

BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE h) {
    if (!h) return FALSE;
    Release(h);
    return TRUE;
}

INT_PTR WINAPI PropertySheetW(LPCPROPSHEETHEADERW psh) {
    if (!psh || psh->dwSize < sizeof(PROPSHEETHEADERW) || (psh->dwFlags & PSH_MODELESS) || psh->nPages == 0 ||
        psh->nPages > kMaxPages || (!(psh->dwFlags & PSH_PROPSHEETPAGE) && !psh->phpage) ||
        ((psh->dwFlags & PSH_PROPSHEETPAGE) && !psh->ppsp)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    Sheet s;
    // The sheet owns every page handed to it and releases them at the end.
    const unsigned char* at = (const unsigned char*)psh->ppsp;
    for (UINT i = 0; i < psh->nPages; ++i) {
        SheetPage sp;
        if (psh->dwFlags & PSH_PROPSHEETPAGE) {
            auto* p = (LPCPROPSHEETPAGEW)at;
            sp.handle = CreatePropertySheetPageW(p);
            if (sp.handle) at += p->dwSize;
        } else {
            sp.handle = psh->phpage[i];
        }
        if (!sp.handle) {
            // Handles made here are ours to free; a caller's stay its own
            // when the sheet never came to be.
            if (psh->dwFlags & PSH_PROPSHEETPAGE)
                for (auto& q : s.pages) Release(q.handle);
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        sp.templateId = TemplateNumber(sp.handle->page());
        s.pages.push_back(sp);
    }
    winres::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.title = W(psh->pszCaption);
    t.cx = 220;
    t.cy = 160;
    t.items.push_back(Button(IDOK, u"OK", BS_DEFPUSHBUTTON));
    t.items.push_back(Button(IDCANCEL, u"Cancel", BS_PUSHBUTTON));
    if (!(psh->dwFlags & PSH_NOAPPLYNOW)) t.items.push_back(Button(kApplyId, u"&Apply", BS_PUSHBUTTON | WS_DISABLED));
    if (psh->dwFlags & PSH_HASHELP) t.items.push_back(Button(IDHELP, u"Help", BS_PUSHBUTTON));

    ModalOwner owner = DisableOwner(psh->hwndParent);
    INT_PTR result = -1;
    s.hwnd = CreateDialogFromTemplate(psh->hInstance, t, owner.hwnd, nullptr, 0, 0, false);
    if (s.hwnd) {
        Sheets()[s.hwnd] = &s;
        Find(s.hwnd)->dlgProc = SheetProc;
        if ((psh->dwFlags & PSH_USECALLBACK) && psh->pfnCallback) psh->pfnCallback(s.hwnd, PSCB_INITIALIZED, 0);
        UINT start = (psh->dwFlags & PSH_USEPSTARTPAGE) ? 0 : psh->nStartPage;
        if (start >= psh->nPages) start = 0;
        if (Activate(s, (int)start) && Find(s.hwnd) && !Find(s.hwnd)->ended) {
            ShowWindow(s.hwnd, SW_SHOWNORMAL);
            SetActiveWindow(s.hwnd);
            SetForegroundLocal(s.hwnd);
            RunModal(s.hwnd);
        }
        if (Window* d = Find(s.hwnd)) {
            result = d->ended ? d->result : -1;
            user::DialogEnded(s.hwnd, result);
            // Pages go first, each told by WM_DESTROY, in their order.
            for (auto& sp : s.pages)
                if (sp.hwnd && Find(sp.hwnd)) DestroyWindow(sp.hwnd);
            Sheets().erase(s.hwnd);
            DestroyWindow(s.hwnd);
        }
        Sheets().erase(s.hwnd);
    }
    for (auto& sp : s.pages) Release(sp.handle);
    RestoreOwner(owner);
    return result;
}
