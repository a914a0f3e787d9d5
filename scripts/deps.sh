#!/usr/bin/env bash
# Installs the build and test tools the project needs, only when missing,
# with one apt-get. Extra Debian packages may be named as arguments
# (`scripts/deps.sh --ci` names everything CI uses); a package of another
# architecture (wine32:i386) adds that architecture first.
set -euo pipefail
want=(cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev binutils-mingw-w64-i686 gcc-mingw-w64-i686)
for arg in "$@"; do
  if [ "$arg" = --ci ]; then
    # The fuzz and sanitizer tree, both Windows trees under wine, the
    # pictures of the dialogs, the CUPS filter and its test.
    want+=(clang libclang-rt-14-dev libcups2-dev cups cups-filters ghostscript
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
      wine64 wine32:i386 xvfb xauth x11-apps imagemagick)
  else
    want+=("$arg")
  fi
done
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0
echo "Installing: ${missing[*]}"
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
for p in "${missing[@]}"; do
  case "$p" in
    *:*)
      arch=${p##*:}
      dpkg --print-foreign-architectures | grep -qx "$arch" || $SUDO dpkg --add-architecture "$arch"
      ;;
  esac
done
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
