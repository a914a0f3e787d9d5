// Cost of one change of a large phonebook beside the least a safe replace
// of the same file must do (copy, flush, rename; and with the rename
// flushed too), measured in one run.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_dir.h"
#include "entry_codec.h"
#include "kfd_format.h"
#include "store.h"
#include "text_convert.h"
#include "wide_text.h"

namespace {

std::string Dir() { return BenchDir(); }

// A phonebook of n individuals with details, and a group every 50 entries.
std::string MakePhonebook(int n) {
    std::string file = std::string(kfd::kMagicCurrent) + "\n";
    std::string group;
    for (int i = 0; i < n; ++i) {
        FaxRecipient r = DefaultRecipient;
        std::snprintf(r.name, sizeof r.name, "Henkilo %06d", i);
        std::snprintf(r.faxNumber, sizeof r.faxNumber, "09%08d", i);
        kfd::AnsiDetails d;
        std::memset(&d, 0, sizeof d);
        std::strcpy(d.company, "Yritys Oy");
        std::strcpy(d.email, "henkilo@yritys.fi");
        kfd::EncodeEntry(r, d, file);
        if (i % 50 == 0) {
            if (!group.empty()) {
                kfd::EndGroup(group);
                file += group;
            }
            group.clear();
            kfd::BeginGroup(("Ryhma " + std::to_string(i)).c_str(), group);
        }
        kfd::AddGroupMember(r.name, r.faxNumber, group);
    }
    kfd::EndGroup(group);
    return file + group;
}

// Writes the file and puts it on disk, so that no timed flush pays for it.
void Put(const std::string& path, const std::string& bytes) {
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f) {
        fsync(fileno(f));
        std::fclose(f);
    }
}

const std::string& Book10k() {
    static std::string bytes = MakePhonebook(10000);
    return bytes;
}

void BM_CopyWithCp(benchmark::State& state) {
    std::string src = Dir() + "/cp.KFD";
    Put(src, Book10k());
    std::string cmd = "cp " + src + " " + Dir() + "/cp-copy.KFD";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("cp failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Book10k().size()));
}
BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond);

void BM_CopyFileInProcess(benchmark::State& state) {
    std::string src = Dir() + "/cpi.KFD";
    Put(src, Book10k());
    for (auto _ : state) {
        std::filesystem::copy_file(src, Dir() + "/cpi-copy.KFD", std::filesystem::copy_options::overwrite_existing);
    }
}
BENCHMARK(BM_CopyFileInProcess)->Unit(benchmark::kMillisecond);

// The least a safe replace must do: copy the file beside itself, flush the
// copy and rename it over the original, through the same file calls.
bool CopyFlushRename(const WideString& from, const WideString& temp, DWORD moveFlags) {
    HANDLE in = CreateFileW(from.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE out = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    static char buf[1 << 20];
    bool ok = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE;
    for (DWORD got = 0; ok && ReadFile(in, buf, sizeof buf, &got, nullptr) && got > 0;) {
        DWORD put = 0;
        ok = WriteFile(out, buf, got, &put, nullptr) && put == got;
    }
    ok = ok && FlushFileBuffers(out);
    if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    return ok && MoveFileExW(temp.c_str(), from.c_str(), moveFlags);
}

void ReplaceFloor(benchmark::State& state, DWORD moveFlags) {
    std::string path = Dir() + "/f.KFD";
    Put(path, Book10k());
    WideString wpath = Wide(path), wtemp = Wide(Dir() + "/f.TMP");
    for (auto _ : state) {
        if (!CopyFlushRename(wpath, wtemp, moveFlags)) state.SkipWithError("copy failed");
    }
}
void BM_ReplaceFloor(benchmark::State& state) { ReplaceFloor(state, MOVEFILE_REPLACE_EXISTING); }
BENCHMARK(BM_ReplaceFloor)->Unit(benchmark::kMillisecond);
// The same with the rename made durable (the directory flushed), as a
// change must have it before it reports done.
void BM_ReplaceFloorDurable(benchmark::State& state) {
    ReplaceFloor(state, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}
BENCHMARK(BM_ReplaceFloorDurable)->Unit(benchmark::kMillisecond);

void BM_WriteEntrySameKey(benchmark::State& state) {
    std::string path = Dir() + "/w.KFD";
    Put(path, Book10k());
    WideString wpath = Wide(path);
    WideString text = Wide("Henkilo 005000 <0900005000>");
    FaxRecipient r = DefaultRecipient;
    EntryDetails d;
    ClearEntryDetails(d);
    if (PhonebookReadEntry(wpath.c_str(), text.c_str(), r, d) != DB_DONE) state.SkipWithError("entry missing");
    for (auto _ : state) {
        if (PhonebookWriteEntry(wpath.c_str(), text.c_str(), r, d, kModeSameKey) != DB_DONE)
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_WriteEntrySameKey)->Unit(benchmark::kMillisecond);

void BM_DeleteItem(benchmark::State& state) {
    std::string path = Dir() + "/d.KFD";
    WideString wpath = Wide(path);
    WideString text = Wide("Henkilo 005000 <0900005000>");
    for (auto _ : state) {
        state.PauseTiming();
        Put(path, Book10k());
        state.ResumeTiming();
        if (PhonebookDeleteItem(wpath.c_str(), text.c_str(), kItemIndividual) != DB_DONE)
            state.SkipWithError("delete failed");
    }
}
BENCHMARK(BM_DeleteItem)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
