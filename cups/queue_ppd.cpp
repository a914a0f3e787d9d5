#include "queue_ppd.h"

#include <cups/ppd.h>

// A filter learns its queue's settings only from the PPD, and libcups reads
// PPDs only through the calls it marks as deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

std::string Attribute(ppd_file_t* ppd, const char* name) {
    ppd_attr_t* attr = ppdFindAttr(ppd, name, nullptr);
    return attr && attr->value ? attr->value : "";
}

std::string DefaultChoice(ppd_file_t* ppd, const char* option) {
    ppd_option_t* o = ppdFindOption(ppd, option);
    return o ? o->defchoice : "";
}

}  // namespace

QueueSettings ReadQueueSettings(const char* ppdPath) {
    QueueSettings q;
    if (!ppdPath || !*ppdPath) return q;
    ppd_file_t* ppd = ppdOpenFile(ppdPath);
    if (!ppd) return q;
    q.phonebook = Attribute(ppd, "FaxPhonebook");
    q.speedDial999 = Attribute(ppd, "FaxSpeedDial999") == "True";
    q.resolution = DefaultChoice(ppd, "fax-resolution");
    q.confirmation = DefaultChoice(ppd, "fax-confirmation");
    q.header = DefaultChoice(ppd, "fax-header");
    ppdClose(ppd);
    return q;
}

#pragma GCC diagnostic pop
