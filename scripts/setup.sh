#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Tomlet, then configures and
# builds it. Usage: scripts/setup.sh <build-dir> [extra cmake arguments...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/install-packages.sh" g++ make cmake ninja-build qt6-base-dev libjpeg62-turbo-dev \
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev xvfb xauth x11-apps imagemagick \
    fonts-dejavu-core

build=$1
shift
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" --parallel 2
