#!/usr/bin/env python3
"""How the test runs start a Windows program under Wine: 64-bit x86 programs
with the 64-bit loader, everything else, odd files included, with "wine";
a 32-bit program refused where Wine's 32-bit loader is missing; and, where
the system allows it, with the address layout fixed. Checked on made-up
headers and on this build's own program.
Usage: wine_command_test.py COMMAND_SCRIPT PROGRAM BITS"""

import os
import struct
import subprocess
import sys
import tempfile

MACHINE_I386 = 0x014C
MACHINE_X86_64 = 0x8664
MACHINE_ARM64 = 0xAA64
HEADER_AT = 0x80
ADDR_NO_RANDOMIZE = 0x0040000
# Where Debian puts Wine's 64-bit loader; the 64-bit rows need it.
DEBIAN_WINE64 = "/usr/lib/wine/wine64"


def image(machine, mark=b"MZ", signature=b"PE\0\0", header_at=HEADER_AT, size=None):
    """The first bytes of a PE file: a DOS header pointing at a PE signature and machine field."""
    data = bytearray(HEADER_AT + 24)
    data[0:2] = mark
    data[0x3C:0x40] = struct.pack("<I", header_at)
    data[HEADER_AT:HEADER_AT + 4] = signature
    data[HEADER_AT + 4:HEADER_AT + 6] = struct.pack("<H", machine)
    return bytes(data[:size] if size is not None else data)


def run(script, program, loaders):
    """The script on `program` with a Wine library folder holding just `loaders`."""
    with tempfile.TemporaryDirectory() as lib:
        for name in loaders:
            path = os.path.join(lib, name)
            with open(path, "w") as f:
                f.write("#!/bin/sh\n")
            os.chmod(path, 0o755)
        env = dict(os.environ, RATISCOPE_WINE_LIB=lib)
        return subprocess.run(["bash", script, *program], capture_output=True, text=True, timeout=30, env=env)


def command_for(script, *program):
    # Both loaders, so the 32-bit rows read the same on any machine.
    result = run(script, program, ["wine", "wine64"])
    if result.returncode != 0:
        raise AssertionError(f"{program}: exit {result.returncode}: {result.stderr}")
    return result.stdout.splitlines()


def missing_loader_failures(script):
    """Without the 32-bit loader a 32-bit program is refused, loudly, and nothing else is."""
    failures = []
    with tempfile.TemporaryDirectory() as work:
        narrow = os.path.join(work, "narrow.exe")
        with open(narrow, "wb") as f:
            f.write(image(MACHINE_I386))
        refused = run(script, [narrow], ["wine64"])
        if refused.returncode == 0 or refused.stdout or "wine32:i386" not in refused.stderr:
            failures.append(f"32-bit program without the 32-bit loader: exit {refused.returncode}, "
                            f"output {refused.stdout!r}, message {refused.stderr!r}")
        for name, loaders in (("no Wine library folder at all", []), ("both loaders", ["wine", "wine64"])):
            kept = run(script, [narrow], loaders)
            if kept.returncode != 0 or kept.stdout.splitlines()[-1:] != ["wine"]:
                failures.append(f"32-bit program with {name}: exit {kept.returncode}, {kept.stdout!r} {kept.stderr!r}")
        own = run(script, [], ["wine64"])
        if own.returncode != 0 or own.stdout.splitlines()[-1:] != ["wine"]:
            failures.append(f"Wine's own programs without the 32-bit loader: exit {own.returncode}, {own.stderr!r}")
    return failures


def layout_failures(script):
    """The words before the loader, if any, must start programs with the layout fixed."""
    prefix = command_for(script)[:-1]
    if not prefix:
        print("note: this system does not let the address layout be fixed; programs start without it")
        return []
    shown = subprocess.run([*prefix, "cat", "/proc/self/personality"], capture_output=True, text=True, timeout=30)
    if shown.returncode != 0 or not int(shown.stdout.strip() or "0", 16) & ADDR_NO_RANDOMIZE:
        return [f"{prefix} starts programs with personality {shown.stdout.strip()!r}: {shown.stderr}"]
    return []


def loader_failures(script, program, bits):
    wide = "wine64" if os.access(DEBIAN_WINE64, os.X_OK) else None
    cases = [
        ("64-bit x86", image(MACHINE_X86_64), wide),
        ("32-bit x86", image(MACHINE_I386), "wine"),
        ("64-bit Arm", image(MACHINE_ARM64), "wine"),
        ("no MZ mark", image(MACHINE_X86_64, mark=b"ZM"), "wine"),
        ("no PE signature", image(MACHINE_X86_64, signature=b"NE\0\0"), "wine"),
        ("header past the end", image(MACHINE_X86_64, header_at=1 << 30), "wine"),
        ("cut before the machine", image(MACHINE_X86_64, size=HEADER_AT + 5), "wine"),
        ("cut inside the DOS header", image(MACHINE_X86_64, size=0x3E), "wine"),
        ("empty", b"", "wine"),
        ("text", b"#!/bin/sh\necho hello\n" * 10, "wine"),
    ]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        rows = []
        for name, data, wanted in cases:
            path = os.path.join(work, name.replace(" ", "-") + ".exe")
            with open(path, "wb") as f:
                f.write(data)
            rows.append((name, [path], wanted))
        rows.append(("a missing file", [os.path.join(work, "missing.exe")], "wine"))
        rows.append(("Wine's own programs", [], "wine"))
        rows.append((f"this build's {bits}-bit program", [program], wide if bits == 64 else "wine"))
        for name, arguments, wanted in rows:
            if wanted is None:
                print(f"skipped: {name} (no 64-bit Wine loader at {DEBIAN_WINE64})")
                continue
            got = command_for(script, *arguments)[-1]
            if os.path.basename(got) != wanted or (wanted != "wine" and not os.access(got, os.X_OK)):
                failures.append(f"{name}: got {got!r}, wanted {wanted}")
    return failures


def main():
    script, program, bits = sys.argv[1], sys.argv[2], int(sys.argv[3])
    failures = loader_failures(script, program, bits) + missing_loader_failures(script) + layout_failures(script)
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
