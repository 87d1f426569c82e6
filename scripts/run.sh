#!/usr/bin/env bash
# Sets everything up, builds and starts the overlay on the user's display.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: run this inside a desktop session (X11, or Wayland through XWayland)." >&2
  exit 1
fi
exec "$root/build/bin/ratiscope" "$@"
