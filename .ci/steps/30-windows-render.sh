#!/usr/bin/env bash
# The 32-bit Windows build: every product library compiles warning-free with
# MinGW; faxrender.dll and faxui.dll are PE32 for i386, export exactly their
# names, undecorated, and need no MinGW runtime DLL.
set -euo pipefail
scripts/deps.sh g++-mingw-w64-i686 binutils-mingw-w64-i686
cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DFAX_TESTS=OFF -DFAX_BENCH=OFF
cmake --build build-win32 2>&1 | tee build-win32/build.log
if grep -qi 'warning' build-win32/build.log; then
  echo "the Windows build has warnings" >&2
  exit 1
fi

objdump=i686-w64-mingw32-objdump
# check_module DLL NAME... : PE32 i386, exactly these exports, no runtime DLL.
check_module() {
  local dll=$1; shift
  if ! "$objdump" -f "$dll" | grep 'file format pei-i386' >/dev/null; then
    echo "$dll is not a PE32 i386 image" >&2
    "$objdump" -f "$dll" >&2
    exit 1
  fi
  local expected actual
  expected=$(printf '%s\n' "$@" | grep -v '^$' | LC_ALL=C sort || true)
  actual=$("$objdump" -p "$dll" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | LC_ALL=C sort || true)
  if [ "$actual" != "$expected" ]; then
    echo "$dll exports differ from the contract:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
  fi
  # The module must load on a bare Windows machine.
  if "$objdump" -p "$dll" | grep -Ei 'DLL Name: (libgcc|libstdc|libwinpthread)'; then
    echo "$dll depends on a MinGW runtime DLL" >&2
    exit 1
  fi
  echo "$dll: PE32 i386, $# undecorated exports"
}

check_module build-win32/render/faxrender.dll \
  ASCIIstrlen AddOnWriteCallback CopyStringA DecodeFaxNum DoFaxNumParam DoTimeString \
  EngQueryLocalTime GetFaxAddonMCB GetFuncTable ModuleInfo SPRINTF VSPRINTF memcpyn padzeroA

# faxui: one name per exported procedure as it lands (keep faxui.def and
# faxui.map in step).
faxui_exports=(
  CommDlgProc
  ShowDBInfoDlgProc
  EditDBInfoDlgProc
  NewEntryDlgProc
  EditDBGrpDlgProc
  ShowDBGrpDlgProc
  FaxPromptDlgProc
  GetFuncTable ModuleInfo DllInitialize
  PhonebookDlgProc
  RecipientDlgProc
)
check_module build-win32/ui/core/faxui.dll "${faxui_exports[@]}"

# The stand-in address book libraries: the system libraries' entry points
# the import program finds by name, and the tests' counts.
check_module build-win32/addressbook/standin/mapi32.dll \
  MAPIAllocateBuffer MAPIFreeBuffer MAPIInitialize MAPILogonEx MAPIUninitialize StandinCounts
check_module build-win32/addressbook/standin/wab32.dll StandinCounts WABOpen

# The import program, both builds: PE32 i386 executables for the GUI
# subsystem without MinGW runtime DLLs.
for exe in build-win32/import/rcpimport.exe build-win32/import/rcpimportx.exe; do
  if ! "$objdump" -f "$exe" | grep 'file format pei-i386' >/dev/null; then
    echo "$exe is not a PE32 i386 image" >&2
    exit 1
  fi
  if ! "$objdump" -p "$exe" | grep 'Subsystem.*Windows GUI' >/dev/null; then
    echo "$exe is not a GUI program" >&2
    exit 1
  fi
  if "$objdump" -p "$exe" | grep -Ei 'DLL Name: (libgcc|libstdc|libwinpthread)'; then
    echo "$exe depends on a MinGW runtime DLL" >&2
    exit 1
  fi
done
echo "rcpimport.exe, rcpimportx.exe: PE32 i386, no MinGW runtime DLL"
