#!/usr/bin/env bash
# Sets everything up, builds and starts the overlay on the user's display.
# Without a display (a server, CI) it runs the program for a few seconds on a
# virtual X server with a window manager and leaves a screenshot to look at.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
# The program alone: tests and benchmarks are the test command's.
bash "$root/scripts/build.sh" build -DRATISCOPE_TESTS=OFF -DRATISCOPE_BENCHMARKS=OFF
program="$root/build/bin/ratiscope"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$program" "$@"
fi

for tool in Xvfb openbox xprop import; do
  command -v "$tool" >/dev/null || { echo "No display, and $tool is missing for the virtual one." >&2; exit 1; }
done
work="$(mktemp -d "${TMPDIR:-/tmp}/ratiscope-run.XXXXXX")"
source "$root/scripts/lib/xvfb.sh"
# The screenshot stays for the user; the program's copy goes.
trap 'xvfb_stop; rm -rf "$work/program"' EXIT

# A private copy of the program folder keeps the user's settings out of it.
mkdir "$work/program"
cp -a "$root/build/bin/ratiscope" "$root/build/bin/"*.lng "$root/build/bin/Manual" "$work/program/"

xvfb_start 1280x800
export XDG_RUNTIME_DIR="$work"
xvfb_openbox
# A calm background once the window manager is up, so the figure stands out.
if command -v xsetroot >/dev/null; then xsetroot -solid '#5a6f86'; fi
xvfb_background "$work/program/ratiscope" "$@" >"$work/program.log" 2>&1
sleep 4
shot="$work/ratiscope-screen.png"
import -window root "$shot"
echo "No display: ran the program on a virtual screen for a few seconds. Screenshot:"
echo "$shot"
