// faxhost import and faxhost phonebook import of a large contact file, made
// on the spot, as child processes: the time next to `wc -l` on the same
// file, and the peak resident size of the child next to the file's size.
// The default run reads a 50 MB file; --large adds 200 MB.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "scratch_dir.h"

extern char** environ;

namespace {

ScratchDir& Dir() {
    static ScratchDir dir("import-bench");
    return dir;
}

// A contact file of about mb megabytes: the shape of a mail program's
// export, a quoted name holding a comma, every tenth line repeated.
std::string ContactFile(int mb) {
    static std::map<int, std::string> made;
    auto it = made.find(mb);
    if (it != made.end()) return it->second;
    std::string path = Dir().Path("contacts" + std::to_string(mb) + ".csv");
    std::ofstream out(path, std::ios::binary);
    out << "First Name,Last Name,Display Name,Company,Business Fax,Mobile Phone,E-mail Address\r\n";
    const long long want = static_cast<long long>(mb) << 20;
    std::string line;
    for (long long i = 0; static_cast<long long>(out.tellp()) < want; ++i) {
        long long n = i % 10 == 9 ? i - 1 : i;
        line = "Etunimi" + std::to_string(n) + ",Sukunimi" + std::to_string(n % 977) + ",\"Sukunimi" +
               std::to_string(n % 977) + ", E" + std::to_string(n) + "\",Yritys " + std::to_string(n % 31) +
               " Oy,+358 9 " + std::to_string(1000000 + n) + ",040 " + std::to_string(2000000 + n) + ",h" +
               std::to_string(n) + "@example.fi\r\n";
        out << line;
    }
    out.close();
    // On disk before any run is timed: otherwise the first runs share the
    // disk with the write-back of the file just made, and a phonebook
    // import's own flush waits behind it.
    int fd = open(path.c_str(), O_RDONLY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return made[mb] = path;
}

long long FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return static_cast<long long>(in.tellg());
}

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    long peakKb = 0;
};

// Runs argv with its output thrown away; its peak resident size from the
// system's account of the child.
ChildRun Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ChildRun r;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return r;
    int status = 0;
    struct rusage usage;
    if (wait4(pid, &status, 0, &usage) != pid) return r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peakKb = usage.ru_maxrss;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

void Measure(benchmark::State& state, bool phonebook) {
    std::string csv = ContactFile(static_cast<int>(state.range(0)));
    std::string book = Dir().Path("bench.KFD");
    double wc = 0, ours = 0;
    long peak = 0;
    for (auto _ : state) {
        std::remove(book.c_str());
        // Every run starts with nothing waiting for the disk, not with the
        // write-back of the last run's phonebook.
        sync();
        ChildRun w = Run({"wc", "-l", csv});
        ChildRun f = phonebook ? Run({FAXHOST_PATH, "phonebook", "import", book, csv})
                               : Run({FAXHOST_PATH, "import", csv});
        if (!w.ok || !f.ok) {
            state.SkipWithError("a child run failed");
            break;
        }
        state.SetIterationTime(f.seconds);
        wc += w.seconds;
        ours += f.seconds;
        if (f.peakKb > peak) peak = f.peakKb;
    }
    double fileMb = static_cast<double>(FileBytes(csv)) / (1 << 20);
    state.counters["file_MB"] = fileMb;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
    state.counters["peak_per_file"] = static_cast<double>(peak) / 1024 / fileMb;
    state.counters["times_wc"] = wc > 0 ? ours / wc : 0;
}

void BM_FaxhostImport(benchmark::State& state) { Measure(state, false); }
void BM_FaxhostPhonebookImport(benchmark::State& state) { Measure(state, true); }

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    bool large = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0) large = true;
        else args.push_back(argv[i]);
    }
    for (auto* b : {benchmark::RegisterBenchmark("BM_FaxhostImport", BM_FaxhostImport),
                    benchmark::RegisterBenchmark("BM_FaxhostPhonebookImport", BM_FaxhostPhonebookImport)}) {
        b->Arg(50)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
        if (large) b->Arg(200);
    }
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
