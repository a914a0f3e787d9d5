#pragma once
// Resource access for the dialog manager and the controls.
#include "posix/user/res.h"
#include "posix/win_base.h"

namespace winuser {

// The bytes of a module's resource; false, with the last error set, when
// there is none.
bool FindResourceBytes(HMODULE mod, const winres::ResName& type, const winres::ResName& name,
                       const unsigned char*& data, DWORD& size);
winres::ResName ResNameFromW(LPCWSTR p);
winres::ResName ResNameFromA(LPCSTR p);

}  // namespace winuser
