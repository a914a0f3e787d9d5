#pragma once
// The printer device of a test or fuzz target: the driver's side of the
// private escapes, answered from a settings image the test owns, with
// every answer the test may need to provoke and a record of what the
// add-on asked.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "addon.h"
#include "print_device.h"

class TestPrinter : public headless::PrinterDevice {
public:
    // The image the escapes read and replace (not owned).
    void Serve(uint8_t* image, size_t size) {
        image_ = image;
        size_ = size;
    }

    int Escape(int code, int inSize, const char* in, int outSize, char* out) override {
        escapes.push_back(code);
        switch (code) {
        case kEscapeAddonDue: return due;
        case kEscapeImageSize: return reportedSize ? *reportedSize : static_cast<int>(size_);
        case kEscapeReadImage: return Read(outSize, out);
        case kEscapeWriteImage: return Store(inSize, in);
        }
        return 0;
    }
    void AbortDocument() override { ++aborts; }

    int due = 1;                      // the answer to "is the add-on due on this page"
    std::optional<int> reportedSize;  // a size other than the image's own
    int readAnswer = 1;               // 0 or less: reading fails, nothing copied
    int storeAnswer = 1;              // 0 or less: refused, the image kept
    std::vector<int> escapes;         // every escape asked, in order
    std::vector<std::vector<uint8_t>> stores;  // every image taken, whole
    int aborts = 0;

private:
    // A buffer of another size than the image's gets what fits: hosts may
    // report a size of their own.
    int Read(int outSize, char* out) {
        if (readAnswer <= 0) return readAnswer;
        if (outSize > 0 && size_ > 0) std::memcpy(out, image_, std::min(static_cast<size_t>(outSize), size_));
        return readAnswer;
    }
    int Store(int inSize, const char* in) {
        // A driver would read the image through the pointer: none is the caller's fault.
        if (!in) std::abort();
        if (storeAnswer <= 0) return storeAnswer;
        stores.emplace_back(in, in + inSize);
        if (size_ > 0) std::memcpy(image_, in, std::min(static_cast<size_t>(inSize), size_));
        return 1;
    }

    uint8_t* image_ = nullptr;
    size_t size_ = 0;
};
