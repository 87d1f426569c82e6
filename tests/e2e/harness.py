"""What the end-to-end drivers on a real X server share: a session of its own
Xvfb on a free display with openbox (stacking, activation and minimising need
a window manager), optionally picom, and a window beneath that counts clicks;
the program started from a private folder with its own settings file; window
queries, screenshots and the probes the scenarios judge by, and the runner
that reports a failed scenario with the end of the program's log."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

LINES = (255, 64, 64)  # the default lines colour
KEY = (254, 0, 254)
BENEATH = (255, 255, 255)  # xev's window, which lies under the overlay
OPACITY_MAX = 0xFFFFFFFF
# The settings most scenarios start from: the overlay at (300, 240), 420 x 285
# with its border and caption, the panel hidden.
DEFAULTS = {"X": 300, "Y": 240, "Width": 396, "Border": 12, "Opacity": 90, "SVisible": 0}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, what, limit=20.0):
    """Polls until the condition holds; the limit only keeps a broken run from hanging."""
    end = time.monotonic() + limit
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("gave up waiting for " + what)
        time.sleep(0.05)


def settings_of(path):
    """The keys and values of a settings file, as text."""
    with open(path, encoding="utf-8", errors="replace") as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)


def write_settings(path, settings, newline=None):
    """A settings file of one section; Windows programs get newline="\\r\\n"."""
    with open(path, "w", newline=newline) as f:
        f.write("[Settings]\n" + "".join(f"{k}={v}\n" for k, v in settings.items()))


class Session:
    """One X server with a window manager, and everything started on it."""

    def __init__(self):
        self.procs = []
        self.xev_log = None
        self.program = None
        self.program_log = None
        self.launches = 0
        self.tmp = tempfile.mkdtemp(prefix="ratiscope-e2e-")

    def start_server(self, width, height, depth=24):
        """Xvfb on a free display, which it names through a pipe; the
        session's programs run on it, away from the caller's desktop."""
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x{depth}", "-nolisten", "tcp",
             "-noreset"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(xvfb)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        check(number, "Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=":" + number, XDG_RUNTIME_DIR=self.tmp, HOME=self.tmp,
                        XDG_CONFIG_HOME=os.path.join(self.tmp, "config"))
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)

    def open(self, width, height, compositor, depth=24):
        """The server with a window manager (and a compositor when asked) and
        a window beneath everything that counts the clicks it gets."""
        self.start_server(width, height, depth)
        # A window beneath that reports every click it gets. It is up before
        # the window manager, which then manages it while starting; that it
        # shows in the manager's client list tells the manager is ready.
        self.xev_log = open(os.path.join(self.tmp, "xev.log"), "w+")
        xev = self.start(["stdbuf", "-oL", "xev", "-geometry", f"{width}x{height}+0+0", "-event", "button"],
                         stdout=self.xev_log, stderr=subprocess.STDOUT)
        xev_window = wait_for(lambda: self.out(["xdotool", "search", "--onlyvisible", "--name", "^Event Tester$"]) or
                              (xev.poll() is not None and self.fail_with_log(self.xev_log, "xev ended")), "xev")
        xev_window = int(xev_window.split()[0])
        self.start(["openbox", "--sm-disable"])
        wait_for(lambda: f"{xev_window:#x}" in self.out(["xprop", "-root", "_NET_CLIENT_LIST"]), "openbox")
        if compositor:
            self.start(["picom", "--backend", "xrender", "--config", "/dev/null"])
            # picom's own window is the owner of the compositing selection.
            wait_for(lambda: self.out(["xdotool", "search", "--name", "^picom$"]), "picom")

    @staticmethod
    def fail_with_log(log, message):
        log.flush()
        log.seek(0)
        raise Failure(message + ": " + log.read()[-2000:])

    def start(self, argv, **kw):
        kw.setdefault("stdout", subprocess.DEVNULL)
        kw.setdefault("stderr", subprocess.DEVNULL)
        p = subprocess.Popen(argv, env=self.env, **kw)
        self.procs.append(p)
        return p

    def out(self, argv):
        r = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=30)
        return r.stdout

    def run(self, *argv):
        subprocess.run(list(argv), env=self.env, check=True, timeout=30, stdout=subprocess.DEVNULL)

    def close(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.send_signal(signal.SIGTERM)
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        for log in (self.xev_log, self.program_log):
            if log:
                log.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    # The program, run from a folder of its own so its settings file is private.
    def launch(self, program_folder, settings, figures=None):
        """`figures` maps file names to the texts of figure files the copy
        finds in its Figures folder, its own and (as it is not installed) the
        user's at once."""
        self.launches += 1
        folder = os.path.join(self.tmp, f"program-{self.launches}")
        os.mkdir(folder)
        for name in ("ratiscope", "English.lng"):
            source = os.path.join(program_folder, name)
            try:
                os.link(source, os.path.join(folder, name))
            except OSError:
                shutil.copy2(source, os.path.join(folder, name))
        write_settings(os.path.join(folder, "Ratiscope.user.settings"), settings)
        if figures:
            os.mkdir(os.path.join(folder, "Figures"))
            for name, text in figures.items():
                with open(os.path.join(folder, "Figures", name), "w", encoding="utf-8") as f:
                    f.write(text)
        env = dict(self.env)
        # Qt and the X libraries keep allocations to the end by design; the
        # unit tests check our own code for leaks.
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
        self.program_log = open(os.path.join(self.tmp, "program.log"), "w+")
        self.program = subprocess.Popen([os.path.join(folder, "ratiscope")], env=env, stdout=self.program_log,
                                        stderr=subprocess.STDOUT)
        self.procs.append(self.program)
        self.window = wait_for(lambda: self.out(["xdotool", "search", "--onlyvisible", "--name",
                                                 "^Vendrel Ratiscope$"]).split(), "the overlay window")[0]
        return self.window

    def geometry(self):
        info = self.out(["xwininfo", "-id", self.window])
        values = {}
        for line in info.splitlines():
            if ":" in line:
                k, v = line.strip().split(":", 1)
                values[k] = v.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]), int(values["Depth"]))

    def opacity(self):
        text = self.out(["xprop", "-id", self.window, "_NET_WM_WINDOW_OPACITY"])
        if "=" not in text:
            return None
        return int(text.split("=")[1].strip())

    def alpha(self):
        """The alpha a compositor takes from the opacity property."""
        o = self.opacity()
        return 255 if o is None else o * 255 // OPACITY_MAX

    def screenshot(self):
        path = os.path.join(self.tmp, "shot.ppm")
        self.run("import", "-window", "root", "-depth", "8", path)
        return Picture(path)

    def clicks_beneath(self):
        self.xev_log.flush()
        with open(self.xev_log.name) as f:
            return f.read().count("ButtonPress event")


