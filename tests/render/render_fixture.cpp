#include "render_fixture.h"

#include <cstring>

#include "clock.h"

const char kStartLine[] = "@PJL COMMENT - Job started at \"Time 9:05:07\"\r\n";
const char kEndLine[] = "@PJL COMMENT - Job ended at \"Time 9:05:07\"\r\n";

namespace {
void PinnedClock(EngTimeFields* t) {
    t->hour = 9;
    t->minute = 5;
    t->second = 7;
}
}  // namespace

RenderHost::RenderHost()
    : image_(new JobImage()), host_(new HostContext(2)), output_(new Output()) {
    image_->PlaceSubBlocks();
    settings().copies = 1;
    ds() = DefaultFaxDS;
    ss() = DefaultFaxSS;
    // A foreign add-on first, so the hook has to walk the array.
    static AddOnTable other{};
    other.moduleId = 4242;
    host_->block(0).table = &other;
    JobImage::PlaceFaxBlocks(host_->block(1), GetFuncTable());
    output_->context.write = &RenderHost::Write;
    SetLocalTimeSource(PinnedClock);
}

RenderHost::~RenderHost() { SetLocalTimeSource(nullptr); }

FaxRecipient& RenderHost::AddRecipient(const char* number) {
    FaxRecipient& r = ss().recipients[ss().recipientCount++];
    r = DefaultRecipient;
    std::strncpy(r.faxNumber, number, sizeof r.faxNumber - 1);
    return r;
}

void RenderHost::SetAppDocName(const std::string& name) {
    std::memset(out().docName, 0, sizeof out().docName);
    std::memcpy(out().docName, name.data(), std::min(name.size(), sizeof out().docName));
}

int32_t FAXAPI RenderHost::Write(void* out, int32_t one, const void* bytes, int32_t length) {
    auto* o = static_cast<Output*>(out);
    if (one != 1 || length < 0) o->pieces.push_back("<bad write call>");
    o->pieces.emplace_back(static_cast<const char*>(bytes), static_cast<size_t>(length));
    return length;
}

std::string RenderHost::Event(int32_t event, int32_t skip, int32_t moduleId) {
    output_->pieces.clear();
    AddOnWriteCallback(host_->get(), &output_->context, image_.get(), nullptr, moduleId, event,
                       skip, &image_->ds, nullptr);
    std::string all;
    for (const std::string& p : output_->pieces) all += p;
    return all;
}

std::string RenderHost::Header(int32_t skip) {
    std::string all = Event(0, skip);
    all += Event(1, skip);
    all += Event(2, skip);
    return all;
}
