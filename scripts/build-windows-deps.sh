#!/usr/bin/env bash
# Builds the Windows dependency prefix of the cross-build from Debian 12's own source packages and
# packs it as windows-deps-qt6.4.2-mingw64.tar.xz in WORK-DIR:
#   Qt 6.4.2 qtbase, shared: Core, Gui, Widgets, Test; the windows, offscreen and minimal platform
#     plugins, the windowsvista style, the gif and ico image formats
#   libjpeg-turbo (static), GoogleTest and GoogleMock (static), nlohmann-json (headers)
# Everything links the C and C++ runtimes statically, so a program ships no mingw DLLs. Runs as
# root (apt-get); about 30 minutes on two cores. A step that finished is skipped on a rerun.
# Usage: scripts/build-windows-deps.sh WORK-DIR
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mkdir -p "${1:?usage: $0 WORK-DIR}" && cd "$1" && pwd)
name=windows-deps-qt6.4.2-mingw64
prefix=$work/$name
jobs=${JOBS:-2}
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8

"$root/scripts/install-packages.sh" dpkg-dev ca-certificates xz-utils cmake ninja-build nasm perl \
    python3 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    mingw-w64-tools qt6-base-dev qt6-base-dev-tools googletest nlohmann-json3-dev

# Qt's tools (moc, rcc, uic) come from the host: its Qt must be the same version.
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)  # 6.4.2+dfsg-10
[[ $qt_version == 6.4.2+* ]] || { echo "The host has Qt $qt_version, not 6.4.2" >&2; exit 1; }

# Runs a step once: a stamp marks it done, its output goes to a log shown when it fails.
step() {
    local stamp=$work/stamps/$1
    [[ -f $stamp ]] && return
    echo "== $1 ($(date +%T))"
    mkdir -p "$work/stamps" "$work/logs"
    local status
    set +e  # not in a condition: there the step itself would ignore its failures
    (set -e; "$2") >"$work/logs/$1.log" 2>&1
    status=$?
    set -e
    if ((status != 0)); then
        tail -40 "$work/logs/$1.log" >&2
        echo "$1 failed; the whole log is $work/logs/$1.log" >&2
        exit 1
    fi
    touch "$stamp"
}

# Cross-configures a CMake project into the prefix with the project's own toolchain file.
configure() {
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64-toolchain.cmake" \
        -DTOMLET_WINDOWS_DEPS="$prefix" "${@:3}"
}

sources() {
    "$root/scripts/enable-debian-sources.sh"
    rm -rf "$work/src" && mkdir -p "$work/src" && cd "$work/src"
    apt-get source --download-only "qt6-base=$qt_version" libjpeg-turbo
    # dpkg-source checks the files against the .dsc and applies Debian's patches.
    dpkg-source -x qt6-base_*.dsc qtbase
    dpkg-source -x libjpeg-turbo_*.dsc libjpeg-turbo
    patch -d qtbase -p1 <"$root/scripts/windows-deps/qtbase-without-wintab.patch"
}

qt() {
    # Direct2D stays on: Qt 6.4 builds its DirectWrite font engine, which the windows plugin needs,
    # only with it. No system libraries, no ICU, no JPEG (the program decodes with libjpeg-turbo).
    configure "$work/src/qtbase" "$work/build/qtbase" -DQT_HOST_PATH=/usr \
        -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DQT_BUILD_BENCHMARKS=OFF -DQT_BUILD_MANUAL_TESTS=OFF \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
        -DFEATURE_vulkan=OFF -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF \
        -DFEATURE_androiddeployqt=OFF -DFEATURE_pkg_config=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_textmarkdownreader=OFF -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON
    cmake --build "$work/build/qtbase" -j"$jobs"
    cmake --install "$work/build/qtbase"
}

jpeg() {
    configure "$work/src/libjpeg-turbo" "$work/build/libjpeg-turbo" -DENABLE_SHARED=OFF \
        -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DWITH_SIMD=ON \
        -DCMAKE_ASM_NASM_COMPILER=nasm
    cmake --build "$work/build/libjpeg-turbo" -j"$jobs"
    cmake --install "$work/build/libjpeg-turbo"
}

gtest() {
    # Windows threads: with pthreads the library's mutexes would differ from what its users see.
    configure /usr/src/googletest "$work/build/googletest" -DBUILD_GMOCK=ON \
        -Dgtest_disable_pthreads=ON
    cmake --build "$work/build/googletest" -j"$jobs"
    cmake --install "$work/build/googletest"
}

json() {
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    cp -a /usr/include/nlohmann "$prefix/include/"
    cp -a /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
}

pack() {
    cd "$prefix"
    rm -rf share/man share/doc doc bin/{cjpeg,djpeg,jpegtran,rdjpgcom,wrjpgcom}.exe
    find . \( -name '*.dll' -o -name '*.exe' -o -name '*.a' \) -print0 |
        xargs -0 -r x86_64-w64-mingw32-strip --strip-unneeded
    tar -C "$work" --sort=name --owner=0 --group=0 --numeric-owner -cf - "$name" |
        xz -T"$jobs" -9 >"$work/$name.tar.xz"
}

mkdir -p "$prefix"
step sources sources
step qt qt
step jpeg jpeg
step gtest gtest
step json json
step pack pack
echo "Packed: $work/$name.tar.xz"
