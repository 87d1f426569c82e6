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
if ! "${install[@]}" "${missing[@]}" >/dev/null; then
  $indexes_complete && exit 1
  # A missing index of one architecture (most often the security archive's
  # i386 one) leaves a 32-bit library without the version its 64-bit twin
  # has, and the two must match. Preferring the release's own archive picks
  # versions both architectures share.
  release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  [[ -n "$release" ]] || exit 1
  echo "Installing again with $release's own versions preferred" >&2
  "${install[@]}" -t "$release" "${missing[@]}" >/dev/null
fi
