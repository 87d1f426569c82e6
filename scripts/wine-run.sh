#!/usr/bin/env bash
# Runs a Windows program under Wine: the test emulator of Windows cross builds.
# wine-run.sh DEFAULT-PREFIX PROGRAM [ARGUMENTS]: the Wine prefix is $WINEPREFIX
# when set, else DEFAULT-PREFIX; it is made on first use, once, even when
# several tests start at the same moment.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/lib/wine-prefix.sh"
# Quiet, and no offer to install Mono or Gecko into the prefix.
wine_prefix_env "${WINEPREFIX:-$1}"
shift
# How this program starts (see wine-command.sh).
# Captured first: a program Wine cannot run ends this script here.
words="$(bash "$here/wine-command.sh" "$1")"
mapfile -t program <<<"$words"
# One program at a time sets the prefix up and starts its server: two
# programs that find no server both start one, and the loser's program fails
# ("wine client error:0: recvmsg: Connection reset by peer").
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  # Tests make real windows without any X server, and with Tahoma as on every Windows.
  wine_prefix_make null-display fonts
  # The server stays a minute after its last program, rather than going away
  # between two tests as the next one connects. A new server gets Wine's own
  # background programs from here, so they hold neither the lock nor the
  # output of the test that happens to come first (which would then last as
  # long as they do). With a server running this does nothing.
  if wineserver -p60 9>&- >/dev/null 2>&1; then
    wine_tool wineboot 9>&- </dev/null >/dev/null 2>&1 || true
  fi
) 9>"$WINEPREFIX.lock"
exec "${program[@]}" "$@"
