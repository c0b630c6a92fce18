#!/usr/bin/env bash
# Builds the .deb and checks it as a newcomer's machine would meet it: its contents and declared
# dependencies, lintian's verdict, then an install with apt into a clean Debian 12 root made by
# debootstrap, where tomlet-cli runs and tomlet starts (on the offscreen platform) and keeps
# running. Needs root and the Debian mirror (TOMLET_DEBIAN_MIRROR overrides it).
# Usage: scripts/test-deb.sh [build-dir]      (default: build, as scripts/test.sh leaves it)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
mirror=${TOMLET_DEBIAN_MIRROR:-http://deb.debian.org/debian}
started=$SECONDS
step() { echo "== $* ($((SECONDS - started)) s)"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

[[ $(id -u) -eq 0 ]] || fail "debootstrap and chroot need root"
"$root/scripts/install-packages.sh" debootstrap lintian dpkg-dev file

step "Building the package in $build"
"$root/scripts/setup.sh" "$build"  # cpack strips the programs
rm -f "$build"/tomlet_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tomlet_*.deb)
echo "$deb"

step "Contents and dependencies"
dpkg-deb --info "$deb"
contents=$(dpkg-deb --contents "$deb")
echo "$contents"
for file in usr/bin/tomlet usr/bin/tomlet-cli usr/share/tomlet/English.lng \
            usr/share/tomlet/Russian.lng usr/share/mime/packages/tomlet.xml \
            usr/share/icons/hicolor/256x256/apps/ usr/share/applications/ usr/share/metainfo/; do
    grep -q " \./$file" <<<"$contents" || fail "$file is not in the package"
done
depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6widgets6 libjpeg62-turbo libsqlite3-0 libstdc++6 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

step "lintian"
lintian --fail-on error "$deb"

step "A clean Debian 12 root (debootstrap, $mirror)"
chroot_dir=$(mktemp -d /var/tmp/tomlet-deb.XXXXXX)
cleanup() {
    umount "$chroot_dir/proc" 2>/dev/null || true
    rm -rf --one-file-system "$chroot_dir" "$chroot_dir.log"
}
trap cleanup EXIT
debootstrap --variant=minbase bookworm "$chroot_dir" "$mirror" >"$chroot_dir.log" 2>&1 ||
    { cat "$chroot_dir.log"; fail "debootstrap"; }
mount -t proc proc "$chroot_dir/proc"  # the program finds its folder through /proc/self/exe
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
cp "$deb" "$chroot_dir/tmp/"
in_root() {
    chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"
}

step "apt-get install ./$(basename "$deb") and its dependencies"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "/tmp/$(basename "$deb")" >/dev/null

step "Smoke: tomlet-cli and tomlet in the clean root"
in_root tomlet-cli --help >/dev/null || fail "tomlet-cli --help"
in_root sh -c 'mkdir -p /tmp/disc/Docs && echo hello >/tmp/disc/Docs/readme.txt &&
    tomlet-cli scan /tmp/disc --mask "*.txt" -o /tmp/disc.tml && tomlet-cli check /tmp/disc.tml' ||
    fail "tomlet-cli scan and check"
# Still running after a few seconds means it found its libraries and platform plugin, showed
# the splash and opened its main window.
status=0
in_root env QT_QPA_PLATFORM=offscreen timeout 5 tomlet >"$chroot_dir/tmp/tomlet.log" 2>&1 ||
    status=$?
[[ $status -eq 124 ]] || { cat "$chroot_dir/tmp/tomlet.log"; fail "tomlet ended with $status"; }

step "The package installs and starts on a clean Debian 12"
