#!/usr/bin/env bash
# Pictures of every faxui dialog under wine, for a person to look at the
# layouts without Windows: build-win64/pictures/*.png (not kept in git).
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
scripts/dialog-pictures.sh build-win64
echo "dialog pictures: $(( $(date +%s) - start )) s"
