// DBFillList into a sorted list box, from 1,000 to 100,000 entries.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "automation.h"
#include "bench_dir.h"
#include "fill_ids.h"
#include "kfd_format.h"
#include "store_dialogs.h"
#include "store_state.h"
#include "text_convert.h"

namespace {

INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

void BM_FillSortedList(benchmark::State& state) {
    const std::string& dir = BenchDir();
    setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
    const int n = static_cast<int>(state.range(0));
    // Names in a scattered order so that the sorted list inserts everywhere.
    std::string file = std::string(kfd::kMagicCurrent) + "\n";
    for (int i = 0; i < n; ++i) {
        FaxRecipient r = DefaultRecipient;
        unsigned key = static_cast<unsigned>(i) * 2654435761u % 1000000007u;
        std::snprintf(r.name, sizeof r.name, "Nimi %010u", key);
        std::snprintf(r.faxNumber, sizeof r.faxNumber, "%d", i);
        kfd::AnsiDetails d;
        std::memset(&d, 0, sizeof d);
        kfd::EncodeEntry(r, d, file);
    }
    std::string path = dir + "/fill" + std::to_string(n) + ".KFD";
    std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
    WideString wpath;
    for (unsigned char c : path) wpath += static_cast<WCHAR>(c);
    std::memcpy(StoreState.currentPath, wpath.c_str(), (wpath.size() + 1) * sizeof(WCHAR));

    automation::Reset();
    automation::Play(automation::Script().call([&](HWND d) {
        for (auto _ : state) {
            state.PauseTiming();
            SendDlgItemMessageW(d, IDC_FILL_LIST, LB_RESETCONTENT, 0, 0);
            state.ResumeTiming();
            if (!DBFillList(d, IDC_FILL_LIST)) state.SkipWithError("fill failed");
        }
        if (SendDlgItemMessageW(d, IDC_FILL_LIST, LB_GETCOUNT, 0, 0) != n) state.SkipWithError("wrong count");
        EndDialog(d, 1);
    }));
    DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_FILL), nullptr, Proc, 0);
    state.SetComplexityN(n);
}
BENCHMARK(BM_FillSortedList)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
