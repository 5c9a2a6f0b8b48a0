#!/usr/bin/env bash
# Builds the native optimized tree and runs every benchmark; arguments go to
# Google Benchmark (for example --benchmark_filter=RenderDouble).
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$ROOT/scripts/setup.sh"
build_target linux-x86_64
for bench in "$ROOT"/build/linux-x86_64/bin/*-bench; do
  echo "== $(basename "$bench")"
  "$bench" "$@"
done
