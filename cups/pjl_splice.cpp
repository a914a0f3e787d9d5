#include "pjl_splice.h"

#include <cstring>
#include <strings.h>

const char kUel[] = "\x1b%-12345X";

namespace {

constexpr size_t kUelLen = sizeof kUel - 1;
const char kEnterLanguage[] = "@PJL ENTER LANGUAGE";
const char kPjlPrefix[] = "@PJL";
const char kEnterPclXl[] = "@PJL ENTER LANGUAGE = PCLXL\r\n";
const char kTooLong[] = "the printer data's PJL header is too long";

bool StartsWith(const std::string& s, size_t at, const char* prefix, bool anyCase) {
    size_t n = std::strlen(prefix);
    if (s.size() - at < n) return false;
    return anyCase ? strncasecmp(s.data() + at, prefix, n) == 0 : s.compare(at, n, prefix) == 0;
}

}  // namespace

bool PjlSplicer::Emit(const char* data, size_t len) {
    if (len == 0) return true;
    if (!sink_(data, len)) {
        failed_ = true;
        error_ = "the job's output cannot be written";
        return false;
    }
    return true;
}

bool PjlSplicer::Refuse(const std::string& why) {
    failed_ = true;
    error_ = why;
    return false;
}

// Places the lines once the stream's start shows where: before the first
// line of its PJL header that enters a language or is no PJL command; a
// stream without a PJL header gets one around the lines.
bool PjlSplicer::Decide(bool atEnd) {
    if (head_.size() < kUelLen && !atEnd) return true;
    if (head_.compare(0, kUelLen, kUel) != 0) {
        if (head_.empty()) return Refuse("the document gave no printer data");
        std::string wrapped = std::string(kUel) + lines_ + kEnterPclXl;
        placed_ = true;
        return Emit(wrapped.data(), wrapped.size()) && Emit(head_.data(), head_.size());
    }
    size_t line = kUelLen;
    while (true) {
        size_t end = head_.find('\n', line);
        bool complete = end != std::string::npos;
        bool enters = StartsWith(head_, line, kEnterLanguage, true);
        bool pjl = StartsWith(head_, line, kPjlPrefix, false);
        // A line still arriving is judged once it is whole or long enough.
        bool judged = complete || atEnd || head_.size() - line >= sizeof kEnterLanguage;
        if (judged && (enters || !pjl)) break;
        // A PJL line the stream ends in without its line feed keeps its
        // place after the lines, so that none of them is joined to it.
        if (!complete) {
            if (atEnd) break;
            return head_.size() > kHeaderLimit ? Refuse(kTooLong) : true;
        }
        line = end + 1;
        if (line > kHeaderLimit) return Refuse(kTooLong);
    }
    placed_ = true;
    return Emit(head_.data(), line) && Emit(lines_.data(), lines_.size()) &&
           Emit(head_.data() + line, head_.size() - line);
}

bool PjlSplicer::Feed(const char* data, size_t len) {
    if (failed_) return false;
    if (placed_) return Emit(data, len);
    head_.append(data, len);
    if (!Decide(false)) return false;
    if (placed_) std::string().swap(head_);
    return true;
}

bool PjlSplicer::Finish() {
    if (failed_) return false;
    if (placed_) return true;
    return Decide(true);
}
