// A 50-recipient fax job, whole faxhost process each time: "faxhost print"
// with a script typing every recipient into the dialogs, against "faxhost
// header" of the same job read from a file (aim: print at most 3x header).

#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "scratch_dir.h"

namespace {

constexpr int kRecipients = 50;

struct Files {
    std::string dir, job, headerJob, script;
};

const Files& Prepared() {
    static ScratchDir scratch("fax-printbench");
    static Files f = [] {
        Files files;
        files.dir = scratch.dir();
        files.job = files.dir + "/fax.job";
        files.headerJob = files.dir + "/header.job";
        files.script = files.dir + "/user.script";
        std::ofstream(files.job) << "type = fax\n";
        std::ofstream header(files.headerJob);
        std::ofstream script(files.script);
        header << "type = fax\n";
        script << "dialog 101\n";
        for (int i = 0; i < kRecipients; ++i) {
            std::string name = "Vastaanottaja " + std::to_string(i + 1);
            std::string number = "09-555-" + std::to_string(1000 + i);
            header << "[recipient]\nname = " << name << "\nnumber = " << number << "\n";
            script << "type 1001 " << name << "\ntype 1004 " << number << "\nclick 1006\n";
        }
        script << "click 1\ndialog 108\nclick 801\n";
        return files;
    }();
    return f;
}

void RunFaxhost(benchmark::State& state, const std::string& args) {
    const Files& f = Prepared();
    std::string command = "FAX_WINDIR=" + f.dir + " FAX_UI_RUNTIME_DIR=" + f.dir + " FAX_UI_SCRIPT=" + f.script +
                          " " + FAXHOST_PATH + " " + args + " >/dev/null 2>&1";
    for (auto _ : state) {
        int status = std::system(command.c_str());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError(("faxhost " + args + " failed").c_str());
            return;
        }
    }
}

void BM_FaxhostHeader(benchmark::State& state) { RunFaxhost(state, "header " + Prepared().headerJob); }
void BM_FaxhostPrintThroughTheDialogs(benchmark::State& state) { RunFaxhost(state, "print " + Prepared().job); }

BENCHMARK(BM_FaxhostHeader)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FaxhostPrintThroughTheDialogs)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
