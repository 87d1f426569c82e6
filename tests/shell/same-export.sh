#!/usr/bin/env bash
# The Windows export tool (run by the emulator) writes the same JSON and the
# same SVG, byte for byte, as the Linux one for the same settings: every look
# and orientation, odd sizes, a typed ratio, a settings file, each shipped
# language. The PNG draws its texts with each platform's own glyphs, so it is
# the same only where it has no text; elsewhere the differing pixels are
# reported.
# Usage: same-export.sh LINUX_EXPORT EMULATOR... -- WINDOWS_EXPORT
set -euo pipefail
linux="$1"
shift
emulator=()
while [[ "$1" != "--" ]]; do emulator+=("$1"); shift; done
shift
windows="$1"
# Language names are not ASCII: both tools get them as UTF-8.
export LC_ALL=C.UTF-8
work="$(mktemp -d "${TMPDIR:-/tmp}/ratiscope-same-export.XXXXXX")"
trap 'rm -rf "$work"' EXIT
printf '[Settings]\r\nWidth=333\r\nHeight=77\r\nRatio=0.7071067811865476\r\nLookMode=9\r\nOrientMode=2\r\nSFrame=1\r\n' \
  >"$work/odd.settings"
size() { echo "--set Lock=0 --set Width=$1 --set Height=$2"; }
# One line a case: the settings, as both tools take them. The language files
# lie next to both programs.
cases=(
  ""
  "--set LookMode=0 --set GridSize=3"
  "--set LookMode=0 --set GridSize=7 --language Français $(size 1001 13)"
  "--set LookMode=1 --set OrientMode=1 $(size 97 450)"
  "--set LookMode=2 --language Русский"
  "--set LookMode=3 --set OrientMode=3 $(size 60 60)"
  "--set LookMode=4 --set OrientMode=2 --language Deutsch $(size 1900 1000)"
  "--set LookMode=5 --set OrientMode=3 --values --frame"
  "--set LookMode=6 --language Español --inactive"
  "--set LookMode=7 $(size 333 777)"
  "--set Ratio=0.75 --set LookMode=8"
  "--set LookMode=9 --set OrientMode=1 --language Русский $(size 640 200)"
  "--set LookMode=10 --set OrientMode=2"
  "--set LookMode=11 --set Ratio=0.5 $(size 500 300)"
  "--set LookMode=12 --set OrientMode=3 --language Français"
  "--set LookMode=13 --set Width=1001 --set Height=13"
  "--set LookMode=14 --set OrientMode=1 $(size 420 260)"
  "--set LookMode=15 --language Deutsch $(size 260 420)"
  "--settings $work/odd.settings"
)
# Pictures without any text: our own raster, so the PNG is the same too.
textless=(
  "--set LookMode=1 --no-values --no-frame"
  "--set LookMode=2 --set OrientMode=2 --no-values --no-frame $(size 901 333)"
  "--set LookMode=14 --no-values --no-frame"
)
failed=0
# Differing pixels of two PNGs of one size, or "size" when the sizes differ.
pixels_apart() {
  if [[ "$(identify -format '%wx%h' "$1")" != "$(identify -format '%wx%h' "$2")" ]]; then
    echo size
    return
  fi
  # compare exits 1 when the pictures differ; the count is what matters here.
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

for c in "${cases[@]}"; do
  for format in json svg; do
    # shellcheck disable=SC2086
    "$linux" --format $format $c >"$work/linux.$format"
    # shellcheck disable=SC2086
    "${emulator[@]}" "$windows" --format $format $c >"$work/windows.$format"
    if [[ ! -s "$work/linux.$format" ]] || ! cmp -s "$work/linux.$format" "$work/windows.$format"; then
      echo "${format^^} differs for: ${c:-the defaults}"
      diff <(tr ',>' '\n' <"$work/linux.$format") <(tr ',>' '\n' <"$work/windows.$format") | head -10 || true
      failed=1
    fi
  done
done

png_pair() {
  # shellcheck disable=SC2086
  "$linux" --format png $1 -o "$work/linux.png"
  # shellcheck disable=SC2086
  "${emulator[@]}" "$windows" --format png $1 -o "$work/windows.png"
  pixels_apart "$work/linux.png" "$work/windows.png"
}
for c in "${textless[@]}"; do
  apart="$(png_pair "$c")"
  if [[ "$apart" != 0 ]]; then
    echo "PNG without text differs ($apart pixels) for: $c"
    failed=1
  fi
done
# With texts: reported, not judged (GDI and Qt draw their glyphs differently).
for c in "" "--set LookMode=2 --language Русский" "--set LookMode=0 --set GridSize=7"; do
  apart="$(png_pair "$c")"
  if [[ "$apart" == size ]]; then
    echo "PNG size differs for: ${c:-the defaults}"
    failed=1
  else
    echo "PNG with texts: $apart pixels differ for: ${c:-the defaults}"
  fi
done
exit "$failed"
