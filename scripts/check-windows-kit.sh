#!/usr/bin/env bash
# Starts the Windows disc kit on the demo disc under Wine in a virtual X server, as an author lays
# the disc out: the kit's files beside the demo's data and a default.tml that the kit's own
# tomlet-cli.exe makes. Passes when the browser view's window is shown (mapped); saves a screenshot
# of it.
# Usage: scripts/check-windows-kit.sh KIT.zip SCREENSHOT.png
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kit=$(realpath "$1")
shot=$(realpath "$2")

disc=$(mktemp -d)
trap 'rm -rf "$disc"' EXIT
(cd "$disc" && cmake -E tar xf "$kit")
cd "$disc"/*/
cp -r "$root/examples/demo-disc/disc/." .
cp "$root/examples/demo-disc/project.json" .

# Wine's desktop takes the display of the first program of a session: let an earlier session,
# begun without one, end first.
for wineserver in wineserver /usr/lib/wine/wineserver64; do
    command -v "$wineserver" >/dev/null && "$wineserver" -w && break
done

# The browser view's title is "Tomlet   ver. ..." (the editor's "Tomlet EDITOR  ver. ...").
xvfb-run -a -s "-screen 0 1024x700x24" bash -c '
    "$1" tomlet-cli.exe import project.json -o default.tml
    rm project.json
    "$1" tomlet.exe 2>"$3" & program=$!
    # The window must really be shown (mapped), not only made: a start-up hung behind a box
    # makes its window without showing it.
    for ((second = 0; second < 90; ++second)); do
        window=$(xwininfo -root -tree | grep "\"Tomlet   ver" || true)
        if [[ -n $window ]] &&
            xwininfo -id "$(awk "{print \$1}" <<<"$window" | head -1)" | grep -q "IsViewable"; then
            break
        fi
        window=
        sleep 1
    done
    if [[ -z $window ]]; then
        kill $program
        echo "No browser window of tomlet.exe was shown; it said:" >&2
        cat "$3" >&2
        exit 1
    fi
    sleep 5  # painted
    /usr/bin/import -window "$(awk "{print \$1}" <<<"$window")" "$2"
    kill $program
    echo "tomlet.exe shows $(grep -o "\"[^\"]*\"" <<<"$window" | head -1)"
' _ "$root/scripts/wine-run.sh" "$shot" "$disc/tomlet.log"
