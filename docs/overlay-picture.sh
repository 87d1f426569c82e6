#!/usr/bin/env bash
# Takes the README's picture: the overlay over a drawn landscape on a virtual
# X server, so no photo has to come from anywhere.
# Usage: docs/overlay-picture.sh [BUILD_DIR (default build)] [OUTPUT (default docs/overlay.png)]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "$root/${1:-build}" && pwd)"
output="${2:-$root/docs/overlay.png}"
work="$(mktemp -d "${TMPDIR:-/tmp}/ratiscope-picture.XXXXXX")"
source "$root/scripts/lib/xvfb.sh"
trap 'xvfb_stop; rm -rf "$work"' EXIT

# A landscape: evening sky, sun, three ridges of hills and a lake.
w=960 h=600
convert -size ${w}x${h} gradient:'#f6c48a'-'#6f9fd8' -flip \
  -fill '#fff3c4' -draw "circle 610,250 610,205" \
  -fill '#7d8fa8' -draw "polygon 0,330 120,260 250,300 400,220 560,300 700,240 860,290 960,250 960,600 0,600" \
  -fill '#4f6b5a' -draw "polygon 0,380 180,320 330,370 520,310 690,380 840,340 960,370 960,600 0,600" \
  -fill '#2f4a36' -draw "polygon 0,440 140,410 300,450 470,400 640,460 800,420 960,450 960,600 0,600" \
  -fill '#5d86b5' -draw "rectangle 0,470 960,600" \
  -fill '#86a9cf' -draw "rectangle 0,470 960,474" \
  -blur 0x1.2 "$work/landscape.png"

xvfb_start ${w}x${h}
export XDG_RUNTIME_DIR="$work"
# display sets the root window's background and then reports failure; the
# screenshot below shows whether it worked.
display -window root "$work/landscape.png" || true
xvfb_openbox

# The overlay from a private folder, placed over the hills, the panel hidden.
mkdir "$work/program"
cp "$build/bin/ratiscope" "$build/bin/"*.lng "$work/program/"
printf '[Settings]\nX=150\nY=120\nWidth=640\nHeight=396\nLookMode=5\nShowValues=1\nOpacity=95\nSVisible=0\n' \
  >"$work/program/Ratiscope.user.settings"
xvfb_background "$work/program/ratiscope" >/dev/null 2>&1
sleep 3
import -window root "$output"
echo "$output"
