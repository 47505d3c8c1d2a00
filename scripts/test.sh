#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the sanitizer build of
# the unit, GL and end-to-end tests, the OBJ reader fuzzer, then the full suite (unit, GL,
# end-to-end, asset regeneration) on the normal build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --test
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLARKMERE_TESTS=ON -DLARKMERE_WERROR=ON
cmake --build build -j"$jobs"

if [[ -f scripts/sanitize.sh ]]; then
  SANITIZE_WERROR=ON bash scripts/sanitize.sh
fi
if [[ -f scripts/fuzz.sh ]]; then
  bash scripts/fuzz.sh
fi

ctest --test-dir build --output-on-failure --timeout 300 -j"$jobs"
