#!/usr/bin/env bash
# Renders the five built-in looks with the program's own frame tool and puts them side by side
# in docs/looks.png (for the README). Run inside scripts/testenv.sh, which provides Wine.
#   scripts/looks-picture.sh <frame-tool.exe> <output.png>
set -euo pipefail
tool=$1
output=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for look in 0 1 2 3 4; do
    wine "$tool" "$look" 10:09:36 1.5 "$work/look$look.png" >/dev/null
done
/usr/bin/montage "$work"/look{0,1,2,3,4}.png -background none -tile 5x1 -geometry +12+12 \
    "$output"
echo "wrote $output"
