#!/usr/bin/env python3
"""The Windows program under Wine on a real X server (Xvfb, openbox, picom for
alpha), driven by xdotool and judged by screenshots, window properties and the
settings file, with the same scenario runner as the Linux drivers. Each
scenario starts its own server; all of them share one Wine prefix, one at a
time, and stop its wineserver at the end. Usage:
wine_e2e.py PROGRAM_FOLDER WINE_PREFIX SCENARIO [PACKAGE_FOLDER]."""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from overlay_e2e import (BENEATH, LINES, KEY, OPACITY_MAX, Failure, Session, check, drag,  # noqa: E402
                         drawn_pixel_takes_click, find_pixels, open_beneath, run_scenario, settings_of, wait_for,
                         write_settings)

TITLE = "^Vendrel Ratiscope$"
SETTINGS = "Ratiscope.user.settings"
SCREEN = (1280, 1024)
DEFAULTS = {"X": 300, "Y": 240, "Width": 396, "Border": 12, "Opacity": 90, "SVisible": 0}
WINE_COMMAND = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "wine-command.sh")


def wine(executable, *arguments):
    """The command line that runs a Windows program under Wine, so that it
    starts every time and the process started is the program itself."""
    command = subprocess.run(["bash", WINE_COMMAND, executable], capture_output=True, text=True, check=True)
    return [*command.stdout.splitlines(), executable, *arguments]


