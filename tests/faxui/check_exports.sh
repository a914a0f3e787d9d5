#!/usr/bin/env bash
# Usage: check_exports.sh MODULE.so VERSION-SCRIPT — fails unless the
# module's dynamic symbol table defines exactly the script's global names
# (the linker silently skips a listed name that nothing defines).
set -euo pipefail
expected=$(sed -n '/global:/,/local:/p' "$2" | grep -v -e 'global:' -e 'local:' |
  tr -d ' ;\t' | grep -v '^$' | LC_ALL=C sort || true)
actual=$(nm -D --defined-only "$1" | awk '{print $3}' | grep -v '^$' | LC_ALL=C sort || true)
if [ "$actual" != "$expected" ]; then
  echo "exports of $1 differ from $2:" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
