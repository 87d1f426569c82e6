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
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
      wineboot --init >/dev/null 2>&1
      # Tests make real windows without any X server: Wine's null display driver.
      wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
      # Every Windows has Tahoma; Wine's own copy (fonts-wine) goes where fonts are looked for.
      ln -sf /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
      wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
