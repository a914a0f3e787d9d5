#!/usr/bin/env bash
# Installs the build and test tools the project needs, only when missing.
# Extra Debian packages may be named as arguments.
set -euo pipefail
want=(cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev binutils-mingw-w64-i686 gcc-mingw-w64-i686 "$@")
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
