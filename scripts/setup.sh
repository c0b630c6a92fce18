#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Tomlet, then configures and
# builds it. Usage: scripts/setup.sh <build-dir> [extra cmake arguments...]
# TOMLET_EXTRA_PACKAGES names more packages to install; TOMLET_BUILD_TARGETS, the targets to
# build (all when empty).
set -euo pipefail

packages=(g++ make cmake ninja-build qt6-base-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev xvfb xauth x11-apps imagemagick fonts-dejavu-core
          ${TOMLET_EXTRA_PACKAGES:-})

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Run as root, or install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$1
shift
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for target in ${TOMLET_BUILD_TARGETS:-}; do
    targets+=(--target "$target")
done
cmake --build "$build" --parallel 2 "${targets[@]}"
