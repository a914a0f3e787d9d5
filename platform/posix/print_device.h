#pragma once
// The headless build's printers and printer device contexts. On Windows the
// host driver and the spooler own these; here the host simulator creates
// them and answers the escapes the add-ons send.
#include <string>

#include "win_print.h"

namespace headless {

class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    // The driver's answer to ExtEscape: > 0 done, 0 not supported, < 0 failed.
    virtual int Escape(int code, int inputSize, const char* input, int outputSize, char* output) = 0;
    virtual void AbortDocument() = 0;
};

// A device context whose escapes go to the device (not owned).
HDC CreatePrinterDC(PrinterDevice* device);
void DeletePrinterDC(HDC dc);

// A printer handle as the spooler would give it, with its names.
HANDLE CreatePrinterHandle(const std::u16string& printerName, const std::u16string& portName,
                           const std::u16string& driverName);
void ClosePrinterHandle(HANDLE printer);

}  // namespace headless
