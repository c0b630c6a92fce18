#!/usr/bin/env bash
# Builds Tomlet and runs the whole test suite. TOMLET_SANITIZE=1 runs it under AddressSanitizer
# and UndefinedBehaviorSanitizer in a build folder of its own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [[ "${TOMLET_SANITIZE:-0}" == 1 ]]; then
    build="$root/build-sanitize"
    "$root/scripts/setup.sh" "$build" -DTOMLET_SANITIZE=ON
    export ASAN_OPTIONS=detect_leaks=0
else
    build="$root/build"
    "$root/scripts/setup.sh" "$build"
fi
cd "$build"
ctest --output-on-failure --parallel 2 --timeout 300
