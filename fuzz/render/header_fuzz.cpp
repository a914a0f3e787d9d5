// Arbitrary bytes as the contents of a job's settings image: host fields,
// sub-blocks, FaxDS, FaxSS, and the application document name in the output
// context. What stays fixed is what the host driver itself owns and the
// module has to take as given: where the sub-blocks and the fax blocks lie
// in the image (the offsets at bytes 548/552 and in the control block), the
// control block array and its count, and the write function. Fuzzing those
// would only show that a broken host breaks its own memory.
//
// Oracle besides the sanitizers: whatever the image holds, every line
// written is one well-formed PJL line (pjl_lines.h).

#include <cstdint>
#include <cstring>
#include <string>

#include "clock.h"
#include "exports.h"
#include "host_settings.h"
#include "job_image.h"
#include "pjl_lines.h"

namespace {

using Image = JobImage;

struct Sink {
    HostOutputContext context;
    std::string bytes;
};

int32_t FAXAPI Write(void* out, int32_t one, const void* bytes, int32_t length) {
    if (one != 1 || length < 0) __builtin_trap();
    static_cast<Sink*>(out)->bytes.append(static_cast<const char*>(bytes), length);
    return length;
}

void PinnedClock(EngTimeFields* t) {
    t->hour = 12;
    t->minute = 34;
    t->second = 56;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Image* image = new Image;
    static Sink* sink = new Sink;
    static HostContext* host = new HostContext(1);
    SetLocalTimeSource(PinnedClock);

    // First byte: skip flag; the rest fills the image, then the document name.
    int32_t skip = size ? data[0] & 1 : 0;
    if (size) {
        ++data;
        --size;
    }
    std::memset(image, 0, sizeof *image);
    size_t n = size < sizeof *image ? size : sizeof *image;
    std::memcpy(image, data, n);
    std::memset(sink->context.docName, 0, sizeof sink->context.docName);
    if (size > n) {
        size_t m = size - n < sizeof sink->context.docName ? size - n : sizeof sink->context.docName;
        std::memcpy(sink->context.docName, data + n, m);
    }

    // Host-owned structure.
    image->PlaceSubBlocks();
    JobImage::PlaceFaxBlocks(host->block(0), GetFuncTable());
    sink->context.write = Write;
    sink->bytes.clear();

    for (int32_t event = 0; event <= 3; ++event)
        AddOnWriteCallback(host->get(), &sink->context, image, nullptr, kFaxModuleId, event, skip,
                           &image->ds, nullptr);
    CheckPjlLines(sink->bytes);
    return 0;
}
