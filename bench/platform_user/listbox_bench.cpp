// Filling a sorted list box in random order: should grow close to n log n.
#include "windows.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

static void BM_SortedFill(benchmark::State& state) {
    std::mt19937 rng(1);
    std::vector<std::u16string> texts;
    for (int i = 0; i < state.range(0); ++i) {
        std::string s = "Name" + std::to_string(rng()) + " <" + std::to_string(i) + ">";
        texts.emplace_back(s.begin(), s.end());
    }
    for (auto _ : state) {
        HWND lb = CreateWindowExW(0, WIDE("LISTBOX"), WIDE(""), LBS_SORT, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        for (auto& t : texts) SendMessageW(lb, LB_ADDSTRING, 0, (LPARAM)t.c_str());
        benchmark::DoNotOptimize(SendMessageW(lb, LB_GETCOUNT, 0, 0));
        DestroyWindow(lb);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SortedFill)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oNLogN)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
