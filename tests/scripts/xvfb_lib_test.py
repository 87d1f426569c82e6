#!/usr/bin/env python3
"""The virtual X server library the scripts share (scripts/lib/xvfb.sh): the
server it starts answers at the size asked for, with a window manager when
asked, and is gone with everything started on it after xvfb_stop; a server
that cannot start ends the script with a message. Each case runs a small
script that sources the library. Usage: xvfb_lib_test.py LIBRARY"""

import os
import shutil
import subprocess
import sys
import tempfile

# What a script does after sourcing the library, the lines it must print
# (each expected text in order), whether it must succeed, and whether Xvfb is
# to be found.
CASES = [
    ("a server of the size asked for, gone after stop",
     """xvfb_start 640x480
        xdpyinfo | grep -o 'dimensions: *[0-9x]*'
        xvfb_stop
        xdpyinfo >/dev/null 2>&1 && echo still-answering || echo gone""",
     ["dimensions:    640x480", "gone"], True, True),
    ("a window manager that manages, ended with the server",
     """xvfb_start 320x200
        xvfb_openbox
        xprop -root _NET_SUPPORTING_WM_CHECK | grep -o WINDOW
        pids=("${xvfb_pids[@]}")
        xvfb_stop
        for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && echo "left $pid"; done
        echo "started ${#pids[@]}, left ${#xvfb_pids[@]}" """,
     ["WINDOW", "started 2, left 0"], True, True),
    ("programs on the server ended, the latest first",
     """xvfb_start 320x200
        xvfb_background bash -c 'trap "echo first-ended >>$log; exit 0" TERM; while :; do sleep 0.1; done'
        xvfb_background bash -c 'trap "echo second-ended >>$log; exit 0" TERM; while :; do sleep 0.1; done'
        sleep 0.5
        xvfb_stop
        cat "$log" """,
     ["second-ended", "first-ended"], True, True),
    ("no server to start",
     """xvfb_start 640x480
        echo went-on""",
     ["The virtual X server did not start."], False, False),
]


def run_case(library, script, find_xvfb, work):
    env = dict(os.environ, log=os.path.join(work, "log"))
    env.pop("DISPLAY", None)
    if not find_xvfb:
        # A PATH with the shell's tools but no Xvfb.
        tools = os.path.join(work, "bin")
        os.mkdir(tools)
        for tool in ("mktemp", "mkfifo", "rm", "seq", "sleep", "cat"):
            os.symlink(shutil.which(tool), os.path.join(tools, tool))
        env["PATH"] = tools
    text = f"set -euo pipefail\nsource {library}\n{script}\n"
    return subprocess.run([shutil.which("bash"), "-c", text], env=env, capture_output=True, text=True, timeout=60)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    library = os.path.abspath(sys.argv[1])
    failures = 0
    for name, script, expected, succeeds, find_xvfb in CASES:
        with tempfile.TemporaryDirectory(prefix="ratiscope-xvfb-test-") as work:
            result = run_case(library, script, find_xvfb, work)
        lines = [line.strip() for line in (result.stdout + result.stderr).splitlines() if line.strip()]
        found = [line for line in lines if line in expected]
        problems = []
        if found != expected:
            problems.append(f"printed {lines}, wanted {expected} in that order")
        if (result.returncode == 0) != succeeds:
            problems.append(f"exit code {result.returncode}")
        if "went-on" in lines:
            problems.append("the script went on after the failure")
        if problems:
            failures += 1
            print(f"FAILED {name}: " + "; ".join(problems), file=sys.stderr)
        else:
            print(f"passed {name}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
