// The reading side of the recipient hand-off: any file, any completion
// command, either layout.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "handoff_file.h"
#include "scratch_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static ScratchDir dir("fax-fuzz-handoff");
    static std::string path = dir.Path("DB000000.TMP");
    HandoffLayout layout = (data[0] & 1) ? HandoffLayout::Compact : HandoffLayout::Standard;
    int command = (data[0] & 2) ? kImportDoneFull : kImportDoneNames;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);
    FaxRecipient out[kMaxRecipients];
    int n = ReadRecipientImportFile(path.c_str(), layout, command, out, kMaxRecipients);
    if (n > kMaxRecipients) __builtin_trap();
    for (int i = 0; i < n; ++i) {
        if (out[i].name[30] != 0 || out[i].comm.fCode[20] != 0 || out[i].comm.relayDestCount < 0 ||
            out[i].comm.relayDestCount > kMaxRelayDests)
            __builtin_trap();
        // A record once read writes and reads back the same.
        uint8_t bytes[sizeof(FaxRecipient)];
        EncodeHandoffRecord(layout, command, out[i], bytes);
        FaxRecipient again = DecodeHandoffRecord(layout, command, bytes);
        if (std::memcmp(&again, &out[i], sizeof again) != 0) __builtin_trap();
    }
    if (access(path.c_str(), F_OK) == 0) __builtin_trap();  // the reader removes the file
    return 0;
}
