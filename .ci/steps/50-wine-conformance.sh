#!/usr/bin/env bash
# Fuzzes the resource reader briefly, then builds the platform behaviour
# tests for 64-bit Windows and runs them under wine: the headless layer and
# a real Win32 implementation must agree on every test.
set -euo pipefail
cd "$(dirname "$0")/../.."
source .ci/fuzz_jobs.sh
scripts/deps.sh clang
cmake -S . -B build-fuzz-ui -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF
cmake --build build-fuzz-ui --target res_fuzz script_fuzz
fuzz_start build-fuzz-ui/fuzz/platform_user/res_fuzz -max_total_time=30 -max_len=4096
fuzz_start build-fuzz-ui/fuzz/platform_user/script_fuzz -max_total_time=20 -max_len=2048
fuzz_wait

start=$(date +%s)
scripts/deps.sh wine64 xvfb xauth g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DFAX_BENCH=OFF
cmake --build build-win64 --target platform_user_tests faxui recipient_dialog_tests recipients_dialog_tests phonebook_dialog_tests \
  host_ui_pages_tests core_tests faxui_module_tests faxhost faxrender \
  import_address_book_tests import_program_tests
built=$(date +%s)

# A fresh prefix each run. Windows live on a virtual desktop: without a
# window manager, hiding a top-level X window waits seconds for an answer.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$PWD/build-win64/wineprefix"
rm -rf "$WINEPREFIX"
# The product's users sort and compare in Finnish; so does the test run
# (wine takes the locale from these names; the host need not have it).
fi=(env LANG=fi_FI.UTF-8 LC_ALL=fi_FI.UTF-8)
# Debian installs the 64-bit loader outside PATH.
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" wineboot -i >/dev/null 2>&1 || true
timeout 60 xvfb-run -a "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
timeout 60 xvfb-run -a "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null
# The desktop is chosen when the wine session starts: let this one end.
"$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)" -w
prefixed=$(date +%s)
# faxhost.exe's built-in fax job through the real dialogs: the same FAXNUM
# lines as on Linux. First, while the prefix has no phonebook: the run
# makes the built-in one the default phonebook only on such a system.
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/host/faxhost.exe >build-win64/faxhost-builtin.pjl
expected='@PJL TELARN FAXNUM = 09-1234567{20}{30}
@PJL TELARN FAXNUM = '"'"'012'"'"'
@PJL TELARN FAXNUM = 091234000{20}{32}{400254321}
@PJL TELARN FAXNUM = 0-800-3569377{100121000500#3}{20}{34}{51234}{612*#}'
if [ "$(grep FAXNUM build-win64/faxhost-builtin.pjl)" != "$expected" ]; then
  echo "faxhost.exe's built-in job under wine gave other FAXNUM lines:" >&2
  cat build-win64/faxhost-builtin.pjl >&2
  exit 1
fi
# faxhost.exe's printing preferences and a fax job cancelled in the
# confirmation, each from a script file.
printf 'dialog 102\nclick 204\nclick 209\nsheet ok\n' >build-win64/prefs.script
prefs=$(FAX_UI_SCRIPT=build-win64/prefs.script "${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/host/faxhost.exe prefs)
[ "$prefs" = "$(printf '# printing preferences closed with OK\nresolution = superfine\nreport = off\nheader = on')" ] ||
  { echo "faxhost.exe prefs under wine: $prefs" >&2; exit 1; }
printf 'dialog 101\ntype 1004 0201234567\nclick 1006\nclick 1\ndialog 108\nclick 802\nmsgbox IDOK Faksity\303\266 on peruutettu!\n' \
  >build-win64/cancel.script
status=0
FAX_UI_SCRIPT=build-win64/cancel.script "${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/host/faxhost.exe print \
  >build-win64/cancel.pjl || status=$?
[ "$status" = 4 ] && [ ! -s build-win64/cancel.pjl ] ||
  { echo "faxhost.exe print, cancelled under wine: status $status" >&2; exit 1; }
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/tests/platform_user/platform_user_tests.exe --gtest_brief=1
# The product dialogs of faxui, as the user plays them here.
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/tests/recipients/recipients_dialog_tests.exe --gtest_brief=1
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/tests/recipients/recipient_dialog_tests.exe --gtest_brief=1
# Product dialog tests: the same scenarios as on the headless layer.
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/tests/phonebook_dialog/phonebook_dialog_tests.exe --gtest_brief=1
# The fax pages in the host's property sheet, the print-time hook with the
# monitor stand-ins, the record bytes and texts,
# and faxui.dll as the host loads it.
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/tests/host/host_ui_pages_tests.exe --gtest_brief=1
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/tests/core/core_tests.exe --gtest_brief=1
"${fi[@]}" timeout 300 xvfb-run -a "$WINE" build-win64/tests/faxui/faxui_module_tests.exe --gtest_brief=1
# The import program's address book sources with our stand-ins loaded in
# place of wine's own messaging and address book libraries.
"${fi[@]}" WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mapi32,wab32=n" timeout 300 xvfb-run -a "$WINE" \
  build-win64/tests/addressbook/import_address_book_tests.exe --gtest_brief=1
# The import program's dialogs; with the same override wine's own address
# book libraries are not found, so none is offered.
"${fi[@]}" WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mapi32,wab32=n" timeout 300 xvfb-run -a "$WINE" \
  build-win64/tests/import/import_program_tests.exe --gtest_brief=1
echo "wine conformance: $(( built - start )) s to build, $(( prefixed - built )) s for a fresh prefix, $(( $(date +%s) - prefixed )) s for the run"
