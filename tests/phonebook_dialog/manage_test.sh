#!/bin/sh
# Runs the phonebook manager of faxhost with a script file on a phonebook
# (a copy of SEED, or a new one), then lists the phonebook: it must read
# as EXPECTED.
# usage: manage_test.sh FAXHOST SCRIPT EXPECTED [SEED]
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ $# -ge 4 ]; then cp "$4" "$work/kirja.KFD"; fi
export FAX_WINDIR="$work" FAX_UI_RUNTIME_DIR="$work" FAX_UI_SCRIPT="$2"
"$1" phonebook manage "$work/kirja.KFD"
"$1" phonebook list "$work/kirja.KFD" > "$work/listed.txt"
diff -u "$3" "$work/listed.txt"
