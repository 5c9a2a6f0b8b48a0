#!/usr/bin/env bash
# Builds every target, then runs every suite: native, native under address and
# undefined-behaviour sanitizers, and both Windows builds under Wine. Ends with
# one line per suite and a total "N passed, N failed"; any failure fails it.
set -uo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$ROOT/build.sh" || exit 1
echo "== build linux-asan"
configure_tree linux-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRITTBOX_SANITIZE=address,undefined &&
  build_tree linux-asan || exit 1

summary=()
total_passed=0
total_failed=0

# run_suite <name> <command...>: runs a GoogleTest binary and records its counts.
run_suite() {
  local name="$1"
  shift
  local log="$ROOT/build/test-$name.log"
  echo "== test $name"
  "$@" >"$log" 2>&1
  local status=$?
  tr -d '\r' <"$log" >"$log.txt"
  local passed failed
  passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log.txt" | tail -n 1)
  failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log.txt" | tail -n 1)
  passed=${passed:-0}
  failed=${failed:-0}
  if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then
    failed=1 # crashed or failed outside a test
  fi
  if [ "$failed" -ne 0 ]; then
    grep -E '^\[  FAILED  \]|Failure|ERROR|Sanitizer|runtime error' "$log.txt" | head -n 40
    echo "(full log: $log.txt)"
  fi
  summary+=("$name: $passed passed, $failed failed")
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite native "$ROOT/build/linux-x86_64/tests/grittbox-tests"
run_suite native-asan-ubsan "$ROOT/build/linux-asan/tests/grittbox-tests"
run_suite win32-wine run_wine "$ROOT/build/win32/tests/grittbox-tests.exe"
run_suite win64-wine run_wine "$ROOT/build/win64/tests/grittbox-tests.exe"
stop_wine

echo
printf '%s\n' "${summary[@]}"
echo "total: $total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
