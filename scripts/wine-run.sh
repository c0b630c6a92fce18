#!/usr/bin/env bash
# Runs a Windows program of the cross-build under wine64:
#   scripts/wine-run.sh [--dlls FOLDER]... PROGRAM.exe [ARGUMENTS...]
# FOLDER (the dependency prefix's bin/, with the Qt DLLs) goes on Wine's search path. Wine hands
# Windows programs only the QT_* variables spelled WINEQT_*, so every QT_* variable is passed on
# that way; Qt's messages go to standard error instead of the debugger channel.
set -euo pipefail

dlls=()
while [[ ${1:-} == --dlls ]]; do
    dlls+=("Z:$(realpath "$2" | tr / '\\')")
    shift 2
done
(($#)) || { echo "usage: $0 [--dlls FOLDER]... PROGRAM.exe [ARGUMENTS...]" >&2; exit 2; }

export QT_FORCE_STDERR_LOGGING=${QT_FORCE_STDERR_LOGGING:-1}
if [[ -z ${QT_QPA_FONTDIR:-} && -d /usr/share/fonts/truetype/dejavu ]]; then
    export QT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'
fi
for name in $(compgen -e); do
    if [[ $name == QT_* ]]; then export "WINE$name=${!name}"; fi
done
if ((${#dlls[@]})); then
    WINEPATH=$(IFS=';'; echo "${dlls[*]}")${WINEPATH:+;$WINEPATH}
    export WINEPATH
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts when Wine makes a new prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

for wine in wine64 /usr/lib/wine/wine64; do
    command -v "$wine" >/dev/null && exec "$wine" "$@"
done
echo "$0: wine64 is not installed (apt-get install wine64)" >&2
exit 127
