#pragma once
// How a fuzz input is cut: a small header the host would decide (whether
// the page is due, whether the read fails, what the user answers, where
// the host's control block puts the fax blocks, how far the reported size
// is off, whether the page gets the image from a sheet block of the
// host's own), then the settings image as the host hands it over.

#include <cstdint>

struct ImageInputHeader {
    uint8_t flags;
    uint8_t unused[3];
    int32_t block1Offset;  // FaxDS, as the control block gives it
    int32_t block3Offset;  // FaxSS
    int32_t sizeDelta;     // reported size minus the bytes given, cut to +-64 KiB
    int32_t sheetWord;     // with kInputSheetBlock: where the sheet block puts the image
};
static_assert(sizeof(ImageInputHeader) == 20, "input header");

constexpr uint8_t kInputPageNotDue = 0x01;
constexpr uint8_t kInputReadFails = 0x02;
constexpr uint8_t kInputUserCancels = 0x04;
constexpr uint8_t kInputFlowWritesList = 0x08;
constexpr uint8_t kInputSheetBlock = 0x10;
