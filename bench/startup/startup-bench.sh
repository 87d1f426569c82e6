#!/usr/bin/env bash
# Start-up to first paint and resident memory after start: the overlay program
# against a bare Qt 6 frameless window of the same size, in turn on one
# virtual X server, several runs each, medians and their ratios; also the
# processor time each had used by its first paint, which a busy machine
# disturbs far less than the wall time. A second
# build (an earlier version, say) runs in the same rounds, so a change is
# measured against what it changed under the same load.
# Usage: bench/startup/startup-bench.sh [BUILD_DIR (default build)] [RUNS (default 9)] [OTHER_BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "$root/${1:-build}" && pwd)"
runs="${2:-9}"
other=""
if [[ -n "${3:-}" ]]; then other="$(cd "$root/$3" && pwd)"; fi
tools="$build/bench-startup"
cmake -S "$root/bench/startup" -B "$tools" -G Ninja >/dev/null
cmake --build "$tools" -j2 >/dev/null

work="$(mktemp -d "${TMPDIR:-/tmp}/ratiscope-bench.XXXXXX")"
source "$root/scripts/lib/xvfb.sh"
trap 'xvfb_stop; rm -rf "$work"' EXIT

xvfb_start 1280x1024
export XDG_RUNTIME_DIR="$work"

# The program runs from a private copy of its folder, each run as a first
# start (no settings file), so every run does the same work.
mkdir "$work/program"
cp "$build/bin/ratiscope" "$build/bin/"*.lng "$work/program/"
if [[ -n "$other" ]]; then
  mkdir "$work/other"
  cp "$other/bin/ratiscope" "$other/bin/"*.lng "$work/other/"
fi

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The overlay's first-run rectangle; both programs paint inside it.
area=(300 240 420 285)
# All in turn per round, so a busy moment of the machine hits all alike:
# the first start (overlay and panel), a start with the panel hidden (of
# each build), the baseline, the baseline with text (its share of the cost
# is the fonts') and the baseline with a panel of standard controls beside it
# (the share of the widget library, which no program with such a panel avoids).
: >"$work/this-first.txt"
: >"$work/this-hidden.txt"
: >"$work/bare.txt"
: >"$work/text.txt"
: >"$work/controls.txt"
: >"$work/other-first.txt"
: >"$work/other-hidden.txt"
# The two starts of one program folder: a first start and one with the panel hidden.
starts() {
  local folder="$1" name="$2"
  rm -f "$folder/Ratiscope.user.settings"
  "$tools/first-paint" "${area[@]}" 1000 "$folder/ratiscope" >>"$work/$name-first.txt"
  printf '[Settings]\nSVisible=0\nX=300\nY=240\nWidth=396\nHeight=245\n' >"$folder/Ratiscope.user.settings"
  "$tools/first-paint" "${area[@]}" 1000 "$folder/ratiscope" >>"$work/$name-hidden.txt"
}
for ((i = 0; i < runs; i++)); do
  starts "$work/program" this
  if [[ -n "$other" ]]; then starts "$work/other" other; fi
  "$tools/first-paint" "${area[@]}" 1000 "$tools/bare-window" >>"$work/bare.txt"
  "$tools/first-paint" "${area[@]}" 1000 "$tools/bare-window" --text >>"$work/text.txt"
  "$tools/first-paint" "${area[@]}" 1000 "$tools/bare-window" --controls >>"$work/controls.txt"
done

b_ms=$(cut -d' ' -f1 "$work/bare.txt" | median)
b_kb=$(cut -d' ' -f2 "$work/bare.txt" | median)
b_cpu=$(cut -d' ' -f3 "$work/bare.txt" | median)
printf 'medians of %d runs each            first paint   resident memory   ratios (goals 1.5 x, 1.3 x)   processor time to first paint\n' "$runs"
rows=("this-first:ratiscope, first start" "this-hidden:ratiscope, panel hidden")
if [[ -n "$other" ]]; then rows+=("other-first:other build, first start" "other-hidden:other build, panel hidden"); fi
rows+=("bare:bare Qt frameless window" "text:the same drawing a line of text" "controls:the same beside a control panel")
for row in "${rows[@]}"; do
  file="$work/${row%%:*}.txt"
  ms=$(cut -d' ' -f1 "$file" | median)
  kb=$(cut -d' ' -f2 "$file" | median)
  cpu=$(cut -d' ' -f3 "$file" | median)
  awk -v name="${row#*:}" -v m="$ms" -v k="$kb" -v c="$cpu" -v bm="$b_ms" -v bk="$b_kb" -v bc="$b_cpu" \
    'BEGIN { printf "%-32s %8.1f ms   %9d kB      %5.2f x   %5.2f x      %8.1f ms  %5.2f x\n", name, m, k, m / bm, k / bk, c, c / bc }'
done
