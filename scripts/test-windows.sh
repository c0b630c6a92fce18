#!/usr/bin/env bash
# Cross-builds Tomlet for 64-bit Windows with mingw-w64, runs the whole test suite under wine64,
# packs the disc kit and starts it on the demo disc in a window. Usage: scripts/test-windows.sh
#
# Needs the Windows dependency prefix (Qt, libjpeg-turbo, GoogleTest, nlohmann-json and SQLite for
# mingw):
# TOMLET_WINDOWS_DEPS names an unpacked one; otherwise the packed one in a shared/windows folder
# beside the checkout (or a level or two further up) is unpacked into a cache, and without it the
# script says how to build one with scripts/build-windows-deps.sh. Run as root, it installs what is missing and
# runs Wine as the user tomlet-wine: as root Wine would ignore the read-only attribute.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TOMLET_WINDOWS_BUILD:-$root/build-windows}
deps_name=windows-deps-qt6.4.2-mingw64
sqlite_archive=windows-deps-sqlite3.40.1-mingw64.tar.xz
wine_user=tomlet-wine

"$root/scripts/install-packages.sh" cmake ninja-build qt6-base-dev qt6-base-dev-tools \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    mingw-w64-tools qt6-translations-l10n wine64 xz-utils fonts-dejavu-core xvfb xauth x11-utils imagemagick

if [[ $(id -u) -eq 0 ]]; then
    cache=${TOMLET_WINDOWS_CACHE:-/var/cache/tomlet}
else
    cache=${TOMLET_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tomlet}
fi

# A packed archive of shared/windows beside the checkout (or a level or two further up).
shared_archive() {
    local up
    for up in .. ../.. ../../..; do
        [[ -f $root/$up/shared/windows/$1 ]] && realpath "$root/$up/shared/windows/$1" && return
    done
    return 1
}

# The dependency prefix: given, already unpacked, or unpacked now.
if [[ -z ${TOMLET_WINDOWS_DEPS:-} ]]; then
    TOMLET_WINDOWS_DEPS=$cache/$deps_name
    if [[ ! -d $TOMLET_WINDOWS_DEPS/lib/cmake/Qt6 ]]; then
        if ! archive=$(shared_archive "$deps_name.tar.xz"); then
            cat >&2 <<EOF
No Windows dependency prefix: neither TOMLET_WINDOWS_DEPS nor shared/windows/$deps_name.tar.xz.
Build one (as root, about 30 minutes on two cores) and run this script again:
    scripts/build-windows-deps.sh "$cache/build"
    tar -C "$cache" -xJf "$cache/build/$deps_name.tar.xz"
EOF
            exit 1
        fi
        echo "Unpacking $archive into $cache"
        mkdir -p "$cache"
        tar -C "$cache" -xJf "$archive"
    fi
fi
# SQLite (for the shelf) came after the prefix: a prefix unpacked before lacks it. Its archive
# holds the prefix's own root folder, so it unpacks into the prefix's parent.
if [[ ! -f $TOMLET_WINDOWS_DEPS/lib/libsqlite3.a ]]; then
    if [[ $(basename "$TOMLET_WINDOWS_DEPS") != "$deps_name" ]] ||
        ! archive=$(shared_archive "$sqlite_archive"); then
        echo "The Windows dependency prefix $TOMLET_WINDOWS_DEPS lacks SQLite: unpack" \
            "shared/windows/$sqlite_archive into its parent folder." >&2
        exit 1
    fi
    echo "Unpacking $archive into $(dirname "$TOMLET_WINDOWS_DEPS")"
    tar -C "$(dirname "$TOMLET_WINDOWS_DEPS")" -xJf "$archive"
fi
export TOMLET_WINDOWS_DEPS

# Root hands the rest to the Wine user, who must be able to write the build folder.
if [[ $(id -u) -eq 0 ]]; then
    id "$wine_user" &>/dev/null ||
        useradd --system --create-home --home-dir "/var/lib/$wine_user" --shell /usr/sbin/nologin \
            "$wine_user"
    mkdir -p "$build"
    chown -R "$wine_user": "$build"
    home=$(getent passwd "$wine_user" | cut -d: -f6)
    exec runuser -u "$wine_user" -- env HOME="$home" TOMLET_WINDOWS_BUILD="$build" \
        TOMLET_WINDOWS_DEPS="$TOMLET_WINDOWS_DEPS" "${BASH_SOURCE[0]}"
fi

export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tomlet/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "Making the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$root/scripts/wine-run.sh" wineboot --init >/dev/null 2>&1 || true  # it complains of 32-bit parts
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64-toolchain.cmake" \
    -DTOMLET_WINDOWS_DEPS="$TOMLET_WINDOWS_DEPS" >/dev/null
cmake --build "$build" --parallel 2
# Now and then Wine leaves a finished test program hanging (its output complete, the process not
# ended); a test that times out runs once more, so that only a hang that repeats fails the leg.
(cd "$build" && ctest --output-on-failure --parallel 2 --timeout 300 --repeat after-timeout:2)

kit=$("$root/scripts/package-windows.sh" "$build")
"$root/scripts/check-windows-kit.sh" "$kit" "$build/kit-check.png"
