#!/usr/bin/env bash
# Fuzzes the OBJ reader with libFuzzer under AddressSanitizer and UBSan.
#
#   scripts/fuzz.sh               build, then fuzz for FUZZ_SECONDS (default 60) seconds
#   scripts/fuzz.sh --seeds-only  build, then run the seed corpus once (a quick regression)
#
# The fuzzer is built with clang++ straight from the reader's sources into FUZZ_BUILD_DIR
# (default build/fuzz). New inputs go to FUZZ_BUILD_DIR/corpus, crashes to
# FUZZ_BUILD_DIR/crash-*; the committed seeds in tests/fuzz/corpus are only read.
# Exits non-zero when the fuzzer finds a crash, a leak or undefined behaviour.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD_DIR:-$root/build/fuzz}
seconds=${FUZZ_SECONDS:-60}
seedsOnly=false
if [[ ${1:-} == --seeds-only ]]; then
    seedsOnly=true
elif [[ $# -gt 0 ]]; then
    echo "usage: $0 [--seeds-only]" >&2
    exit 2
fi

compiler=${FUZZ_CXX:-clang++}
if ! command -v "$compiler" >/dev/null; then
    echo "fuzz.sh: $compiler not found; libFuzzer needs clang" >&2
    exit 1
fi

mkdir -p "$out/corpus"
binary=$out/fuzz_obj_reader
sources=("$root/tests/fuzz/fuzz_obj_reader.cpp" "$root/src/assets/ObjReader.cpp" "$root/src/assets/AssetFile.cpp" "$root/src/game/Language.cpp")
rebuild=false
[[ -x $binary ]] || rebuild=true
for file in "${sources[@]}" "$root/src/assets/ObjReader.h"; do
    [[ $file -nt $binary ]] && rebuild=true
done
if $rebuild; then
    "$compiler" -std=c++17 -g -O1 -Wall -Wextra \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -I"$root/src" "${sources[@]}" -o "$binary"
fi

options=(-max_len=4096 -timeout=10 -rss_limit_mb=2048 -dict="$root/tests/fuzz/obj.dict"
         -artifact_prefix="$out/" -print_final_stats=1)
if $seedsOnly; then
    "$binary" "${options[@]}" -runs=0 "$root/tests/fuzz/corpus"
else
    "$binary" "${options[@]}" -max_total_time="$seconds" "$out/corpus" "$root/tests/fuzz/corpus"
fi
