#!/usr/bin/env python3
"""Start-up and shutdown of the whole program on a real X server (Xvfb and
openbox): first start, the places written at close and found at the next
start, the uninstall switch, and a save that cannot be written. Each
scenario runs its own server and a private copy of the program folder, so
the settings file lands there. Usage: startup_e2e.py PROGRAM_FOLDER SCENARIO."""

import os
import shutil
import stat
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from panel_e2e import panel_geometry as geometry_of  # noqa: E402
from harness import check, drag, run_scenario, settings_of, wait_for, window_ids  # noqa: E402

OVERLAY_NAME = "^Vendrel Ratiscope$"
PANEL_NAME = "^Vendrel Ratiscope Settings$"
SCREEN = (1280, 1024)
SETTINGS = "Ratiscope.user.settings"
# The vendor's address reversed, with the product after it, as the build made it.
APPLICATION_ID = os.environ.get("RATISCOPE_APPLICATION_ID", "example.vendrel.Ratiscope")


class Program:
    """The program folder copied once per scenario; every start runs from it."""

    def __init__(self, s, source, executable=None):
        self.s = s
        if executable:
            self.executable = executable
            self.folder = os.path.dirname(executable)
        else:
            self.folder = os.path.join(s.tmp, "program")
            os.mkdir(self.folder)
            for name in os.listdir(source):
                if name == "ratiscope" or name.endswith(".lng"):
                    shutil.copy2(os.path.join(source, name), os.path.join(self.folder, name))
            self.executable = os.path.join(self.folder, "ratiscope")
        self.settings = os.path.join(self.folder, SETTINGS)
        # The desktop's opener, replaced by one that writes down what it was given.
        tools = os.path.join(s.tmp, "tools")
        os.mkdir(tools)
        self.opened = os.path.join(s.tmp, "opened.txt")
        opener = os.path.join(tools, "xdg-open")
        with open(opener, "w") as f:
            f.write(f'#!/bin/sh\necho "$@" >> "{self.opened}"\n')
        os.chmod(opener, stat.S_IRWXU)
        self.env = dict(s.env, PATH=tools + os.pathsep + s.env.get("PATH", ""))
        self.env["ASAN_OPTIONS"] = self.env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
        self.log = open(os.path.join(s.tmp, "program.log"), "w+")
        s.program_log = self.log
        self.preexec = None  # runs in the child before the program, as for a resource limit

    def start(self, *arguments):
        self.process = subprocess.Popen([self.executable, *arguments], env=self.env,
                                        stdout=self.log, stderr=subprocess.STDOUT, preexec_fn=self.preexec)
        self.s.procs.append(self.process)
        self.s.program = self.process
        return self.process

    def overlay(self):
        window = wait_for(lambda: window_ids(self.s, OVERLAY_NAME), "the overlay window")[0]
        self.s.window = window
        return window, wait_for(lambda: (lambda g: g if g and g[2] > 1 else None)(geometry_of(self.s, window)),
                                "the overlay's size")

    def panel(self):
        window = wait_for(lambda: window_ids(self.s, PANEL_NAME), "the panel window")[0]
        wait_for(lambda: "_NET_WM_STATE_ABOVE" in self.s.out(["xprop", "-id", window, "_NET_WM_STATE"]),
                 "the window manager to manage the panel")
        return window, geometry_of(self.s, window)

    def close_with_button(self, geometry):
        x, y, w, _ = geometry
        self.s.run("xdotool", "mousemove", str(x + w - 12 + 3), str(y + 7), "click", "1")

    def exit_code(self):
        return wait_for(lambda: self.process.poll() is not None and (self.process.returncode,),
                        "the program to end", limit=30)[0]


