// The phonebook manager on a 10,000-entry phonebook: opening it until its
// list is filled, and one search keystroke, each against filling the list
// alone.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "automation.h"
#include "bench_dir.h"
#include "kfd_format.h"
#include "phonebook_dialog.h"
#include "phonebook_dialog_ids.h"
#include "store_dialogs.h"

namespace {

constexpr int kEntries = 10000;

// A phonebook with names in scattered order, named by KFD.INI.
void MakePhonebook() {
    static bool made = false;
    if (made) return;
    made = true;
    const std::string& dir = BenchDir();
    setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
    setenv("FAX_WINDIR", dir.c_str(), 1);
    const std::string file = ScatteredPhonebook(kEntries);
    std::string path = dir + "/book.KFD";
    std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
    std::ofstream(dir + "/KFD.INI", std::ios::binary) << path << "\n";
}

// Runs body inside the open manager.
void InManager(benchmark::State& state, const std::function<void(HWND)>& body) {
    MakePhonebook();
    automation::Reset();
    automation::Play(automation::Script().call([&](HWND d) {
        body(d);
        if (SendDlgItemMessageW(d, IDC_PB_PHONEBOOK_LIST, LB_GETCOUNT, 0, 0) != kEntries)
            state.SkipWithError("wrong count");
        EndDialog(d, 0);
    }));
    DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_PHONEBOOK), nullptr, PhonebookDlgProc, 0);
}

void BM_FillListAlone(benchmark::State& state) {
    InManager(state, [&](HWND d) {
        for (auto _ : state) {
            state.PauseTiming();
            SendDlgItemMessageW(d, IDC_PB_PHONEBOOK_LIST, LB_RESETCONTENT, 0, 0);
            state.ResumeTiming();
            if (!DBFillList(d, IDC_PB_PHONEBOOK_LIST)) state.SkipWithError("fill failed");
        }
    });
}
BENCHMARK(BM_FillListAlone)->Unit(benchmark::kMillisecond);

void BM_OpenManager(benchmark::State& state) {
    MakePhonebook();
    for (auto _ : state) {
        automation::Reset();
        automation::Play(automation::Script().call([&](HWND d) {
            if (SendDlgItemMessageW(d, IDC_PB_PHONEBOOK_LIST, LB_GETCOUNT, 0, 0) != kEntries)
                state.SkipWithError("wrong count");
            EndDialog(d, 0);
        }));
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_PHONEBOOK), nullptr, PhonebookDlgProc, 0);
    }
}
BENCHMARK(BM_OpenManager)->Unit(benchmark::kMillisecond);

// The last character of a search that ends near the end of the list, typed
// as a person types it.
void BM_SearchKeystroke(benchmark::State& state) {
    InManager(state, [&](HWND d) {
        HWND edit = GetDlgItem(d, IDC_PB_SEARCH);
        for (auto _ : state) {
            state.PauseTiming();
            SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WIDE("Nimi 099")));
            SendMessageW(edit, EM_SETSEL, 8, 8);
            SendDlgItemMessageW(d, IDC_PB_PHONEBOOK_LIST, LB_SETSEL, FALSE, -1);
            SendDlgItemMessageW(d, IDC_PB_PHONEBOOK_LIST, LB_SETSEL, TRUE, 0);
            state.ResumeTiming();
            SendMessageW(edit, WM_CHAR, '9', 0);
        }
        if (SendDlgItemMessageW(d, IDC_PB_PHONEBOOK_LIST, LB_GETSELCOUNT, 0, 0) != 1)
            state.SkipWithError("nothing found");
    });
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
