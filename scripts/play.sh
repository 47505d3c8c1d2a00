#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from the repository root.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLARKMERE_TESTS=OFF >/dev/null
cmake --build build --target larkmere -j"$(nproc)"
# The game reads ./assets from its working directory.
exec ./build/larkmere "$@"