def scenario_first_start(s, source):
    """No settings file: the overlay at (300, 240), the panel at the right edge less 181, top 10."""
    p = Program(s, source)
    check(not os.path.exists(p.settings), "a settings file before the first start")
    p.start()
    _, g = p.overlay()
    check(g[:2] == (300, 240), f"overlay at {g[:2]}, wanted (300, 240)")
    _, pg = p.panel()
    check(pg[:2] == (SCREEN[0] - 181, 10), f"panel at {pg[:2]}, wanted ({SCREEN[0] - 181}, 10)")
    p.close_with_button(g)
    check(p.exit_code() == 0, "exit code not 0")
    values = settings_of(p.settings)
    check((values.get("X"), values.get("Y"), values.get("SVisible")) == ("300", "240", "1"),
          f"settings after the first close: {values}")


def scenario_moved(s, source):
    """Moving the overlay and closing it writes X and Y; the next start shows it there."""
    p = Program(s, source)
    p.start()
    window, g = p.overlay()
    p.panel()
    drag(s, 300 + 100, 240 + 8, 300 + 100 - 60, 240 + 8 + 40)
    g = wait_for(lambda: (lambda n: n if n[:2] == (240, 280) else None)(geometry_of(s, window)),
                 "the caption drag to move the overlay to (240, 280)")
    p.close_with_button(g)
    check(p.exit_code() == 0, "exit code not 0")
    values = settings_of(p.settings)
    check((values.get("X"), values.get("Y")) == ("240", "280"), f"X and Y written: {values.get('X')}, {values.get('Y')}")
    p.start()
    _, g = p.overlay()
    check(g[:2] == (240, 280), f"the next start shows the overlay at {g[:2]}, wanted (240, 280)")


def scenario_hidden_panel(s, source):
    """Closing with the panel hidden stores SVisible 0; the next start shows no panel."""
    p = Program(s, source)
    p.start()
    window, g = p.overlay()
    p.panel()
    s.run("xdotool", "mousemove", "500", "248", "click", "1")
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(window)), "the overlay to be active")
    s.run("xdotool", "key", "F2")  # F2 on the overlay shows or hides the panel
    wait_for(lambda: not window_ids(s, PANEL_NAME), "the panel to hide")
    p.close_with_button(g)
    check(p.exit_code() == 0, "exit code not 0")
    check(settings_of(p.settings).get("SVisible") == "0", "SVisible not written as 0")
    p.start()
    window, _ = p.overlay()
    # The panel is made once the overlay shows (its X window only when it is
    # first shown); a panel shown by mistake would show now. Its absence
    # cannot be waited for.
    time.sleep(0.5)
    check(not window_ids(s, PANEL_NAME), "the panel shows although SVisible is 0")
    # It was there all along, hidden: F2 on the overlay shows it.
    s.run("xdotool", "mousemove", "500", "248", "click", "1")
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(window)), "the overlay to be active")
    s.run("xdotool", "key", "F2")
    wait_for(lambda: window_ids(s, PANEL_NAME), "F2 to show the hidden panel")


def scenario_uninstall(s, source):
    """"/uninstall" opens the uninstall page, shows no window and leaves the settings file as it was."""
    p = Program(s, source)
    content = b"[Settings]\r\nX=123\r\nLang=English\r\n; the user's own note\r\n[Other]\r\nkeep=1\r\n"
    with open(p.settings, "wb") as f:
        f.write(content)
    before = os.stat(p.settings).st_mtime_ns
    p.start("/uninstall")
    check(p.exit_code() == 0, "exit code not 0")
    check(not window_ids(s, "Vendrel Ratiscope", visible=False), "a window was created")
    with open(p.settings, "rb") as f:
        check(f.read() == content, "the settings file changed")
    check(os.stat(p.settings).st_mtime_ns == before, "the settings file was written")
    opened = wait_for(lambda: os.path.exists(p.opened) and open(p.opened).read(), "the uninstall page to open")
    check("/we/service/uninstall/?prd=vrx&v=5.9.3&d=" in opened, f"opened {opened!r}")
    # In capitals it is a normal start.
    p.start("/UNINSTALL")
    _, g = p.overlay()
    p.close_with_button(g)
    check(p.exit_code() == 0, "exit code not 0 after a normal start")


