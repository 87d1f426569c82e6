# The Wine prefixes of the Windows builds' tests and benchmarks, set up in one
# way: quiet, without Mono or Gecko, Wine's own programs started so that they
# start every time (see scripts/wine-command.sh).
# Sourced (source scripts/lib/wine-prefix.sh):
#   wine_prefix_env PREFIX    exports WINEPREFIX, WINEDEBUG (unless set) and WINEDLLOVERRIDES
#   wine_tool PROGRAM...      runs one of Wine's own programs (wineboot, reg, cmd)
#   wine_prefix_make [null-display] [fonts]
#                             makes $WINEPREFIX unless it is there, and waits
#                             for the set-up's server to go
# Run (bash scripts/lib/wine-prefix.sh PREFIX [null-display] [fonts]): both,
# for callers that are no shell script.

# shellcheck shell=bash
wine_prefix_lib="$(dirname "${BASH_SOURCE[0]}")"

wine_prefix_env() {
  export WINEPREFIX="$1"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

wine_tool() {
  local wine
  mapfile -t wine < <(bash "$wine_prefix_lib/../wine-command.sh")
  "${wine[@]}" "$@"
}

# null-display: Wine's null display driver, for tests that make real windows
# without any X server. fonts: Wine's own Tahoma (fonts-wine) where Windows
# programs look for fonts, as every Windows has it.
wine_prefix_make() {
  [[ -f "$WINEPREFIX/system.reg" ]] && return 0
  local option null_display=0 fonts=0
  for option in "$@"; do
    case "$option" in
      null-display) null_display=1 ;;
      fonts) fonts=1 ;;
      *) echo "wine_prefix_make: unknown option $option" >&2; return 2 ;;
    esac
  done
  wine_tool wineboot --init >/dev/null 2>&1
  if ((null_display)); then
    wine_tool reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  fi
  if ((fonts)); then
    ln -sf /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  # The set-up's own server goes first, or a server of other options could not start.
  wineserver -w
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  set -euo pipefail
  wine_prefix_env "${1:?usage: wine-prefix.sh PREFIX [null-display] [fonts]}"
  shift
  wine_prefix_make "$@"
fi
