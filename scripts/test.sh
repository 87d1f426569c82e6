#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: a normal build, one under
# AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs, and the
# Windows programs cross-built for 64-bit and 32-bit with their installers,
# tested under Wine (unit tests, the export tool against the Linux one, and the
# end-to-end scenarios on Xvfb). Prints how long each stage took.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh" packages.txt packages-test.txt
jobs="$(nproc)"
timings=()

# Every test must pass at its first run. Only the end-to-end tests, which
# drive real X and Wayland servers with real input where an event can arrive
# late on a loaded machine, get two more tries.
run_tests() {
  (cd "$root/$1" &&
    ctest --output-on-failure -j "$jobs" -LE e2e &&
    ctest --output-on-failure -j "$jobs" -L e2e --repeat until-pass:3)
}

stage() {
  local name="$1" start=$SECONDS
  shift
  "$@"
  timings+=("$(printf '%-8s %4d s' "$name" $((SECONDS - start)))")
}

# Configures and builds the folder of one of CMakePresets.json's presets,
# which hold every option of the stages.
build_preset() {
  (cd "$root" && cmake --preset "$1" >/dev/null && cmake --build --preset "$1")
}

linux() {
  build_preset linux
  run_tests build
}

asan() {
  (
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    build_preset linux-asan
    run_tests build-asan
  )
}

# A short run of every fuzz target (fuzz/run.sh without an argument runs a minute each).
fuzz() { bash "$root/fuzz/run.sh" 10; }

# The Windows builds run their tests under Wine in a prefix of this run's own,
# whose server is stopped and whose folder is removed at the end.
wine_home="$(mktemp -d "${TMPDIR:-/tmp}/ratiscope-wine.XXXXXX")"
export WINEPREFIX="$wine_home/prefix" WINEDEBUG=-all
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$wine_home"
}
trap cleanup EXIT

# The export tool's output is compared with the Linux build's (build/bin).
windows() {
  local preset="$1" dir="$2"
  build_preset "$preset"
  run_tests "$dir"
  # The end-to-end scenarios' own Wine prefixes go with their servers.
  local prefix
  for prefix in "$root/$dir"/wine-*prefix; do
    if [[ -d "$prefix" ]]; then WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; fi
  done
}

stage linux linux
stage asan asan
stage fuzz fuzz
stage win64 windows win64 build-win64
stage win32 windows win32 build-win32

echo "Stage times:"
printf '  %s\n' "${timings[@]}"
