// The picking dialogs on a large file: opening one until its candidate list
// is filled, selecting every candidate and adding them all to the selected
// list, and deleting them all again, for the contact file (102) and the
// speed-dial file (118). Adding and deleting should grow with the number of
// candidates as the fill does.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "automation.h"
#include "csv_reader.h"
#include "import_app.h"
#include "rcpimport_ids.h"
#include "scratch_dir.h"
#include "text_image.h"

namespace {

// A file of n candidates. In the contact file every tenth has the name and
// number of the one before it, so that the adding also meets recipients
// already picked; in the speed-dial file such a meeting would ask the user,
// so there every record is a recipient of its own.
struct PickFile {
    std::string path;
    CsvCandidates csv;
    ImportApp app;  // the speed-dial candidates live here
};

const std::string& Dir() {
    static ScratchDir dir("import-pick-bench");
    static bool env = false;
    if (!env) {
        env = true;
        setenv("FAX_UI_RUNTIME_DIR", dir.dir().c_str(), 1);
        setenv("FAX_WINDIR", dir.dir().c_str(), 1);
    }
    return dir.dir();
}

bool Load(PickFile& f, bool speedDial, int n) {
    f.path = Dir() + (speedDial ? "/lyhyt" : "/yhteys") + std::to_string(n) + ".csv";
    {
        std::ofstream out(f.path, std::ios::binary);
        out << (speedDial ? "*,1,0,1\r\n" : "Nimi,Faksi\r\n");
        for (int i = 0; i < n; ++i) {
            int who = !speedDial && i % 10 == 9 ? i - 1 : i;
            std::string name = "Nimi " + std::to_string(who * 7919 % 1000003), fax = "+358 9 " + std::to_string(who);
            if (speedDial) out << i + 1 << ",N," << fax << "," << name << "\r\n";
            else out << name << "," << fax << "\r\n";
        }
    }
    TextImage image;
    if (LoadTextImage(f.path.c_str(), image) != 0) return false;
    f.app.instance = GetModuleHandleA(nullptr);
    if (speedDial) return ReadSpeedDialLines(image, f.app.speedDial) == 0;
    CsvColumns columns;
    return AutoCsvColumns(image.Line(0), columns) == 0 && f.csv.Collect(image, 0, columns) == 0;
}

PickFile* File(bool speedDial, int n) {
    static std::map<std::pair<bool, int>, std::unique_ptr<PickFile>> files;
    auto& f = files[{speedDial, n}];
    if (!f) {
        f = std::make_unique<PickFile>();
        if (!Load(*f, speedDial, n)) return nullptr;
    }
    return f.get();
}

// Opens the dialog of the kind range(0) names on range(1) candidates and
// runs body in it once the list is filled.
void InPickDialog(benchmark::State& state, const std::function<void(HWND)>& body) {
    bool speedDial = state.range(0) != 0;
    int n = static_cast<int>(state.range(1));
    PickFile* f = File(speedDial, n);
    if (!f) {
        state.SkipWithError("cannot read the file");
        return;
    }
    automation::Reset();
    automation::Play(automation::Script().call([&](HWND d) {
        if (SendDlgItemMessageA(d, IDC_PICK_SOURCE, LB_GETCOUNT, 0, 0) != n) state.SkipWithError("wrong count");
        body(d);
        EndDialog(d, IDCANCEL);
    }));
    if (speedDial) RunSpeedDialPickDialog(f->app, f->path);
    else RunCsvPickDialog(f->app, f->csv, f->path);
    state.SetComplexityN(n);
}

void BM_FillPickList(benchmark::State& state) {
    for (auto _ : state) InPickDialog(state, [](HWND) {});
}

void BM_SelectAllAndAdd(benchmark::State& state) {
    InPickDialog(state, [&](HWND d) {
        HWND source = GetDlgItem(d, IDC_PICK_SOURCE);
        HWND selected = GetDlgItem(d, IDC_PICK_SELECTED);
        for (auto _ : state) {
            state.PauseTiming();
            SendMessageA(selected, LB_RESETCONTENT, 0, 0);
            SendMessageA(source, LB_SETSEL, FALSE, -1);
            state.ResumeTiming();
            SendMessageA(source, LB_SETSEL, TRUE, -1);
            SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_PICK_ADD, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_PICK_ADD)));
        }
        LRESULT expected = state.range(0) ? state.range(1) : state.range(1) / 10 * 9;
        if (SendMessageA(selected, LB_GETCOUNT, 0, 0) != expected) state.SkipWithError("wrong added count");
    });
}

// Delete on the whole selected list: every item goes, the last first.
void BM_RemoveAll(benchmark::State& state) {
    InPickDialog(state, [&](HWND d) {
        HWND source = GetDlgItem(d, IDC_PICK_SOURCE);
        HWND selected = GetDlgItem(d, IDC_PICK_SELECTED);
        for (auto _ : state) {
            state.PauseTiming();
            SendMessageA(source, LB_SETSEL, TRUE, -1);
            SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_PICK_ADD, BN_CLICKED), 0);
            SendMessageA(selected, LB_SETSEL, TRUE, -1);
            state.ResumeTiming();
            SendMessageA(selected, WM_KEYDOWN, VK_DELETE, 0);
        }
        if (SendMessageA(selected, LB_GETCOUNT, 0, 0) != 0) state.SkipWithError("items left");
    });
}

void PickSizes(benchmark::internal::Benchmark* b) {
    for (int kind : {0, 1})
        for (int n : {12500, 25000, 50000, 100000}) b->Args({kind, n});
    b->ArgNames({"speed_dial", "candidates"})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_FillPickList)->Apply(PickSizes);
BENCHMARK(BM_SelectAllAndAdd)->Apply(PickSizes);
BENCHMARK(BM_RemoveAll)->Apply(PickSizes);

}  // namespace

BENCHMARK_MAIN();
