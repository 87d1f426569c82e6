#!/usr/bin/env bash
# Start-up to first paint under Wine: ratiscope.exe against a bare layered
# Win32 window of the same size (bare_layered_window.exe), in turn on one
# virtual X server with one running wineserver, several runs each, medians and
# the ratio (goal 1.5 x). The time counts from starting the program as the
# tests do (scripts/wine-command.sh) to the first changed pixel in the
# overlay's first-run rectangle.
# Usage: bench/win32/startup-bench-wine.sh [WINDOWS_BUILD_DIR (default build-win64)] [RUNS (default 9)]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "$root/${1:-build-win64}" && pwd)"
runs="${2:-9}"
tools="$root/build/bench-startup"
cmake -S "$root/bench/startup" -B "$tools" -G Ninja >/dev/null
cmake --build "$tools" -j2 --target first-paint >/dev/null

work="$(mktemp -d "${TMPDIR:-/tmp}/ratiscope-bench.XXXXXX")"
# Quiet whatever the caller asks: Wine's messages would be part of the time.
export WINEDEBUG=-all
source "$root/scripts/lib/wine-prefix.sh"
wine_prefix_env "$build/wine-bench-prefix"
source "$root/scripts/lib/xvfb.sh"
trap 'wineserver -k 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT

xvfb_start 1280x1024
wine_prefix_make fonts
# One server for all runs, so every run pays only its own process's start.
wineserver -p
wine_tool cmd /c exit >/dev/null 2>&1 || true

mkdir "$work/program"
cp "$build/bin/ratiscope.exe" "$build/bin/"*.lng "$work/program/"
words="$(bash "$root/scripts/wine-command.sh" "$work/program/ratiscope.exe")"
mapfile -t wine <<<"$words"
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
area=(300 240 420 285)
: >"$work/first.txt"
: >"$work/hidden.txt"
: >"$work/bare.txt"
for ((i = 0; i < runs; i++)); do
  rm -f "$work/program/Ratiscope.user.settings"
  "$tools/first-paint" "${area[@]}" 1000 "${wine[@]}" "$work/program/ratiscope.exe" >>"$work/first.txt"
  printf '[Settings]\r\nSVisible=0\r\nX=300\r\nY=240\r\nWidth=396\r\nHeight=245\r\n' >"$work/program/Ratiscope.user.settings"
  "$tools/first-paint" "${area[@]}" 1000 "${wine[@]}" "$work/program/ratiscope.exe" >>"$work/hidden.txt"
  "$tools/first-paint" "${area[@]}" 1000 "${wine[@]}" "$build/bin/bare_layered_window.exe" >>"$work/bare.txt"
done

b_ms=$(cut -d' ' -f1 "$work/bare.txt" | median)
printf 'medians of %d runs each under Wine     first paint   ratio (goal 1.5 x)\n' "$runs"
for row in "first:ratiscope.exe, first start" "hidden:ratiscope.exe, panel hidden" "bare:bare layered Win32 window"; do
  ms=$(cut -d' ' -f1 "$work/${row%%:*}.txt" | median)
  awk -v name="${row#*:}" -v m="$ms" -v bm="$b_ms" 'BEGIN { printf "%-36s %8.1f ms   %5.2f x\n", name, m, m / bm }'
done
