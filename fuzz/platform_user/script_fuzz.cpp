// Feeds arbitrary bytes to the reader of scripted-user files: every line
// is either a step or a clear error, never a crash.
#include "automation_internal.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "scratch_dir.h"

// The reader on its own: no dialogs to drive.
namespace automation {
namespace detail {
void PlatformStart() {}
void PlatformReset() {}
}  // namespace detail
HWND OpenDialog() { return nullptr; }
int OpenDialogId() { return 0; }
std::string Describe(HWND) { return ""; }
}  // namespace automation

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchDir dir("script-fuzz");
    static const std::string path = dir.Path("user.script");
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    std::string error;
    if (automation::LoadScript(path, error)) {
        if (!error.empty()) __builtin_trap();
        for (const auto& st : automation::detail::Steps())
            if (st.op == automation::Script::Op::Page && st.value < 0) __builtin_trap();
    } else if (error.find(path) != 0) {
        __builtin_trap();  // every refusal names the file and line
    }
    automation::Reset();
    return 0;
}
