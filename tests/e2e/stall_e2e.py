#!/usr/bin/env python3
"""Whether the rest of the desktop keeps answering while the overlay works:
on Xvfb with openbox and no compositor, a full-screen pixel grid of step 8
with values over a terminal is resized with the wheel or by its grip while
a small client of ours asks the server for a round trip every few
milliseconds. The test fails when one of those waits longer than a bound,
and checks the picture stays exact: key pixels show the window beneath, to
the last row. Usage: stall_e2e.py PROGRAM_FOLDER PINGER SCENARIO."""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (BENEATH, DEFAULTS, LINES, check, find_pixels, run_scenario,  # noqa: E402
                     wait_for)

SCREEN = (1920, 1080)
# The longest any other client may wait for the server: the goal for a
# full-screen grid. An unloaded machine sees about 30 ms; a server that sorts
# a screen's rectangles at once waits seconds.
STALL_BOUND_MS = 250
# Plain wheel notches change the leading side (the width here) by 10 each; an
# odd count ends smaller.
WHEEL_NOTCHES = 5
WHEEL_PIXELS = 10
# A pixel on one of the grid's vertical lines (the wheel needs a drawn pixel).
ON_A_LINE = (496, 300)
# The grip is taken this far inside the window's bottom-right corner, and
# moved a pixel in and back out this many times, pausing between moves.
GRIP_INSET = 8
DRAG_STEPS = 20
DRAG_PAUSE_S = "0.02"
# How long one notch may take before the run counts as hung.
NOTCH_LIMIT_S = 30


class Pinger:
    """Our client that times the server's answers; it reports each new longest wait."""

    def __init__(self, s, program):
        self.path = os.path.join(s.tmp, "ping.log")
        self.log = open(self.path, "w")
        s.start([program], stdout=self.log, stderr=subprocess.STDOUT)
        wait_for(lambda: "ready" in self.text(), "the pinger")

    def text(self):
        self.log.flush()
        with open(self.path) as f:
            return f.read()

    def longest_ms(self):
        values = [int(line.split()[1]) for line in self.text().splitlines() if line.startswith("longest ")]
        return max(values, default=0)

    def check(self, what):
        longest = self.longest_ms()
        check(longest <= STALL_BOUND_MS, f"another client waited {longest} ms for the server {what}")


def start_grid(s, folder):
    """The overlay full screen with a step-8 grid and values over a terminal full of text, on screen."""
    width, height = SCREEN
    settings = dict(DEFAULTS, X=0, Y=0, Border=0, Width=width, Height=height - 16, Lock=0, LookMode=0, GridSize=8,
                    ShowValues=1, Opacity=100)
    # A terminal full of text beneath, as a user has one: each cell it shows
    # through the grid is a rectangle of its clip that every redraw of it
    # and every change of the overlay above costs the server.
    check(shutil.which("xterm") is not None, "needs xterm (scripts/packages-test.txt)")
    s.start(["xterm", "-geometry", f"{width // 6}x{height // 13}+0+0", "-e", "bash", "-c",
             "seq -f 'line %g of what lies beneath the overlay' 1 5000; exec sleep 100000"],
            stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
    wait_for(lambda: s.out(["xdotool", "search", "--onlyvisible", "--class", "xterm"]), "the terminal beneath")
    s.launch(folder, settings)
    wait_for(lambda: s.geometry()[3] == height, "the full-screen window", limit=60)
    box = (0, height - 40, width, height - 30)  # the last rows: far from the window's first tile
    wait_for(lambda: len(find_pixels(s.screenshot(), box, LINES)) > 1000, "the grid on screen", limit=60)


def check_grid_exact(s, width, height):
    """The grid of `width` x `height` on screen, its cells showing what lies beneath."""
    last_rows = (0, height - 40, width, height - 30)
    pic = wait_for(lambda: (lambda p: p if len(find_pixels(p, last_rows, LINES)) > 1000 else None)(s.screenshot()),
                   "the resized grid on screen")
    for box in ((0, 100, width, 110), last_rows):
        check(len(find_pixels(pic, box, BENEATH)) > 1000, f"the cells in {box} must show the window beneath")
        check(len(find_pixels(pic, box, (254, 0, 254))) == 0, f"key pixels in {box} must not show")
    beyond = (width + 1, 0, SCREEN[0], SCREEN[1])
    check(len(find_pixels(pic, beyond, LINES)) == 0, "nothing of the grid right of the window's new edge")


def wait_while(pinger, process, what):
    """Checks the pinger until `process` ends."""
    end = time.monotonic() + NOTCH_LIMIT_S
    while process.poll() is None:
        pinger.check(what)
        check(time.monotonic() < end, f"{what} did not finish in {NOTCH_LIMIT_S} s")
        time.sleep(0.05)


def wait_for_size(s, pinger, size):
    """Checks the pinger until the window is `size` (width, height)."""
    deadline = time.monotonic() + NOTCH_LIMIT_S
    while s.geometry()[2:4] != size:
        pinger.check("while the window caught up")
        check(time.monotonic() < deadline, f"the window did not become {size[0]} x {size[1]}: {s.geometry()}")
        time.sleep(0.05)


def scenario_wheel_grid(s, folder, pinger_program):
    """A full-screen step-8 grid with values resized by the wheel keeps the server answering."""
    width, height = SCREEN
    start_grid(s, folder)
    pinger = Pinger(s, pinger_program)
    x, y = ON_A_LINE
    for notch in range(WHEEL_NOTCHES):
        button = "4" if notch % 2 == 0 else "5"  # up shrinks, down grows back
        wait_while(pinger, s.start(["xdotool", "mousemove", str(x), str(y), "click", button]), f"wheel notch {notch + 1}")
    wanted = width - WHEEL_PIXELS
    wait_for_size(s, pinger, (wanted, height))
    check_grid_exact(s, wanted, height)
    time.sleep(0.5)  # a stall still under way shows in the pinger's report
    pinger.check("after the last notch")
    print(f"longest wait of another client: {pinger.longest_ms()} ms")


def scenario_drag_grid(s, folder, pinger_program):
    """The same grid dragged by its grip a pixel in and out, again and again, keeps the server answering."""
    width, height = SCREEN
    start_grid(s, folder)
    pinger = Pinger(s, pinger_program)
    steps = []
    for _ in range(DRAG_STEPS):
        steps += ["mousemove_relative", "--", "-1", "-1", "sleep", DRAG_PAUSE_S,
                  "mousemove_relative", "--", "1", "1", "sleep", DRAG_PAUSE_S]
    grip = [str(width - GRIP_INSET), str(height - GRIP_INSET)]
    wait_while(pinger, s.start(["xdotool", "mousemove", *grip, "mousedown", "1", *steps, "mouseup", "1"]), "the drag")
    wait_for_size(s, pinger, (width, height))
    check_grid_exact(s, width, height)
    time.sleep(0.5)
    pinger.check("after the drag")
    print(f"longest wait of another client: {pinger.longest_ms()} ms")


SCENARIOS = {"wheel_grid": scenario_wheel_grid, "drag_grid": scenario_drag_grid}


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, pinger, name = sys.argv[1:]
    return run_scenario(name, lambda s: s.open(*SCREEN, False), lambda s, f: SCENARIOS[name](s, f, pinger), folder)


if __name__ == "__main__":
    sys.exit(main())
