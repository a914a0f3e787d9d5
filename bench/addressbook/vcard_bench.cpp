// A 30 MB contact export, made on the spot: the vCard reader over it in
// memory, and `faxhost import` over the file, which is what importing every
// card of the book gives (the stand-in address book, each card's fax
// numbers, the one category as a list of everyone, repeats left out).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "scratch_dir.h"
#include "vcard.h"

namespace {

constexpr size_t kTargetBytes = 30u * 1000 * 1000;

// A folded base64 photo, as some cards carry.
std::string Photo() {
    std::string s = "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD";
    for (int i = 0; i < 60; ++i) s += "\r\n AAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8";
    return s + "\r\n";
}

std::string Card(int i, const std::string& photo) {
    std::string n = std::to_string(i);
    std::string family = "Sukunimi" + std::to_string(i % 977);
    std::string s = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + family + ";Etunimi" + n + ";;;\r\nFN:Etunimi" + n + " " +
                    family + "\r\nORG:Yritys " + std::to_string(i % 31) + " Oy;\r\nTEL;TYPE=WORK,VOICE:+358 9 " +
                    std::to_string(1000000 + i) + "\r\nTEL;TYPE=FAX,WORK:+358 9 " + std::to_string(2000000 + i) +
                    "\r\nitem1.TEL:09 " + std::to_string(3000000 + i) +
                    "\r\nitem1.X-ABLabel:_$!<HomeFAX>!$_\r\nEMAIL;TYPE=INTERNET:e" + n +
                    "@esim.fi\r\nCATEGORIES:Asiakkaat\r\n";
    if (i % 50 == 0) s += photo;
    return s + "END:VCARD\r\n";
}

struct Export {
    std::string text;
    std::string path;
    int cards = 0;
};

const Export& Made() {
    static ScratchDir dir("vcard-bench");
    static Export e;
    if (!e.text.empty()) return e;
    std::string photo = Photo();
    while (e.text.size() < kTargetBytes) e.text += Card(e.cards++, photo);
    e.path = dir.Path("kontaktit.vcf");
    std::ofstream(e.path, std::ios::binary) << e.text;
    return e;
}

void BM_ReadVcard30MB(benchmark::State& state) {
    const Export& e = Made();
    for (auto _ : state) {
        vcard::Book book;
        if (vcard::ParseBook(e.text.data(), e.text.size(), book) != vcard::ReadResult::Ok ||
            book.cards.size() != static_cast<size_t>(e.cards))
            state.SkipWithError("cards lost");
        benchmark::DoNotOptimize(book.cards.data());
    }
    state.counters["cards"] = e.cards;
    state.counters["MB"] = static_cast<double>(e.text.size()) / 1e6;
}

void BM_FaxhostImportVcard30MB(benchmark::State& state) {
    const Export& e = Made();
    std::string cmd = std::string(FAXHOST_PATH) + " import " + e.path + " > /dev/null";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("faxhost import failed");
    }
    state.counters["cards"] = e.cards;
}

BENCHMARK(BM_ReadVcard30MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_FaxhostImportVcard30MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
