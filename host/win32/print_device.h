#pragma once
// The host's printers and printer device contexts on Windows. The real
// driver answers the add-ons' escapes itself; this host is not a driver, so
// it takes the add-on modules' calls of ExtEscape, AbortDoc and GetPrinterW
// (their import entries) and answers them for its own contexts and handles.
#include <windows.h>

#include <string>

namespace headless {

class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    // The driver's answer to ExtEscape: > 0 done, 0 not supported, < 0 failed.
    virtual int Escape(int code, int inputSize, const char* input, int outputSize, char* output) = 0;
    virtual void AbortDocument() = 0;
};

// A device context whose escapes go to the device (not owned). The modules
// loaded so far are redirected; load the add-on before creating it.
HDC CreatePrinterDC(PrinterDevice* device);
void DeletePrinterDC(HDC dc);

// A printer handle as the spooler would give it, with its names.
HANDLE CreatePrinterHandle(const std::u16string& printerName, const std::u16string& portName,
                           const std::u16string& driverName);
void ClosePrinterHandle(HANDLE printer);

}  // namespace headless
