#include "header_printer.h"

#include <cstring>
#include <memory>

#include "addon.h"
#include "settings_image.h"

namespace {

// The output context the hook sees, with the host's own sink behind it.
struct OutputSink {
    HostOutputContext context;
    std::string* bytes;
};
static_assert(offsetof(OutputSink, context) == 0, "the hook gets &sink->context");

int32_t FAXAPI WriteToSink(void* out, int32_t, const void* bytes, int32_t length) {
    auto* sink = static_cast<OutputSink*>(out);
    if (bytes && length > 0) sink->bytes->append(static_cast<const char*>(bytes), length);
    return length;
}

}  // namespace

void ApplyJobToImage(const JobDescription& job, SettingsImage& image, const AddonMCB& mcb) {
    HostJobSettings& s = image.settings();
    s.jobType = job.jobType;
    s.copies = job.copies;
    s.qtyForce = job.qtyForce;
    s.outputOption = job.outputOption;
    s.outputTray = job.outputTray;
    s.jobMonitor = job.jobMonitor;
    HostSubBlock sub = image.Get<HostSubBlock>(s.subBlockOffset);
    sub.collateMode = job.collateMode;
    sub.optionA = job.optionA;
    sub.optionB = job.optionB;
    sub.faxInstalled = job.faxInstalled;
    sub.g4Available = job.g4Available;
    sub.speedDial999 = job.speedDial999;
    std::memcpy(sub.accountUser, job.accountUser, sizeof sub.accountUser);
    image.Put(s.subBlockOffset, sub);
    image.Put(mcb.block1Offset, job.ds);
    image.Put(mcb.block3Offset, job.ss);
}

namespace {

bool CheckRenderModule(const AddOnTable* table, AddOnWriteHook hook, const std::string& name,
                       std::string* error) {
    if (!table || !hook) {
        *error = name + ": the module has no write hook";
        return false;
    }
    if (table->blockSize1 != static_cast<int32_t>(sizeof(FaxDS)) ||
        table->blockSize3 != static_cast<int32_t>(sizeof(FaxSS))) {
        *error = name + ": its private blocks are not the fax job settings";
        return false;
    }
    return true;
}

// The write points over 'image', whose fax blocks 'mcb' (the rendering
// side's own control block) locates.
void WriteHeader(AddOnWriteHook hook, HostContext& host, SettingsImage& image, const JobDescription& job,
                 std::string* pjl) {
    const AddonMCB& mcb = host.block(0);
    auto sink = std::make_unique<OutputSink>();
    sink->context.write = WriteToSink;
    std::memcpy(sink->context.docName, job.appDocName, sizeof sink->context.docName);
    sink->bytes = pjl;
    FaxDS* ds = image.At<FaxDS>(mcb.block1Offset);
    for (int32_t event : {kEventJobStart, kEventJobSettings, kEventJobEnd})
        hook(host.get(), &sink->context, image.data(), nullptr, mcb.table->moduleId, event, job.skip, ds, nullptr);
}

}  // namespace

bool PrintHeader(const AddonModule& module, const JobDescription& job, std::string* pjl,
                 std::string* error) {
    return PrintHeader(module.table(), module.WriteHook(), module.path(), job, pjl, error);
}

bool PrintHeader(const AddOnTable* table, AddOnWriteHook hook, const std::string& name,
                 const JobDescription& job, std::string* pjl, std::string* error) {
    if (!CheckRenderModule(table, hook, name, error)) return false;
    HostContext host(1);
    SettingsImage image;
    image.ReserveModuleBlocks(*table, &host.block(0));
    ApplyJobToImage(job, image, host.block(0));
    WriteHeader(hook, host, image, job, pjl);
    return true;
}

bool PrintHeaderFromImage(const AddonModule& module, SettingsImage& image, const AddonMCB& blocks,
                          const JobDescription& job, std::string* pjl, std::string* error) {
    if (!CheckRenderModule(module.table(), module.WriteHook(), module.path(), error)) return false;
    // The rendering side keeps its own control block for the module, over
    // the same blocks of the same image.
    HostContext host(1);
    host.block(0) = blocks;
    host.block(0).table = module.table();
    WriteHeader(module.WriteHook(), host, image, job, pjl);
    return true;
}
