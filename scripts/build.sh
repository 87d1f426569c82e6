#!/usr/bin/env bash
# Configures and builds one build folder: build.sh DIR [extra cmake arguments].
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-build}"
shift || true
# The prefix is the Debian package's, so the test suite can build the package
# from this folder; a later -DCMAKE_INSTALL_PREFIX among the arguments wins.
cmake -S "$root" -B "$root/$dir" -G Ninja -DCMAKE_INSTALL_PREFIX=/usr "$@" >/dev/null
cmake --build "$root/$dir"
