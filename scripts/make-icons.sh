#!/usr/bin/env bash
# Renders the desktop icon sizes in resources/icons/ from the program icon resources/tomlet.ico:
# the sizes the icon holds are taken as drawn, the others scaled down from its largest picture.
# Needs ImageMagick; run it again when the icon changes and commit the results.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
icon="$root/resources/tomlet.ico"
out="$root/resources/icons"
mkdir -p "$out"

# Frame index of each size in the icon, and the largest frame.
declare -A frames
largest=0 largest_size=0
while read -r index size; do
    frames[$size]=$index
    if ((size > largest_size)); then largest=$index largest_size=$size; fi
done < <(identify -format '%p %w\n' "$icon")

for size in 16 22 24 32 48 64 128 256; do
    if [[ -n "${frames[$size]:-}" ]]; then
        convert "$icon[${frames[$size]}]" -strip "PNG32:$out/tomlet-$size.png"
    else
        convert "$icon[$largest]" -filter Lanczos -resize "${size}x${size}" -strip \
            "PNG32:$out/tomlet-$size.png"
    fi
done
ls "$out"
