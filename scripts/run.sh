#!/usr/bin/env bash
# Builds Tomlet and starts it on the bundled demo catalogue. Without a display it starts under a
# virtual X server, saves a screenshot and prints its path.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
"$root/scripts/setup.sh" "$build"

disc="$build/bin"
cd "$disc"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec ./tomlet
fi

shot="$build/tomlet-screenshot.png"
echo "No display found: starting Tomlet under Xvfb to prove the build."
xvfb-run -a -s "-screen 0 1024x700x24" bash -c '
    ./tomlet & app=$!
    sleep 6
    /usr/bin/import -window root "$1"
    kill $app' _ "$shot"
echo "Screenshot of the running program: $shot"
