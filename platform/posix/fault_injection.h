#pragma once
// Test-only fault injection for the file calls of the headless build.
//
// Every CreateFile, WriteFile, FlushFileBuffers, DeleteFile, MoveFile(Ex)
// and CopyFile call is counted by kind. A test arms one fault: "the Nth
// call of kind K (or of any of them) fails with error E", "... stores only
// half its bytes and reports success with the short count" (a write that
// ran out of disk), or "... kills the process": the call throws
// fault::SimulatedCrash before it takes effect. A crash models a process
// kill, not a power loss: what earlier calls wrote stays on disk.
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
// Product code never includes this header; it is not thread-safe and the
// counters are per process.

#include "win_base.h"

namespace fault {

enum class Op { Any, Create, Write, Flush, Delete, Move, Copy };

enum class Action {
    Fail,   // the call fails with `error`, having done nothing
    Short,  // WriteFile only: half the bytes are written, TRUE is returned
    Crash,  // the call throws SimulatedCrash before doing anything
};

struct Plan {
    Op op;
    int nth;  // 1-based, counted from the last Reset()
    Action action;
    DWORD error = 112;  // ERROR_DISK_FULL
};

struct SimulatedCrash {
    Op op;
    int nth;
};

// Clears the counters and any armed fault.
void Reset();
// Arms one fault; replaces an earlier one. Counters keep running.
void Arm(const Plan& plan);
// Calls of a kind since Reset(); Op::Any counts them all.
int Calls(Op op);
// Closes every file handle still open, as the end of a killed process would.
void CloseAllFiles();

// Consulted by the file calls: counts the call and returns the action to
// take (throws for Crash); nullptr when the call should proceed normally.
const Plan* Check(Op op);

}  // namespace fault
