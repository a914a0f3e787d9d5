// Printer device contexts and printer handles of the headless build.
#include "print_device.h"

#include <cstring>
#include <map>
#include <memory>

#include "win_kernel.h"

namespace {

struct PrinterNames {
    std::u16string printer;
    std::u16string port;
    std::u16string driver;
};

// Handles are the addresses of these records, so a stale or foreign handle
// is found missing rather than dereferenced.
std::map<HDC, headless::PrinterDevice*>& Devices() {
    static std::map<HDC, headless::PrinterDevice*> m;
    return m;
}
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

HDC CreatePrinterDC(PrinterDevice* device) {
    if (!device) return nullptr;
    // A unique address per context; the byte itself is never used.
    HDC dc = reinterpret_cast<HDC>(new char);
    Devices()[dc] = device;
    return dc;
}

void DeletePrinterDC(HDC dc) {
    if (Devices().erase(dc)) delete reinterpret_cast<char*>(dc);
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

int WINAPI ExtEscape(HDC hdc, int iEscape, int cjInput, LPCSTR lpInData, int cjOutput, LPSTR lpOutData) {
    headless::PrinterDevice* device = DeviceOf(hdc);
    if (!device || cjInput < 0 || cjOutput < 0 || (cjInput > 0 && !lpInData) || (cjOutput > 0 && !lpOutData)) {
        SetLastError(device ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return -1;
    }
    return device->Escape(iEscape, cjInput, lpInData, cjOutput, lpOutData);
}

int WINAPI AbortDoc(HDC hdc) {
    headless::PrinterDevice* device = DeviceOf(hdc);
    if (!device) {
        SetLastError(ERROR_INVALID_HANDLE);
        return SP_ERROR;
    }
    device->AbortDocument();
    return 1;
}

BOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded) {
    auto it = Printers().find(hPrinter);
    if (it == Printers().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (Level != 2) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    const PrinterNames& n = *it->second;
    static const std::u16string kProcessor = u"WinPrint", kDatatype = u"RAW";
    size_t needed = sizeof(PRINTER_INFO_2W) + StringBytes(n.printer) + StringBytes(n.port) +
                    StringBytes(n.driver) + StringBytes(kProcessor) + StringBytes(kDatatype);
    if (pcbNeeded) *pcbNeeded = static_cast<DWORD>(needed);
    if (!pPrinter || cbBuf < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    PRINTER_INFO_2W info{};
    LPBYTE tail = pPrinter + sizeof info;
    info.pPrinterName = PlaceString(tail, n.printer);
    info.pPortName = PlaceString(tail, n.port);
    info.pDriverName = PlaceString(tail, n.driver);
    info.pPrintProcessor = PlaceString(tail, kProcessor);
    info.pDatatype = PlaceString(tail, kDatatype);
    std::memcpy(pPrinter, &info, sizeof info);
    return TRUE;
}
