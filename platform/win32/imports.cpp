// Import address table patching, from the PE format's import directory.
#include "imports.h"

#include <tlhelp32.h>

#include <cstring>

namespace automation {
namespace win {

int RedirectImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<unsigned char*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return 0;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return 0;
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress || !dir.Size) return 0;
    int replaced = 0;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) continue;
        // Names come from the original (unbound) thunks; addresses live in the bound ones.
        DWORD names = imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk;
        auto* nameThunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + names);
        auto* addrThunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; nameThunk->u1.AddressOfData; ++nameThunk, ++addrThunk) {
            if (IMAGE_SNAP_BY_ORDINAL(nameThunk->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + nameThunk->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            if (addrThunk->u1.Function == reinterpret_cast<ULONG_PTR>(replacement)) continue;
            DWORD old;
            if (!VirtualProtect(&addrThunk->u1.Function, sizeof(ULONG_PTR), PAGE_READWRITE, &old)) continue;
            addrThunk->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&addrThunk->u1.Function, sizeof(ULONG_PTR), old, &old);
            ++replaced;
        }
    }
    return replaced;
}

void ForEachOwnModule(void (*visit)(HMODULE)) {
    WCHAR windir[MAX_PATH];
    UINT n = GetWindowsDirectoryW(windir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) n = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    if (snap == INVALID_HANDLE_VALUE) {
        visit(GetModuleHandleW(nullptr));
        return;
    }
    MODULEENTRY32W me;
    me.dwSize = sizeof me;
    for (BOOL ok = Module32FirstW(snap, &me); ok; ok = Module32NextW(snap, &me)) {
        if (n && _wcsnicmp(me.szExePath, windir, n) == 0) continue;
        visit(me.hModule);
    }
    CloseHandle(snap);
}

}  // namespace win
}  // namespace automation
