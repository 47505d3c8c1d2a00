#!/usr/bin/env bash
# Installs what is missing, builds an optimised Release of the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DLARKMERE_TESTS=OFF >/dev/null
cmake --build build-release --target larkmere -j"$(nproc)"
# Run from the repository root, it reads ./assets here.
exec ./build-release/larkmere "$@"
