#!/usr/bin/env bash
# Sets everything up, builds and shows the overlay's figure for the default settings.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build
"$root/build/bin/ratiscope-export" --format json "$@"
