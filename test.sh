#!/usr/bin/env bash
# Builds every target, then runs every suite: native, native under address and
# undefined-behaviour sanitizers and under the thread sanitizer, both Windows
# builds under Wine, checks of the shipped libraries, and a bounded fuzz run.
# Ends with one line per suite and a total "N passed, N failed"; any failure
# fails it.
set -uo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$ROOT/build.sh" || exit 1
echo "== build linux-asan"
configure_tree linux-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRITTBOX_SANITIZE=address,undefined &&
  build_tree linux-asan || exit 1
echo "== build linux-tsan"
configure_tree linux-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRITTBOX_SANITIZE=thread &&
  build_tree linux-tsan || exit 1

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

# check_packaging: the shipped libraries export both entries and need nothing
# beyond the operating system. One pass or fail per check.
check_packaging() {
  local passed=0 failed=0 library imports
  local headers symbols
  for library in "$ROOT/dist/win32/Grittbox.dll" "$ROOT/dist/win64/Grittbox.dll"; do
    headers=$(objdump -p "$library") # whole, so no early-closed pipe fails the check
    for entry in VSTPluginMain main; do
      if grep -qE "\] ${entry}\$" <<<"$headers"; then
        passed=$((passed + 1))
      else
        echo "$library does not export $entry"
        failed=$((failed + 1))
      fi
    done
    imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' |
      grep -vxE 'kernel32.dll|user32.dll|gdi32.dll|msvcrt.dll|advapi32.dll|shell32.dll|comctl32.dll|comdlg32.dll|wininet.dll|ole32.dll|msimg32.dll|api-ms-win-.*' || true)
    if [ -z "$imports" ]; then
      passed=$((passed + 1))
    else
      echo "$library depends on: $imports"
      failed=$((failed + 1))
    fi
  done
  symbols=$(nm -D --defined-only "$ROOT/dist/linux-x86_64/Grittbox.so")
  for entry in VSTPluginMain main; do
    if grep -qE " T ${entry}\$" <<<"$symbols"; then
      passed=$((passed + 1))
    else
      echo "Grittbox.so does not export $entry"
      failed=$((failed + 1))
    fi
  done
  echo "[  PASSED  ] $passed tests."
  [ "$failed" -eq 0 ] || echo "[  FAILED  ] $failed tests."
  [ "$failed" -eq 0 ]
}

# fuzz_all: feeds arbitrary bytes to state restoring and PNG decoding for a bounded
# time under address and undefined-behaviour sanitizers; any finding fails.
fuzz_all() {
  if "$ROOT/fuzz.sh" 30; then
    echo "[  PASSED  ] 1 tests."
  else
    echo "[  FAILED  ] 1 tests."
    return 1
  fi
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
run_suite native "$ROOT/build/linux-x86_64/bin/grittbox-tests"
run_suite native-tools "$ROOT/build/linux-x86_64/bin/grittbox-tool-tests"
run_suite native-asan-ubsan "$ROOT/build/linux-asan/bin/grittbox-tests"
run_suite native-tsan "$ROOT/build/linux-tsan/bin/grittbox-tests"
run_suite win32-wine run_wine wine "$ROOT/build/win32/bin/grittbox-tests.exe"
run_suite win64-wine run_wine wine64 "$ROOT/build/win64/bin/grittbox-tests.exe"
run_suite packaging check_packaging
run_suite fuzz fuzz_all
stop_wine

echo
printf '%s\n' "${summary[@]}"
echo "total: $total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
