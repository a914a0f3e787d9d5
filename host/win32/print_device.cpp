#include "print_device.h"

#include <cstring>
#include <map>
#include <memory>

#include "win32/imports.h"

namespace {

struct PrinterNames {
    std::u16string printer;
    std::u16string port;
    std::u16string driver;
};

std::map<HDC, headless::PrinterDevice*>& Devices() {
    static std::map<HDC, headless::PrinterDevice*> m;
    return m;
}
// Handles are the addresses of these records: a handle of the real spooler
// is not among them and goes to the system.
std::map<HANDLE, std::unique_ptr<PrinterNames>>& Printers() {
    static std::map<HANDLE, std::unique_ptr<PrinterNames>> m;
    return m;
}

headless::PrinterDevice* DeviceOf(HDC dc) {
    auto it = Devices().find(dc);
    return it == Devices().end() ? nullptr : it->second;
}

size_t StringBytes(const std::u16string& s) { return (s.size() + 1) * sizeof(WCHAR); }

LPWSTR PlaceString(LPBYTE& tail, const std::u16string& s) {
    LPWSTR at = reinterpret_cast<LPWSTR>(tail);
    std::memcpy(tail, s.c_str(), StringBytes(s));
    tail += StringBytes(s);
    return at;
}

int WINAPI HostExtEscape(HDC dc, int code, int inSize, LPCSTR in, int outSize, LPSTR out) {
    headless::PrinterDevice* device = DeviceOf(dc);
    if (!device) return ExtEscape(dc, code, inSize, in, outSize, out);
    if (inSize < 0 || outSize < 0 || (inSize > 0 && !in) || (outSize > 0 && !out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return device->Escape(code, inSize, in, outSize, out);
}

int WINAPI HostAbortDoc(HDC dc) {
    headless::PrinterDevice* device = DeviceOf(dc);
    if (!device) return AbortDoc(dc);
    device->AbortDocument();
    return 1;
}

BOOL WINAPI HostGetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    auto it = Printers().find(printer);
    if (it == Printers().end()) return GetPrinterW(printer, level, buffer, size, needed);
    if (level != 2) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    const PrinterNames& n = *it->second;
    static const std::u16string kProcessor = u"WinPrint", kDatatype = u"RAW";
    size_t total = sizeof(PRINTER_INFO_2W) + StringBytes(n.printer) + StringBytes(n.port) + StringBytes(n.driver) +
                   StringBytes(kProcessor) + StringBytes(kDatatype);
    if (needed) *needed = static_cast<DWORD>(total);
    if (!buffer || size < total) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    PRINTER_INFO_2W info{};
    LPBYTE tail = buffer + sizeof info;
    info.pPrinterName = PlaceString(tail, n.printer);
    info.pPortName = PlaceString(tail, n.port);
    info.pDriverName = PlaceString(tail, n.driver);
    info.pPrintProcessor = PlaceString(tail, kProcessor);
    info.pDatatype = PlaceString(tail, kDatatype);
    std::memcpy(buffer, &info, sizeof info);
    return TRUE;
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
    if (dc) Devices()[dc] = device;
    return dc;
}

void DeletePrinterDC(HDC dc) {
    if (Devices().erase(dc)) DeleteDC(dc);
}

HANDLE CreatePrinterHandle(const std::u16string& printerName, const std::u16string& portName,
                           const std::u16string& driverName) {
    auto names = std::make_unique<PrinterNames>(PrinterNames{printerName, portName, driverName});
    HANDLE h = names.get();
    Printers()[h] = std::move(names);
    return h;
}

void ClosePrinterHandle(HANDLE printer) { Printers().erase(printer); }

}  // namespace headless
