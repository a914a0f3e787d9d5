#pragma once
// Test-only fault injection for the file calls of the headless build.
//
// Every CreateFile, WriteFile, FlushFileBuffers, DeleteFile, MoveFile(Ex),
// CopyFile, ReadFile and GetFileSize call is counted by kind. A test arms
// one fault: "the Nth call of kind K (or of any of them) fails with error
// E", "... stores only half its bytes and reports success with the short
// count" (a write that ran out of disk), "... kills the process": the call
// throws fault::SimulatedCrash before it takes effect, and what earlier
// calls wrote stays on disk; or "... the power goes off": the same throw,
// after the disk has lost what was not yet flushed.
//
// The power-loss model, kept from the moment such a fault is armed (or
// TrackPowerLoss is called): every write not followed by a flush of its
// file is dropped whole, cut, or kept, each on its own; the creates,
// deletes and renames since the last flush of a directory (a write-through
// rename, MoveFileEx with MOVEFILE_WRITE_THROUGH) are undone from the last
// back to one of them, as a journal that commits in order would leave
// them. The seed picks one of these outcomes; a test runs several.
//
// Proving that a store operation is crash-safe, from GoogleTest:
//
//   fault::Reset();
//   RunChange();                                   // dry run: count calls
//   int writes = fault::Calls(fault::Op::Write);
//   for (int n = 1; n <= writes; ++n) {
//       RestoreFiles();
//       fault::Reset();
//       fault::Arm({fault::Op::Write, n, fault::Action::Crash});
//       EXPECT_THROW(RunChange(), fault::SimulatedCrash);
//       fault::CloseAllFiles();                    // the "dead process" lets go
//       ExpectOldOrNewContents();
//   }
//
// Product code never includes this header. The counters are per process
// and may be bumped from several threads; arming, resetting and the
// power-loss record are for one thread at a time.

#include <cstddef>

#include "win_kernel.h"

namespace fault {

enum class Op { Any, Create, Write, Flush, Delete, Move, Copy, Read, Size };

enum class Action {
    Fail,       // the call fails with `error`, having done nothing
    Short,      // WriteFile only: half the bytes are written, TRUE is returned
    Crash,      // the call throws SimulatedCrash before doing anything
    PowerLoss,  // as Crash, after unflushed data and names are lost
};

struct Plan {
    Op op;
    int nth;  // 1-based, counted from the last Reset()
    Action action;
    DWORD error = ERROR_DISK_FULL;
    unsigned seed = 0;  // PowerLoss: which of the possible losses happens
};

struct SimulatedCrash {
    Op op;
    int nth;
};

// Clears the counters, any armed fault and the power-loss record (all that
// is on disk counts as flushed from then on).
void Reset();
// Arms one fault; replaces an earlier one. Counters keep running.
void Arm(const Plan& plan);
// Calls of a kind since Reset(); Op::Any counts them all.
int Calls(Op op);
// Closes every file handle still open, as the end of a killed process would.
void CloseAllFiles();
// Starts keeping the power-loss record without arming a fault.
void TrackPowerLoss();
// The power goes off now (see the model above); the record is no longer
// kept. Returns how many unflushed writes and names there were to lose.
int CutPower(unsigned seed);

// Consulted by the file calls to keep the power-loss record; each does
// nothing unless the record is kept. NoteWrite comes before the bytes are
// written at the descriptor's position, NoteRemove and NoteRename before
// the name changes, the others after the fact.
bool Tracking();
void NoteWrite(int fd, const void* data, size_t len);
void NoteFlush(int fd);
void NoteCreate(const char* hostPath);
void NoteRemove(const char* hostPath);
void NoteRename(const char* from, const char* to);
// The remove or rename just noted failed after all.
void NoteNotDone();
void NoteDirectoryFlush();

// Consulted by the file calls: counts the call and returns the action to
// take (throws for Crash); nullptr when the call should proceed normally.
const Plan* Check(Op op);

}  // namespace fault
