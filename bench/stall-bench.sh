#!/usr/bin/env bash
# The overlay's resize step against the longest wait of every other client of
# the X server, in one run: Xvfb with openbox, an xterm full of text beneath
# the overlay, without and with a compositor (picom, xrender backend). Looks
# 0 (grid steps 3 and 8) and 1 with values, (sections) at 420 x 285, 1920 x 1080 and
# 3840 x 2160. Usage: stall-bench.sh BUILD_DIR [benchmark options].
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/xvfb.sh"
trap xvfb_stop EXIT
build="${1:-build}"
shift || true
bench="$build/bin/drag_step_bench"
[[ -x "$bench" ]] || { echo "build the target drag_step_bench in $build first" >&2; exit 1; }
command -v xterm >/dev/null || { echo "needs xterm (apt-get install xterm)" >&2; exit 1; }
# Room for the largest window: a 3840 x 2160 section with its border and caption.
screen=3900x2240

run() {  # compositor (0/1), benchmark options...
  local compositor="$1"
  shift
  xvfb_start "$screen"
  xvfb_openbox
  # A real application beneath, its whole screen full of text to redraw.
  xvfb_background xterm -geometry 640x180+0+0 -e bash -c 'seq -f "line %g of what lies beneath the overlay" 1 5000; exec sleep 100000' \
    >/dev/null 2>&1
  until xdotool search --class xterm >/dev/null 2>&1; do sleep 0.1; done
  if [[ "$compositor" == 1 ]]; then
    xvfb_background picom --backend xrender --config /dev/null >/dev/null 2>&1
    until xdotool search --name '^picom$' >/dev/null 2>&1; do sleep 0.1; done
  fi
  sleep 1
  local label="over xterm, $([[ $compositor == 1 ]] && echo compositor || echo no compositor)"
  RATISCOPE_BENCH_LABEL="$label" "$bench" --benchmark_filter=BM_ResizeStall "$@" || true
  xvfb_stop
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for compositor in 0 1; do run "$compositor" "$@"; done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
