#!/usr/bin/env bash
# Installs what is missing, builds an optimised Release of the game and makes its Debian
# package: build-release/larkmere_<version>_<arch>.deb. Install it with
#   sudo apt install ./build-release/larkmere_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DLARKMERE_TESTS=OFF >/dev/null
cmake --build build-release --target larkmere -j"$(nproc)"
(cd build-release && cpack -G DEB)
ls build-release/larkmere_*.deb
