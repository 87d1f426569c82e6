#!/usr/bin/env bash
# Sets everything up and runs the whole test suite twice: a normal build, and
# one under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
jobs="$(nproc)"
# The end-to-end tests drive real X servers with real input; on a loaded
# machine an event can arrive late, so a failing test gets two more tries.
retry="--repeat until-pass:3"

bash "$root/scripts/build.sh" build
(cd "$root/build" && ctest --output-on-failure -j "$jobs" $retry)

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash "$root/scripts/build.sh" build-asan -DRATISCOPE_SANITIZE=ON -DRATISCOPE_BENCHMARKS=OFF
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" $retry)

# A short run of every fuzz target (fuzz/run.sh without an argument runs a minute each).
bash "$root/fuzz/run.sh" 10
