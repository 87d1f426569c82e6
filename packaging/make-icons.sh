#!/usr/bin/env bash
# Turns the program icon of the resources into the PNGs the desktop's icon
# theme wants; rerun after changing resources/zappicon*.xpm.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
convert "$here/../resources/zappicon.xpm" -strip "PNG32:$here/vendrel-ratiscope-48.png"
convert "$here/../resources/zappicon32.xpm" -strip "PNG32:$here/vendrel-ratiscope-32.png"
