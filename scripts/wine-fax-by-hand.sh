#!/usr/bin/env bash
# Click through the fax path by hand under wine, with real windows on your
# display: faxhost.exe (x86-64 Windows) loads faxui.dll and faxrender.dll as
# the printer driver would. Not run in CI.
#
# Usage: scripts/wine-fax-by-hand.sh [print|prefs|builtin] [build-dir]
#   print    (default) print the built-in fax job: you fill in the recipient
#            list (Etsi muistiosta... opens the phonebook), the communication
#            settings and the confirmation; the PJL header appears here.
#            Cancel in either dialog: no header, "Faksityö on peruutettu!".
#   prefs    printing preferences: the page "Faksiasetukset" (its
#            "Puhelinmuistio" button opens the phonebook manager) and the
#            information page; the fax settings you left are printed here.
#   builtin  what `faxhost` does on Linux: the built-in user fills in the
#            dialogs while you watch.
# Needs an X display (DISPLAY). Uses its own wine prefix, <build-dir>/wineprefix-hand,
# whose first run gets the built-in phonebook as DEFAULT.KFD (remove the prefix
# to start afresh).
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-print}
build=${2:-build-win64}
case "$what" in print|prefs|builtin) ;; *) sed -n '2,20p' "$0"; exit 2 ;; esac
[ -n "${DISPLAY:-}" ] || { echo "wine-fax-by-hand: no DISPLAY: run it on a desktop" >&2; exit 2; }
scripts/deps.sh wine64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 >&2
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DFAX_BENCH=OFF >&2
cmake --build "$build" --target faxhost faxui faxrender >&2

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$PWD/$build/wineprefix-hand"
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
# The dialogs are Finnish, and so are sorting and case rules.
fi=(env LANG=fi_FI.UTF-8 LC_ALL=fi_FI.UTF-8)
[ -d "$WINEPREFIX" ] || "${fi[@]}" "$WINE" wineboot -i >/dev/null 2>&1 || true
unset FAX_UI_SCRIPT
case "$what" in
  print) exec "${fi[@]}" "$WINE" "$build/host/faxhost.exe" print ;;
  prefs) exec "${fi[@]}" "$WINE" "$build/host/faxhost.exe" prefs ;;
  builtin) exec "${fi[@]}" "$WINE" "$build/host/faxhost.exe" ;;
esac