class WineSession(Session):
    """A Session whose program is a Windows program run by Wine."""

    def __init__(self, prefix):
        super().__init__()
        self.prefix = prefix

    def wine_env(self):
        env = dict(self.env, WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        return env

    def prepare_prefix(self):
        # Made once, by the first scenario; later ones find it ready.
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            subprocess.run(wine("wineboot", "--init"), env=self.wine_env(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=300)
        subprocess.run(["wineserver", "-w"], env=self.wine_env(), timeout=300)

    def close(self):
        # The prefix's server goes with the scenario, so the next one starts on its own display.
        subprocess.run(["wineserver", "-k"], env=self.wine_env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        super().close()

    def copy_program(self, source):
        folder = os.path.join(self.tmp, "program")
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(source):
            if name in ("ratiscope.exe", "ratiscope-export.exe") or name.endswith(".lng"):
                shutil.copy2(os.path.join(source, name), os.path.join(folder, name))
        return folder

    def start_program(self, executable, *arguments):
        self.program_log = open(os.path.join(self.tmp, "program.log"), "w+")
        self.program = subprocess.Popen(wine(executable, *arguments), env=self.wine_env(),
                                        stdout=self.program_log, stderr=subprocess.STDOUT)
        self.procs.append(self.program)
        self.window = wait_for(lambda: self.overlay_window(), "the overlay window", limit=60)
        return self.window

    def overlay_window(self):
        for window in self.out(["xdotool", "search", "--onlyvisible", "--name", TITLE]).split():
            info = self.out(["xwininfo", "-id", window])
            if "Map State: IsViewable" in info:
                return window
        return None

    def ended(self, limit=30):
        return wait_for(lambda: self.program.poll() is not None and (self.program.returncode,), "the program to end",
                        limit)[0]


def launch(s, folder, settings):
    program = s.copy_program(folder)
    if settings is not None:
        write_settings(os.path.join(program, SETTINGS), settings, newline="\r\n")
    s.start_program(os.path.join(program, "ratiscope.exe"))
    return program


def sized(s, width):
    return wait_for(lambda: (lambda g: g if g[2] == width else None)(s.geometry()), f"a window {width} wide")


def take_keyboard(s):
    """Clicks the caption, which activates the overlay in Windows' terms. Wine
    does not move the X keyboard focus to an unmanaged popup on a click, so
    the focus is also given the way a window manager would."""
    x, y, _, _, _ = s.geometry()
    s.run("xdotool", "mousemove", str(x + 200), str(y + 8), "click", "1")
    s.run("xdotool", "windowfocus", s.window)


def close_button(s):
    x, y, w, _, _ = s.geometry()
    s.run("xdotool", "mousemove", str(x + w - 12 + 3), str(y + 7), "click", "1")


# Scenarios ------------------------------------------------------------------

def scenario_first_start(s, folder):
    """No settings file: the first start's place and client size."""
    launch(s, folder, None)
    x, y, w, h, _ = sized(s, 420)
    check((x, y, w, h) == (300, 240, 420, 285), f"window at {(x, y, w, h)}, wanted (300, 240, 420, 285)")


def scenario_click_through(s, folder):
    """A key pixel shows what lies beneath and passes the click; a drawn pixel takes it."""
    launch(s, folder, DEFAULTS)
    x, y, w, h, _ = sized(s, 420)
    pic = wait_for(lambda: (lambda p: p if find_pixels(p, (x, y + 16, x + w, y + h), LINES, 40) else None)(
        s.screenshot()), "the figure on screen")
    body = (x + 12, y + 28, x + w - 24, y + h - 24)
    check(not find_pixels(pic, (x, y, x + w, y + h), KEY), "key-coloured pixels are on screen")
    hx, hy = open_beneath(pic, body)
    before = s.clicks_beneath()
    s.run("xdotool", "mousemove", str(hx), str(hy), "click", "1")
    wait_for(lambda: s.clicks_beneath() == before + 1, "the click through the key colour to reach the window beneath")
    lines = find_pixels(pic, body, LINES)
    check(lines, "no drawn line pixel shows the lines colour")
    drawn_pixel_takes_click(s, lines[len(lines) // 2], (hx, hy))


def scenario_alpha_and_peek(s, folder):
    """With a compositor: the window's alpha blends the lines; F3 held hides the overlay."""
    launch(s, folder, DEFAULTS)
    x, y, w, h, _ = sized(s, 420)
    wait_for(lambda: s.alpha() == 230, "alpha 230 for opacity 90")
    blended = tuple(round((c * 230 + 255 * 25) / 255) for c in LINES)
    body = (x + 12, y + 28, x + w - 24, y + h - 24)
    wait_for(lambda: find_pixels(s.screenshot(), body, blended, 4), "the lines blended over the window beneath")
    take_keyboard(s)
    s.run("xdotool", "keydown", "F3")
    wait_for(lambda: s.alpha() == 0, "F3 to hide the overlay")
    s.run("xdotool", "keyup", "F3")
    wait_for(lambda: s.alpha() == 230, "the overlay to come back on release")


def scenario_mouse(s, folder):
    """Caption drag moves; the wheel changes the size by 10."""
    launch(s, folder, DEFAULTS)
    sized(s, 420)
    drag(s, 300 + 100, 240 + 8, 300 + 100 - 60, 240 + 8 + 40)
    wait_for(lambda: s.geometry()[:2] == (240, 280), "the caption drag to move the window to (240, 280)")
    x, y, _, _, _ = s.geometry()
    s.run("xdotool", "mousemove", str(x + 200), str(y + 8), "click", "4")
    wait_for(lambda: s.geometry()[2] == 410, "the wheel to make the window 10 narrower")
    s.run("xdotool", "click", "5")
    wait_for(lambda: s.geometry()[2] == 420, "the wheel to make it 10 wider again")


def scenario_keys(s, folder):
    """Arrows move by 16 and by 1 with Ctrl."""
    launch(s, folder, DEFAULTS)
    sized(s, 420)
    take_keyboard(s)
    s.run("xdotool", "key", "Right")
    wait_for(lambda: s.geometry()[:2] == (316, 240), "Right to move by 16")
    s.run("xdotool", "key", "ctrl+Down")
    wait_for(lambda: s.geometry()[:2] == (316, 241), "Ctrl+Down to move by 1")


def scenario_places_kept(s, folder):
    """The close button saves X and Y into the settings file; the next start restores them."""
    program = launch(s, folder, DEFAULTS)
    sized(s, 420)
    drag(s, 300 + 100, 240 + 8, 300 + 100 + 50, 240 + 8 + 30)
    wait_for(lambda: s.geometry()[:2] == (350, 270), "the caption drag to move the window to (350, 270)")
    close_button(s)
    check(s.ended() == 0, "the program did not end cleanly")
    saved = settings_of(os.path.join(program, SETTINGS))
    check((saved.get("X"), saved.get("Y")) == ("350", "270"), f"saved X, Y {saved.get('X')}, {saved.get('Y')}")
    s.start_program(os.path.join(program, "ratiscope.exe"))
    wait_for(lambda: s.geometry()[:2] == (350, 270), "the next start at (350, 270)")


PANEL_TITLE = "^Vendrel Ratiscope Settings$"
PANEL_SHOWN = dict(DEFAULTS, SVisible=1, SX=820, SY=120, SPage=0)


def panel(s):
    """The panel's window and its place and size."""
    window = wait_for(lambda: s.out(["xdotool", "search", "--onlyvisible", "--name", PANEL_TITLE]).split(),
                      "the panel")[0]
    info = dict(line.strip().split(":", 1) for line in s.out(["xwininfo", "-id", window]).splitlines() if ":" in line)
    return window, tuple(int(info[k].strip()) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width",
                                                          "Height"))


def panel_keys(s, window, x, y, *keys):
    """Clicks the tab at the left of the row next to the caption, gives the
    panel the keyboard focus as a window manager would, steps back to the first
    tab (Main; rows move, so the clicked one is not known), and presses the keys."""
    s.run("xdotool", "mousemove", str(x + 12), str(y + 16 + 12), "click", "1")
    s.run("xdotool", "windowfocus", window)
    for key in ("Left", "Left", "Left", *keys):
        s.run("xdotool", "key", key)


def scenario_panel_page(s, folder):
    """A page switch in the panel is what the close button saves."""
    program = launch(s, folder, PANEL_SHOWN)
    sized(s, 420)
    window, (x, y, _, _) = panel(s)
    check((x, y) == (820, 120), f"panel at {(x, y)}, wanted (820, 120)")
    panel_keys(s, window, x, y)
    time.sleep(1)
    main_page = s.screenshot()
    s.run("xdotool", "key", "Right")  # Main to Look
    wait_for(lambda: s.screenshot().pixels != main_page.pixels, "the Look page to show")
    close_button(s)
    check(s.ended() == 0, "the program did not end cleanly")
    saved = settings_of(os.path.join(program, SETTINGS))
    check(saved.get("SPage") == "2" and saved.get("SVisible") == "1", f"saved SPage {saved.get('SPage')}, "
          f"SVisible {saved.get('SVisible')}; wanted the Look page (2), shown")


def scenario_panel_language(s, folder):
    """The language list on the Advanced page switches the texts; the choice is saved."""
    program = launch(s, folder, PANEL_SHOWN)
    x0, y0, w0, _, _ = sized(s, 420)
    window, (x, y, _, _) = panel(s)
    caption = (x0 + 16, y0, x0 + w0 - 64, y0 + 16)
    before = s.screenshot()
    # Main to Advanced, then the option list, the restore button and the language list.
    panel_keys(s, window, x, y, "Right", "Right", "Right", "Tab", "Tab", "Tab", "Home")
    wait_for(lambda: any(s.screenshot().at(px, py) != before.at(px, py) for px in range(caption[0], caption[2], 2)
                         for py in range(caption[1] + 3, caption[3] - 3)),
             "the overlay's caption to change with the language")
    close_button(s)
    check(s.ended() == 0, "the program did not end cleanly")
    saved = settings_of(os.path.join(program, SETTINGS))
    check(saved.get("Lang") == "Deutsch", f"saved Lang {saved.get('Lang')}, wanted Deutsch")


def installed_folder(s, bits):
    drive_c = os.path.join(s.prefix, "drive_c")
    return os.path.join(drive_c, "Program Files" if bits == 64 else "Program Files (x86)", "Vendrel", "Ratiscope")


def user_settings(s):
    users = os.path.join(s.prefix, "drive_c", "users")
    user = os.environ.get("USER") or os.environ.get("LOGNAME") or "root"
    for name in (user, *os.listdir(users)):
        path = os.path.join(users, name, "AppData", "Roaming", "Vendrel", "Ratiscope", SETTINGS)
        if os.path.exists(path):
            return path
    return None


def scenario_installer(s, folder, packages):
    """The installer, run silently, installs everything; the installed program
    finds its languages and saves into the user's application data folder;
    Uninstall.exe removes the programs and leaves the settings."""
    setups = [n for n in os.listdir(packages) if n.endswith("-setup.exe")]
    check(setups, "no installer in " + packages)
    bits = 64 if "win64" in setups[0] else 32
    env = s.wine_env()
    subprocess.run(wine(os.path.join(packages, setups[0]), "/S"), env=env, timeout=300,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env, timeout=300)
    target = installed_folder(s, bits)
    expected = ["ratiscope.exe", "ratiscope-export.exe", "Uninstall.exe", "English.lng", "Deutsch.lng",
                "Español.lng", "Français.lng", "Русский.lng", os.path.join("Manual", "index.html")]
    for name in expected:
        check(os.path.exists(os.path.join(target, name)), f"{name} is not installed in {target}")
    shortcut = os.path.join(s.prefix, "drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                            "Vendrel", "Ratiscope.lnk")
    check(os.path.exists(shortcut), "no Start-menu shortcut")

    # The installed export tool finds the languages in its own folder.
    checked = subprocess.run(wine(os.path.join(target, "ratiscope-export.exe"), "--check-language", "Deutsch"),
                             env=env, capture_output=True, timeout=120)
    check(checked.returncode == 0, "the installed tool did not find Deutsch.lng: " + checked.stderr.decode()[-500:])

    # The installed program saves into the user's application data folder, not its own.
    s.start_program(os.path.join(target, "ratiscope.exe"))
    sized(s, 420)
    close_button(s)
    check(s.ended() == 0, "the installed program did not end cleanly")
    saved = user_settings(s)
    check(saved is not None, "no settings file in the user's application data folder")
    check(not os.path.exists(os.path.join(target, SETTINGS)), "the installed program saved into its own folder")

    subprocess.run(wine(os.path.join(target, "Uninstall.exe"), "/S"), env=env, timeout=300,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: not os.path.exists(os.path.join(target, "ratiscope.exe")), "the uninstaller", limit=120)
    subprocess.run(["wineserver", "-w"], env=env, timeout=300)
    for name in expected:
        check(not os.path.exists(os.path.join(target, name)), f"{name} is left after uninstalling")
    check(not os.path.exists(target), "the program folder is left after uninstalling")
    check(not os.path.exists(shortcut), "the Start-menu shortcut is left after uninstalling")
    check(os.path.exists(saved), "uninstalling took the user's settings")


SCENARIOS = {
    "first_start": (scenario_first_start, False),
    "click_through": (scenario_click_through, False),
    "alpha_and_peek": (scenario_alpha_and_peek, True),
    "mouse": (scenario_mouse, False),
    "keys": (scenario_keys, False),
    "places_kept": (scenario_places_kept, False),
    "panel_page": (scenario_panel_page, False),
    "panel_language": (scenario_panel_language, False),
    "installer": (scenario_installer, False),
}


def main():
    if len(sys.argv) not in (4, 5) or sys.argv[3] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, prefix, name = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    packages = sys.argv[4] if len(sys.argv) == 5 else None
    scenario, compositor = SCENARIOS[name]
    run = (lambda s, f: scenario(s, f, packages)) if name == "installer" else scenario

    def open_session(s):
        s.open(SCREEN[0], SCREEN[1], compositor)
        s.prepare_prefix()

    return run_scenario(name, open_session, run, folder, make_session=lambda: WineSession(prefix))


if __name__ == "__main__":
    sys.exit(main())
