#!/usr/bin/env bash
# Builds the native target, then renders through the plug-in it made.
#   ./run.sh                     the demo: out/grittbox-demo.wav, its dry input and a picture
#   ./run.sh [options] IN OUT    grittbox-render (see ./run.sh --help)
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$ROOT/scripts/setup.sh"
build_target linux-x86_64 >&2
programs="$ROOT/build/linux-x86_64/bin"
if [ $# -eq 0 ]; then
  exec "$programs/grittbox-demo" --out "$ROOT/out"
fi
exec "$programs/grittbox-render" "$@"
