// A CUPS job's options (up to the first NUL) and the printer data that
// follows them. Oracles besides the sanitizers: a refused job says why; an
// accepted fax's header is well-formed PJL line by line, so no option text
// becomes a line of its own; and the stream leaves the splice unchanged
// but for the header, placed at a line start of its PJL header, or put in
// front of it in a PJL header of its own.

#include <cstdint>
#include <cstring>
#include <string>

#include "exports.h"
#include "fax_job.h"
#include "header_printer.h"
#include "pjl_lines.h"
#include "pjl_splice.h"

namespace {

void CheckSplice(const std::string& lines, const std::string& stream) {
    std::string out;
    PjlSplicer splicer(lines, [&](const char* d, size_t n) {
        out.append(d, n);
        return true;
    });
    bool ok = true;
    for (size_t i = 0; ok && i < stream.size(); i += 4093) ok = splicer.Feed(stream.data() + i, std::min<size_t>(4093, stream.size() - i));
    ok = ok && splicer.Finish();
    if (!ok) {
        if (splicer.error().empty() || !out.empty()) __builtin_trap();
        return;
    }
    const std::string wrapped = std::string(kUel) + lines + "@PJL ENTER LANGUAGE = PCLXL\r\n" + stream;
    if (out == wrapped && stream.compare(0, std::strlen(kUel), kUel) != 0) return;
    size_t at = out.find(lines, std::strlen(kUel));
    if (at == std::string::npos || out.compare(0, std::strlen(kUel), kUel) != 0) __builtin_trap();
    if (at != std::strlen(kUel) && out[at - 1] != '\n') __builtin_trap();
    if (out.substr(0, at) + out.substr(at + lines.size()) != stream) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    size_t optionsLen = strnlen(text, size);
    std::string optionText(text, optionsLen);
    std::string stream = optionsLen < size ? std::string(text + optionsLen + 1, size - optionsLen - 1) : "";

    cups_option_t* options = nullptr;
    int count = cupsParseOptions(optionText.c_str(), 0, &options);
    QueueSettings queue;
    queue.phonebook = FAX_TEST_DATA "/v2000.KFD";
    static JobDescription* job = new JobDescription;
    JobKind kind = JobKind::Print;
    std::string error;
    bool ok = BuildFaxJob(count, options, queue, AccountText("fuzz", "PC"), job, &kind, &error);
    cupsFreeOptions(count, options);
    if (!ok) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    if (kind == JobKind::Print) return 0;
    if (job->ss.recipientCount < 1 || job->ss.recipientCount > kMaxRecipients) __builtin_trap();
    std::string lines;
    if (!PrintHeader(GetFuncTable(), AddOnWriteCallback, "faxrender", *job, &lines, &error)) __builtin_trap();
    CheckPjlLines(lines);
    CheckSplice(lines, stream);
    return 0;
}
