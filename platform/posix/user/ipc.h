#pragma once
// Windows of other processes: the local socket service and the requests
// sent to other processes.
#include "posix/win_base.h"

#include <cstdint>

namespace winuser {

// Cross-process service: polls the socket of this process once; waits up
// to timeoutMs for a request when timeoutMs > 0. Returns true when it
// served a request.
bool ServeRemote(int timeoutMs);
void EnsureServer();
// Requests to another process; false when it cannot be reached.
bool RemoteCall(HWND target, int op, UINT msg, WPARAM a, LPARAM b, LRESULT& result);
// Messages other processes have posted here so far.
uint64_t& RemotePostCount();
enum RemoteOp { kPost = 1, kEnable = 2, kIsWindow = 3, kGetDlgItem = 4, kIsEnabled = 5, kIsVisible = 6 };

}  // namespace winuser
