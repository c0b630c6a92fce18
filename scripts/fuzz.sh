#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ and runs each for a while on a scratch copy of its corpus (tests/fuzz/corpus/).
# A finding stops that target's run; libFuzzer saves the input in build-fuzz/findings/. Add it to
# the target's corpus with the fix, so that the test suite keeps the fault from coming back.
#
# The JPEG decoder is Debian's libjpeg-turbo, built from Debian's own source package with the
# fuzzing instrumentation (coverage and AddressSanitizer) into build-fuzz/libjpeg-turbo/ on the
# first run, so that the JPEG target is guided by what happens inside the decoder. Its SIMD code
# is left out, since assembly carries no coverage; UndefinedBehaviorSanitizer too, which would
# stop on the library's own findings, not on the program's.
#
# Usage: scripts/fuzz.sh [seconds per target, 60 by default] [target names...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(project_reader header_peek ini_file language_file json_import wildcard search
             jpeg_decoder code_page run_question cli_arguments path_rules update_changes
             export_import preferences)
fi

"$root/scripts/install-packages.sh" clang libclang-rt-14-dev libfuzzer-14-dev cmake ninja-build \
    dpkg-dev libjpeg62-turbo-dev
jpeg="$build/libjpeg-turbo"
if [[ ! -f "$jpeg/lib/libjpeg.a" ]]; then
    "$root/scripts/enable-debian-sources.sh"
    version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo-dev)
    rm -rf "$build/libjpeg-turbo-source" && mkdir -p "$build/libjpeg-turbo-source"
    (cd "$build/libjpeg-turbo-source" && apt-get source --download-only "libjpeg-turbo=$version" &&
        dpkg-source -x libjpeg-turbo_*.dsc source)
    CC=clang cmake -S "$build/libjpeg-turbo-source/source" -B "$build/libjpeg-turbo-build" \
        -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX="$jpeg" \
        -DCMAKE_INSTALL_LIBDIR="$jpeg/lib" -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
        -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF >/dev/null
    cmake --build "$build/libjpeg-turbo-build" --parallel 2
    cmake --install "$build/libjpeg-turbo-build" >/dev/null
fi

executables=()
for target in "${targets[@]}"; do
    executables+=("fuzz_$target")
done
TOMLET_BUILD_TARGETS="${executables[*]}" \
    "$root/scripts/setup.sh" "$build" -DTOMLET_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DJPEG_INCLUDE_DIR="$jpeg/include" -DJPEG_LIBRARY="$jpeg/lib/libjpeg.a"

# The file parsers read each input from a file: in memory they run ten times as fast.
if [[ -z "${TMPDIR:-}" && -w /dev/shm ]]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
    scratch="$build/corpus/$target"
    mkdir -p "$scratch"
    echo "== $target: $seconds s"
    "$build/tests/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" "$scratch" "$root/tests/fuzz/corpus/$target" ||
        status=1
done
exit "$status"
