#!/usr/bin/env bash
# Prints, one word per line, the command that runs a Windows program under
# Wine so that it starts every time:
# - with the address layout fixed. Debian's Wine has no preloader to claim the
#   addresses every Windows process needs before the system places its own
#   mappings, so with randomised layouts about one start in 1,400 dies at
#   once ("failed to map the shared user data: c0000018", silent under
#   WINEDEBUG=-all). Where the layout cannot be fixed (some containers forbid
#   it), programs start as before;
# - with the loader of the program's own kind. "wine" is the 32-bit loader
#   wherever both are installed, and it hands a 64-bit program on to a second
#   process (start.exe), one more start that can fail ("ShellExecuteEx failed:
#   Internal error"). Anything that is no 64-bit x86 program, no program at
#   all, or a system without the 64-bit loader gets "wine";
# - never with a loader that cannot run it: Debian's "wine" without its
#   32-bit loader (package wine32:i386) hands a 32-bit program to the 64-bit
#   one, which ends at once with status 0 and no output, so every build step
#   and test would pass for a success. Such a program is refused with a
#   message and status 1.
# wine-command.sh [PROGRAM]: without a program, the command for Wine's own
# programs ("wine wineboot", "wine reg").
set -euo pipefail
readonly pe_header_offset_at=60   # e_lfanew in the DOS header
readonly header_bytes=1024        # the PE header of any real program starts within these
readonly machine_x86_64=8664      # IMAGE_FILE_MACHINE_AMD64
readonly machine_i386=014c        # IMAGE_FILE_MACHINE_I386
# Where Debian keeps Wine's two loaders; the tests point it at folders of their own.
readonly wine_lib="${RATISCOPE_WINE_LIB:-/usr/lib/wine}"

# The program's machine field in hex, or nothing for what is no PE program.
machine() {
  local program="$1" header
  local -a bytes
  [[ -f "$program" && -r "$program" ]] || return 0
  read -r -a bytes <<<"$(od -An -v -tx1 -N"$header_bytes" "$program" 2>/dev/null | tr '\n' ' ')"
  [[ "${bytes[0]:-}${bytes[1]:-}" == 4d5a ]] || return 0   # "MZ"
  (( ${#bytes[@]} >= pe_header_offset_at + 4 )) || return 0
  header=$((16#${bytes[pe_header_offset_at + 3]}${bytes[pe_header_offset_at + 2]}${bytes[pe_header_offset_at + 1]}${bytes[pe_header_offset_at]}))
  (( header + 6 <= ${#bytes[@]} )) || return 0
  [[ "${bytes[*]:header:4}" == "50 45 00 00" ]] || return 0   # "PE\0\0"
  echo "${bytes[header + 5]}${bytes[header + 4]}"
}

loader() {
  local candidate kind
  kind="$(machine "${1:-}")"
  if [[ "$kind" == "$machine_i386" && -x "$wine_lib/wine64" && ! -x "$wine_lib/wine" ]]; then
    echo "wine-command.sh: $1 is a 32-bit program, and Wine's 32-bit loader $wine_lib/wine is missing (Debian package wine32:i386)" >&2
    return 1
  fi
  if [[ "$kind" == "$machine_x86_64" ]]; then
    for candidate in wine64 /usr/lib/wine/wine64 /usr/lib64/wine/wine64; do
      if command -v "$candidate" >/dev/null 2>&1; then
        command -v "$candidate"
        return
      fi
    done
  fi
  echo wine
}

# The loader first, so a program it cannot run prints no command at all.
run_with="$(loader "${1:-}")"
arch="$(uname -m)"
if setarch "$arch" --addr-no-randomize true 2>/dev/null; then
  printf '%s\n' setarch "$arch" --addr-no-randomize
fi
echo "$run_with"
