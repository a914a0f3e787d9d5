// Test-only fault injection for the file calls (see fault_injection.h).

#include "posix/fault_injection.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "posix/kernel/file.h"

namespace fault {
namespace {

const int kKinds = 9;
// File calls may come from two threads at once (a contact file is read on
// one while the phonebook is written on the other).
std::atomic<int> counts[kKinds] = {};
Plan armed{Op::Any, 0, Action::Fail};
std::atomic<bool> isArmed{false};

// One write not yet flushed: what it replaced, so that it can be undone,
// and what it wrote, so that a part of it can be put back.
struct PendingWrite {
    off_t offset;
    off_t sizeBefore;
    std::string before;
    std::string bytes;
};

struct TrackedFile {
    int fd = -1;  // our own descriptor: the file may be renamed or closed meanwhile
    std::vector<PendingWrite> pending;
};

enum class NameOp { Create, Remove, Rename };

struct PendingName {
    NameOp op;
    std::string path;   // created or removed; the source of a rename
    std::string to;     // the target of a rename
    std::string saved;  // the file a remove or rename took away, kept aside
};

struct PowerRecord {
    bool on = false;
    std::map<std::pair<dev_t, ino_t>, TrackedFile> files;
    std::vector<PendingName> names;
    std::string saveDir;
    int saved = 0;
} record;

// A small deterministic generator, so that a seed names one outcome.
struct Dice {
    unsigned long long state;
    explicit Dice(unsigned seed) : state(seed * 2654435761ull + 0x9E3779B97F4A7C15ull) {}
    unsigned Roll(unsigned n) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return n ? static_cast<unsigned>(state % n) : 0;
    }
};

TrackedFile* FileOf(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    TrackedFile& t = record.files[{st.st_dev, st.st_ino}];
    if (t.fd < 0) {
        // Readable and writable whatever the caller's access was.
        t.fd = open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDWR | O_CLOEXEC);
    }
    return t.fd >= 0 ? &t : nullptr;
}

// Keeps the file at path aside (a second name for it), so that the name can
// be given back if the change that took it away is lost.
std::string SaveAside(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::string();
    if (record.saveDir.empty()) {
        char tmpl[] = "/tmp/fax-powerloss-XXXXXX";
        if (!mkdtemp(tmpl)) return std::string();
        record.saveDir = tmpl;
    }
    std::string aside = record.saveDir + "/" + std::to_string(++record.saved);
    if (link(path.c_str(), aside.c_str()) == 0) return aside;
    std::error_code ec;
    std::filesystem::copy_file(path, aside, ec);
    return ec ? std::string() : aside;
}

void PutBack(const std::string& aside, const std::string& path) {
    if (rename(aside.c_str(), path.c_str()) == 0) return;
    std::error_code ec;
    std::filesystem::copy_file(aside, path, std::filesystem::copy_options::overwrite_existing, ec);
}

void UndoName(const PendingName& n) {
    switch (n.op) {
    case NameOp::Create: unlink(n.path.c_str()); break;
    case NameOp::Remove:
        if (!n.saved.empty()) PutBack(n.saved, n.path);
        break;
    case NameOp::Rename:
        rename(n.to.c_str(), n.path.c_str());
        if (!n.saved.empty()) PutBack(n.saved, n.to);
        break;
    }
}

void PutBytes(int fd, const std::string& bytes, size_t n, off_t at) {
    size_t done = 0;
    while (done < n) {
        ssize_t w = pwrite(fd, bytes.data() + done, n - done, at + static_cast<off_t>(done));
        if (w <= 0) return;
        done += static_cast<size_t>(w);
    }
}

// Back to the state of the last flush, then each write dropped, cut or kept.
void LoseWrites(TrackedFile& t, Dice& dice) {
    for (auto it = t.pending.rbegin(); it != t.pending.rend(); ++it) {
        PutBytes(t.fd, it->before, it->before.size(), it->offset);
        if (ftruncate(t.fd, it->sizeBefore) != 0) return;
    }
    for (const PendingWrite& w : t.pending) {
        unsigned fate = dice.Roll(3);
        size_t keep = fate == 0 ? 0 : fate == 1 ? dice.Roll(static_cast<unsigned>(w.bytes.size())) : w.bytes.size();
        PutBytes(t.fd, w.bytes, keep, w.offset);
    }
}

