#!/usr/bin/env bash
# Usage: check_pe.sh OBJDUMP FORMAT FILE dll NAME...
#        check_pe.sh OBJDUMP FORMAT FILE gui
# Fails unless FILE is a Windows image of the objdump FORMAT (pei-i386,
# pei-x86-64) that needs no MinGW runtime DLL (it must load on a bare
# Windows machine), and either exports exactly the NAMEs, undecorated, or
# is a program for the GUI subsystem.
set -euo pipefail
objdump=$1 format=$2 file=$3 kind=$4
shift 4
headers=$("$objdump" -p "$file")
if ! "$objdump" -f "$file" | grep -q "file format $format\$"; then
  echo "$file is not a $format image:" >&2
  "$objdump" -f "$file" >&2
  exit 1
fi
if grep -Ei 'DLL Name: (libgcc|libstdc|libwinpthread)' <<<"$headers"; then
  echo "$file depends on a MinGW runtime DLL" >&2
  exit 1
fi
case "$kind" in
  dll)
    expected=$(printf '%s\n' "$@" | grep -v '^$' | LC_ALL=C sort || true)
    actual=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
      sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | LC_ALL=C sort || true)
    if [ "$actual" != "$expected" ]; then
      echo "$file exports differ from the contract:" >&2
      diff <(echo "$expected") <(echo "$actual") >&2 || true
      exit 1
    fi
    echo "$file: $format, $# undecorated exports"
    ;;
  gui)
    if ! grep -q 'Subsystem.*Windows GUI' <<<"$headers"; then
      echo "$file is not a GUI program" >&2
      exit 1
    fi
    echo "$file: $format GUI program"
    ;;
  *)
    echo "check_pe.sh: unknown kind $kind" >&2
    exit 2
    ;;
esac
