#!/usr/bin/env python3
"""The overlay as a native layer surface on a headless sway with XWayland:
placed at its settings' place, above a fullscreen native window, see-through
and click-through over key pixels, taking clicks on drawn pixels, moved by a
caption drag, resized by the wheel, saving its place when closed, taking
keys only after a click on it, fitting itself to an X11 window beneath,
hidden and shown by the global key pressed in an X11 window, closed by the
ending signals, and moved from one output to another. sway
refuses to run as root, so as root the session runs as the user "nobody".
Usage: wayland_e2e.py PROGRAM_FOLDER WL_PROBE SCENARIO."""

import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import LINES, Failure, Picture, check, near, settings_of, wait_for  # noqa: E402

SCREEN = (1280, 800)
BENEATH = (0x33, 0x66, 0xCC)  # the native window's colour
SETTINGS = "Ratiscope.user.settings"
PLACE = (300, 240)
SIZE = (420, 285)  # Width 396 + 2 x Border 12, Height 245 + 2 x 12 + 16
XEV_TITLE = "Event Tester"  # the title xev gives its window


class Session:
    def __init__(self, program_folder, probe, scale=1, outputs=1):
        self.scale = scale
        self.outputs = outputs
        # The outputs side by side, left to right, in the layout's pixels.
        self.layout = (SCREEN[0] * outputs, SCREEN[1])
        self.tmp = tempfile.mkdtemp(prefix="ratiscope-wayland-")
        os.chmod(self.tmp, 0o755)
        self.procs = []
        self.user = "nobody" if os.geteuid() == 0 else None
        self.run_dir = os.path.join(self.tmp, "run")
        self.home = os.path.join(self.tmp, "home")
        os.mkdir(self.run_dir, 0o700)
        os.mkdir(self.home)
        self.folder = os.path.join(self.tmp, "program")
        os.mkdir(self.folder)
        for name in ("ratiscope", "English.lng"):
            shutil.copy2(os.path.join(program_folder, name), os.path.join(self.folder, name))
        # Copies, since the unprivileged user may not reach the build folder.
        self.probe = os.path.join(self.folder, "wl_probe")
        shutil.copy2(probe, self.probe)
        self.env = {"PATH": "/usr/bin:/bin", "HOME": self.home, "XDG_RUNTIME_DIR": self.run_dir,
                    "WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1",
                    "WLR_HEADLESS_OUTPUTS": str(outputs),
                    "ASAN_OPTIONS": os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0"}
        self.program = None

    def own(self):
        if self.user:
            entry = pwd.getpwnam(self.user)
            for root, dirs, files in os.walk(self.tmp):
                for name in [root] + [os.path.join(root, n) for n in dirs + files]:
                    os.chown(name, entry.pw_uid, entry.pw_gid)

    def command(self, argv):
        return (["runuser", "-u", self.user, "--"] if self.user else []) + ["env", "-i"] + \
            [f"{k}={v}" for k, v in self.env.items()] + list(argv)

    def start(self, argv, **kw):
        p = subprocess.Popen(self.command(argv), **kw)
        self.procs.append(p)
        return p

    def out(self, argv):
        return subprocess.run(self.command(argv), check=True, timeout=30, capture_output=True, text=True).stdout

    def open(self):
        config = os.path.join(self.tmp, "sway.config")
        with open(config, "w") as f:
            for n in range(self.outputs):
                f.write(f"output HEADLESS-{n + 1} mode {SCREEN[0] * self.scale}x{SCREEN[1] * self.scale} "
                        f"position {n * SCREEN[0]} 0 scale {self.scale}\n")
            f.write("xwayland enable\ndefault_border none\nfocus_follows_mouse no\n")
        with open(os.path.join(self.folder, SETTINGS), "w") as f:
            f.write(f"[Settings]\nX={PLACE[0]}\nY={PLACE[1]}\nWidth=396\nBorder=12\nOpacity=100\nSVisible=0\n"
                    "LockWidth=1\nMouseWheelAllowed=1\n")
        self.own()
        self.sway_log = open(os.path.join(self.tmp, "sway.log"), "w")
        self.start(["sway", "-c", config], stdout=self.sway_log, stderr=subprocess.STDOUT)
        socket = wait_for(lambda: [n for n in os.listdir(self.run_dir) if n.startswith("sway-ipc.")], "sway")[0]
        wait_for(lambda: os.path.exists(os.path.join(self.run_dir, "wayland-1")), "sway's display")
        self.env.update(WAYLAND_DISPLAY="wayland-1", SWAYSOCK=os.path.join(self.run_dir, socket))
        # The seat's pointer first, so the window beneath gets one too.
        self.pointer = self.start([self.probe, "pointer", str(self.layout[0]), str(self.layout[1])], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, text=True)
        check(self.pointer.stdout.readline().strip() == "pointer", "no virtual pointer")
        self.probe_log = os.path.join(self.tmp, "probe.log")
        with open(self.probe_log, "w") as log:
            self.start([self.probe, "window", "%02x%02x%02x" % BENEATH], stdout=log, stderr=subprocess.STDOUT)
        wait_for(lambda: "mapped" in open(self.probe_log).read(), "the native window")
        for n in range(2, self.outputs + 1):
            self.window_on(n)
        # XWayland's display, as sway hands it to the programs it starts.
        env_file = os.path.join(self.tmp, "sway.env")
        self.out(["swaymsg", "exec", f"env > {env_file}"])
        values = wait_for(lambda: os.path.exists(env_file) and dict(
            line.rstrip("\n").split("=", 1) for line in open(env_file) if "=" in line) or None, "sway's environment")
        check("DISPLAY" in values, "sway started no XWayland")
        self.env["DISPLAY"] = values["DISPLAY"]
        self.env["XDG_SESSION_TYPE"] = "wayland"

    def window_on(self, output):
        """The same window beneath on a further output, with a log of its own."""
        self.out(["swaymsg", "focus", "output", f"HEADLESS-{output}"])
        log_path = os.path.join(self.tmp, f"probe{output}.log")
        with open(log_path, "w") as log:
            self.start([self.probe, "window", "%02x%02x%02x" % BENEATH], stdout=log, stderr=subprocess.STDOUT)
        wait_for(lambda: "mapped" in open(log_path).read(), f"the native window on output {output}")

    def relayout(self, width, height):
        """The outputs now span this much of the layout."""
        self.layout = (width, height)
        self.pointer_do(f"extent {width} {height}")

    def launch(self):
        self.program_log = open(os.path.join(self.tmp, "program.log"), "w+")
        self.program = self.start([os.path.join(self.folder, "ratiscope")], stdout=self.program_log,
                                  stderr=subprocess.STDOUT)

    def pointer_do(self, *lines):
        for line in lines:
            self.pointer.stdin.write(line + "\n")
            self.pointer.stdin.flush()
            check(self.pointer.stdout.readline().strip() == "ok", f"pointer command {line!r} not taken")
            time.sleep(0.05)

    def click(self, x, y):
        self.pointer_do(f"move {x} {y}", "down", "up")

    def presses(self, output=1):
        log = self.probe_log if output == 1 else os.path.join(self.tmp, f"probe{output}.log")
        return [tuple(map(int, line.split()[1:])) for line in open(log) if line.startswith("press")]

    def program_pid(self):
        """The program's own process: as root, the child runuser started (env replaced itself with it)."""
        if not self.user:
            return self.program.pid
        path = f"/proc/{self.program.pid}/task/{self.program.pid}/children"
        return int(wait_for(lambda: open(path).read().split(), "the program's process")[0])

    def screenshot(self):
        # The pointer goes to the far corner, out of the picture's way.
        self.pointer_do(f"move {self.layout[0] - 1} {self.layout[1] - 1}")
        path = os.path.join(self.tmp, "shot.ppm")
        self.out(["grim", "-t", "ppm", path])
        return Picture(path)

    def overlay_box(self, pic, columns=None, rows=None):
        """The bounding box of everything that is not the window beneath, the pointer's corner left out;
        only in the columns and rows given as (from, to), else everywhere."""
        x0, x1 = columns or (0, pic.width - 40)
        background = bytes(BENEATH) * (x1 - x0)
        xs, ys = [], []
        for y in range(*(rows or (0, pic.height - 40))):
            row = pic.pixels[(y * pic.width + x0) * 3:(y * pic.width + x1) * 3]
            if row == background:
                continue
            first = next(x for x in range(x1 - x0) if row[x * 3:x * 3 + 3] != background[:3])
            last = next(x for x in reversed(range(x1 - x0)) if row[x * 3:x * 3 + 3] != background[:3])
            xs += [x0 + first, x0 + last]
            ys.append(y)
        return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None

    def close(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


def placed(box, x, y, w, h):
    """The drawn pixels span the window: caption strip from the top-left corner
    across the whole width, down to the grip, whose last rows may be key pixels."""
    return box is not None and box[:3] == (x, y, x + w) and y + h - 3 <= box[3] <= y + h


def scenario_layer_surface(s):
    s.launch()
    x0, y0 = PLACE
    w, h = SIZE
    box = wait_for(lambda: s.overlay_box(s.screenshot()), "the overlay on screen")
    check(placed(box, x0, y0, w, h), f"overlay at {box}, wanted {(x0, y0, x0 + w, y0 + h)}")

    # Above a fullscreen native window.
    s.out(["swaymsg", "[app_id=wl-probe]", "fullscreen", "enable"])
    time.sleep(0.3)
    pic = s.screenshot()
    check(s.overlay_box(pic) == box, f"overlay hidden or moved by a fullscreen window: {s.overlay_box(pic)}")

    # A key pixel shows the window beneath exactly and passes the click to it.
    hole = next(((x, y) for y in range(y0 + 40, y0 + h - 20, 3) for x in range(x0 + 40, x0 + w - 20, 3)
                 if all(pic.at(x + dx, y + dy) == BENEATH for dx in (-1, 0, 1) for dy in (-1, 0, 1))), None)
    check(hole is not None, "no see-through pixel in the overlay")
    s.click(*hole)
    wait_for(lambda: hole in s.presses(), f"the click at {hole} to reach the native window")

    # A drawn pixel (the caption strip) keeps the click.
    before = len(s.presses())
    caption = (x0 + 150, y0 + 7)
    check(not near(pic.at(*caption), BENEATH, 8), f"caption strip not drawn at {caption}: {pic.at(*caption)}")
    s.click(*caption)
    time.sleep(0.3)
    check(len(s.presses()) == before, "a click on the caption strip reached the window beneath")

    # A caption drag moves the overlay under the pointer.
    s.pointer_do(f"move {caption[0]} {caption[1]}", "down", *[f"move {caption[0] + 5 * i} {caption[1] + 5 * i}"
                                                                for i in range(1, 11)], "up")
    moved = (x0 + 50, y0 + 50)
    box = wait_for(lambda: (lambda b: b if b and b[:2] == moved else None)(s.overlay_box(s.screenshot())),
                   f"the overlay to move to {moved}")
    check(placed(box, *moved, w, h), f"the drag changed the size: {box}")

    # One wheel notch towards the user over the overlay makes it 10 wider.
    s.pointer_do(f"move {moved[0] + 100} {moved[1] + 7}", "wheel 1")
    box = wait_for(lambda: (lambda b: b if b and b[2] - b[0] != w else None)(s.overlay_box(s.screenshot())),
                   "the wheel to resize the overlay")
    check(box[2] - box[0] == w + 10 and box[:2] == moved, f"after the wheel {box}, wanted width {w + 10} at {moved}")

    # The close button ends the program, which saves its place.
    s.click(box[2] - 12 + 3, box[1] + 7)
    code = wait_for(lambda: s.program.poll() is not None and (s.program.returncode,), "the program to end")[0]
    check(code == 0, f"exit code {code}")
    saved = settings_of(os.path.join(s.folder, SETTINGS))
    check((saved.get("X"), saved.get("Y"), saved.get("Width")) == (str(moved[0]), str(moved[1]), "406"),
          f"saved X, Y, Width {saved.get('X')}, {saved.get('Y')}, {saved.get('Width')}")


def scenario_keys(s):
    """Keys reach the overlay after a click on it, and not before or after the pointer left it."""
    s.launch()
    x0, y0 = PLACE
    w, h = SIZE
    box = wait_for(lambda: s.overlay_box(s.screenshot()), "the overlay on screen")
    caption = (x0 + 150, y0 + 7)

    def type_right():
        # A virtual keyboard of its own; the pause lets clients take the new keyboard first.
        s.out(["wtype", "-s", "700", "-k", "Right"])
        time.sleep(0.5)
        return s.overlay_box(s.screenshot())

    s.pointer_do(f"move {caption[0]} {caption[1]}")
    check(placed(type_right(), x0, y0, w, h), "a key reached the overlay before a click on it")
    s.click(*caption)
    moved = wait_for(lambda: (lambda b: b if b and b[0] != x0 else None)(type_right()), "Right to move the overlay")
    check(placed(moved, x0 + 16, y0, w, h), f"Right moved the overlay to {moved}, wanted 16 to the right")
    s.pointer_do(f"move {x0 + w + 100} {y0 + h + 100}")
    check(placed(type_right(), x0 + 16, y0, w, h), "a key reached the overlay after the pointer left it")


def query(s, argv):
    """The output of a command that may fail while what it looks for is not there yet."""
    return subprocess.run(s.command(argv), timeout=30, capture_output=True, text=True).stdout


def start_x11_target(s):
    """An X11 window (XWayland) floating above the native one, where the overlay's centre lies; its client area."""
    s.start(["xev", "-geometry", "520x310+380+300", "-name", "Fit Target", "-event", "button"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    target = wait_for(lambda: query(s, ["xdotool", "search", "--name", "^Fit Target$"]).split(), "the X11 window")[0]
    s.out(["swaymsg", '[title="^Fit Target$"]', "floating enable, resize set 520 310, move position 380 300"])

    def client():
        values = dict(line.strip().split(":", 1) for line in query(s, ["xwininfo", "-id", target]).splitlines()
                      if ":" in line)
        return tuple(int(values[k].strip()) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width",
                                                      "Height"))
    return wait_for(lambda: (lambda c: c if c == (380, 300, 520, 310) else None)(client()),
                    "sway to float the X11 window at (380, 300), 520 x 310")


def figure_box(s, box):
    """The bounding box of the figure's lines within the box, or None when none are drawn there."""
    pic = s.screenshot()
    x0, y0, x1, y1 = box
    xs, ys = [], []
    for y in range(y0, y1):
        for x in range(x0, x1):
            if pic.at(x, y) == LINES:
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


def scenario_fit(s):
    """F5 on the native overlay fits the figure to the X11 window beneath, found through the compositor's X
    window manager (Wayland tells no client where other clients' windows are)."""
    tx, ty, tw, th = start_x11_target(s)
    with open(os.path.join(s.folder, SETTINGS), "a") as f:
        f.write("Lock=0\n")
    s.launch()
    x0, y0 = PLACE
    w, h = SIZE
    wait_for(lambda: figure_box(s, (x0, y0, x0 + w, y0 + h)), "the overlay on screen")
    caption = (x0 + 150, y0 + 7)
    s.click(*caption)
    s.out(["wtype", "-s", "700", "-k", "F5"])
    # The overlay's window around the client area: the border on every side, the caption strip above.
    border = 12
    left, top = tx - border, ty - border - 16
    width = tw + 2 * border
    s.click(left + width - 12 + 3, top + 7)  # the close button where the fit put it
    code = wait_for(lambda: s.program.poll() is not None and (s.program.returncode,),
                    f"the program to end by its close button at the fitted place ({left}, {top})")[0]
    check(code == 0, f"exit code {code}")
    saved = settings_of(os.path.join(s.folder, SETTINGS))
    got = tuple(saved.get(k) for k in ("X", "Y", "Width", "Height"))
    check(got == (str(left), str(top), str(tw), str(th)), f"saved X, Y, Width, Height {got}, wanted the X11 window's "
          f"client area {(tx, ty, tw, th)} as the drawing rectangle")


def scenario_hotkey(s):
    """Ctrl+Alt+G from an X11 window hides the native overlay and brings it back in place."""
    start_x11_target(s)
    s.launch()
    x0, y0 = PLACE
    w, h = SIZE
    area = (x0, y0, x0 + w, y0 + h)
    shown = wait_for(lambda: figure_box(s, area), "the overlay on screen")
    s.click(600, 550)  # the X11 window, below the overlay
    wait_for(lambda: query(s, ["xdotool", "getwindowfocus", "getwindowname"]).strip() == "Fit Target",
             "the X11 window to have the keyboard")

    def toggle():
        # A keyboard of its own with its own keymap: the program grabs the combination anew on it.
        s.out(["wtype", "-s", "700", "-M", "ctrl", "-M", "alt", "-k", "g", "-m", "alt", "-m", "ctrl"])

    toggle()
    wait_for(lambda: figure_box(s, area) is None, "the hotkey to hide the overlay")
    toggle()
    box = wait_for(lambda: figure_box(s, area), "the hotkey to bring the overlay back")
    check(box == shown, f"the overlay came back at {box}, was at {shown}")


def scenario_xwayland(s):
    """A key pixel over an X11 window (through XWayland) passes the click to it; a drawn pixel keeps it."""
    x0, y0 = PLACE
    w, h = SIZE
    xev_log = os.path.join(s.tmp, "xev.log")
    with open(xev_log, "w") as log:
        s.start(["xev", "-event", "button", "-geometry", f"{w + 80}x{h + 80}"], stdout=log, stderr=subprocess.STDOUT)
    xev = f'[title="{XEV_TITLE}"]'
    wait_for(lambda: XEV_TITLE in s.out(["swaymsg", "-t", "get_tree"]), "the X11 window")
    # Floating over the native window, covering the overlay's place with a margin.
    s.out(["swaymsg", xev, "floating", "enable"])
    s.out(["swaymsg", xev, "resize", "set", str(w + 80), str(h + 80)])
    s.out(["swaymsg", xev, "move", "absolute", "position", str(x0 - 40), str(y0 - 40)])
    time.sleep(0.5)
    alone = s.screenshot()
    check(alone.at(x0 - 20, y0 - 20) != BENEATH, "the X11 window is not where the overlay will be")

    s.launch()
    pic = wait_for(lambda: (lambda p: p if p.at(x0 + 150, y0 + 7) != alone.at(x0 + 150, y0 + 7) else None)(
        s.screenshot()), "the overlay on screen")

    def presses():
        return [line for line in open(xev_log, errors="replace") if line.startswith("ButtonPress")]

    # See-through: a pixel whose neighbourhood looks as it did without the overlay.
    hole = next(((x, y) for y in range(y0 + 40, y0 + h - 20, 3) for x in range(x0 + 40, x0 + w - 20, 3)
                 if all(pic.at(x + dx, y + dy) == alone.at(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1))),
                None)
    check(hole is not None, "no see-through pixel over the X11 window")
    s.click(*hole)
    wait_for(lambda: any(f"root:({hole[0]},{hole[1]})" in line for line in open(xev_log, errors="replace")),
             f"the click at {hole} to reach the X11 window")

    before = len(presses())
    caption = (x0 + 150, y0 + 7)
    s.click(*caption)
    time.sleep(0.5)
    check(len(presses()) == before, "a click on the caption strip reached the X11 window beneath")
    check(s.program.poll() is None, "the program ended")


def scenario_scaled(s):
    """On an output of scale 2 the overlay keeps its place and size in the layout's (logical) pixels:
    each of its pixels is an exact 2 x 2 block of the screen's, on the block grid, and clicks pass
    through its key pixels as before."""
    n = s.scale
    x0, y0 = PLACE
    w, h = SIZE
    s.launch()
    caption = (x0 + 150, y0 + 7)
    pic = wait_for(lambda: (lambda p: p if p.at(caption[0] * n, caption[1] * n) != BENEATH else None)(s.screenshot()),
                   "the overlay on screen")
    check((pic.width, pic.height) == (SCREEN[0] * n, SCREEN[1] * n), f"screenshot of {pic.width} x {pic.height}")

    def block(x, y):
        """The colour of the logical pixel (x, y), or None where its screen pixels differ."""
        colours = {pic.at(x * n + dx, y * n + dy) for dx in range(n) for dy in range(n)}
        return colours.pop() if len(colours) == 1 else None

    xs, ys = [], []
    for y in range(y0 - 2, y0 + h + 2):
        for x in range(x0 - 2, x0 + w + 2):
            colour = block(x, y)
            check(colour is not None, f"logical pixel ({x}, {y}) is not one colour on screen")
            if colour != BENEATH:
                xs.append(x)
                ys.append(y)
    box = (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None
    check(placed(box, x0, y0, w, h), f"overlay at {box} in layout pixels, wanted {(x0, y0, x0 + w, y0 + h)}")

    hole = next(((x, y) for y in range(y0 + 40, y0 + h - 20, 3) for x in range(x0 + 40, x0 + w - 20, 3)
                 if all(block(x + dx, y + dy) == BENEATH for dx in (-1, 0, 1) for dy in (-1, 0, 1))), None)
    check(hole is not None, "no see-through pixel in the overlay")
    s.click(*hole)
    wait_for(lambda: hole in s.presses(), f"the click at {hole} to reach the native window")
    before = len(s.presses())
    s.click(*caption)
    time.sleep(0.3)
    check(len(s.presses()) == before, "a click on the caption strip reached the window beneath")


def drag(s, start, end, steps=10):
    """A left-button drag in even steps."""
    s.pointer_do(f"move {start[0]} {start[1]}", "down",
                 *[f"move {start[0] + (end[0] - start[0]) * i // steps} {start[1] + (end[1] - start[1]) * i // steps}"
                   for i in range(1, steps + 1)], "up")


def ended(s):
    """The program's exit code once it has ended."""
    return wait_for(lambda: s.program.poll() is not None and (s.program.returncode,), "the program to end")[0]


def shown_at(s, place, columns=None, rows=None):
    """Waits until the overlay's drawn pixels start at the place; their bounding box."""
    return wait_for(lambda: (lambda b: b if b and b[:2] == place else None)(
        s.overlay_box(s.screenshot(), columns, rows)), f"the overlay at {place}")


def scenario_signals(s):
    """SIGTERM, SIGINT and SIGHUP close the native overlay the way its close button does: exit code 0 and
    its new place saved, though the overlay is no Qt window."""
    w, h = SIZE
    place = PLACE
    for name, step in (("SIGTERM", 60), ("SIGINT", 40), ("SIGHUP", 20)):
        s.launch()
        shown_at(s, place)
        caption = (place[0] + 150, place[1] + 7)
        drag(s, caption, (caption[0] + step, caption[1] + step))
        place = (place[0] + step, place[1] + step)
        check(placed(shown_at(s, place), *place, w, h), f"the drag before {name} changed the size")
        os.kill(s.program_pid(), getattr(signal, name))
        code = ended(s)
        check(code == 0, f"{name}: exit code {code}, wanted 0")
        saved = settings_of(os.path.join(s.folder, SETTINGS))
        check((saved.get("X"), saved.get("Y")) == tuple(map(str, place)),
              f"{name}: saved X, Y {saved.get('X')}, {saved.get('Y')}, wanted {place}")
        check(saved.get("Width") == "396", f"{name}: the file is not whole: {saved}")


def scenario_outputs(s):
    """Dragged by its caption from the first output onto the second, the overlay is drawn whole there at the
    place the drag took it to, passes clicks through its key pixels to the window beneath there, takes clicks
    and keys on its drawn pixels, and saves its place in the layout when closed."""
    x0, y0 = PLACE
    w, h = SIZE
    # The second output has the focus (its window came last); the overlay still comes up where its place is.
    s.launch()
    check(placed(shown_at(s, PLACE), x0, y0, w, h), "the overlay is not at its place on the first output")
    caption = (x0 + 150, y0 + 7)
    there = (x0 + SCREEN[0], y0 + 40)
    drag(s, caption, (caption[0] + SCREEN[0], caption[1] + 40), steps=32)
    box = shown_at(s, there)
    check(placed(box, *there, w, h), f"on the second output at {box}, wanted {there} and {w} x {h}")

    pic = s.screenshot()
    hole = next(((x, y) for y in range(there[1] + 40, there[1] + h - 20, 3) for x in range(there[0] + 40, there[0] + w - 20, 3)
                 if all(pic.at(x + dx, y + dy) == BENEATH for dx in (-1, 0, 1) for dy in (-1, 0, 1))), None)
    check(hole is not None, "no see-through pixel in the overlay on the second output")
    s.click(*hole)
    wait_for(lambda: (hole[0] - SCREEN[0], hole[1]) in s.presses(2), f"the click at {hole} to reach the window there")

    before = len(s.presses(2))
    caption = (there[0] + 150, there[1] + 7)
    s.click(*caption)
    time.sleep(0.3)
    check(len(s.presses(2)) == before, "a click on the caption strip reached the window beneath")
    s.out(["wtype", "-s", "700", "-k", "Right"])
    moved = (there[0] + 16, there[1])
    box = shown_at(s, moved)
    s.click(box[2] - 12 + 3, box[1] + 7)  # the close button
    code = ended(s)
    check(code == 0, f"exit code {code}")
    saved = settings_of(os.path.join(s.folder, SETTINGS))
    check((saved.get("X"), saved.get("Y")) == tuple(map(str, moved)),
          f"saved X, Y {saved.get('X')}, {saved.get('Y')}, wanted {moved}")


def scenario_outputs_keys(s):
    """Moved by the arrow keys until its centre crosses onto the second output, the overlay goes over to it
    (a layer surface shows only on its own output, so the part left on the first is no longer drawn) and
    keeps the keyboard: the next key still moves it."""
    w, h = SIZE
    start = (SCREEN[0] - w // 2 - 16, PLACE[1])  # its centre 16 before the edge
    with open(os.path.join(s.folder, SETTINGS), "w") as f:
        f.write(f"[Settings]\nX={start[0]}\nY={start[1]}\nWidth=396\nBorder=12\nOpacity=100\nSVisible=0\n"
                "LockWidth=1\n")
    s.launch()
    first = shown_at(s, start)
    check(first[2] == SCREEN[0], f"on the first output the overlay shows {first}, wanted up to its edge")
    s.click(start[0] + 150, start[1] + 7)

    def right():
        s.out(["wtype", "-s", "700", "-k", "Right"])

    right()
    crossed = (SCREEN[0], start[1])
    box = shown_at(s, crossed)
    check(box[2] == start[0] + 16 + w, f"after one key the overlay shows {box}, wanted its right edge at "
          f"{start[0] + 16 + w}")
    right()
    box = wait_for(lambda: (lambda b: b if b and b[2] == start[0] + 32 + w else None)(s.overlay_box(s.screenshot())),
                   "a second key to move the overlay on the second output")
    check(box[0] == SCREEN[0], f"the overlay shows {box} after the second key")
    os.kill(s.program_pid(), signal.SIGTERM)
    check(ended(s) == 0, "exit code not 0")
    saved = settings_of(os.path.join(s.folder, SETTINGS))
    check((saved.get("X"), saved.get("Y")) == (str(start[0] + 32), str(start[1])),
          f"saved X, Y {saved.get('X')}, {saved.get('Y')}")


def scenario_output_added(s):
    """An output added while the program runs is learnt: a drag takes the overlay onto it. When that output
    then moves in the layout, the overlay keeps its place in the layout and still saves it when closed."""
    x0, y0 = PLACE
    w, h = SIZE
    s.launch()
    shown_at(s, PLACE)
    s.out(["swaymsg", "create_output"])
    s.out(["swaymsg", "output", "HEADLESS-2", "mode", f"{SCREEN[0]}x{SCREEN[1]}", "position", str(SCREEN[0]), "0"])
    s.window_on(2)
    s.relayout(2 * SCREEN[0], SCREEN[1])
    caption = (x0 + 150, y0 + 7)
    there = (x0 + SCREEN[0], y0 + 40)
    drag(s, caption, (caption[0] + SCREEN[0], caption[1] + 40), steps=32)
    check(placed(shown_at(s, there), *there, w, h), f"not whole on the added output at {there}")

    lowered = 100  # the added output moves down by this much; the first one stays
    s.out(["swaymsg", "output", "HEADLESS-2", "position", str(SCREEN[0]), str(lowered)])
    s.relayout(2 * SCREEN[0], SCREEN[1] + lowered)
    # sway 1.7 may leave pixels of the place the output's move took the overlay to until the output is
    # drawn whole again; switching it off and on draws it whole.
    time.sleep(0.5)
    s.out(["swaymsg", "output", "HEADLESS-2", "dpms", "off"])
    s.out(["swaymsg", "output", "HEADLESS-2", "dpms", "on"])
    box = shown_at(s, there, columns=(SCREEN[0], 2 * SCREEN[0] - 40), rows=(lowered, SCREEN[1]))
    check(placed(box, *there, w, h), f"after the output moved the overlay is at {box}, wanted {there}")
    s.click(box[2] - 12 + 3, box[1] + 7)  # the close button
    check(ended(s) == 0, "exit code not 0")
    saved = settings_of(os.path.join(s.folder, SETTINGS))
    check((saved.get("X"), saved.get("Y")) == tuple(map(str, there)),
          f"saved X, Y {saved.get('X')}, {saved.get('Y')}, wanted {there}")


SCENARIOS = {"layer_surface": scenario_layer_surface, "keys": scenario_keys, "fit": scenario_fit,
             "hotkey": scenario_hotkey, "xwayland": scenario_xwayland, "scaled": scenario_scaled,
             "signals": scenario_signals, "outputs": scenario_outputs, "outputs_keys": scenario_outputs_keys,
             "output_added": scenario_output_added}
# Output scales other than 1, by scenario.
SCALES = {"scaled": 2}
# More outputs than one, by scenario.
OUTPUTS = {"outputs": 2, "outputs_keys": 2}


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    s = Session(sys.argv[1], sys.argv[2], SCALES.get(sys.argv[3], 1), OUTPUTS.get(sys.argv[3], 1))
    try:
        s.open()
        SCENARIOS[sys.argv[3]](s)
    except (Failure, subprocess.SubprocessError, OSError) as e:
        print(f"FAILED {sys.argv[3]}: {e}", file=sys.stderr)
        for name in ("program.log", "sway.log"):
            path = os.path.join(s.tmp, name)
            if os.path.exists(path):
                print(f"--- {name}\n" + open(path, errors="replace").read()[-2500:], file=sys.stderr)
        return 1
    finally:
        s.close()
    print(f"passed {sys.argv[3]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
