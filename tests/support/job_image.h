#pragma once
// A job's settings image as the host lays it out for the render add-on:
// the host's part and sub-blocks, then FaxDS and FaxSS, with the offsets
// that tie them together.

#include <cstddef>

#include "addon.h"
#include "host_settings.h"

struct JobImage {
    HostJobSettings settings;
    HostSubBlock sub;
    HostSubBlock2 sub2;
    FaxDS ds;
    FaxSS ss;

    // Sets the host's offsets of the sub-blocks inside the image.
    void PlaceSubBlocks() {
        settings.subBlockOffset = offsetof(JobImage, sub);
        settings.subBlock2Offset = offsetof(JobImage, sub2);
    }
    // Makes mcb the control block of a module with this table whose
    // blocks are the image's FaxDS and FaxSS.
    static void PlaceFaxBlocks(AddonMCB& mcb, const AddOnTable* table) {
        mcb.table = table;
        mcb.block1Offset = offsetof(JobImage, ds);
        mcb.block3Offset = offsetof(JobImage, ss);
    }
};
