#include "print_names.h"

#include <cstring>
#include <string>
#include <vector>

#include "job_identity.h"

namespace {

// Wide text the system handed out, read up to a bound generous for a name.
std::u16string Bounded(LPCWSTR text) {
    if (!text) return {};
    const char16_t* s = reinterpret_cast<const char16_t*>(text);
    size_t n = 0;
    while (n < 4096 && s[n]) ++n;
    return std::u16string(s, n);
}

}  // namespace

PrintNames& CapturedNames() {
    static PrintNames names;
    return names;
}

void CaptureNames(HANDLE printer, const DOCINFOW* docInfo) {
    PrintNames& names = CapturedNames();
    std::memset(&names, 0, sizeof names);
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed >= sizeof(PRINTER_INFO_2W)) {
        std::vector<BYTE> buffer(needed);
        if (GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
            PRINTER_INFO_2W info;
            std::memcpy(&info, buffer.data(), sizeof info);
            ToAnsiField(Bounded(info.pPortName), names.port, sizeof names.port);
            ToAnsiField(Bounded(info.pPrinterName), names.printer, sizeof names.printer);
        }
    }
    if (docInfo) ToAnsiField(Bounded(docInfo->lpszDocName), names.document, sizeof names.document);
}
