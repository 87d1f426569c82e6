# A virtual X server for the scripts that need a screen (the headless run, the
# README's picture, the benchmarks), and the programs started on it, stopped
# again in one call. Sourced: source scripts/lib/xvfb.sh.
#   xvfb_start WIDTHxHEIGHT   starts Xvfb on a free display and exports DISPLAY
#   xvfb_background COMMAND   starts a program that xvfb_stop ends
#   xvfb_openbox              starts openbox and waits until it manages windows
#   xvfb_stop                 ends everything started, the latest first
# The caller's shell runs with set -e; every failure to start ends it.

# shellcheck shell=bash
xvfb_pids=()

# How long the server may take to tell its display number.
readonly xvfb_start_seconds=20
# Polls, 0.1 s apart, for a started server to answer and for the window
# manager to be ready.
readonly xvfb_answer_polls=50
readonly xvfb_manager_polls=200

xvfb_background() {
  "$@" &
  xvfb_pids+=($!)
}

xvfb_start() {
  local size="$1" fifo number
  # The server picks a free display and tells its number through the pipe.
  fifo="$(mktemp -u "${TMPDIR:-/tmp}/ratiscope-display.XXXXXX")"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pids+=($!)
  if ! read -r -t "$xvfb_start_seconds" number <"$fifo"; then
    rm -f "$fifo"
    echo "The virtual X server did not start." >&2
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$number"
  # What runs here draws on this server, whatever the session around it is.
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  # Another server started at the same moment may take the display first;
  # go on only once this one answers.
  local _
  for _ in $(seq "$xvfb_answer_polls"); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

xvfb_openbox() {
  xvfb_background openbox --sm-disable >/dev/null 2>&1
  local _
  for _ in $(seq "$xvfb_manager_polls"); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q WINDOW && return 0
    sleep 0.1
  done
  echo "The window manager did not start." >&2
  return 1
}

xvfb_stop() {
  local i
  for ((i = ${#xvfb_pids[@]} - 1; i >= 0; i--)); do
    kill "${xvfb_pids[i]}" 2>/dev/null || true
    wait "${xvfb_pids[i]}" 2>/dev/null || true
  done
  xvfb_pids=()
}
