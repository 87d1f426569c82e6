#!/usr/bin/env python3
"""The overlay as a native layer surface on a headless KWin (KDE Plasma's
compositor) with XWayland: placed at its settings' place above a fullscreen
native window, see-through and click-through over key pixels into native and
X11 windows, following caption drags and grip drags to the pixel however many
motions they take, resized by the wheel, taking keys only after a click on it
and giving them back once the pointer leaves, and saving its place when
closed or ended by SIGTERM. KWin's fake input drives the pointer and the
keyboard; its screenshot interface shows the screen.
Usage: kwin_e2e.py PROGRAM_FOLDER WL_PROBE KWIN_INPUT SCENARIO
(KWIN_INPUT "none" where it could not be built). Exits 77 (skipped) where
KWin is not installed."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Failure, check, near, settings_of, wait_for  # noqa: E402
from wayland_e2e import placed  # noqa: E402

try:
    import dbus
except ImportError:
    # Debian's python3-dbus lies in the system Python's folder, which another
    # Python first on PATH does not search.
    sys.path.append("/usr/lib/python3/dist-packages")
    try:
        import dbus
    except ImportError:
        dbus = None

SKIPPED = 77  # CTest's skip code for these tests
SCREEN = (1280, 800)
BENEATH = (0x33, 0x66, 0xCC)  # the native window's colour
SETTINGS = "Ratiscope.user.settings"
PLACE = (340, 200)
SIZE = (420, 285)  # Width 396 + 2 x Border 12, Height 245 + 2 x 12 + 16
CAPTION = (150, 7)  # a point of the caption strip, in the window, clear of its buttons
XEV_TITLE = "Event Tester"
# KWin starts in a few seconds; one that has not answered a screenshot by then
# is started again (an early start may hang without its Qt platform plugin).
START_LIMIT = 20.0
STARTS = 3
KEY_RIGHT = 106  # evdev's code of the right arrow key


class Picture:
    """A screenshot as KWin writes it (premultiplied ARGB32, little-endian, opaque here) turned into RGB rows."""

    def __init__(self, raw, width, height, stride):
        self.width, self.height = width, height
        packed = b"".join(raw[y * stride:y * stride + width * 4] for y in range(height))
        rgb = bytearray(width * height * 3)
        rgb[0::3] = packed[2::4]
        rgb[1::3] = packed[1::4]
        rgb[2::3] = packed[0::4]
        self.pixels = bytes(rgb)

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


class Session:
    def __init__(self, program_folder, probe, kwin_input):
        self.tmp = tempfile.mkdtemp(prefix="ratiscope-kwin-")
        self.procs = []
        self.run_dir = os.path.join(self.tmp, "run")
        self.home = os.path.join(self.tmp, "home")
        os.mkdir(self.run_dir, 0o700)
        os.makedirs(os.path.join(self.home, ".config"))
        # No animations: a surface made anew shows at once, not faded in.
        with open(os.path.join(self.home, ".config", "kdeglobals"), "w") as f:
            f.write("[KDE]\nAnimationDurationFactor=0\n")
        self.folder = os.path.join(self.tmp, "program")
        os.mkdir(self.folder)
        for name in ("ratiscope", "English.lng"):
            shutil.copy2(os.path.join(program_folder, name), os.path.join(self.folder, name))
        self.probe = probe
        self.kwin_input = kwin_input
        self.env = {"PATH": "/usr/bin:/bin", "HOME": self.home, "XDG_RUNTIME_DIR": self.run_dir,
                    "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
                    "ASAN_OPTIONS": os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0"}
        self.kwin = None
        self.program = None
        self.write_settings()

    def write_settings(self, extra=""):
        with open(os.path.join(self.folder, SETTINGS), "w") as f:
            f.write(f"[Settings]\nX={PLACE[0]}\nY={PLACE[1]}\nWidth=396\nBorder=12\nOpacity=100\nSVisible=0\n"
                    f"LockWidth=1\nMouseWheelAllowed=1\nMouseResizeAllowed=1\n{extra}")

    def start(self, argv, **kw):
        p = subprocess.Popen(["env", "-i"] + [f"{k}={v}" for k, v in self.env.items()] + list(argv), **kw)
        self.procs.append(p)
        return p

    def open(self):
        # KWin's binary carries a file capability a container may refuse; a plain copy runs.
        kwin = os.path.join(self.tmp, "kwin_wayland")
        shutil.copyfile(shutil.which("kwin_wayland"), kwin)
        os.chmod(kwin, 0o755)
        # XWayland's sockets; as root the folder may be made here.
        if not os.path.isdir("/tmp/.X11-unix") and os.geteuid() == 0:
            os.makedirs("/tmp/.X11-unix", exist_ok=True)
            os.chmod("/tmp/.X11-unix", 0o1777)
        child = os.path.join(self.tmp, "child.sh")
        env_file = os.path.join(self.tmp, "kwin.env")
        with open(child, "w") as f:
            f.write(f"#!/bin/sh\nenv > {env_file}.part && mv {env_file}.part {env_file}\nexec sleep 100000\n")
        os.chmod(child, 0o755)
        for attempt in range(1, STARTS + 1):
            socket = f"ratiscope-kwin-{os.getpid()}-{attempt}"
            self.kwin_log = open(os.path.join(self.tmp, f"kwin{attempt}.log"), "w")
            env = dict(self.env, KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1", KWIN_WAYLAND_NO_PERMISSION_CHECKS="1")
            self.kwin = subprocess.Popen(
                ["env", "-i"] + [f"{k}={v}" for k, v in env.items()] +
                ["dbus-run-session", "--", kwin, "--virtual", "--xwayland", "--width", str(SCREEN[0]), "--height",
                 str(SCREEN[1]), "--socket", socket, child],
                stdout=self.kwin_log, stderr=subprocess.STDOUT, start_new_session=True)
            try:
                values = wait_for(lambda: os.path.exists(env_file) and dict(
                    line.rstrip("\n").split("=", 1) for line in open(env_file) if "=" in line), "KWin's session",
                    START_LIMIT)
                self.bus = dbus.bus.BusConnection(values["DBUS_SESSION_BUS_ADDRESS"])
                wait_for(self.try_screenshot, "KWin's first screenshot", START_LIMIT)
                self.env.update(WAYLAND_DISPLAY=socket, DISPLAY=values["DISPLAY"], XDG_SESSION_TYPE="wayland")
                break
            except (Failure, KeyError, dbus.DBusException) as e:
                self.stop_kwin()
                if os.path.exists(env_file):
                    os.remove(env_file)
                if attempt == STARTS:
                    raise Failure(f"KWin did not start in {STARTS} tries: {e}")
        self.input = self.start([self.kwin_input], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        check(self.input.stdout.readline().strip() == "input", "KWin offers no fake input")
        self.probe_log = os.path.join(self.tmp, "probe.log")
        with open(self.probe_log, "w") as log:
            self.start([self.probe, "window", "%02x%02x%02x" % BENEATH, "fullscreen"], stdout=log,
                       stderr=subprocess.STDOUT)
        wait_for(lambda: "mapped" in open(self.probe_log).read(), "the native window")
        wait_for(lambda: (lambda p: p.at(10, 10) == BENEATH and p.at(SCREEN[0] - 10, SCREEN[1] - 10) == BENEATH)(
            self.screenshot()), "the native window to fill the screen")

    def try_screenshot(self):
        try:
            return self.screenshot()
        except dbus.DBusException:
            return None

    def screenshot(self):
        shot = dbus.Interface(self.bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
                              "org.kde.KWin.ScreenShot2")
        r, w = os.pipe()
        try:
            answer = shot.CaptureWorkspace({"include-cursor": False, "native-resolution": True}, dbus.types.UnixFd(w))
        finally:
            os.close(w)
        chunks = []
        with os.fdopen(r, "rb") as pipe:
            while True:
                chunk = pipe.read(1 << 20)
                if not chunk:
                    break
                chunks.append(chunk)
        width, height, stride = int(answer["width"]), int(answer["height"]), int(answer["stride"])
        raw = b"".join(chunks)
        check(len(raw) >= stride * height, f"a screenshot of {len(raw)} bytes for {width} x {height}")
        return Picture(raw, width, height, stride)

    def launch(self):
        self.program_log = open(os.path.join(self.tmp, "program.log"), "w+")
        self.program = self.start([os.path.join(self.folder, "ratiscope")], stdout=self.program_log,
                                  stderr=subprocess.STDOUT)

    def do(self, *lines, pause=0.05):
        for line in lines:
            self.input.stdin.write(line + "\n")
            self.input.stdin.flush()
            check(self.input.stdout.readline().strip() == "ok", f"input {line!r} not taken")
            if pause:
                time.sleep(pause)

    def click(self, x, y):
        self.do(f"move {x} {y}", "down", "up")

    def presses(self):
        return [tuple(map(int, line.split()[1:])) for line in open(self.probe_log) if line.startswith("press")]

    def keys(self):
        return [int(line.split()[1]) for line in open(self.probe_log) if line.startswith("key")]

    def overlay_box(self, pic):
        """The bounding box of everything that is not the window beneath."""
        background = bytes(BENEATH) * pic.width
        xs, ys = [], []
        for y in range(pic.height):
            row = pic.pixels[y * pic.width * 3:(y + 1) * pic.width * 3]
            if row == background:
                continue
            first = next(x for x in range(pic.width) if row[x * 3:x * 3 + 3] != background[:3])
            last = next(x for x in reversed(range(pic.width)) if row[x * 3:x * 3 + 3] != background[:3])
            xs += [first, last]
            ys.append(y)
        return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None

    def shown_at(self, place, what=None):
        """Waits until the overlay's drawn pixels start at the place; their bounding box."""
        return wait_for(lambda: (lambda b: b if b and b[:2] == place else None)(self.overlay_box(self.screenshot())),
                        what or f"the overlay at {place}", 10.0)

    def settled(self):
        """The overlay's box once two screenshots agree."""
        last = None
        for _ in range(20):
            box = self.overlay_box(self.screenshot())
            if box == last:
                return box
            last = box
            time.sleep(0.1)
        return last

    def stop_kwin(self):
        if self.kwin and self.kwin.poll() is None:
            try:
                os.killpg(self.kwin.pid, signal.SIGTERM)
                self.kwin.wait(timeout=10)
            except (subprocess.TimeoutExpired, ProcessLookupError):
                try:
                    os.killpg(self.kwin.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                self.kwin.wait()

    def close(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        self.stop_kwin()
        shutil.rmtree(self.tmp, ignore_errors=True)


def ended(s):
    return wait_for(lambda: s.program.poll() is not None and (s.program.returncode,), "the program to end")[0]


def see_through_pixel(pic, x0, y0, w, h, beneath):
    """A pixel inside the overlay whose neighbourhood is exactly what lies beneath."""
    return next(((x, y) for y in range(y0 + 40, y0 + h - 20, 3) for x in range(x0 + 40, x0 + w - 20, 3)
                 if all(pic.at(x + dx, y + dy) == beneath(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1))),
                None)


def scenario_layer_surface(s):
    """Placement above the fullscreen native window, see-through, click-through, the caption keeping its
    clicks, the wheel, and the close button saving the place."""
    s.launch()
    x0, y0 = PLACE
    w, h = SIZE
    box = s.shown_at(PLACE, "the overlay on screen")
    check(placed(box, x0, y0, w, h), f"overlay at {box}, wanted {(x0, y0, x0 + w, y0 + h)}")
    pic = s.screenshot()
    hole = see_through_pixel(pic, x0, y0, w, h, lambda x, y: BENEATH)
    check(hole is not None, "no see-through pixel in the overlay")
    s.click(*hole)
    wait_for(lambda: hole in s.presses(), f"the click at {hole} to reach the native window")

    before = len(s.presses())
    caption = (x0 + CAPTION[0], y0 + CAPTION[1])
    check(not near(pic.at(*caption), BENEATH, 8), f"caption strip not drawn at {caption}: {pic.at(*caption)}")
    s.click(*caption)
    time.sleep(0.3)
    check(len(s.presses()) == before, "a click on the caption strip reached the window beneath")
    check(s.settled() == box, "a click on the caption strip moved the overlay")

    # One wheel notch towards the user over the overlay makes it 10 wider.
    s.do(f"move {x0 + 100} {y0 + 7}", "wheel 1")
    box = wait_for(lambda: (lambda b: b if b and b[2] - b[0] != w else None)(s.overlay_box(s.screenshot())),
                   "the wheel to resize the overlay")
    check(box[2] - box[0] == w + 10 and box[:2] == PLACE, f"after the wheel {box}, wanted width {w + 10} at {PLACE}")

    s.click(box[2] - 12 + 3, box[1] + 7)  # the close button
    check(ended(s) == 0, "exit code not 0")
    saved = settings_of(os.path.join(s.folder, SETTINGS))
    check((saved.get("X"), saved.get("Y"), saved.get("Width")) == (str(x0), str(y0), "406"),
          f"saved X, Y, Width {saved.get('X')}, {saved.get('Y')}, {saved.get('Width')}")


def drag(s, start, by, motions, pause):
    s.do(f"move {start[0]} {start[1]}", "down", pause=0.05)
    s.do(*[f"move {start[0] + by[0] * i // motions} {start[1] + by[1] * i // motions}" for i in range(1, motions + 1)],
         pause=pause)
    s.do("up")


def scenario_drag(s):
    """Caption drags of (60, 40) in 1, 2, 10 and 30 motions, 0.05 s apart (two also 0.5 s), each moving the overlay by
    exactly (60, 40); SIGTERM then saves the place it was dragged to."""
    s.launch()
    w, h = SIZE
    place = PLACE
    s.shown_at(place, "the overlay on screen")
    by = (60, 40)
    for motions, pause in ((1, 0.05), (2, 0.05), (2, 0.5), (10, 0.05), (30, 0.05)):
        drag(s, (place[0] + CAPTION[0], place[1] + CAPTION[1]), by, motions, pause)
        wanted = (place[0] + by[0], place[1] + by[1])
        box = s.settled()
        check(box is not None and placed(box, *wanted, w, h),
              f"a drag of {by} in {motions} motions ({pause} s apart) from {place} left the overlay at {box}, "
              f"wanted {wanted}")
        place = wanted
    os.kill(s.program.pid, signal.SIGTERM)
    check(ended(s) == 0, "SIGTERM: exit code not 0")
    saved = settings_of(os.path.join(s.folder, SETTINGS))
    check((saved.get("X"), saved.get("Y")) == tuple(map(str, place)),
          f"SIGTERM: saved X, Y {saved.get('X')}, {saved.get('Y')}, wanted {place}")
    check(saved.get("Width") == "396", f"SIGTERM: the file is not whole: {saved}")


def scenario_grip(s):
    """The top-left grip, dragged by (-30, -20) in 10 motions with the aspect lock off, grows the overlay by
    (30, 20) with its bottom-right corner kept; the bottom-right grip then grows it back to the right."""
    s.write_settings("Lock=0\nHeight=245\n")
    s.launch()
    x0, y0 = PLACE
    w, h = SIZE
    s.shown_at(PLACE, "the overlay on screen")
    drag(s, (x0 + 3, y0 + 3), (-30, -20), 10, 0.05)
    box = s.settled()
    check(box is not None and placed(box, x0 - 30, y0 - 20, w + 30, h + 20),
          f"after the top-left grip {box}, wanted {(x0 - 30, y0 - 20, x0 + w, y0 + h)}")
    drag(s, (x0 + w - 4, y0 + h - 4), (20, 10), 10, 0.05)
    box = s.settled()
    check(box is not None and placed(box, x0 - 30, y0 - 20, w + 50, h + 30),
          f"after the bottom-right grip {box}, wanted {(x0 - 30, y0 - 20, x0 + w + 20, y0 + h + 10)}")
    os.kill(s.program.pid, signal.SIGTERM)
    check(ended(s) == 0, "exit code not 0")
    saved = settings_of(os.path.join(s.folder, SETTINGS))
    got = tuple(saved.get(k) for k in ("X", "Y", "Width", "Height"))
    check(got == (str(x0 - 30), str(y0 - 20), "446", "275"), f"saved X, Y, Width, Height {got}")


def scenario_keys(s):
    """Keys go to the window beneath until a click on the overlay, then to the overlay, and back to the
    window beneath once the pointer has left the overlay."""
    s.launch()
    x0, y0 = PLACE
    w, h = SIZE
    s.shown_at(PLACE, "the overlay on screen")
    caption = (x0 + CAPTION[0], y0 + CAPTION[1])

    def right():
        before = len(s.keys())
        s.do(f"key {KEY_RIGHT}")
        time.sleep(0.3)
        return s.settled(), len(s.keys()) > before

    s.do(f"move {caption[0]} {caption[1]}")
    box, beneath = right()
    check(placed(box, x0, y0, w, h) and beneath, f"before a click: overlay at {box}, key reached the window "
          f"beneath: {beneath}")
    s.click(*caption)
    box, beneath = right()
    check(placed(box, x0 + 16, y0, w, h) and not beneath,
          f"after a click: overlay at {box} (wanted 16 to the right), key reached the window beneath: {beneath}")
    s.do(f"move {x0 + w + 100} {y0 + h + 100}")
    time.sleep(0.3)
    box, beneath = wait_for(lambda: (lambda r: r if r[1] else None)(right()), "a key to reach the window beneath "
                            "after the pointer left the overlay", 5.0)
    check(placed(box, x0 + 16, y0, w, h), f"after the pointer left: overlay at {box}, wanted it where it was")
    # Over the overlay again, the keys stay with the window beneath until the next click.
    s.do(f"move {caption[0] + 16} {caption[1]}")
    box, beneath = right()
    check(placed(box, x0 + 16, y0, w, h) and beneath, f"back over the overlay: overlay at {box}, key reached the "
          f"window beneath: {beneath}")
    s.click(caption[0] + 16, caption[1])
    box, beneath = right()
    check(placed(box, x0 + 32, y0, w, h) and not beneath, f"after a second click: overlay at {box}")


def scenario_xwayland(s):
    """A key pixel over an X11 window (through XWayland) passes the click to it; a drawn pixel keeps it."""
    x0, y0 = PLACE
    w, h = SIZE
    xev_log = os.path.join(s.tmp, "xev.log")
    with open(xev_log, "w") as log:
        s.start(["xev", "-event", "button", "-geometry", f"{w + 80}x{h + 80}+{x0 - 40}+{y0 - 40}"], stdout=log,
                stderr=subprocess.STDOUT)
    alone = wait_for(lambda: (lambda p: p if p.at(x0 - 20, y0 - 20) != BENEATH and
                              p.at(x0 + w + 20, y0 + h + 20) != BENEATH else None)(s.screenshot()),
                     "the X11 window where the overlay will be")
    s.launch()
    pic = wait_for(lambda: (lambda p: p if p.at(x0 + CAPTION[0], y0 + CAPTION[1]) != alone.at(
        x0 + CAPTION[0], y0 + CAPTION[1]) else None)(s.screenshot()), "the overlay on screen")

    def presses():
        return [line for line in open(xev_log, errors="replace") if line.startswith("ButtonPress")]

    hole = see_through_pixel(pic, x0, y0, w, h, alone.at)
    check(hole is not None, "no see-through pixel over the X11 window")
    s.click(*hole)
    wait_for(lambda: any(f"root:({hole[0]},{hole[1]})" in line for line in open(xev_log, errors="replace")),
             f"the click at {hole} to reach the X11 window")
    before = len(presses())
    s.click(x0 + CAPTION[0], y0 + CAPTION[1])
    time.sleep(0.5)
    check(len(presses()) == before, "a click on the caption strip reached the X11 window beneath")
    check(s.program.poll() is None, "the program ended")


def changed_box(before, after):
    """The bounding box of the pixels that differ between two screenshots."""
    xs, ys = [], []
    for y in range(after.height):
        row_a = after.pixels[y * after.width * 3:(y + 1) * after.width * 3]
        row_b = before.pixels[y * before.width * 3:(y + 1) * before.width * 3]
        if row_a == row_b:
            continue
        cells = [x for x in range(after.width) if row_a[x * 3:x * 3 + 3] != row_b[x * 3:x * 3 + 3]]
        xs += [cells[0], cells[-1]]
        ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


def scenario_x11_overlay(s):
    """The X11 overlay (RATISCOPE_OVERLAY=x11) through XWayland, its left half over an X11 window and its right
    half over the fullscreen native one: placed exactly, key pixels showing what is beneath, a click through a
    key pixel reaching the X11 window, the caption keeping its click. What KWin 5.27 does with it over native
    windows (clicks through to them, a native window in front) is printed as measured, since KWin decides it."""
    x0, y0 = PLACE
    w, h = SIZE
    half = w // 2
    xev_log = os.path.join(s.tmp, "xev.log")
    with open(xev_log, "w") as log:
        s.start(["xev", "-event", "button", "-geometry", f"{half + 40}x{h + 80}+{x0 - 40}+{y0 - 40}"], stdout=log,
                stderr=subprocess.STDOUT)
    alone = wait_for(lambda: (lambda p: p if p.at(x0 - 20, y0 - 20) != BENEATH and
                              p.at(x0 + half - 10, y0 + h + 20) != BENEATH else None)(s.screenshot()),
                     "the X11 window where the overlay will be")
    s.env["RATISCOPE_OVERLAY"] = "x11"
    s.launch()
    box = wait_for(lambda: (lambda b: b if placed(b, x0, y0, w, h) else None)(changed_box(alone, s.screenshot())),
                   f"the X11 overlay at {PLACE}, {w} x {h}", 10.0)
    pic = s.screenshot()

    def presses():
        return [line for line in open(xev_log, errors="replace") if line.startswith("ButtonPress")]

    hole = see_through_pixel(pic, x0, y0, half - 20, h, alone.at)
    check(hole is not None, f"no see-through pixel over the X11 window in the X11 overlay at {box}")
    s.click(*hole)
    wait_for(lambda: any(f"root:({hole[0]},{hole[1]})" in line for line in open(xev_log, errors="replace")),
             f"the click at {hole} to reach the X11 window")
    before = len(presses())
    s.click(x0 + CAPTION[0], y0 + CAPTION[1])
    time.sleep(0.5)
    check(len(presses()) == before, "a click on the caption strip reached the X11 window beneath")

    native_hole = see_through_pixel(pic, x0 + half - 20, y0, w - half + 20, h, lambda x, y: BENEATH)
    check(native_hole is not None, "no see-through pixel over the native window in the X11 overlay")
    s.click(*native_hole)
    time.sleep(1.0)
    print(f"measured: a click through a key pixel over the native window "
          f"{'reaches it' if native_hole in s.presses() else 'does not reach it'}")

    # A click on the fullscreen native window beside the X11 ones brings it to the front.
    native = (x0 + w + 120, y0 + h + 120)
    s.click(*native)
    wait_for(lambda: native in s.presses(), "the click to reach the native window")
    time.sleep(0.5)
    front = s.screenshot()
    shown = front.at(x0 + CAPTION[0], y0 + CAPTION[1]) == pic.at(x0 + CAPTION[0], y0 + CAPTION[1])
    print(f"measured: with the fullscreen native window in front the X11 overlay is "
          f"{'shown' if shown else 'hidden'}")
    check(s.program.poll() is None, "the program ended")


SCENARIOS = {"layer_surface": scenario_layer_surface, "drag": scenario_drag, "grip": scenario_grip,
             "keys": scenario_keys, "xwayland": scenario_xwayland,
             "x11_overlay": scenario_x11_overlay}


def main():
    if len(sys.argv) != 5 or sys.argv[4] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    if not shutil.which("kwin_wayland", path="/usr/bin:/bin"):
        print("skipped: KWin (kwin-wayland) is not installed")
        return SKIPPED
    missing = [t for t in ("dbus-run-session", "Xwayland", "xev") if not shutil.which(t, path="/usr/bin:/bin")]
    missing += ["plasma-wayland-protocols (at configure time)"] if sys.argv[3] == "none" else []
    missing += ["python3-dbus"] if dbus is None else []
    if missing:
        print(f"FAILED: KWin is installed but these tests also need: {', '.join(missing)}", file=sys.stderr)
        return 1
    s = Session(sys.argv[1], sys.argv[2], sys.argv[3])
    try:
        s.open()
        SCENARIOS[sys.argv[4]](s)
    except (Failure, subprocess.SubprocessError, OSError, dbus.DBusException) as e:
        print(f"FAILED {sys.argv[4]}: {e}", file=sys.stderr)
        for name in sorted(os.listdir(s.tmp)):
            if name.endswith(".log"):
                print(f"--- {name}\n" + open(os.path.join(s.tmp, name), errors="replace").read()[-2500:],
                      file=sys.stderr)
        return 1
    finally:
        s.close()
    print(f"passed {sys.argv[4]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
