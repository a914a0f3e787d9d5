#!/bin/sh
# Builds a phonebook through the manager's dialogs with a script file, then
# lists it: every field typed must be there.
# usage: manage_test.sh FAXHOST SCRIPT EXPECTED
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export FAX_WINDIR="$work" FAX_UI_RUNTIME_DIR="$work" FAX_UI_SCRIPT="$2"
"$1" phonebook manage "$work/asiakkaat.KFD"
"$1" phonebook list "$work/asiakkaat.KFD" > "$work/listed.txt"
diff -u "$3" "$work/listed.txt"
