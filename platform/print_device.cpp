// Printer device contexts and printer handles: the records and the answers
// common to the headless layer and the Windows host.
#include "print_registry.h"

#include <cstring>
#include <map>
#include <memory>

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
// Handles are the addresses of these records, so a stale or foreign handle
// is found missing rather than dereferenced.
std::map<HANDLE, std::unique_ptr<PrinterNames>>& Printers() {
    static std::map<HANDLE, std::unique_ptr<PrinterNames>> m;
    return m;
}

headless::PrinterDevice* DeviceOf(HDC dc) {
    auto it = Devices().find(dc);
    return it == Devices().end() ? nullptr : it->second;
}

size_t StringBytes(const std::u16string& s) { return (s.size() + 1) * sizeof(WCHAR); }

// Copies a string into the tail area of a GetPrinter buffer.
LPWSTR PlaceString(LPBYTE& tail, const std::u16string& s) {
    LPWSTR at = reinterpret_cast<LPWSTR>(tail);
    std::memcpy(tail, s.c_str(), StringBytes(s));
    tail += StringBytes(s);
    return at;
}

}  // namespace

namespace headless {

HANDLE CreatePrinterHandle(const std::u16string& printerName, const std::u16string& portName,
                           const std::u16string& driverName) {
    auto names = std::make_unique<PrinterNames>(PrinterNames{printerName, portName, driverName});
    HANDLE h = names.get();
    Printers()[h] = std::move(names);
    return h;
}

void ClosePrinterHandle(HANDLE printer) { Printers().erase(printer); }

namespace print {

void AddDevice(HDC dc, PrinterDevice* device) { Devices()[dc] = device; }

bool RemoveDevice(HDC dc) { return Devices().erase(dc) != 0; }

std::optional<int> Escape(HDC dc, int code, int inSize, LPCSTR in, int outSize, LPSTR out) {
    PrinterDevice* device = DeviceOf(dc);
    if (!device) return std::nullopt;
    if (inSize < 0 || outSize < 0 || (inSize > 0 && !in) || (outSize > 0 && !out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return device->Escape(code, inSize, in, outSize, out);
}

std::optional<int> AbortDocument(HDC dc) {
    PrinterDevice* device = DeviceOf(dc);
    if (!device) return std::nullopt;
    device->AbortDocument();
    return 1;
}

std::optional<BOOL> GetPrinter(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    auto it = Printers().find(printer);
    if (it == Printers().end()) return std::nullopt;
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

}  // namespace print
}  // namespace headless
