#!/usr/bin/env bash
# The Windows export tool (run by the emulator) writes the same JSON, byte for
# byte, as the Linux one for the same settings: every look and orientation,
# odd sizes, a typed ratio, a settings file.
# Usage: same-export.sh LINUX_EXPORT EMULATOR... -- WINDOWS_EXPORT
set -euo pipefail
linux="$1"
shift
emulator=()
while [[ "$1" != "--" ]]; do emulator+=("$1"); shift; done
shift
windows="$1"
work="$(mktemp -d "${TMPDIR:-/tmp}/ratiscope-same-export.XXXXXX")"
trap 'rm -rf "$work"' EXIT
printf '[Settings]\r\nWidth=333\r\nHeight=77\r\nRatio=0.7071067811865476\r\nLookMode=9\r\nOrientMode=2\r\nSFrame=1\r\n' \
  >"$work/odd.settings"
cases=(
  ""
  "--set LookMode=0 --set GridSize=3"
  "--set LookMode=5 --set OrientMode=3 --values --frame"
  "--set LookMode=13 --set Width=1001 --set Height=13"
  "--set Ratio=0.75 --set LookMode=8"
  "--settings $work/odd.settings"
)
failed=0
for c in "${cases[@]}"; do
  # shellcheck disable=SC2086
  "$linux" --format json $c >"$work/linux.json"
  # shellcheck disable=SC2086
  "${emulator[@]}" "$windows" --format json $c >"$work/windows.json"
  if ! cmp -s "$work/linux.json" "$work/windows.json"; then
    echo "JSON differs for: ${c:-the defaults}"
    diff <(tr ',' '\n' <"$work/linux.json") <(tr ',' '\n' <"$work/windows.json") | head -10
    failed=1
  fi
done
exit "$failed"
