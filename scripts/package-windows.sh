#!/usr/bin/env bash
# Packs the Windows disc kit Tomlet-<version>-windows-x64.zip from a cross-build (the one that
# scripts/test-windows.sh makes): tomlet.exe and tomlet-cli.exe, the Qt DLLs and plugins they need,
# the language files, an autorun.inf and a readme for authors. Prints the zip's path.
# Usage: scripts/package-windows.sh [BUILD-DIR [OUTPUT-DIR]]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build-windows}" && pwd)
output=${2:-$build}
deps=$(sed -n 's/^TOMLET_WINDOWS_DEPS:PATH=//p' "$build/CMakeCache.txt")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ -n $deps && -n $version ]] || { echo "$build is no Windows build of Tomlet" >&2; exit 1; }

name=Tomlet-$version-windows-x64
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
kit=$staging/$name
mkdir -p "$kit/platforms" "$kit/styles"

cp "$build/bin/tomlet.exe" "$build/bin/tomlet-cli.exe" "$kit/"
x86_64-w64-mingw32-strip "$kit"/*.exe
cp "$deps"/bin/Qt6{Core,Gui,Widgets}.dll "$kit/"
cp "$deps/plugins/platforms/qwindows.dll" "$kit/platforms/"
cp "$deps/plugins/styles/qwindowsvistastyle.dll" "$kit/styles/"
cp "$root"/resources/languages/*.lng "$kit/"  # the finished translations
# Qt's own texts (Yes, No, Cancel, the file dialog) for the languages Tomlet ships: the Windows
# prefix has none, and the files are the same on every system (Debian's qt6-translations-l10n).
mkdir -p "$kit/translations"
cp /usr/share/qt6/translations/qtbase_ru.qm "$kit/translations/"
printf '[autorun]\r\nopen=tomlet.exe\r\nicon=tomlet.exe,0\r\nlabel=Tomlet\r\n' >"$kit/autorun.inf"
sed 's/$/\r/' >"$kit/README.txt" <<EOT
Tomlet $version for Windows: the kit for a disc

1. Copy everything in this folder onto the root of your disc.
2. Put your catalogue beside it as default.tml, with the files it describes; Tomlet shows it when
   the disc starts (autorun.inf starts tomlet.exe with its icon).
3. Optionally add a tomlet.ini to shape the window (section [Main]: _Caption=0 hides the title
   bar, _Menu=0 the menu bar, _Language=Russian picks Russian.lng).

Build and edit the catalogue with tomlet.exe itself (View > Editor) or with tomlet-cli.exe
(tomlet-cli --help). Nothing else needs to be installed on Windows 10 or 11.

Code pages. A catalogue stores its texts in a code page: by default the one of the Windows it
is made on (1252 on a Western Windows, 1251 on a Russian one). tomlet.ini names another in
section [Main]: _CodePage=1251 reads a catalogue made on a Russian Windows correctly on any
other, and _CodePage=65001 makes catalogues UTF-8, which hold every language at once. Tomlet
refuses a text that the catalogue's code page cannot hold (and says which characters), and
says so when a catalogue's texts do not read right in it, offering the code page they might
have been written in. File names and the language files (UTF-8 or the code page) are not
affected: they work in any language.

The catalogue as a web page, for those who cannot run Tomlet (macOS, phones, a web server,
a Windows that starts nothing from a disc by itself):

1. In the folder that holds default.tml and the files it describes, run
       tomlet-cli html default.tml -o .
   (add --language Russian.lng for a page in Russian, --code-page 1251 when the catalogue was
   written on a Russian Windows and is exported elsewhere). It writes index.html and the folder
   tomlet-page beside the catalogue; exporting again replaces only those.
2. Copy index.html and tomlet-page onto the root of the disc together with everything else.
3. A double click on index.html opens the catalogue in any browser, without a server: the tree
   with its icons and hints, comments, the description and a search; a double click or Enter
   on an object opens its file from the disc.
EOT

# Every DLL the programs and plugins import is in the kit or comes with Windows 10 and 11.
system_dlls=(advapi32 api-ms-win-core-synch-l1-2-0 api-ms-win-core-winrt-l1-1-0
    api-ms-win-core-winrt-string-l1-1-0 authz comdlg32 d3d11 d3d9 dwmapi dwrite dxgi gdi32 imm32
    kernel32 mpr msvcrt netapi32 ole32 oleaut32 shcore shell32 shlwapi user32 userenv uxtheme
    version winmm ws2_32 wtsapi32)
for module in "$kit"/*.exe "$kit"/*.dll "$kit"/*/*.dll; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$module" | sed -n 's/^\s*DLL Name: //p'); do
        lower=${dll,,}
        if [[ ! -f $kit/$dll && " ${system_dlls[*]} " != *" ${lower%.dll} "* ]]; then
            echo "${module#"$staging"/} needs $dll, which neither the kit nor Windows has" >&2
            exit 1
        fi
    done
done

mkdir -p "$output"
rm -f "$output/$name.zip"
(cd "$staging" && cmake -E tar cf "$output/$name.zip" --format=zip "$name")
echo "$output/$name.zip"
