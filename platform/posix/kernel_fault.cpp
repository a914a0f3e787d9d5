// Test-only fault injection for the file calls (see fault_injection.h).

#include "fault_injection.h"

#include "kernel_file.h"

namespace fault {
namespace {

const int kKinds = 7;
int counts[kKinds] = {};
Plan armed{Op::Any, 0, Action::Fail};
bool isArmed = false;

}  // namespace

void Reset() {
    for (int& c : counts) c = 0;
    isArmed = false;
}

void Arm(const Plan& plan) {
    armed = plan;
    isArmed = true;
}

int Calls(Op op) { return counts[static_cast<int>(op)]; }

void CloseAllFiles() { kernel::CloseAllFileHandles(); }

const Plan* Check(Op op) {
    int nth = ++counts[static_cast<int>(op)];
    int any = ++counts[static_cast<int>(Op::Any)];
    if (!isArmed) return nullptr;
    int relevant = armed.op == Op::Any ? any : (armed.op == op ? nth : 0);
    if (relevant != armed.nth) return nullptr;
    isArmed = false;  // one fault per arming
    if (armed.action == Action::Crash) throw SimulatedCrash{op, relevant};
    return &armed;
}

}  // namespace fault