def failed_save(s, p):
    """Closes the program whose save must fail; the error box comes, OK ends with 1."""
    _, g = p.overlay()
    p.close_with_button(g)
    wait_for(lambda: not window_ids(s, PANEL_NAME), "the windows to close")
    box = wait_for(lambda: window_ids(s, "^Vendrel Ratiscope$"), "the error box")[0]
    check(p.process.poll() is None, "the program ended without showing the error")
    box_geometry = geometry_of(s, box)
    check(box_geometry and box_geometry[2] < 600, f"the error box is not a box: {box_geometry}")
    s.run("xdotool", "windowactivate", "--sync", box)
    s.run("xdotool", "key", "Return")
    check(p.exit_code() == 1, f"exit code {p.process.returncode}, wanted 1")


def scenario_unwritable(s, source):
    """A folder where the settings file goes, then an old file too large to be
    rewritten: both show the error box, end with 1 and leave what was there."""
    p = Program(s, source)
    os.mkdir(p.settings)
    with open(os.path.join(p.settings, "inside"), "w") as f:
        f.write("kept")
    p.start()
    failed_save(s, p)
    check(os.path.isdir(p.settings) and os.listdir(p.settings) == ["inside"], "the folder changed")
    shutil.rmtree(p.settings)

    # An old file the program refuses to read cannot be rewritten without losing its other lines.
    old = b"[Settings]\nX=10\n" + b";" * (16 * 1024 * 1024) + b"\n"
    with open(p.settings, "wb") as f:
        f.write(old)
    p.start()
    failed_save(s, p)
    with open(p.settings, "rb") as f:
        check(f.read() == old, "the old settings file is not whole")
    leftovers = [n for n in os.listdir(p.folder) if n.endswith(".tmp~")]
    check(not leftovers, f"temporary files left: {leftovers}")


def scenario_help(s, source):
    """--help and --version answer on standard output, without a window or a settings file."""
    p = Program(s, source)
    for option, expected in (("--help", "Usage:"), ("--version", "5.9.3")):
        r = subprocess.run([os.path.join(p.folder, "ratiscope"), option], env=p.env, capture_output=True,
                           text=True, timeout=30)
        check(r.returncode == 0, f"{option}: exit code {r.returncode}")
        check(expected in r.stdout, f"{option} printed {r.stdout!r}")
    check(not window_ids(s, "Vendrel Ratiscope", visible=False), "a window was created")
    check(not os.path.exists(p.settings), "a settings file was written")


def strip_picture(s, window):
    x, y, w, _ = geometry_of(s, window)
    path = os.path.join(s.tmp, "strip.ppm")
    s.run("import", "-window", "root", "-crop", f"{w}x16+{x}+{y}", "+repage", "-depth", "8", path)
    with open(path, "rb") as f:
        return f.read()


