#!/usr/bin/env bash
# Usage: check_exports.sh faxrender.so — fails unless the module's dynamic
# symbol table defines exactly the fourteen exported names.
set -euo pipefail
expected="ASCIIstrlen AddOnWriteCallback CopyStringA DecodeFaxNum DoFaxNumParam DoTimeString
EngQueryLocalTime GetFaxAddonMCB GetFuncTable ModuleInfo SPRINTF VSPRINTF memcpyn padzeroA"
expected=$(echo $expected | tr ' ' '\n' | LC_ALL=C sort)
actual=$(nm -D --defined-only "$1" | awk '{print $3}' | grep -v '^$' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  echo "exports of $1 differ:" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
