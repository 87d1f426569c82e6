#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a folder of their own and runs
# each for a bounded time under AddressSanitizer and UndefinedBehaviorSanitizer.
#   fuzz/run.sh [SECONDS]     seconds per target, 60 when not given
# RATISCOPE_FUZZ_BUILD names the build folder (default: build-fuzz in the
# repository). Findings are written there as crash-*, leak-* or timeout-*
# files and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: fuzz/run.sh [SECONDS]" >&2
  exit 2
fi
build="${RATISCOPE_FUZZ_BUILD:-$root/build-fuzz}"

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j 2 >/dev/null

# Target, then its seed folders (read only; new inputs go to the target's own corpus).
targets=(
  "fuzz_ini $root/fuzz/seeds/ini"
  "fuzz_settings $root/fuzz/seeds/ini"
  "fuzz_lang $root/fuzz/seeds/lang $root/lang"
  "fuzz_format $root/fuzz/seeds/format"
  "fuzz_figure $root/fuzz/seeds/figure $root/figures"
)
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
for entry in "${targets[@]}"; do
  read -r target seeds <<<"$entry"
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$build/findings"
  echo "fuzzing $target for ${seconds}s"
  # shellcheck disable=SC2086  # the seed folders are separate arguments
  if ! "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$target-" "$corpus" $seeds \
      >"$build/$target.log" 2>&1; then
    tail -n 40 "$build/$target.log" >&2
    echo "$target found a fault; the input is in $build/findings/" >&2
    exit 1
  fi
  grep -E '^(stat::number_of_executed_runs|Done)' "$build/$target.log" | tail -n 1 || true
done
echo "fuzzing done: no findings"