void Forget() {
    for (auto& f : record.files) {
        if (f.second.fd >= 0) close(f.second.fd);
    }
    record.files.clear();
    record.names.clear();
    if (!record.saveDir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(record.saveDir, ec);
    }
    record.saveDir.clear();
}

}  // namespace

void Reset() {
    for (std::atomic<int>& c : counts) c = 0;
    isArmed = false;
    Forget();
    record.on = false;
}

void Arm(const Plan& plan) {
    armed = plan;
    isArmed = true;
    if (plan.action == Action::PowerLoss) record.on = true;
}

int Calls(Op op) { return counts[static_cast<int>(op)]; }

void CloseAllFiles() { kernel::CloseAllFileHandles(); }

void TrackPowerLoss() { record.on = true; }

int CutPower(unsigned seed) {
    Dice dice(seed);
    int lost = static_cast<int>(record.names.size());
    // Names first, newest first, down to a point of the journal.
    size_t keep = dice.Roll(static_cast<unsigned>(record.names.size() + 1));
    for (size_t i = record.names.size(); i-- > keep;) UndoName(record.names[i]);
    for (auto& f : record.files) {
        lost += static_cast<int>(f.second.pending.size());
        LoseWrites(f.second, dice);
    }
    Forget();
    record.on = false;
    return lost;
}

bool Tracking() { return record.on; }

void NoteWrite(int fd, const void* data, size_t len) {
    if (!record.on || len == 0) return;
    TrackedFile* t = FileOf(fd);
    if (!t) return;
    PendingWrite w;
    w.offset = lseek(fd, 0, SEEK_CUR);
    struct stat st {};
    fstat(t->fd, &st);
    w.sizeBefore = st.st_size;
    w.before.resize(len);
    ssize_t got = pread(t->fd, &w.before[0], len, w.offset);
    w.before.resize(got > 0 ? static_cast<size_t>(got) : 0);
    w.bytes.assign(static_cast<const char*>(data), len);
    t->pending.push_back(std::move(w));
}

void NoteFlush(int fd) {
    if (!record.on) return;
    if (TrackedFile* t = FileOf(fd)) t->pending.clear();
}

void NoteCreate(const char* hostPath) {
    if (record.on) record.names.push_back({NameOp::Create, hostPath, std::string(), std::string()});
}

void NoteRemove(const char* hostPath) {
    if (record.on) record.names.push_back({NameOp::Remove, hostPath, std::string(), SaveAside(hostPath)});
}

void NoteRename(const char* from, const char* to) {
    if (record.on) record.names.push_back({NameOp::Rename, from, to, SaveAside(to)});
}

void NoteNotDone() {
    if (!record.on || record.names.empty()) return;
    if (!record.names.back().saved.empty()) unlink(record.names.back().saved.c_str());
    record.names.pop_back();
}

void NoteDirectoryFlush() {
    if (!record.on) return;
    // A journal commits in order: everything named before is now on disk.
    for (const PendingName& n : record.names) {
        if (!n.saved.empty()) unlink(n.saved.c_str());
    }
    record.names.clear();
}

const Plan* Check(Op op) {
    int nth = ++counts[static_cast<int>(op)];
    int any = ++counts[static_cast<int>(Op::Any)];
    if (!isArmed) return nullptr;
    int relevant = armed.op == Op::Any ? any : (armed.op == op ? nth : 0);
    if (relevant != armed.nth || !isArmed.exchange(false)) return nullptr;  // one fault per arming
    if (armed.action == Action::PowerLoss) CutPower(armed.seed);
    if (armed.action == Action::Crash || armed.action == Action::PowerLoss) throw SimulatedCrash{op, relevant};
    return &armed;
}

}  // namespace fault
