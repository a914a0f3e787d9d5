#pragma once
// Names kept at the start of a document for the job monitor: the document,
// the printer and its port, in the system code page. Module-wide: the last
// document started in the process wins.

#include <windows.h>

constexpr size_t kDocNameSize = 260;
constexpr size_t kPrinterNameSize = 256;
constexpr size_t kPortNameSize = 260;

struct PrintNames {
    char document[kDocNameSize];
    char printer[kPrinterNameSize];
    char port[kPortNameSize];
};

PrintNames& CapturedNames();
// Takes the printer's and port's names from the spooler and the document's
// from the application's document information (either may be missing).
void CaptureNames(HANDLE printer, const DOCINFOW* docInfo);
