#pragma once
// The part of the printer device contexts and handles common to both
// systems. Each system makes and deletes the context handles its own way
// and decides what a call for a context or handle not ours does; these
// answer only for ours and return nothing otherwise.
#include <optional>

#include "print_device.h"

namespace headless::print {

void AddDevice(HDC dc, PrinterDevice* device);
// True when the context was ours (and is now forgotten).
bool RemoveDevice(HDC dc);

std::optional<int> Escape(HDC dc, int code, int inSize, LPCSTR in, int outSize, LPSTR out);
std::optional<int> AbortDocument(HDC dc);
std::optional<BOOL> GetPrinter(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);

}  // namespace headless::print
