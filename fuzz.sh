#!/usr/bin/env bash
# Builds the chunk fuzzer (clang, libFuzzer, address and undefined-behaviour
# sanitizers) into build/fuzz and runs it for the given seconds (default 60).
# Findings go to build/fuzz-artifacts/ and fail the run; the corpus grows in
# build/fuzz-corpus/ from a few seeds written here.
# Usage: ./fuzz.sh [seconds]
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

seconds="${1:-60}"
case "$seconds" in
  '' | *[!0-9]*)
    echo "usage: $0 [seconds]" >&2
    exit 2
    ;;
esac

"$ROOT/scripts/setup.sh"
mkdir -p "$ROOT/build"
echo "== build fuzz"
configure_tree fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DGRITTBOX_FUZZ=ON -DGRITTBOX_TESTS=OFF -DGRITTBOX_SANITIZE=address,undefined \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Only the fuzzer: clang refuses the plug-in library's exported main, which the
# fuzzer does not need. Quiet like build_tree: the log only on failure.
if ! cmake --build "$ROOT/build/fuzz" --target grittbox-chunk-fuzzer -- -j"$(nproc)" \
  >"$ROOT/build/fuzz.build.log" 2>&1; then
  cat "$ROOT/build/fuzz.build.log" >&2
  exit 1
fi

corpus="$ROOT/build/fuzz-corpus"
artifacts="$ROOT/build/fuzz-artifacts"
log="$ROOT/build/fuzz.log"
mkdir -p "$corpus" "$artifacts"

# Seeds: a fresh instance's chunks. The fuzzer's first byte picks the layout
# (bit 0: program) and whether it adds the 8-byte header itself (bit 1).
header='\x74\x66\x66\x70\x00\x00\x01\x00'
fifty='\x00\x00\x00\x00\x00\x00\x49\x40'
params="$fifty$fifty$fifty$fifty$fifty"
bank_body="\\x01\\x00\\x00\\x00-\\x01$params"
printf "\\x00$header$bank_body" >"$corpus/seed-bank"
printf "\\x01$header$params" >"$corpus/seed-program"
printf "\\x02$bank_body" >"$corpus/seed-bank-body"
printf "\\x03$params" >"$corpus/seed-program-body"

echo "== fuzz ${seconds}s (log: $log)"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
"$ROOT/build/fuzz/bin/grittbox-chunk-fuzzer" -max_total_time="$seconds" -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  # The report's headline and stacks; the whole of it stays in the log.
  report=$(grep -E '^==[0-9]+==ERROR|^SUMMARY|^    #[0-9]+ |^chunk fuzzer:|runtime error|^Base64' \
    "$log" || true)
  if [ -n "$report" ]; then head -n 40 <<<"$report" >&2; else tail -n 30 "$log" >&2; fi
  echo "fuzz: FINDING (exit $status); inputs in $artifacts/" >&2
  exit "$status"
fi
runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
speed=$(sed -n 's/^stat::average_exec_per_sec: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
echo "fuzz: ${runs:-?} runs, ${speed:-?} exec/s, no findings"
