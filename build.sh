#!/usr/bin/env bash
# Installs what is missing, then builds every target into build/ and dist/.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$ROOT/scripts/setup.sh"
for target in linux-x86_64 win32 win64; do
  echo "== build $target"
  build_target "$target"
done
