#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Tomlet, then configures and
# builds it. Usage: scripts/setup.sh <build-dir> [extra cmake arguments...]
# TOMLET_EXTRA_PACKAGES names more packages to install; TOMLET_BUILD_TARGETS, the targets to
# build (all when empty).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(g++ make cmake ninja-build qt6-base-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev xvfb xauth x11-apps imagemagick fonts-dejavu-core
          desktop-file-utils appstream shared-mime-info libxml2-utils libsqlite3-dev
          chromium chromium-driver python3-selenium time qt6-translations-l10n ${TOMLET_EXTRA_PACKAGES:-})
"$root/scripts/install-packages.sh" "${packages[@]}"

build=$1
shift
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for target in ${TOMLET_BUILD_TARGETS:-}; do
    targets+=(--target "$target")
done
cmake --build "$build" --parallel 2 "${targets[@]}"
