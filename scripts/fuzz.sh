#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ and runs each for a while on a scratch copy of its corpus (tests/fuzz/corpus/).
# A finding stops the run; libFuzzer saves the input in build-fuzz/findings/. Add it to the
# target's corpus with the fix, so that the test suite keeps the fault from coming back.
# Usage: scripts/fuzz.sh [seconds per target, 60 by default] [target names...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(project_reader header_peek ini_file language_file json_import wildcard search
             jpeg_decoder)
fi

executables=()
for target in "${targets[@]}"; do
    executables+=("fuzz_$target")
done
TOMLET_EXTRA_PACKAGES="clang libclang-rt-14-dev libfuzzer-14-dev" \
TOMLET_BUILD_TARGETS="${executables[*]}" \
    "$root/scripts/setup.sh" "$build" -DTOMLET_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++

# The file parsers read each input from a file: in memory they run ten times as fast.
if [[ -z "${TMPDIR:-}" && -w /dev/shm ]]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
    scratch="$build/corpus/$target"
    mkdir -p "$scratch"
    echo "== $target: $seconds s"
    "$build/tests/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" "$scratch" "$root/tests/fuzz/corpus/$target"
done
