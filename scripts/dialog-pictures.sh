#!/usr/bin/env bash
# Renders every dialog of faxui and of the import program under wine to a
# PNG in build-win64/pictures/ (the tables of dialogs are in
# tests/pictures/dialog_pictures.cpp and import_pictures.cpp).
# Usage: scripts/dialog-pictures.sh [build-dir]   (default build-win64)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh wine64 xvfb xauth x11-apps imagemagick g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
build=${1:-build-win64}
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DFAX_BENCH=OFF
cmake --build "$build" --target dialog_pictures import_pictures

# The tree's own prefix, made as the test runs make it (cmake/wine-run.sh:
# a virtual desktop of 800 x 600) when they have not made it yet.
cmake/wine-run.sh win64 "$PWD/$build/wineprefix" --prefix-only
# Our stand-in address book library, not wine's own, for its dialog.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;mapi32,wab32=n"
export WINEPREFIX="$PWD/$build/wineprefix"
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
fi=(env LANG=fi_FI.UTF-8 LC_ALL=fi_FI.UTF-8)

out="$PWD/$build/pictures"
rm -rf "$out"
mkdir -p "$out"
export out WINE
# One X session: each program holds each dialog open until its picture is taken.
"${fi[@]}" timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  for exe in dialog_pictures import_pictures; do
    "$WINE" "$0/$exe.exe" "Z:${out//\//\\}" >"$out/$exe.log" 2>&1 &
    program=$!
    while kill -0 "$program" 2>/dev/null; do
      for rect in "$out"/*.rect; do
        [ -e "$rect" ] || continue
        name=${rect%.rect}
        [ -e "$name.done" ] && continue
        read -r x y w h <"$rect"
        xwd -root -silent | convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$name.png"
        touch "$name.done"
      done
      sleep 0.2
    done
    wait "$program"
  done
' "$PWD/$build/tests/pictures"
rm -f "$out"/*.rect "$out"/*.done
ls "$out"/*.png
