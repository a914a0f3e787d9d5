#pragma once
// Redirects a module's imported functions: the scripted user sees what the
// code under test asks of the system (message boxes, dialogs, help, file
// dialogs, beeps) by replacing entries of the import address table.
#include <windows.h>

namespace automation {
namespace win {

// Replaces the import of 'function' from 'dll' (case-insensitive) in
// 'module' with 'replacement'. Returns the number of entries replaced.
int RedirectImport(HMODULE module, const char* dll, const char* function, void* replacement);

// Calls 'visit' for every module of the process that is not part of the
// system (outside the Windows directory).
void ForEachOwnModule(void (*visit)(HMODULE));

}  // namespace win
}  // namespace automation