def scenario_installed(s, source):
    """Installed into a fresh root: the menu entry's Exec starts the program,
    which keeps its settings in the user's configuration folder and finds its
    languages and manual in the installed program folder."""
    root = os.path.join(s.tmp, "root")
    subprocess.run(["cmake", "--install", os.path.dirname(os.path.abspath(source))], env=dict(os.environ, DESTDIR=root),
                   check=True, stdout=subprocess.DEVNULL, timeout=120)
    entries = [os.path.join(d, n) for d, _, names in os.walk(root) for n in names
               if n.endswith(".desktop") and d.endswith("share/applications")]
    check(len(entries) == 1, f"menu entries: {entries}")
    application_id = os.path.basename(entries[0])[:-len(".desktop")]
    check(application_id == APPLICATION_ID, f"menu entry {entries[0]}")
    share = os.path.dirname(os.path.dirname(entries[0]))
    for size in (16, 22, 24, 32, 48, 64, 128, 256):
        check(os.path.isfile(os.path.join(share, f"icons/hicolor/{size}x{size}/apps/{application_id}.png")),
              f"no {size}x{size} icon")
    with open(entries[0]) as f:
        fields = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    check(fields.get("Icon") == application_id and fields.get("Type") == "Application", f"entry: {fields}")
    executable = root + fields["Exec"]
    check(os.access(executable, os.X_OK), f"Exec {fields['Exec']} is not in the installation")
    link = os.path.join(os.path.dirname(share), "bin", "ratiscope")
    check(os.path.realpath(link) == os.path.realpath(executable), "bin/ratiscope does not lead to the program")

    p = Program(s, source, executable)
    config = os.path.join(s.env["XDG_CONFIG_HOME"], "Vendrel", "Ratiscope")
    os.makedirs(config)
    user_settings = os.path.join(config, SETTINGS)

    def start_in(language):
        with open(user_settings, "w") as f:
            f.write(f"[Settings]\nLang={language}\nX=300\nY=240\nSX=800\nSY=100\nSVisible=1\n")
        p.start()
        window, g = p.overlay()
        panel, _ = p.panel()
        time.sleep(0.5)  # the strip's text is painted after the window manager placed it
        return window, g, strip_picture(s, panel)

    window, g, german = start_in("Deutsch")
    # The desktop ties the windows to the menu entry by their class.
    for w in (window, window_ids(s, PANEL_NAME)[0]):
        wm_class = s.out(["xprop", "-id", w, "WM_CLASS"])
        check(f'"{fields.get("StartupWMClass")}"' in wm_class and wm_class.rstrip().endswith(f'"{application_id}"'),
              f"window class {wm_class.strip()}, menu entry's StartupWMClass {fields.get('StartupWMClass')}")
    s.run("xdotool", "mousemove", "500", "248", "click", "1")
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(window)), "the overlay to be active")
    s.run("xdotool", "key", "F1")
    opened = wait_for(lambda: os.path.exists(p.opened) and open(p.opened).read(), "F1 to open the manual")
    manual = os.path.join(p.folder, "Manual", "index.html")
    check(manual in opened, f"opened {opened!r}, wanted {manual}")
    check(os.path.isfile(os.path.join(p.folder, "Manual", "looks", "look13.png")), "the manual has no look pictures")
    p.close_with_button(g)
    check(p.exit_code() == 0, "exit code not 0")
    check(not os.path.exists(p.settings), "an installed program wrote settings into its own folder")
    values = settings_of(user_settings)
    check(values.get("Lang") == "Deutsch" and "Opacity" in values, f"the user's settings after close: {values}")

    _, g, english = start_in("English")
    check(german != english, "the German panel caption looks like the English one: no language file found")
    p.close_with_button(g)
    check(p.exit_code() == 0, "exit code not 0")


def scenario_high_colour(s, source):
    """On a 16-bit screen the warning box comes before any window; after OK both windows come up."""
    p = Program(s, source)
    p.start()
    box = wait_for(lambda: window_ids(s, OVERLAY_NAME), "the warning box")[0]
    check(not window_ids(s, PANEL_NAME, visible=False), "the panel exists before the warning was dismissed")
    g = geometry_of(s, box)
    check(g[:2] != (300, 240), f"the first window is the overlay, not the warning box: {g}")
    s.run("xdotool", "windowactivate", "--sync", box)
    s.run("xdotool", "key", "Return")
    wait_for(lambda: box not in window_ids(s, OVERLAY_NAME), "the warning box to close")
    _, g = p.overlay()
    check(g[:2] == (300, 240), f"overlay at {g[:2]}")
    p.panel()
    p.close_with_button(g)
    check(p.exit_code() == 0, "exit code not 0")


# Scenario: its function and the screen's bits per pixel.
SCENARIOS = {
    "high_colour": (scenario_high_colour, 16),
    "installed": (scenario_installed, 24),
    "first_start": (scenario_first_start, 24),
    "moved": (scenario_moved, 24),
    "hidden_panel": (scenario_hidden_panel, 24),
    "uninstall": (scenario_uninstall, 24),
    "unwritable": (scenario_unwritable, 24),
    "help": (scenario_help, 24),
}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, name = sys.argv[1], sys.argv[2]
    run, depth = SCENARIOS[name]
    return run_scenario(name, lambda s: s.open(*SCREEN, False, depth), run, folder)


if __name__ == "__main__":
    sys.exit(main())
