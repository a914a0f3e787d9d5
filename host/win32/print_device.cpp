// The Windows host's own part of the printer device contexts: contexts of
// the system's, the add-on modules' imports redirected to us, and the
// system's own call for a context or handle not ours.
#include "print_registry.h"
#include "imports.h"

namespace {

int WINAPI HostExtEscape(HDC dc, int code, int inSize, LPCSTR in, int outSize, LPSTR out) {
    if (auto done = headless::print::Escape(dc, code, inSize, in, outSize, out)) return *done;
    return ExtEscape(dc, code, inSize, in, outSize, out);
}

int WINAPI HostAbortDoc(HDC dc) {
    if (auto done = headless::print::AbortDocument(dc)) return *done;
    return AbortDoc(dc);
}

BOOL WINAPI HostGetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    if (auto done = headless::print::GetPrinter(printer, level, buffer, size, needed)) return *done;
    return GetPrinterW(printer, level, buffer, size, needed);
}

// Every module of the process's own (the add-on, or a program it is linked
// into); calls for contexts and handles not the host's reach the system.
void Redirect(HMODULE module) {
    automation::win::RedirectImport(module, "gdi32.dll", "ExtEscape", reinterpret_cast<void*>(HostExtEscape));
    automation::win::RedirectImport(module, "gdi32.dll", "AbortDoc", reinterpret_cast<void*>(HostAbortDoc));
    automation::win::RedirectImport(module, "winspool.drv", "GetPrinterW", reinterpret_cast<void*>(HostGetPrinterW));
}

}  // namespace

namespace headless {

HDC CreatePrinterDC(PrinterDevice* device) {
    if (!device) return nullptr;
    automation::win::ForEachOwnModule(Redirect);
    // A context of the system's, so that the handle is unique and valid.
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc) print::AddDevice(dc, device);
    return dc;
}

void DeletePrinterDC(HDC dc) {
    if (print::RemoveDevice(dc)) DeleteDC(dc);
}

}  // namespace headless
