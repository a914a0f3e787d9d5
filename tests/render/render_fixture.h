#pragma once
// A host for the write hook in tests: a settings image with its blocks, a
// control block array, an output context that records each write, and a
// pinned clock (9:05:07).

#include <memory>
#include <string>
#include <vector>

#include "addon.h"
#include "exports.h"
#include "host_settings.h"
#include "job_image.h"

class RenderHost {
public:
    RenderHost();
    ~RenderHost();

    HostJobSettings& settings() { return image_->settings; }
    HostSubBlock& sub() { return image_->sub; }
    FaxDS& ds() { return image_->ds; }
    FaxSS& ss() { return image_->ss; }
    FaxRecipient& AddRecipient(const char* number);
    void SetAppDocName(const std::string& name);
    HostDriverContext& host() { return *host_->get(); }
    HostOutputContext& out() { return output_->context; }

    // Calls the hook for one event and returns what it wrote.
    std::string Event(int32_t event, int32_t skip = 0, int32_t moduleId = kFaxModuleId);
    // Job start, job settings, job end, as the host does.
    std::string Header(int32_t skip = 0);
    // The separate pieces of the last calls, in order.
    const std::vector<std::string>& pieces() const { return output_->pieces; }

private:
    struct Output {
        HostOutputContext context;
        std::vector<std::string> pieces;
    };
    static int32_t FAXAPI Write(void* out, int32_t one, const void* bytes, int32_t length);

    std::unique_ptr<JobImage> image_;
    std::unique_ptr<HostContext> host_;
    std::unique_ptr<Output> output_;
};

// The comment lines of a header written at the pinned time.
extern const char kStartLine[];
extern const char kEndLine[];
