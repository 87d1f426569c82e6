#!/usr/bin/env bash
# Times one resize-drag step of the overlay (setters, UpdateSize, full paint,
# shape update, server round trip) under Xvfb with openbox: over the bare root
# window and over an application window, without and with a compositor
# (picom, xrender backend). Usage: drag-bench.sh BUILD_DIR [benchmark options].
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/xvfb.sh"
trap xvfb_stop EXIT
build="${1:-build}"
shift || true
bench="$build/bin/drag_step_bench"
[[ -x "$bench" ]] || { echo "build the target drag_step_bench in $build first" >&2; exit 1; }

run() {  # beneath (root/app), compositor (0/1), benchmark options...
  local beneath="$1" compositor="$2"
  shift 2
  xvfb_start 2560x1600
  xvfb_openbox
  if [[ "$compositor" == 1 ]]; then
    xvfb_background picom --backend xrender --config /dev/null >/dev/null 2>&1
    until xdotool search --name '^picom$' >/dev/null 2>&1; do sleep 0.1; done
  fi
  local label="over $beneath, $([[ $compositor == 1 ]] && echo compositor || echo no compositor)"
  RATISCOPE_BENCH_LABEL="$label" RATISCOPE_BENCH_BENEATH="$beneath" "$bench" "$@" || true
  xvfb_stop
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for beneath in app root; do
  for compositor in 0 1; do run "$beneath" "$compositor" "$@"; done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
