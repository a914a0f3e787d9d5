// faxcups run as CUPS runs it, for a fax job of 50 recipients and for a
// print job that passes the same printer data through (target: the fax job
// takes at most twice the pass-through's time). The PCL XL step is this
// program itself, started under the name faxcups gives it, replaying a
// stream of the size given.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "scratch_dir.h"

extern char** environ;

namespace {

// A PJL header, then pseudo-random page data, then the job's end.
std::string Stream(size_t size) {
    std::string s = "\x1b%-12345X@PJL SET RESOLUTION=600\n@PJL ENTER LANGUAGE = PCLXL\n) HP-PCL XL;2;0\n";
    uint32_t x = 2463534242u;
    while (s.size() < size) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        s += static_cast<char>(x);
    }
    return s + "\x1b%-12345X";
}

int Replay() {
    const char* path = std::getenv("FAX_BENCH_STREAM");
    int fd = path ? open(path, O_RDONLY) : -1;
    char buf[65536];
    ssize_t n;
    while (fd >= 0 && (n = read(fd, buf, sizeof buf)) > 0) {
        if (write(STDOUT_FILENO, buf, static_cast<size_t>(n)) != n) return 1;
    }
    return fd >= 0 ? 0 : 1;
}

std::string Recipients(int count) {
    std::string list;
    for (int i = 0; i < count; ++i) list += "Recipient " + std::to_string(i) + " <0-800-" + std::to_string(1000 + i) + ">;";
    return "fax-recipients='" + list + "' fax-resolution=superfine fax-delay=18:30";
}

void RunFilter(benchmark::State& state, const std::string& options) {
    ScratchDir dir("fax-cups-bench");
    dir.Put("stream", Stream(static_cast<size_t>(state.range(0))));
    setenv("FAX_BENCH_STREAM", dir.Path("stream").c_str(), 1);
    setenv("FAX_RENDER_MODULE", FAXRENDER_PATH, 1);
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) state.SkipWithError("no /proc/self/exe");
    setenv("FAX_PXL_FILTER", self, 1);
    std::vector<std::string> args = {"faxcups", "1", "bench", "document", "1", options, dir.Path("stream")};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid;
        int status = 0;
        if (posix_spawn(&pid, FAXCUPS_PATH, &actions, nullptr, argv.data(), environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("faxcups failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_PassThrough(benchmark::State& state) { RunFilter(state, ""); }
void BM_FaxJob50(benchmark::State& state) { RunFilter(state, Recipients(50)); }

BENCHMARK(BM_PassThrough)->Arg(64 << 10)->Arg(4 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FaxJob50)->Arg(64 << 10)->Arg(4 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // faxcups starts its PCL XL step under this name.
    if (std::strcmp(argv[0], "gstopxl") == 0) return Replay();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
