// The scripted user on Windows: the code under test runs the real dialog
// loop. A thread CBT hook sees dialogs, message boxes and property sheets
// being created; a thread timer (the loop dispatches it only when nothing
// else is queued) performs the next step; redirected imports record what
// the code asks for (message boxes, help, beeps) and answer file dialogs.
#include <windows.h>
#include <commdlg.h>
#include <prsht.h>

#include <map>

#include "imports.h"
#include "tracked.h"

namespace automation {
namespace win {
namespace {

struct Pending {
    bool active = false;
    Kind kind = Kind::Dialog;
    int templateId = 0;
    int answer = 0;
    std::vector<int> pages;
};

struct Hooks {
    HHOOK cbt = nullptr;
    UINT_PTR timer = 0;
    Pending pending;
    std::map<HPROPSHEETPAGE, int> pageTemplates;
};

Hooks& H() {
    static Hooks h;
    return h;
}

int ResourceId(LPCWSTR name) { return IS_INTRESOURCE(name) ? (int)(ULONG_PTR)name : 0; }

bool IsDialogClass(HWND h) {
    WCHAR cls[16];
    return GetClassNameW(h, cls, 16) && lstrcmpW(cls, L"#32770") == 0;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        HWND h = (HWND)wp;
        const CREATESTRUCTW* cs = ((CBT_CREATEWNDW*)lp)->lpcs;
        Pending& p = H().pending;
        if (!(cs->style & WS_CHILD) && IsDialogClass(h)) {
            // A dialog that came by another way (a module loaded after the
            // last Play) is still played, as template 0, so that it fails
            // loudly rather than waiting for ever.
            Tracked t;
            t.hwnd = h;
            t.kind = p.active ? p.kind : Kind::Dialog;
            t.templateId = p.templateId;
            t.answer = p.answer;
            t.pages = p.pages;
            p = Pending();
            TrackedWindows().push_back(t);
            if (t.kind != Kind::MessageBox) detail::DialogOpened(t.kind == Kind::Dialog ? t.templateId : 0);
        }
    } else if (code == HCBT_DESTROYWND) {
        auto& v = TrackedWindows();
        for (size_t i = 0; i < v.size(); ++i)
            if (v[i].hwnd == (HWND)wp) {
                v.erase(v.begin() + (long)i);
                break;
            }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void ClickAnswer(const Tracked& box) {
    HWND b = GetDlgItem(box.hwnd, box.answer);
    if (b) SendMessageW(b, BM_CLICK, 0, 0);
    else SendMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(box.answer, BN_CLICKED), 0);
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Tracked* t = Innermost();
    // The dialog loop shows its window the first time the queue is empty;
    // the user acts on what is shown.
    if (!t || t->busy || !IsWindowVisible(t->hwnd)) return;
    if (t->kind == Kind::MessageBox) {
        Tracked box = *t;
        ClickAnswer(box);
        return;
    }
    HWND top = t->hwnd;
    t->busy = true;
    detail::PlayNextStep(top);
    if ((t = FindTracked(top))) t->busy = false;
}

// ---- redirected imports ----------------------------------------------------

decltype(&MessageBoxW) realMessageBoxW;
decltype(&MessageBoxA) realMessageBoxA;
decltype(&MessageBeep) realMessageBeep;
decltype(&DialogBoxParamW) realDialogBoxParamW;
decltype(&DialogBoxParamA) realDialogBoxParamA;
decltype(&DialogBoxIndirectParamW) realDialogBoxIndirectParamW;
decltype(&CreateDialogParamW) realCreateDialogParamW;
decltype(&CreateDialogParamA) realCreateDialogParamA;
decltype(&PropertySheetW) realPropertySheetW;
decltype(&CreatePropertySheetPageW) realCreatePropertySheetPageW;

int ShowBox(int answer, const std::function<int()>& show) {
    if (answer == 0) return 0;  // the failure is reported; nothing to click
    Pending& p = H().pending;
    p = Pending();
    p.active = true;
    p.kind = Kind::MessageBox;
    p.answer = answer;
    int r = show();
    if (r != answer)
        detail::Fail("the message box returned " + std::to_string(r) + " when " + std::to_string(answer) +
                         " was clicked",
                     nullptr);
    return r;
}

int WINAPI HookMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    std::u16string c = caption ? U16(caption) : u"Error";
    int answer = detail::AnswerMessageBox(owner, U16(text), c, type);
    return ShowBox(answer, [&] { return realMessageBoxW(owner, text, caption, type); });
}

std::u16string FromAnsi(LPCSTR s) {
    if (!s) return u"";
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(n > 0 ? (size_t)n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
    return U16(w.c_str());
}

int WINAPI HookMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    std::u16string c = caption ? FromAnsi(caption) : u"Error";
    int answer = detail::AnswerMessageBox(owner, FromAnsi(text), c, type);
    return ShowBox(answer, [&] { return realMessageBoxA(owner, text, caption, type); });
}

BOOL WINAPI HookMessageBeep(UINT type) {
    detail::RecordBeep(type);
    return realMessageBeep(type);
}

// Help is recorded, never started: there is no help viewer to drive.
BOOL WINAPI HookWinHelpW(HWND, LPCWSTR file, UINT cmd, ULONG_PTR data) {
    detail::RecordHelp(U16(file), cmd, data);
    return TRUE;
}

BOOL WINAPI HookWinHelpA(HWND, LPCSTR file, UINT cmd, ULONG_PTR data) {
    detail::RecordHelp(FromAnsi(file), cmd, data);
    return TRUE;
}

void ExpectDialog(int templateId) {
    Pending& p = H().pending;
    p = Pending();
    p.active = true;
    p.templateId = templateId;
}

INT_PTR WINAPI HookDialogBoxParamW(HINSTANCE inst, LPCWSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    int id = ResourceId(name);
    ExpectDialog(id);
    INT_PTR r = realDialogBoxParamW(inst, name, owner, proc, param);
    H().pending = Pending();
    detail::DialogEnded(id, r);
    return r;
}

INT_PTR WINAPI HookDialogBoxParamA(HINSTANCE inst, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    int id = IS_INTRESOURCE(name) ? (int)(ULONG_PTR)name : 0;
    ExpectDialog(id);
    INT_PTR r = realDialogBoxParamA(inst, name, owner, proc, param);
    H().pending = Pending();
    detail::DialogEnded(id, r);
    return r;
}

INT_PTR WINAPI HookDialogBoxIndirectParamW(HINSTANCE inst, LPCDLGTEMPLATEW t, HWND owner, DLGPROC proc, LPARAM param) {
    ExpectDialog(0);
    INT_PTR r = realDialogBoxIndirectParamW(inst, t, owner, proc, param);
    H().pending = Pending();
    detail::DialogEnded(0, r);
    return r;
}

// Modeless: the creation hook records the template; no loop to end.
HWND WINAPI HookCreateDialogParamW(HINSTANCE inst, LPCWSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    ExpectDialog(ResourceId(name));
    HWND h = realCreateDialogParamW(inst, name, owner, proc, param);
    H().pending = Pending();
    return h;
}

HWND WINAPI HookCreateDialogParamA(HINSTANCE inst, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    ExpectDialog(IS_INTRESOURCE(name) ? (int)(ULONG_PTR)name : 0);
    HWND h = realCreateDialogParamA(inst, name, owner, proc, param);
    H().pending = Pending();
    return h;
}

HPROPSHEETPAGE WINAPI HookCreatePropertySheetPageW(LPCPROPSHEETPAGEW psp) {
    HPROPSHEETPAGE h = realCreatePropertySheetPageW(psp);
    if (h && psp) H().pageTemplates[h] = (psp->dwFlags & PSP_DLGINDIRECT) ? 0 : ResourceId(psp->pszTemplate);
    return h;
}

INT_PTR WINAPI HookPropertySheetW(LPCPROPSHEETHEADERW psh) {
    Pending p;
    p.active = true;
    p.kind = Kind::Sheet;
    if (psh) {
        for (UINT i = 0; i < psh->nPages; ++i) {
            if (psh->dwFlags & PSH_PROPSHEETPAGE) {
                // The pages follow each other, each at its own declared size.
                const BYTE* at = (const BYTE*)psh->ppsp;
                for (UINT k = 0; k < i; ++k) at += ((LPCPROPSHEETPAGEW)at)->dwSize;
                auto* page = (LPCPROPSHEETPAGEW)at;
                p.pages.push_back((page->dwFlags & PSP_DLGINDIRECT) ? 0 : ResourceId(page->pszTemplate));
            } else {
                auto it = H().pageTemplates.find(psh->phpage[i]);
                p.pages.push_back(it == H().pageTemplates.end() ? 0 : it->second);
            }
        }
    }
    H().pending = p;
    INT_PTR r = realPropertySheetW(psh);
    H().pending = Pending();
    detail::DialogEnded(0, r);
    return r;
}

// File dialogs are answered here rather than through the system's dialog,
// whose layout differs between versions and is not ours to test.
template <class OFN, class Ch>
BOOL AnswerFile(OFN* o, bool save, const std::u16string& title, const std::u16string& defExt,
                std::basic_string<Ch> (*encode)(const std::u16string&)) {
    if (!o) return FALSE;
    std::u16string path;
    if (!detail::AnswerFileDialog(o->hwndOwner, save, title, o->Flags, path)) return FALSE;
    size_t slash = path.find_last_of(u"/\\");
    size_t dot = path.find_last_of(u'.');
    if (!defExt.empty() && (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash))) {
        path += u"." + defExt;
        dot = path.find_last_of(u'.');
    }
    std::basic_string<Ch> e = encode(path);
    if (!o->lpstrFile || e.size() + 1 > o->nMaxFile) return FALSE;
    std::copy(e.begin(), e.end(), o->lpstrFile);
    o->lpstrFile[e.size()] = 0;
    size_t off = slash == std::u16string::npos ? 0 : slash + 1;
    o->nFileOffset = (WORD)off;
    o->nFileExtension = (WORD)(dot == std::u16string::npos || dot < off ? 0 : dot + 1);
    return TRUE;
}

std::wstring EncodeW(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::string EncodeA(const std::u16string& s) {
    std::wstring w = EncodeW(s);
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string r(n > 0 ? (size_t)n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, w.c_str(), (int)w.size(), &r[0], n, nullptr, nullptr);
    return r;
}

BOOL WINAPI HookGetOpenFileNameW(LPOPENFILENAMEW o) {
    return o ? AnswerFile<OPENFILENAMEW, wchar_t>(o, false, U16(o->lpstrTitle), U16(o->lpstrDefExt), EncodeW) : FALSE;
}
BOOL WINAPI HookGetSaveFileNameW(LPOPENFILENAMEW o) {
    return o ? AnswerFile<OPENFILENAMEW, wchar_t>(o, true, U16(o->lpstrTitle), U16(o->lpstrDefExt), EncodeW) : FALSE;
}
BOOL WINAPI HookGetOpenFileNameA(LPOPENFILENAMEA o) {
    return o ? AnswerFile<OPENFILENAMEA, char>(o, false, FromAnsi(o->lpstrTitle), FromAnsi(o->lpstrDefExt), EncodeA)
             : FALSE;
}
BOOL WINAPI HookGetSaveFileNameA(LPOPENFILENAMEA o) {
    return o ? AnswerFile<OPENFILENAMEA, char>(o, true, FromAnsi(o->lpstrTitle), FromAnsi(o->lpstrDefExt), EncodeA)
             : FALSE;
}

void Redirect(HMODULE m) {
    struct Entry {
        const char* dll;
        const char* fn;
        void* hook;
    } entries[] = {
        {"user32.dll", "MessageBoxW", (void*)HookMessageBoxW},
        {"user32.dll", "MessageBoxA", (void*)HookMessageBoxA},
        {"user32.dll", "MessageBeep", (void*)HookMessageBeep},
        {"user32.dll", "WinHelpW", (void*)HookWinHelpW},
        {"user32.dll", "WinHelpA", (void*)HookWinHelpA},
        {"user32.dll", "DialogBoxParamW", (void*)HookDialogBoxParamW},
        {"user32.dll", "DialogBoxParamA", (void*)HookDialogBoxParamA},
        {"user32.dll", "DialogBoxIndirectParamW", (void*)HookDialogBoxIndirectParamW},
        {"user32.dll", "CreateDialogParamW", (void*)HookCreateDialogParamW},
        {"user32.dll", "CreateDialogParamA", (void*)HookCreateDialogParamA},
        {"comctl32.dll", "PropertySheetW", (void*)HookPropertySheetW},
        {"comctl32.dll", "CreatePropertySheetPageW", (void*)HookCreatePropertySheetPageW},
        {"comdlg32.dll", "GetOpenFileNameW", (void*)HookGetOpenFileNameW},
        {"comdlg32.dll", "GetSaveFileNameW", (void*)HookGetSaveFileNameW},
        {"comdlg32.dll", "GetOpenFileNameA", (void*)HookGetOpenFileNameA},
        {"comdlg32.dll", "GetSaveFileNameA", (void*)HookGetSaveFileNameA},
    };
    for (auto& e : entries) RedirectImport(m, e.dll, e.fn, e.hook);
}

template <class F>
void Resolve(F& slot, const wchar_t* dll, const char* name) {
    HMODULE m = LoadLibraryW(dll);
    slot = m ? (F)(void*)GetProcAddress(m, name) : nullptr;
}

}  // namespace

}  // namespace win

