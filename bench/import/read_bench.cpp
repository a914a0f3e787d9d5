// Reading a large contact file: the whole file into memory, split into
// lines and every line into fields, next to `wc -l` on the same file in
// the same run. Memory is the growth of the peak resident size per byte
// of the file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "csv_fields.h"
#include "csv_reader.h"
#include "scratch_dir.h"
#include "text_image.h"

namespace {

constexpr int kLines = 500000;
long PeakKb();
long baselineKb = 0;  // the peak before any file was read

// The 50 MB file and its folder go when the run ends.
std::string ContactFile() {
    static ScratchDir dir("import-bench");
    static std::string path;
    if (!path.empty()) return path;
    path = dir.Path("contacts.csv");
    std::ofstream out(path, std::ios::binary);
    out << "Etunimi,Sukunimi,Nimi,Yritys,Faksi (ty\xF6),Puhelin,S\xE4hk\xF6posti\r\n";
    for (int i = 0; i < kLines - 1; ++i) {
        out << "Etunimi" << i << ",Sukunimi" << i % 977 << ",\"Sukunimi" << i % 977 << ", E" << i
            << "\",Yr " << i % 31 << " Oy,+358 9 " << 1000000 + i << ",09 " << 2000000 + i
            << ",h" << i << "@esim.fi\r\n";
    }
    baselineKb = PeakKb();
    return path;
}

long PeakKb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    long kb = 0;
    char line[256];
    while (f && std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "VmHWM: %ld", &kb) == 1) break;
    }
    if (f) std::fclose(f);
    return kb;
}

long FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return static_cast<long>(in.tellg());
}

void BM_WcLines(benchmark::State& state) {
    std::string cmd = "wc -l " + ContactFile() + " > /dev/null";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("wc failed");
    }
}

void BM_ReadAndSplit(benchmark::State& state) {
    std::string path = ContactFile();
    size_t fields = 0;
    for (auto _ : state) {
        TextImage image;
        if (LoadTextImage(path.c_str(), image) != 0) state.SkipWithError("read failed");
        char* f[kMaxCsvFields];
        for (size_t i = 0; i <= image.LineFeeds(); ++i) {
            f[0] = image.Line(i);
            int n = SplitFields(f);
            if (n > 0) fields += static_cast<size_t>(n);
        }
    }
    benchmark::DoNotOptimize(fields);
    state.counters["lines"] = kLines;
    state.counters["peak_per_file_byte"] = 1024.0 * static_cast<double>(PeakKb() - baselineKb) / FileSize(path);
}

void BM_ReadToCandidates(benchmark::State& state) {
    std::string path = ContactFile();
    for (auto _ : state) {
        TextImage image;
        if (LoadTextImage(path.c_str(), image) != 0) state.SkipWithError("read failed");
        size_t header = image.HeaderLine();
        CsvColumns columns;
        if (AutoCsvColumns(image.Line(header), columns) != 0) state.SkipWithError("no columns");
        CsvCandidates cands;
        if (cands.Collect(image, header, columns) != 0) state.SkipWithError("collect failed");
        benchmark::DoNotOptimize(cands.Count());
    }
    state.counters["peak_per_file_byte"] = 1024.0 * static_cast<double>(PeakKb() - baselineKb) / FileSize(path);
}

// Memory first, while the peak is still that of the file alone.
BENCHMARK(BM_ReadAndSplit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadToCandidates)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcLines)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
