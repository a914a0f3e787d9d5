// Writes the starting inputs of the core image fuzz target into a folder:
// the built-in job's settings image as the host lays it out (also packed at
// odd offsets), and a few variations the hook treats differently (missing
// account identity, a watched print job, a cancelled and a rewritten fax
// flow).

#include <cstdio>
#include <cstring>
#include <string>

#include "builtin_job.h"
#include "header_printer.h"
#include "image_input.h"
#include "fax_addon_table.h"

namespace {

bool WriteSeed(const std::string& path, const JobDescription& job, uint8_t flags,
               ImageLayout layout = ImageLayout::Standard) {
    AddOnTable table = FaxAddOnTable();
    AddonMCB mcb{};
    SettingsImage image(layout);
    image.ReserveModuleBlocks(table, &mcb);
    ApplyJobToImage(job, image, mcb);
    ImageInputHeader head{};
    head.flags = flags;
    head.block1Offset = mcb.block1Offset;
    head.block3Offset = mcb.block3Offset;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(&head, sizeof head, 1, f) == 1 && std::fwrite(image.data(), image.size(), 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: core_image_seeds FOLDER\n");
        return 2;
    }
    JobDescription job;
    std::string error;
    if (!ParseJobFile(kBuiltinJobFile, &job, &error)) {
        std::fprintf(stderr, "built-in job: %s\n", error.c_str());
        return 1;
    }
    std::string dir = argv[1];
    bool ok = WriteSeed(dir + "/builtin", job, 0) && WriteSeed(dir + "/builtin-rewritten", job, kInputFlowWritesList) &&
              WriteSeed(dir + "/builtin-sheet-block", job, kInputSheetBlock) &&
              WriteSeed(dir + "/builtin-cancelled", job, kInputUserCancels) &&
              WriteSeed(dir + "/builtin-packed", job, kInputFlowWritesList, ImageLayout::Packed);
    JobDescription print = job;
    print.jobType = 0;
    print.outputTray = 2;
    print.outputOption = 1;
    std::memset(print.accountUser, 0, sizeof print.accountUser);
    ok = ok && WriteSeed(dir + "/print-watched", print, 0);
    if (!ok) std::fprintf(stderr, "cannot write the seeds into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
