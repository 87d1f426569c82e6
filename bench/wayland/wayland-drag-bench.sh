#!/usr/bin/env bash
# Times one resize-drag step of the native Wayland overlay (full paint, input
# region, commit, and the compositor's handling of them) on a headless sway
# with XWayland, beside a filled window of the same sizes, and the longest
# stall of a dense grid. sway refuses to run as root, so as root everything
# runs as the user "nobody" from a private folder.
# Usage: wayland-drag-bench.sh BUILD_DIR [benchmark options].
set -euo pipefail
build="${1:-build}"
shift || true
bench="$build/bin/wayland_drag_bench"
[[ -x "$bench" ]] || { echo "build the target wayland_drag_bench in $build first" >&2; exit 1; }
command -v sway >/dev/null || { echo "sway is not installed" >&2; exit 1; }
# Twice the largest overlay (1944 x 1120) fits beside itself: nothing is cut to the screen.
screen=2560x1600

tmp="$(mktemp -d)"
sway_pid=""
cleanup() {
  if [[ -n "$sway_pid" ]]; then
    # As root $sway_pid is runuser's, which does not pass the signal on: sway
    # itself is found by its own configuration file.
    pkill -f "sway -c $tmp/sway.config" 2>/dev/null || true
    kill "$sway_pid" 2>/dev/null || true
    wait "$sway_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
chmod 755 "$tmp"
mkdir -m 700 "$tmp/run"
mkdir "$tmp/home"
# A copy, since the unprivileged user may not reach the build folder.
cp "$bench" "$tmp/wayland_drag_bench"
cat >"$tmp/sway.config" <<EOF
output HEADLESS-1 mode $screen position 0 0
xwayland enable
default_border none
EOF
as_user=()
if [[ $EUID == 0 ]]; then
  as_user=(runuser -u nobody --)
  chown -R nobody: "$tmp"
fi
session=(PATH=/usr/bin:/bin HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run"
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1)
in_session() { "${as_user[@]}" env -i "${session[@]}" "$@"; }

in_session sway -c "$tmp/sway.config" >"$tmp/sway.log" 2>&1 &
sway_pid=$!
wait_for() {  # what, test command...
  local what="$1" i
  shift
  for ((i = 0; i < 200; i++)); do "$@" && return 0; sleep 0.05; done
  echo "$what did not come up; sway said:" >&2
  cat "$tmp/sway.log" >&2
  exit 1
}
wait_for "sway's display" test -S "$tmp/run/wayland-1"
wait_for "sway's control socket" compgen -G "$tmp/run/sway-ipc.*" >/dev/null
socket="$(compgen -G "$tmp/run/sway-ipc.*" | head -n 1)"
session+=(WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$socket")
# XWayland's display, as sway hands it to the programs it starts.
in_session swaymsg exec "env > $tmp/sway.env" >/dev/null
wait_for "sway's environment" grep -qs '^DISPLAY=' "$tmp/sway.env"
session+=("$(grep '^DISPLAY=' "$tmp/sway.env")" XDG_SESSION_TYPE=wayland)

version="$(sway --version | awk '{print $3}')"
label="sway $version headless $screen, pixman"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
in_session RATISCOPE_BENCH_LABEL="$label" "$tmp/wayland_drag_bench" "$@"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
