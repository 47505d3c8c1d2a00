#!/usr/bin/env bash
# Fuzzes the OBJ reader with libFuzzer under AddressSanitizer and UBSan.
#
#   scripts/fuzz.sh               build, then fuzz for FUZZ_SECONDS (default 60) seconds
#   scripts/fuzz.sh --seeds-only  build, then run the seed corpus once (a quick regression)
#
# The fuzzer is built with clang++ straight from the reader's sources into FUZZ_BUILD_DIR
# (default build/fuzz). New inputs go to FUZZ_BUILD_DIR/corpus, crashes to
# FUZZ_BUILD_DIR/crash-*, its progress to FUZZ_BUILD_DIR/fuzz.log; the committed seeds in
# tests/fuzz/corpus are only read.
# Exits non-zero when the fuzzer finds a crash, a leak or undefined behaviour.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD_DIR:-$root/build/fuzz}
seconds=${FUZZ_SECONDS:-60}
seedsOnly=false
if [[ ${1:-} == --seeds-only ]]; then
    seedsOnly=true
elif [[ $# -gt 0 ]]; then
    echo "Larkmere: fuzz: unknown option \"$1\" (usage: $0 [--seeds-only])" >&2
    exit 2
fi

compiler=${FUZZ_CXX:-clang++}
if ! command -v "$compiler" >/dev/null; then
    echo "Larkmere: fuzz: $compiler not found; libFuzzer needs clang" >&2
    exit 1
fi

mkdir -p "$out/corpus"
binary=$out/fuzz_obj_reader
sources=("$root/tests/fuzz/fuzz_obj_reader.cpp" "$root/src/assets/ObjReader.cpp" "$root/src/assets/AssetFile.cpp" "$root/src/core/Language.cpp")
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
# The fuzzer's progress goes to a log; the screen gets one line, or the failure's report.
log=$out/fuzz.log
status=0
if $seedsOnly; then
    "$binary" "${options[@]}" -runs=0 "$root/tests/fuzz/corpus" >"$log" 2>&1 || status=$?
else
    "$binary" "${options[@]}" -max_total_time="$seconds" "$out/corpus" "$root/tests/fuzz/corpus" >"$log" 2>&1 || status=$?
fi
runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
if ((status != 0)); then
    echo "Larkmere: fuzz: the OBJ reader failed after ${runs:-?} inputs (exit $status); the report, from $log:" >&2
    grep -v '^#[0-9]' "$log" | tail -n 40 >&2
    exit "$status"
fi
echo "fuzz: the OBJ reader took ${runs:-?} inputs without a fault (log: $log)"
