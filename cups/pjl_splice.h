#pragma once
// Puts lines into the PJL header of a printer-language job stream, before
// the printer language is entered, passing every other byte unchanged.

#include <cstddef>
#include <functional>
#include <string>

class PjlSplicer {
public:
    // Where the stream goes; false when it could not take the bytes.
    using Sink = std::function<bool(const char* data, size_t len)>;
    // The PJL header a stream may have before the splicer gives up on it.
    static constexpr size_t kHeaderLimit = 65536;

    PjlSplicer(std::string lines, Sink sink) : lines_(std::move(lines)), sink_(std::move(sink)) {}

    // Takes the next bytes of the stream. False when the sink failed or the
    // stream was refused (error() tells why); nothing more is written then.
    bool Feed(const char* data, size_t len);
    // The end of the stream.
    bool Finish();
    const std::string& error() const { return error_; }

private:
    bool Decide(bool atEnd);
    bool Emit(const char* data, size_t len);
    bool Refuse(const std::string& why);

    std::string lines_;
    Sink sink_;
    std::string head_;  // the stream's start, held until the lines are placed
    bool placed_ = false;
    bool failed_ = false;
    std::string error_;
};

// The universal exit sequence that starts and ends a PJL job.
extern const char kUel[];
