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

for tool in Xvfb openbox import; do
  command -v "$tool" >/dev/null || { echo "No display, and $tool is missing for the virtual one." >&2; exit 1; }
done
work="$(mktemp -d "${TMPDIR:-/tmp}/ratiscope-run.XXXXXX")"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work/program"
}
trap cleanup EXIT

# A private copy of the program folder keeps the user's settings out of it.
mkdir "$work/program"
cp -a "$root/build/bin/ratiscope" "$root/build/bin/"*.lng "$root/build/bin/Manual" "$work/program/"

# The server picks a free display and tells its number through the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
read -r -t 20 number <"$work/display" || { echo "The virtual X server did not start." >&2; exit 1; }
export DISPLAY=":$number"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work"
# Another server started at the same moment may take the display first;
# go on only once this one answers.
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1
# A calm background once the window manager is up, so the figure stands out.
if command -v xsetroot >/dev/null; then xsetroot -solid '#5a6f86'; fi
"$work/program/ratiscope" "$@" >"$work/program.log" 2>&1 &
pids+=($!)
sleep 4
shot="$work/ratiscope-screen.png"
import -window root "$shot"
echo "No display: ran the program on a virtual screen for a few seconds. Screenshot:"
echo "$shot"
