// The headless layer's own part of the printer device contexts: the context
// handles and the failure for a context or handle not ours.
#include "print_registry.h"

namespace headless {

HDC CreatePrinterDC(PrinterDevice* device) {
    if (!device) return nullptr;
    // A unique address per context; the byte itself is never used.
    HDC dc = reinterpret_cast<HDC>(new char);
    print::AddDevice(dc, device);
    return dc;
}

void DeletePrinterDC(HDC dc) {
    if (print::RemoveDevice(dc)) delete reinterpret_cast<char*>(dc);
}

}  // namespace headless

int WINAPI ExtEscape(HDC hdc, int iEscape, int cjInput, LPCSTR lpInData, int cjOutput, LPSTR lpOutData) {
    if (auto done = headless::print::Escape(hdc, iEscape, cjInput, lpInData, cjOutput, lpOutData)) return *done;
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
}

int WINAPI AbortDoc(HDC hdc) {
    if (auto done = headless::print::AbortDocument(hdc)) return *done;
    SetLastError(ERROR_INVALID_HANDLE);
    return SP_ERROR;
}

BOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded) {
    if (auto done = headless::print::GetPrinter(hPrinter, Level, pPrinter, cbBuf, pcbNeeded)) return *done;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
