#!/usr/bin/env bash
# Runs a Windows program under Wine: the test emulator of Windows cross builds.
# wine-run.sh DEFAULT-PREFIX PROGRAM [ARGUMENTS]: the Wine prefix is $WINEPREFIX
# when set, else DEFAULT-PREFIX; it is made on first use, once, even when
# several tests start at the same moment.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-$1}"
shift
# Quiet, and no offer to install Mono or Gecko into the prefix.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# How this program, and Wine's own ones when the prefix needs them, start
# (see wine-command.sh).
here="$(dirname "${BASH_SOURCE[0]}")"
mapfile -t program < <(bash "$here/wine-command.sh" "$1")
wine_tool() {
  local wine
  mapfile -t wine < <(bash "$here/wine-command.sh")
  "${wine[@]}" "$@"
}
# One program at a time sets the prefix up and starts its server: two
# programs that find no server both start one, and the loser's program fails
# ("wine client error:0: recvmsg: Connection reset by peer").
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    wine_tool wineboot --init >/dev/null 2>&1
    # Tests make real windows without any X server: Wine's null display driver.
    wine_tool reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    # Every Windows has Tahoma; Wine's own copy (fonts-wine) goes where fonts are looked for.
    ln -sf /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wineserver -w
  fi
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