namespace detail {

void PlatformStart() {
    using namespace win;
    Hooks& h = H();
    if (!h.cbt) {
        Resolve(realMessageBoxW, L"user32.dll", "MessageBoxW");
        Resolve(realMessageBoxA, L"user32.dll", "MessageBoxA");
        Resolve(realMessageBeep, L"user32.dll", "MessageBeep");
        Resolve(realDialogBoxParamW, L"user32.dll", "DialogBoxParamW");
        Resolve(realDialogBoxParamA, L"user32.dll", "DialogBoxParamA");
        Resolve(realDialogBoxIndirectParamW, L"user32.dll", "DialogBoxIndirectParamW");
        Resolve(realCreateDialogParamW, L"user32.dll", "CreateDialogParamW");
        Resolve(realCreateDialogParamA, L"user32.dll", "CreateDialogParamA");
        Resolve(realPropertySheetW, L"comctl32.dll", "PropertySheetW");
        Resolve(realCreatePropertySheetPageW, L"comctl32.dll", "CreatePropertySheetPageW");
        h.cbt = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
        h.timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
    }
    // Modules loaded since the last call are redirected too.
    ForEachOwnModule(Redirect);
}

void PlatformReset() { win::H().pending = win::Pending(); }

}  // namespace detail

HWND OpenDialog() {
    win::Tracked* t = win::Innermost();
    while (t && t->kind == win::Kind::MessageBox) {
        // The dialog a message box belongs to is the one below it.
        auto& v = win::TrackedWindows();
        size_t i = (size_t)(t - v.data());
        t = nullptr;
        while (i-- > 0)
            if (v[i].kind != win::Kind::MessageBox && IsWindow(v[i].hwnd)) {
                t = &v[i];
                break;
            }
    }
    return t ? t->hwnd : nullptr;
}

int OpenDialogId() {
    HWND h = OpenDialog();
    win::Tracked* t = h ? win::FindTracked(h) : nullptr;
    return t ? win::TemplateOf(*t) : 0;
}

}  // namespace automation
