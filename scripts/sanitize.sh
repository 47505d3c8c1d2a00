#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UBSan in a build directory of its own
# (default build/asan) and runs the unit, GL and end-to-end tests there: the last drive the
# sanitized game itself, which must end with status 0 and nothing on standard error.
#
# Leak detection is on throughout. The game window keeps Mesa's driver loaded and the game
# names SDL's D-Bus record itself; the records both keep until exit are also named in
# tests/lsan.supp, so any other leak fails the run.
#
#   SANITIZE_BUILD_DIR  build directory (default <repo>/build/asan)
#   SANITIZE_JOBS       parallel build and test jobs (default 2)
#   SANITIZE_WERROR     ON: compiler warnings fail the build (scripts/test.sh sets it)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${SANITIZE_BUILD_DIR:-$root/build/asan}
jobs=${SANITIZE_JOBS:-2}

cmake -S "$root" -B "$dir" -DLARKMERE_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLARKMERE_WERROR=${SANITIZE_WERROR:-OFF}

# Everything: some unit-labelled checks run tools that are built alongside the game.
cmake --build "$dir" -j"$jobs"

export UBSAN_OPTIONS=${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}print_stacktrace=1:halt_on_error=1
asan=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=1:detect_stack_use_after_return=1
status=0
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$root/tests/lsan.supp:print_suppressions=0
ASAN_OPTIONS=$asan:detect_leaks=1 ctest --test-dir "$dir" -L '^(unit|gl|e2e)$' -j"$jobs" --output-on-failure || status=1
exit $status
