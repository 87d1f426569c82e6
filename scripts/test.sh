#!/usr/bin/env bash
# Sets everything up and runs the whole test suite twice: a normal build, and
# one under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
jobs="$(nproc)"

# Every test but the end-to-end ones must pass at its first run. Those drive
# real X and Wayland servers with real input; on a loaded machine an event can
# arrive late, so a failing end-to-end test gets two more tries.
run_tests() {
  (cd "$1" && ctest --output-on-failure -j "$jobs" -LE e2e)
  (cd "$1" && ctest --output-on-failure -j "$jobs" -L e2e --repeat until-pass:3)
}

bash "$root/scripts/build.sh" build
run_tests "$root/build"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash "$root/scripts/build.sh" build-asan -DRATISCOPE_SANITIZE=ON -DRATISCOPE_BENCHMARKS=OFF
run_tests "$root/build-asan"

# A short run of every fuzz target (fuzz/run.sh without an argument runs a minute each).
bash "$root/fuzz/run.sh" 10
