#!/usr/bin/env bash
# Usage: expect_run.sh [--remove FILE]... STATUS PATTERN EXPECTED -- COMMAND...
# Runs COMMAND (after removing each FILE) and fails unless it exits with
# STATUS and the lines of its standard output that match the extended
# regular expression PATTERN (all lines when PATTERN is empty) are exactly
# the file EXPECTED. On failure it shows the whole run.
set -euo pipefail
while [ "${1:-}" = --remove ]; do
  rm -f "$2"
  shift 2
done
[ $# -ge 5 ] && [ "$4" = -- ] || { sed -n '2,6p' "$0" >&2; exit 2; }
want_status=$1 pattern=$2 expected=$3
shift 4
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
"$@" >"$out" 2>"$err" || status=$?
got=$(grep -E -- "${pattern:-.*}" "$out" || true)
if [ "$status" != "$want_status" ] || [ "$got" != "$(cat "$expected")" ]; then
  echo "exit status $status (expected $want_status); the lines differ from $expected:" >&2
  diff <(cat "$expected") <(echo "$got") >&2 || true
  echo "--- standard output" >&2; cat "$out" >&2
  echo "--- standard error" >&2; cat "$err" >&2
  exit 1
fi