class Picture:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        parts = []
        pos = 0
        while len(parts) < 4:  # magic, width, height, maximum
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            parts.append(data[pos:end])
            pos = end
        check(parts[0] == b"P6" and parts[3] == b"255", "unexpected screenshot format")
        self.width, self.height = int(parts[1]), int(parts[2])
        self.pixels = data[pos + 1:]

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


def near(a, b, tolerance=3):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def find_pixels(pic, box, colour, tolerance=0):
    x0, y0, x1, y1 = box
    return [(x, y) for y in range(y0, y1) for x in range(x0, x1) if near(pic.at(x, y), colour, tolerance)]


def open_beneath(pic, box):
    """A point of the box that shows the window beneath, with every neighbour doing the same."""
    x0, y0, x1, y1 = box
    for y in range(y0 + 2, y1 - 2, 3):
        for x in range(x0 + 2, x1 - 2, 3):
            if all(pic.at(x + dx, y + dy) == BENEATH for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                return x, y
    raise Failure("no see-through pixel in the overlay")


def window_ids(s, name, visible=True):
    """The windows whose title matches the pattern, the shown ones only unless told."""
    return s.out(["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name]).split()


def client_geometry(s, window):
    """Left, top, width and height of a window's client area on the screen."""
    info = s.out(["xwininfo", "-id", str(window)])
    values = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
    return tuple(int(values[k].strip()) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def drag(s, x0, y0, x1, y1, button=1):
    s.run("xdotool", "mousemove", str(x0), str(y0), "mousedown", str(button))
    s.run("xdotool", "mousemove", str((x0 + x1) // 2), str((y0 + y1) // 2))
    s.run("xdotool", "mousemove", str(x1), str(y1), "mouseup", str(button))


def drawn_pixel_takes_click(s, drawn, hole):
    """A click on a drawn pixel stays with the overlay, so the window beneath counts none."""
    before = s.clicks_beneath()
    s.run("xdotool", "mousemove", str(drawn[0]), str(drawn[1]), "click", "1")
    # A click through the key colour right after proves the first one was
    # delivered and did not reach the window beneath.
    s.run("xdotool", "mousemove", str(hole[0]), str(hole[1]), "click", "1")
    wait_for(lambda: s.clicks_beneath() >= before + 1, "the second click")
    check(s.clicks_beneath() == before + 1, "a click on a drawn line went through the overlay")


def run_scenario(label, open_session, scenario, folder, errors=(Failure,), make_session=None):
    """Runs one scenario in a fresh session (a Session, or what make_session
    makes); a failure prints the end of the program's log."""
    session = make_session() if make_session else Session()
    try:
        open_session(session)
        scenario(session, folder)
    except errors as e:
        print(f"FAILED {label}: {e}", file=sys.stderr)
        if session.program_log:
            session.program_log.flush()
            session.program_log.seek(0)
            print(session.program_log.read()[-3000:], file=sys.stderr)
        return 1
    finally:
        session.close()
    print(f"passed {label}")
    return 0
