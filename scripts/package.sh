#!/usr/bin/env bash
# Builds the Debian packages with debhelper from the checked-in tree (tracked files, with
# their uncommitted changes): larkmere (the game), larkmere-data (Architecture: all) and
# larkmere-dbgsym, into OUT (default build-deb). Two runs on one commit give identical
# files: the time stamps come from the last commit. Install with
#   sudo apt install ./build-deb/larkmere_*.deb ./build-deb/larkmere-data_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-deb}")

if [[ "${LARKMERE_SKIP_DEPS:-}" != 1 ]]; then bash scripts/install-deps.sh; fi
version=$(dpkg-parsechangelog -S Version)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

rm -rf "$out"
mkdir -p "$out/larkmere-$version"
# git stash create records the work tree's changes to tracked files without touching them.
tree=$(git stash create)
git archive "${tree:-HEAD}" | tar -x -C "$out/larkmere-$version"
(cd "$out/larkmere-$version" && dpkg-buildpackage -b -us -uc -j"$(nproc)" >"$out/build.log" 2>&1) ||
  { tail -40 "$out/build.log"; echo "Larkmere: the package build failed; the whole log is $out/build.log" >&2; exit 1; }
rm -rf "$out/larkmere-$version"
ls "$out"/*.deb
