// DBFillList into a sorted list box, from 1,000 to 100,000 entries, beside
// its floor: reading the same file, widening the list texts and sorting
// them by keys of the list's collation computed once per text.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "automation.h"
#include "bench_dir.h"
#include "fill_ids.h"
#include "entry_codec.h"
#include "kfd_format.h"
#include "posix/comctl/liststore.h"
#include "store.h"
#include "store_dialogs.h"
#include "store_state.h"
#include "text_convert.h"
#include "wide_text.h"

namespace {

INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// Writes a phonebook of n individuals with scattered names and makes it
// the current one.
void MakePhonebook(int n) {
    const std::string& dir = BenchDir();
    setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
    const std::string file = ScatteredPhonebook(n);
    std::string path = dir + "/fill" + std::to_string(n) + ".KFD";
    std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
    const WideString wpath = Wide(path);
    std::memcpy(StoreState.currentPath, wpath.c_str(), (wpath.size() + 1) * sizeof(WCHAR));
}

void BM_FillSortedList(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    MakePhonebook(n);
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

class ListTexts : public kfd::RecordVisitor {
public:
    struct Entry {
        std::u32string key;
        std::u16string text;
        uint8_t kind;
    };
    std::vector<Entry> entries;
    kfd::Step Gap(uint64_t, const uint8_t*, size_t) override { return kfd::Step::Continue; }
    kfd::Step Record(uint64_t, const uint8_t* rec, size_t len) override {
        WCHAR text[kListTextChars];
        DBRecordListText(rec, len, text);
        entries.push_back({{}, std::u16string(text), rec[0]});
        return kfd::Step::Continue;
    }
};

void BM_FillFloor(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    MakePhonebook(n);
    for (auto _ : state) {
        ListTexts v;
        kfd::ScanResult scan = kfd::ScanResult::Done;
        if (PhonebookVisit(StoreState.currentPath, v, &scan) != DB_DONE) state.SkipWithError("read failed");
        for (auto& e : v.entries) e.key = winuser::SortKey(e.text);
        std::stable_sort(v.entries.begin(), v.entries.end(),
                         [](const ListTexts::Entry& a, const ListTexts::Entry& b) { return a.key < b.key; });
        if (static_cast<int>(v.entries.size()) != n) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(v.entries.data());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_FillFloor)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
