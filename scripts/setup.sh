#!/usr/bin/env bash
# Installs the Debian packages of the given lists in scripts/ (packages.txt,
# what building and running the program needs, when none is given). As root
# it installs what is missing; as anyone else it prints the command to run.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
lists=("$@")
[[ ${#lists[@]} -eq 0 ]] && lists=(packages.txt)
wanted=()
for list in "${lists[@]}"; do
  mapfile -t -O "${#wanted[@]}" wanted < <(grep -v '^\s*\(#\|$\)' "$here/$list")
done

missing=()
for p in "${wanted[@]}"; do
  status="$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)"
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

# 32-bit packages (name:i386) need the i386 architecture enabled first.
add_i386=false
for p in "${missing[@]}"; do
  if [[ "$p" == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then add_i386=true; fi
done

if [[ $(id -u) -ne 0 ]]; then
  echo "These Debian packages are missing: ${missing[*]}" >&2
  echo "Install them as root, then run this command again:" >&2
  prefix=""
  $add_i386 && prefix="sudo dpkg --add-architecture i386 && "
  echo "  ${prefix}sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$add_i386 && dpkg --add-architecture i386
# A mirror in the middle of a sync fails an index now and then: try again,
# and at the last go on with whatever indexes came, as apt itself offers.
indexes_complete=true
for try in 1 2 3; do
  apt-get update -qq && break
  if [[ $try -eq 3 ]]; then
    indexes_complete=false
    echo "apt-get update failed three times; installing from the indexes at hand" >&2
  else
    sleep 10
  fi
done
install=(apt-get install -y -qq --no-install-recommends)
"${install[@]}" "${missing[@]}" >/dev/null && exit 0
$indexes_complete && exit 1

# A missing index of one architecture (most often the security archive's
# i386 one) leaves a 32-bit library without the version its installed 64-bit
# twin has, and the two must match. Each library apt names as not installable
# is then asked for at the newest version its 32-bit index still lists, for
# both architectures, which moves the 64-bit twin back to the release's
# version; a few rounds settle the chain.
release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
[[ -n "$release" ]] || exit 1
pinned=()
for round in 1 2 3 4 5 6 7 8; do
  report="$(apt-get install -s -y --no-install-recommends --allow-downgrades -t "$release" \
    "${missing[@]}" "${pinned[@]}" 2>&1)" && break
  stuck="$(grep -oE 'Depends: [a-z0-9.+-]+:i386' <<<"$report" | sed 's/Depends: //; s/:i386$//' | sort -u)"
  [[ -n "$stuck" ]] || { echo "$report" | grep '^E:' >&2; exit 1; }
  for lib in $stuck; do
    version="$(apt-cache madison "$lib:i386" 2>/dev/null | awk -F'|' 'NR == 1 { gsub(/ /, "", $2); print $2 }')"
    [[ -n "$version" ]] || { echo "No 32-bit $lib in any index at hand" >&2; exit 1; }
    pinned+=("$lib=$version" "$lib:i386=$version")
  done
  [[ $round -eq 8 ]] && { echo "$report" | grep '^E:' >&2; exit 1; }
done
echo "Installing with the versions both architectures share: ${pinned[*]:-(none pinned)}" >&2
"${install[@]}" --allow-downgrades -t "$release" "${missing[@]}" "${pinned[@]}" >/dev/null
