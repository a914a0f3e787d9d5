// The whole PJL header of a fax job with 50 recipients (target: under 20 us
// per header on the development machine).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "clock.h"
#include "exports.h"
#include "host_settings.h"
#include "job_image.h"

namespace {

using Image = JobImage;

struct Sink {
    HostOutputContext context;
    char bytes[32768];
    size_t used;
};

int32_t FAXAPI Write(void* out, int32_t, const void* bytes, int32_t length) {
    Sink* s = static_cast<Sink*>(out);
    if (length > 0 && s->used + static_cast<size_t>(length) <= sizeof s->bytes) {
        std::memcpy(s->bytes + s->used, bytes, static_cast<size_t>(length));
        s->used += static_cast<size_t>(length);
    }
    return length;
}

// Fifty recipients mixing the parameter forms: plain, speed dial, relay with
// ten destinations, mailbox, all with F-codes where allowed.
void FillFaxJob(Image& img) {
    img.PlaceSubBlocks();
    img.settings.jobType = 3;
    img.settings.jobMonitor = 1;
    std::strcpy(img.sub.accountUser, "MAIJA\\TOIMISTO-PC");
    img.ds = DefaultFaxDS;
    std::strcpy(img.ds.clientId, "17.42");
    img.ss.delaySend = 1;
    img.ss.delayHour = 7;
    img.ss.delayMinute = 5;
    img.ss.recipientCount = kMaxRecipients;
    for (int i = 0; i < kMaxRecipients; ++i) {
        FaxRecipient& r = img.ss.recipients[i];
        r = DefaultRecipient;
        std::snprintf(r.name, sizeof r.name, "Recipient %d", i);
        std::snprintf(r.faxNumber, sizeof r.faxNumber, "0-800-FLOWERS-%03d", i);
        r.comm.commMode = i % 3;
        switch (i % 4) {
            case 1:
                r.comm.speedDial = 1;
                std::snprintf(r.faxNumber, sizeof r.faxNumber, "%d", i + 1);
                break;
            case 2:
                r.comm.commOption = '1';
                std::strcpy(r.comm.relayStationId, "12");
                r.comm.relayPrint = '1';
                std::memcpy(r.comm.relayDests, "0010020030040050#60#70#80#9010", 30);
                r.comm.relayDestCount = 10;
                break;
            case 3:
                r.comm.commOption = '4';
                std::strcpy(r.comm.mailboxId, "25");
                std::strcpy(r.comm.mailboxPassword, "4321");
                break;
        }
        if (i % 4 != 1) {
            std::strcpy(r.comm.fCode, "12345678");
            std::strcpy(r.comm.fCodePassword, "12*#");
        }
    }
}

void BM_FaxHeader50Recipients(benchmark::State& state) {
    auto img = std::make_unique<Image>();
    auto sink = std::make_unique<Sink>();
    HostContext host(1);
    FillFaxJob(*img);
    JobImage::PlaceFaxBlocks(host.block(0), GetFuncTable());
    sink->context.write = Write;
    for (auto _ : state) {
        sink->used = 0;
        for (int32_t event = 0; event <= 2; ++event)
            AddOnWriteCallback(host.get(), &sink->context, img.get(), nullptr, kFaxModuleId,
                               event, 0, &img->ds, nullptr);
        benchmark::DoNotOptimize(sink->bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sink->used));
    state.counters["header_bytes"] = static_cast<double>(sink->used);
}
BENCHMARK(BM_FaxHeader50Recipients);

}  // namespace
