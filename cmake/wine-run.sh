#!/usr/bin/env bash
# Runs a program of a Windows build under wine: the emulator the MinGW
# toolchain files name, so that CTest (and anyone) runs the build's test
# programs as on Linux.
#
# Usage: wine-run.sh win64|win32 PREFIX PROGRAM [ARGS...]
#        wine-run.sh win64|win32 PREFIX --prefix-only
#
# The prefix is made on first use and kept (the build tree's own; remove it
# to start afresh). Windows live on a virtual desktop of 800 x 600: without a
# window manager, hiding a top-level X window waits seconds for an answer.
# The product's users sort and compare in Finnish; so does the run (wine
# takes the locale from these names; the host need not have it).
# FAX_WINE_NATIVE=mapi32,wab32 loads those libraries from the program's own
# files in place of wine's own.
set -euo pipefail
arch=$1 prefix=$2
shift 2
case "$arch" in
  win64)
    # Debian installs the 64-bit loader outside PATH.
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    server=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)
    export WINEARCH=win64
    ;;
  win32)
    # The 32-bit loader itself, not the wrapper that picks one.
    wine=/usr/lib/wine/wine
    [ -x "$wine" ] || wine=$(command -v wine)
    server=$(command -v wineserver32 || command -v wineserver || echo /usr/lib/wine/wineserver32)
    export WINEARCH=win32
    ;;
  *)
    echo "wine-run.sh: the first argument is win64 or win32, not '$arch'" >&2
    exit 2
    ;;
esac
export WINEPREFIX=$prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=${FAX_WINE_NATIVE:+;$FAX_WINE_NATIVE=n}"
fi=(env LANG=fi_FI.UTF-8 LC_ALL=fi_FI.UTF-8)
# Each run has an X server of its own; the search for a free display starts
# at a number of this run's, so that runs of other trees starting at the same
# moment do not race for the same one.
xvfb=(xvfb-run -a -n $((100 + $$ % 400)))

make_prefix() {
  rm -rf "$prefix"
  "${fi[@]}" timeout 300 "${xvfb[@]}" "$wine" wineboot -i >/dev/null 2>&1 || true
  timeout 60 "${xvfb[@]}" "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  timeout 60 "${xvfb[@]}" "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null
  # The desktop is chosen when the wine session starts: let this one end.
  "$server" -w
  touch "$prefix/.fax-prefix-made"
}

mkdir -p "$(dirname "$prefix")"
# Two runs starting together make the prefix once.
exec 9>"$prefix.lock"
flock 9
[ -e "$prefix/.fax-prefix-made" ] || make_prefix
flock -u 9
exec 9>&-
[ "${1:-}" = --prefix-only ] && exit 0

exec "${fi[@]}" timeout 300 "${xvfb[@]}" "$wine" "$@"
