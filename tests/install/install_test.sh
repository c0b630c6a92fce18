#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the layout, that the installed program
# reads its language files and tomlet.ini from the share folder, and runs the desktop's
# validators over the installed files. Exits 77 (skipped) when a validator is missing.
# Usage: install_test.sh <build-dir> <app-id>
set -euo pipefail
build=$1 id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(bin/tomlet bin/tomlet-cli share/tomlet/English.lng share/tomlet/Russian.lng
          "share/applications/$id.desktop" share/mime/packages/tomlet.xml
          "share/metainfo/$id.metainfo.xml" share/man/man1/tomlet.1.gz
          share/man/man1/tomlet-cli.1.gz share/doc/tomlet/copyright
          share/doc/tomlet/changelog.Debian.gz)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    [[ -f "$prefix/$file" ]] || fail "$file was not installed"
done
for program in tomlet tomlet-cli; do
    [[ -x "$prefix/bin/$program" ]] || fail "bin/$program is not executable"
done
"$prefix/bin/tomlet-cli" --help | grep -q "tomlet-cli" || fail "the installed tomlet-cli fails"
# The user's preferences go to the prefix, never to the user's own.
export XDG_CONFIG_HOME="$prefix/config" QT_QPA_PLATFORM=offscreen
"$prefix/bin/tomlet" --help | grep -q "FILE.tml" || fail "tomlet --help"
"$prefix/bin/tomlet" --version | grep -q "^Tomlet ver\. " || fail "tomlet --version"
if "$prefix/bin/tomlet" one.tml two.tml 2>/dev/null; then fail "tomlet took two projects"; fi

# The installed program takes _Language from share/tomlet/tomlet.ini and the language file
# beside it: an empty one is filled with the keys the main window asks for.
printf '[Main]\r\n_Language=Probe\r\n' >"$prefix/share/tomlet/tomlet.ini"
: >"$prefix/share/tomlet/Probe.lng"
(cd "$prefix" && exec "$prefix/bin/tomlet") >"$prefix/tomlet.log" 2>&1 &
program=$!
for _ in $(seq 100); do
    grep -q "menu_File.Caption" "$prefix/share/tomlet/Probe.lng" && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
done
kill "$program" 2>/dev/null || true
status=0
wait "$program" 2>/dev/null || status=$?  # 143: ended by the kill above
grep -q "menu_File.Caption" "$prefix/share/tomlet/Probe.lng" || {
    cat "$prefix/tomlet.log"
    fail "the installed tomlet (exit status $status) did not read its language from share/tomlet"
}

missing=()
for tool in desktop-file-validate appstreamcli xmllint update-mime-database; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
    echo "Skipped the validators: ${missing[*]} not installed (scripts/setup.sh installs them)."
    exit 77
fi
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "appstreamcli validate"
xmllint --noout "$prefix/share/mime/packages/tomlet.xml" || fail "xmllint"
update-mime-database "$prefix/share/mime" || fail "update-mime-database"
grep -q "application/x-tomlet-project:\*\.tml" "$prefix/share/mime/globs2" ||
    fail "the MIME database has no *.tml glob"
echo "Installed layout and desktop files are valid."
