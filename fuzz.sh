#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, address and undefined-behaviour
# sanitizers) into build/fuzz and runs each for the given seconds (default 60):
#   chunk  effSetChunk with arbitrary state; corpus build/fuzz-corpus/
#   png    PIX_DecodePngMemory with arbitrary bytes; corpus build/fuzz-corpus-png/
# Each corpus grows from a few seeds written here. A finding fails the run;
# its inputs go to the fuzzer's artifacts folder (build/fuzz-artifacts/,
# build/fuzz-artifacts-png/) and its log is build/fuzz.log or build/fuzz-png.log.
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
# Only the fuzzers: clang refuses the plug-in library's exported main, which the
# fuzzers do not need. Quiet like build_tree: the log only on failure.
if ! cmake --build "$ROOT/build/fuzz" --target grittbox-chunk-fuzzer grittbox-png-fuzzer \
  -- -j"$(nproc)" >"$ROOT/build/fuzz.build.log" 2>&1; then
  cat "$ROOT/build/fuzz.build.log" >&2
  exit 1
fi

# Seeds of the chunk fuzzer: a fresh instance's chunks. Its first byte picks the
# layout (bit 0: program) and whether it adds the 8-byte header itself (bit 1).
seed_chunk() {
  local corpus="$1"
  local header='\x74\x66\x66\x70\x00\x00\x01\x00'
  local fifty='\x00\x00\x00\x00\x00\x00\x49\x40'
  local params="$fifty$fifty$fifty$fifty$fifty"
  local bank_body="\\x01\\x00\\x00\\x00-\\x01$params"
  printf "\\x00$header$bank_body" >"$corpus/seed-bank"
  printf "\\x01$header$params" >"$corpus/seed-program"
  printf "\\x02$bank_body" >"$corpus/seed-bank-body"
  printf "\\x03$params" >"$corpus/seed-program-body"
}

# Seeds of the PNG fuzzer: small valid images of several kinds, which the
# fuzzer itself encodes.
seed_png() {
  "$ROOT/build/fuzz/bin/grittbox-png-fuzzer" --seed "$1"
}

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=0
summaries=()

# run_fuzzer <name> <program> <corpus> <artifacts> <log> [libFuzzer flags]
run_fuzzer() {
  local name="$1" program="$2" corpus="$3" artifacts="$4" log="$5"
  shift 5
  mkdir -p "$corpus" "$artifacts"
  "seed_$name" "$corpus"
  echo "== fuzz $name ${seconds}s (log: $log)"
  local status=0
  "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$@" "$corpus" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    # The report's headline and stacks; the whole of it stays in the log.
    local report
    report=$(grep -E '^==[0-9]+==ERROR|^SUMMARY|^    #[0-9]+ |fuzzer: broken promise|runtime error|^Base64' \
      "$log" || true)
    if [ -n "$report" ]; then head -n 40 <<<"$report" >&2; else tail -n 30 "$log" >&2; fi
    summaries+=("fuzz $name: FINDING (exit $status); inputs in $artifacts/")
    failed=1
    return
  fi
  local runs speed
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
  summaries+=("fuzz $name: ${runs:-?} runs, ${speed:-?} exec/s, no findings")
}

run_fuzzer chunk "$ROOT/build/fuzz/bin/grittbox-chunk-fuzzer" "$ROOT/build/fuzz-corpus" \
  "$ROOT/build/fuzz-artifacts" "$ROOT/build/fuzz.log"
# libpng reports every error it meets on stderr: the fuzzer's stderr is closed
# (libFuzzer and the sanitizers keep reporting), else the log holds a line a run.
run_fuzzer png "$ROOT/build/fuzz/bin/grittbox-png-fuzzer" "$ROOT/build/fuzz-corpus-png" \
  "$ROOT/build/fuzz-artifacts-png" "$ROOT/build/fuzz-png.log" -max_len=4096 -close_fd_mask=2

printf '%s\n' "${summaries[@]}"
exit "$failed"
