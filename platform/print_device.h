#pragma once
// Printers and printer device contexts of the host's own. On Windows the
// real driver and spooler own these and answer the add-ons' escapes; the
// host is not a driver, so it creates them and answers the escapes itself
// (headlessly through our own layer, on Windows through the add-on
// modules' import entries of ExtEscape, AbortDoc and GetPrinterW).
#include <string>

#include <windows.h>

namespace headless {

class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    // The driver's answer to ExtEscape: > 0 done, 0 not supported, < 0 failed.
    virtual int Escape(int code, int inputSize, const char* input, int outputSize, char* output) = 0;
    virtual void AbortDocument() = 0;
};

// A device context whose escapes go to the device (not owned). On Windows
// the modules loaded so far are redirected; load the add-on before creating it.
HDC CreatePrinterDC(PrinterDevice* device);
void DeletePrinterDC(HDC dc);

// A printer handle as the spooler would give it, with its names.
HANDLE CreatePrinterHandle(const std::u16string& printerName, const std::u16string& portName,
                           const std::u16string& driverName);
void ClosePrinterHandle(HANDLE printer);

}  // namespace headless
