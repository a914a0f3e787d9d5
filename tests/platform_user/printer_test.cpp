// The printer device context and printer handle the host gives the
// print-time hook: escapes reach the device, bad handles fail as Windows.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "addon.h"
#include "print_device.h"
#include "test_printer.h"
#include "windows.h"

namespace {

TEST(PrinterDevice, EscapesReachTheDeviceWithTheirBuffers) {
    uint8_t settings[] = {'s', 'e', 't', 't', 'i', 'n', 'g', 's'};
    TestPrinter device;
    device.Serve(settings, sizeof settings);
    HDC dc = headless::CreatePrinterDC(&device);
    char image[8];
    EXPECT_EQ(ExtEscape(dc, kEscapeImageSize, 0, nullptr, 0, nullptr), 8);
    EXPECT_EQ(ExtEscape(dc, kEscapeReadImage, 0, nullptr, sizeof image, image), 1);
    EXPECT_EQ(std::memcmp(image, "settings", 8), 0);
    EXPECT_EQ(ExtEscape(dc, kEscapeWriteImage, 3, "abc", 0, nullptr), 1);
    ASSERT_EQ(device.stores.size(), 1u);
    EXPECT_EQ(std::string(device.stores[0].begin(), device.stores[0].end()), "abc");
    EXPECT_EQ(ExtEscape(dc, 4242, 0, nullptr, 0, nullptr), 0);  // not supported
    EXPECT_EQ(AbortDoc(dc), 1);
    EXPECT_EQ(device.aborts, 1);
    headless::DeletePrinterDC(dc);
}

TEST(PrinterDevice, BadUseFailsWithoutReachingAnyDevice) {
    TestPrinter device;
    HDC dc = headless::CreatePrinterDC(&device);
    struct Case {
        const char* what;
        HDC dc;
        int inSize;
        const char* in;
        int outSize;
        DWORD error;
    } cases[] = {
        {"unknown dc", reinterpret_cast<HDC>(&device), 0, nullptr, 0, ERROR_INVALID_HANDLE},
        {"null dc", nullptr, 0, nullptr, 0, ERROR_INVALID_HANDLE},
        {"negative input size", dc, -1, nullptr, 0, ERROR_INVALID_PARAMETER},
        {"input size without data", dc, 4, nullptr, 0, ERROR_INVALID_PARAMETER},
        {"output size without buffer", dc, 0, nullptr, 4, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_LT(ExtEscape(c.dc, kEscapeReadImage, c.inSize, c.in, c.outSize, nullptr), 0);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_TRUE(device.escapes.empty());
    headless::DeletePrinterDC(dc);
    EXPECT_EQ(AbortDoc(dc), SP_ERROR);  // a deleted context is gone
    EXPECT_EQ(device.aborts, 0);
}

TEST(PrinterInfo, LevelTwoGivesNamesAndAsksForRoomFirst) {
    HANDLE printer = headless::CreatePrinterHandle(u"Toimiston MFP", u"IP_10.0.0.5", u"PCL XL");
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterW(printer, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INSUFFICIENT_BUFFER);
    ASSERT_GT(needed, sizeof(PRINTER_INFO_2W));

    std::vector<unsigned long long> storage(needed / 8 + 1);
    auto* buffer = reinterpret_cast<LPBYTE>(storage.data());
    EXPECT_FALSE(GetPrinterW(printer, 2, buffer, needed - 1, &needed));
    ASSERT_TRUE(GetPrinterW(printer, 2, buffer, needed, &needed));
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer);
    EXPECT_EQ(std::u16string(info->pPrinterName), u"Toimiston MFP");
    EXPECT_EQ(std::u16string(info->pPortName), u"IP_10.0.0.5");
    EXPECT_GE(reinterpret_cast<LPBYTE>(info->pPortName), buffer + sizeof(PRINTER_INFO_2W));
    EXPECT_LT(reinterpret_cast<LPBYTE>(info->pDatatype), buffer + needed);

    EXPECT_FALSE(GetPrinterW(printer, 1, buffer, needed, &needed));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_LEVEL);
    headless::ClosePrinterHandle(printer);
    EXPECT_FALSE(GetPrinterW(printer, 2, buffer, needed, &needed));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
}

}  // namespace
