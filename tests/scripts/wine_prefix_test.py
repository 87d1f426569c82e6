#!/usr/bin/env python3
"""The Wine prefix set-up the scripts and tests share (scripts/lib/wine-prefix.sh):
a prefix made with the options asked for (Wine's null display driver, Tahoma
in the prefix's fonts) and nothing else, left as it is once it is there, and
an unknown option refused. Each case makes a prefix of its own.
Usage: wine_prefix_test.py SCRIPT"""

import os
import subprocess
import sys
import tempfile

NULL_DRIVER = '"Graphics"="null"'
FONTS = ("tahoma.ttf", "tahomabd.ttf")

# Options, then what the prefix must hold: the null driver, the fonts. The
# options of the end-to-end scenarios, the test runs and the benchmark.
CASES = [
    ((), False, False),
    (("null-display", "fonts"), True, True),
    (("fonts",), False, True),
]


def make(script, prefix, *options):
    env = dict(os.environ)
    env.pop("WINEPREFIX", None)
    env.pop("DISPLAY", None)
    return subprocess.run(["bash", script, prefix, *options], env=env, capture_output=True, text=True, timeout=600)


def stop_server(prefix):
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=prefix), capture_output=True, timeout=60)


def holds(prefix):
    with open(os.path.join(prefix, "user.reg"), encoding="utf-8", errors="replace") as f:
        null_driver = NULL_DRIVER in f.read()
    fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")
    return null_driver, all(os.path.islink(os.path.join(fonts, name)) for name in FONTS)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    script = os.path.abspath(sys.argv[1])
    failures = []
    with tempfile.TemporaryDirectory(prefix="ratiscope-wine-prefix-test-") as work:
        for index, (options, null_driver, fonts) in enumerate(CASES):
            prefix = os.path.join(work, f"prefix-{index}")
            try:
                result = make(script, prefix, *options)
                if result.returncode != 0:
                    failures.append(f"{options}: exit {result.returncode}: {result.stderr[-500:]}")
                    continue
                if holds(prefix) != (null_driver, fonts):
                    failures.append(f"{options}: null driver and fonts {holds(prefix)}, wanted {(null_driver, fonts)}")
                # Made once: a second call with other options leaves it as it is.
                stamp = os.stat(os.path.join(prefix, "system.reg")).st_mtime_ns
                again = make(script, prefix, "null-display", "fonts")
                if again.returncode != 0 or os.stat(os.path.join(prefix, "system.reg")).st_mtime_ns != stamp \
                        or holds(prefix) != (null_driver, fonts):
                    failures.append(f"{options}: the prefix changed when it was there already")
            finally:
                stop_server(prefix)
        refused = make(script, os.path.join(work, "refused"), "no-such-option")
        if refused.returncode != 2 or "no-such-option" not in refused.stderr:
            failures.append(f"an unknown option: exit {refused.returncode}: {refused.stderr}")
        if os.path.exists(os.path.join(work, "refused", "system.reg")):
            failures.append("an unknown option still made a prefix")
    for failure in failures:
        print("FAILED " + failure, file=sys.stderr)
    if not failures:
        print(f"passed {len(CASES)} prefixes and an unknown option")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
