#!/usr/bin/env python3
"""How the program's windows come to be on a real X server (Xvfb and
openbox): each is created at its final place and size, never created
elsewhere and moved (a desktop may honour only the place a window is born
at), and each window's opacity is written again once the window is mapped
(a desktop may read it only when it changes after that). A watcher of ours
reports what the server saw. Usage: birth_e2e.py PROGRAM_FOLDER WATCHER SCENARIO."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import run_scenario, DEFAULTS, Failure, check, wait_for  # noqa: E402
from panel_e2e import launch_panel, panel_geometry, panel_id  # noqa: E402

SHOWN_PANEL = dict(DEFAULTS, SVisible=1, SX=800, SY=100, SettingsOpacity=1)


# How long the strict manager takes to map a window it is asked to map.
MAP_DELAY_MS = 400


class Watch:
    """The watcher's report, started before the program; with `manage` the
    watcher is the server's window manager too."""

    def __init__(self, s, watcher, manage=False):
        self.path = os.path.join(s.tmp, "watch.log")
        self.log = open(self.path, "w")
        # The watcher flushes every line itself; stdbuf's preload would stop a
        # sanitizer build of it before it starts.
        s.start([watcher] + (["--manage", str(MAP_DELAY_MS)] if manage else []), stdout=self.log,
                stderr=subprocess.STDOUT)
        wait_for(lambda: ["ready"] in self.lines()[:1], "the watcher")

    def lines(self):
        self.log.flush()
        with open(self.path) as f:
            return [line.split() for line in f.read().splitlines()]

    def of(self, window):
        """What the server reported of one window, in order: (kind, numbers...)."""
        w = str(int(window))
        return [(line[0], *map(int, line[2:])) for line in self.lines() if len(line) > 1 and line[1] == w]


def born_at(watch, window, final, name):
    events = wait_for(lambda: (lambda e: e if ("map",) in e else None)(watch.of(window)), f"the {name} mapped")
    created = [e[1:] for e in events if e[0] == "create"]
    check(created, f"no creation of the {name} reported: {events[:6]}")
    check(created[0] == tuple(final),
          f"the {name} was created at {created[0]} (x, y, width, height) and moved to {tuple(final)} after")


def scenario_overlay_place(s, folder, watcher):
    """The overlay is born at the place and size its settings give."""
    watch = Watch(s, watcher)
    s.launch(folder, DEFAULTS)
    final = wait_for(lambda: (lambda g: g if g[2] == 420 else None)(s.geometry()[:4]), "the overlay's size")
    check(final == (300, 240, 420, 285), f"overlay at {final}")
    born_at(watch, s.window, final, "overlay")


def scenario_panel_place(s, folder, watcher):
    """The panel is born at its stored place and its laid-out size."""
    watch = Watch(s, watcher)
    panel, final = launch_panel(s, folder, SHOWN_PANEL)
    check(final[:2] == (800, 100), f"panel at {final}")
    born_at(watch, panel, final, "panel")
    born_at(watch, s.window, s.geometry()[:4], "overlay")


def scenario_strict_manager(s, folder, watcher):
    """Under a manager that maps late and never moves a window, both windows
    show at their stored places, and the opacity of each is written again
    once it is mapped, without any activation to do it."""
    watch = Watch(s, watcher, manage=True)
    s.launch(folder, SHOWN_PANEL)
    panel = wait_for(lambda: panel_id(s), "the panel window")
    check(s.geometry()[:4] == (300, 240, 420, 285), f"the overlay shows at {s.geometry()[:4]}")
    check(panel_geometry(s, panel)[:2] == (800, 100), f"the panel shows at {panel_geometry(s, panel)}")
    for name, window in (("overlay", s.window), ("panel", panel)):
        def written_after_map():
            kinds = [e[0] for e in watch.of(window)]
            return "map" in kinds and "opacity" in kinds[kinds.index("map"):]
        try:
            wait_for(written_after_map, "", limit=10)
        except Failure:
            raise Failure(f"the {name}'s opacity was not written once it was mapped: {watch.of(window)}") from None


# Scenario: its function and whether openbox manages the windows (otherwise the
# watcher does, on a server without a window manager).
SCENARIOS = {
    "overlay_place": (scenario_overlay_place, True),
    "panel_place": (scenario_panel_place, True),
    "strict_manager": (scenario_strict_manager, False),
}


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, watcher, name = sys.argv[1:]
    run, openbox = SCENARIOS[name]
    opener = (lambda s: s.open(1280, 1024, False)) if openbox else (lambda s: s.start_server(1280, 1024))
    return run_scenario(f"birth {name}", opener, lambda s, f: run(s, f, watcher), folder,
                        (Failure, subprocess.SubprocessError))


if __name__ == "__main__":
    sys.exit(main())
