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
from harness import (LINES, KEY, Failure, Session, check, drag,  # noqa: E402
                     drawn_pixel_takes_click, find_pixels, open_beneath, run_scenario, settings_of, wait_for,
                     write_settings)

TITLE = "^Vendrel Ratiscope$"
SETTINGS = "Ratiscope.user.settings"
SCREEN = (1280, 1024)
DEFAULTS = {"X": 300, "Y": 240, "Width": 396, "Border": 12, "Opacity": 90, "SVisible": 0}
SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts")
WINE_COMMAND = os.path.join(SCRIPTS, "wine-command.sh")
WINE_PREFIX = os.path.join(SCRIPTS, "lib", "wine-prefix.sh")


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
        # Made once, by the first scenario, as every prefix of the tests is;
        # later ones find it ready.
        subprocess.run(["bash", WINE_PREFIX, self.prefix], env=self.wine_env(), stdout=subprocess.DEVNULL,
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


def launch(s, folder, settings, figures=None):
    """`figures` maps names to texts of figure files in the copy's Figures
    folder, which is also the user's for a copy that is not installed."""
    program = s.copy_program(folder)
    if settings is not None:
        write_settings(os.path.join(program, SETTINGS), settings, newline="\r\n")
    if figures:
        os.makedirs(os.path.join(program, "Figures"), exist_ok=True)
        for name, text in figures.items():
            with open(os.path.join(program, "Figures", name), "w", encoding="utf-8", newline="\r\n") as f:
                f.write(text)
    s.start_program(os.path.join(program, "ratiscope.exe"))
    return program


def sized(s, width):
    return wait_for(lambda: (lambda g: g if g[2] == width else None)(s.geometry()), f"a window {width} wide")


def take_keyboard(s):
    """Clicks the caption, which activates the overlay in Windows' terms. Wine
    does not move the X keyboard focus to the popup on a click, so
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


def grid_drawn(s, step):
    """The overlay's grid of `step` on screen, from its window's place."""
    x0, y0, _, _, _ = s.geometry()
    left, probe_y = x0 + 12, y0 + 16 + 12 + 61  # between the rows of the steps used

    def drawn():
        p = s.screenshot()
        lines = [p.at(left + k * step, probe_y) == LINES for k in (1, 2, 3)]
        return p if all(lines) and p.at(left + step // 2 + 1, probe_y) != LINES else None
    return drawn


def scenario_setups(s, folder):
    """Two set-ups saved on the panel's Main page come back with Ctrl+1 and
    Ctrl+2 on the overlay; the settings file keeps them in their own section."""
    program = launch(s, folder, dict(PANEL_SHOWN, LookMode=0, GridSize=8))
    sized(s, 420)
    window, (x, y, _, _) = panel(s)

    def save_as(name):
        # The Main page's four buttons, then the set-ups' name box; Tab again is Save.
        panel_keys(s, window, x, y, *["Tab"] * 5)
        s.run("xdotool", "key", "ctrl+a")
        s.run("xdotool", "type", "--delay", "30", name)
        s.run("xdotool", "key", "Tab", "space")

    wait_for(grid_drawn(s, 8), "the grid of step 8", limit=30)
    save_as("Fine")
    take_keyboard(s)
    s.run("xdotool", "key", "shift+KP_Add")
    wait_for(grid_drawn(s, 24), "Shift+keypad plus to make the step 24")
    save_as("Coarse")
    take_keyboard(s)
    for key, step in (("ctrl+1", 8), ("ctrl+2", 24), ("ctrl+1", 8)):
        s.run("xdotool", "key", key)
        wait_for(grid_drawn(s, step), f"{key} to bring back the step {step}")
    close_button(s)
    check(s.ended() == 0, "the program did not end cleanly")
    with open(os.path.join(program, SETTINGS), encoding="utf-8") as f:
        text = f.read()
    check("[Setups]" in text, "no set-ups section in the settings file")
    setups = dict(line.strip().split("=", 1) for line in text.split("[Setups]", 1)[1].splitlines() if "=" in line)
    check(setups.get("1.Name") == "Fine" and setups.get("1.GridSize") == "8", f"set-up 1 is {setups}")
    check(setups.get("2.Name") == "Coarse" and setups.get("2.GridSize") == "24", f"set-up 2 is {setups}")


def scenario_own_figure(s, folder):
    """Enter goes from the last cycled look on to a figure of one's own from
    the Figures folder, leaving out one with a mistake, and the choice is kept."""
    figures = {"Mine.figure": "name Mine\nvline 1/4\nvline 3/4\n", "Broken.figure": "vline 2\n"}
    program = launch(s, folder, dict(DEFAULTS, LookMode=13), figures)
    x0, y0, _, _, _ = sized(s, 420)
    left, probe_y = x0 + 12, y0 + 16 + 12 + 60
    mine = (left + 99, left + 297)
    take_keyboard(s)
    s.run("xdotool", "key", "Return")
    wait_for(lambda: all(s.screenshot().at(px, probe_y) == LINES for px in mine), "Enter to draw the own figure")
    close_button(s)
    check(s.ended() == 0, "the program did not end cleanly")
    saved = settings_of(os.path.join(program, SETTINGS))
    check(saved.get("Figure") == "Mine.figure", f"saved Figure {saved.get('Figure')!r}, wanted Mine.figure")


NEAR_KEY = (254, 0, 253)  # the key's nearest other colour, drawn for a figure in the key


def scenario_key_coloured_lines(s, folder):
    """Lines chosen in the key colour are drawn in its nearest other colour:
    the figure stays on screen and takes clicks, and the file keeps the choice."""
    program = launch(s, folder, dict(DEFAULTS, LinesColor=16646398))
    x, y, w, h, _ = sized(s, 420)
    body = (x + 12, y + 28, x + w - 24, y + h - 24)
    pic = wait_for(lambda: (lambda p: p if find_pixels(p, body, NEAR_KEY) else None)(s.screenshot()),
                   "the figure drawn one step off the key colour")
    check(not find_pixels(pic, (x, y, x + w, y + h), KEY), "key-coloured pixels are on screen")
    lines = find_pixels(pic, body, NEAR_KEY)
    drawn_pixel_takes_click(s, lines[len(lines) // 2], open_beneath(pic, body))
    close_button(s)
    check(s.ended() == 0, "the program did not end cleanly")
    saved = settings_of(os.path.join(program, SETTINGS))
    check(saved.get("LinesColor") == "16646398", f"saved LinesColor {saved.get('LinesColor')}, wanted the choice kept")


def scenario_buttons_on_screen(s, folder):
    """A border or a place no screen can show still brings the overlay up with
    its caption and buttons on the screen, and its close button ends the program."""
    for settings in ({"Border": 99999, "X": 200, "Y": 200, "SVisible": 0},
                     {"X": 5000, "Y": 3000, "SVisible": 0}):
        launch(s, folder, settings)
        x, y, w, h, _ = wait_for(s.geometry, "the overlay's place")
        check(0 <= x and x + w <= SCREEN[0] and 0 <= y and y + 16 <= SCREEN[1],
              f"the overlay at {(x, y, w, h)} has its caption or buttons off the {SCREEN} screen ({settings})")
        close_button(s)
        check(s.ended() == 0, f"the close button did not end the program ({settings})")


def scenario_restore_defaults(s, folder):
    """Restore defaults with a wide border sizes the window for the default border at once."""
    program = launch(s, folder, dict(PANEL_SHOWN, Border=200))
    sized(s, 396 + 400)
    window, (x, y, _, _) = panel(s)
    # Main to Advanced, then the option list and the restore button.
    panel_keys(s, window, x, y, "Right", "Right", "Right", "Tab", "Tab", "space")
    sized(s, 420)
    check(s.geometry()[3] == 285, f"the window is {s.geometry()[2:4]} after restoring, wanted 420 x 285")
    close_button(s)
    check(s.ended() == 0, "the program did not end cleanly")
    check(settings_of(os.path.join(program, SETTINGS)).get("Border") == "12", "the default border was not saved")


def set_dpi(s, dpi):
    """The screen's DPI as the display settings set it, for programs started afterwards."""
    for key in (r"HKCU\Control Panel\Desktop", r"HKCU\Software\Wine\Fonts"):
        subprocess.run(wine("reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"),
                       env=s.wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    subprocess.run(["wineserver", "-w"], env=s.wine_env(), timeout=120)


COLOR_DIALOG_TITLE = "^Color$"
LINES_COLOR_LIST = (85, 90)  # the middle of the Colors page's lines colour list, in the panel at 96 dpi
CUSTOM_ENTRY = (85, 108)  # the open list's first entry, "Custom...", just below it


def color_dialogs(s):
    return s.out(["xdotool", "search", "--onlyvisible", "--name", COLOR_DIALOG_TITLE]).split()


def scenario_color_dialog(s, folder):
    """"Custom..." in the lines colour list opens the colour dialog once; after its OK no second one follows."""
    launch(s, folder, dict(PANEL_SHOWN, SPage=3))
    sized(s, 420)
    _, (x, y, _, _) = panel(s)
    time.sleep(1)
    s.run("xdotool", "mousemove", str(x + LINES_COLOR_LIST[0]), str(y + LINES_COLOR_LIST[1]), "click", "1")
    time.sleep(0.5)
    s.run("xdotool", "mousemove", str(x + CUSTOM_ENTRY[0]), str(y + CUSTOM_ENTRY[1]), "click", "1")
    dialog = wait_for(lambda: color_dialogs(s), "the colour dialog")
    time.sleep(1)
    check(len(color_dialogs(s)) == 1, f"{len(color_dialogs(s))} colour dialogs open for one choice")
    s.run("xdotool", "windowfocus", dialog[0])
    s.run("xdotool", "key", "Return")
    wait_for(lambda: not color_dialogs(s), "the colour dialog to close")
    time.sleep(3)  # a second dialog, where one follows, opens at once
    check(not color_dialogs(s), "a second colour dialog opened after the first one's OK")
    close_button(s)
    check(s.ended() == 0, "the program did not end cleanly")


def scale(v, dpi):
    return int(v * dpi / 96 + 0.5)


def panel_room_at(s, folder, dpi, settings):
    """The panel at `dpi`: wholly on the screen, with room for its tab rows
    above the page (each row at least as high as the scaled font)."""
    set_dpi(s, dpi)
    try:
        launch(s, folder, settings)
        _, (x, y, w, h) = panel(s)
        check(w == scale(175, dpi), f"the panel is {w} wide at {dpi} dpi, wanted {scale(175, dpi)}")
        least = scale(320, dpi) + 5 * scale(14, dpi)
        check(h >= least, f"the panel is {h} high at {dpi} dpi: no room for its tab rows (at least {least})")
        check(0 <= x and x + w <= SCREEN[0] and 0 <= y and y + h <= SCREEN[1],
              f"the panel at {(x, y, w, h)} is not wholly on the {SCREEN} screen at {dpi} dpi")
        close_button(s)
        check(s.ended() == 0, "the program did not end cleanly")
    finally:
        set_dpi(s, 96)


def scenario_panel_room(s, folder):
    """At 96 dpi, the stored place; at 144 dpi, a first start."""
    panel_room_at(s, folder, 96, dict(PANEL_SHOWN, SPage=2))
    panel_room_at(s, folder, 144, None)


def lnk_working_folder(path):
    """The working folder a shell link (.lnk) starts its program in, or None."""
    with open(path, "rb") as f:
        data = f.read()
    flags = int.from_bytes(data[0x14:0x18], "little")
    pos = 0x4C
    if flags & 0x01:  # a list of item identifiers
        pos += 2 + int.from_bytes(data[pos:pos + 2], "little")
    if flags & 0x02:  # link information
        pos += int.from_bytes(data[pos:pos + 4], "little")
    unicode = bool(flags & 0x80)
    for bit in (0x04, 0x08, 0x10):  # name, relative path, working folder
        if not flags & bit:
            if bit == 0x10:
                return None
            continue
        count = int.from_bytes(data[pos:pos + 2], "little")
        size = count * 2 if unicode else count
        text = data[pos + 2:pos + 2 + size].decode("utf-16-le" if unicode else "latin-1")
        pos += 2 + size
        if bit == 0x10:
            return text
    return None


def registry_value(s, key, name):
    """A value of the prefix's machine registry as its file writes it, or None."""
    with open(os.path.join(s.prefix, "system.reg"), encoding="utf-8", errors="replace") as f:
        text = f.read()
    wanted = "[" + key.replace("\\", "\\\\") + "]"
    start = text.lower().find(wanted.lower())
    if start < 0:
        return None
    section = text[start:text.find("\n[", start + 1)]
    for line in section.splitlines():
        if line.lower().startswith(f'"{name.lower()}"='):
            return line.split("=", 1)[1]
    return None


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
    working = (lnk_working_folder(shortcut) or "").rstrip("\\").lower()
    check(working.endswith(os.path.join("vendrel", "ratiscope").replace("/", "\\")),
          f"the shortcut starts in {working!r}, not the program's folder")
    size = registry_value(s, r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Vendrel Ratiscope",
                          "EstimatedSize")
    check(size is not None and size.startswith("dword:") and int(size[6:], 16) > 100,
          f"the uninstall entry's EstimatedSize is {size}")
    with open(os.path.join(target, "Manual", "index.html"), encoding="utf-8") as f:
        manual = f.read()
    check("%APPDATA%" in manual and "Uninstall.exe" in manual, "the installed manual does not tell Windows' folders")
    for linux_word in ("XDG_CONFIG_HOME", "cmake --install", "Wayland"):
        check(linux_word not in manual, f"the installed manual speaks of {linux_word}")

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


def scenario_uninstall_by_hand(s, folder, packages):
    """The uninstaller run by a user, with its pages: the program it starts for
    the farewell page ends before its files go, so nothing is left behind."""
    setups = [n for n in os.listdir(packages) if n.endswith("-setup.exe")]
    check(setups, "no installer in " + packages)
    bits = 64 if "win64" in setups[0] else 32
    env = s.wine_env()
    subprocess.run(wine(os.path.join(packages, setups[0]), "/S"), env=env, timeout=300,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env, timeout=300)
    target = installed_folder(s, bits)
    check(os.path.exists(os.path.join(target, "ratiscope.exe")), "the installer did not install")
    # The program's farewell page goes nowhere in the test.
    env = dict(env, BROWSER="true")
    s.procs.append(subprocess.Popen(wine(os.path.join(target, "Uninstall.exe")), env=env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))

    def uninstaller():
        return s.out(["xdotool", "search", "--onlyvisible", "--name", "Uninstall"]).split()

    # The confirmation page's default button starts the removal.
    page = wait_for(uninstaller, "the uninstaller's confirmation page", limit=60)[0]
    s.run("xdotool", "windowactivate", "--sync", page)
    s.run("xdotool", "key", "--window", page, "Return")
    # Removing the folder is its last step; a file it could not delete keeps the folder.
    try:
        wait_for(lambda: not os.path.exists(target), "the uninstaller to remove the program folder", limit=90)
    except Failure:
        pass
    left = [os.path.relpath(os.path.join(d, n), target) for d, _, names in os.walk(target) for n in names]
    check(not left, f"the uninstaller left {left} in {target}")
    check(not os.path.exists(target), "the program folder is left after uninstalling")


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
    "uninstall_by_hand": (scenario_uninstall_by_hand, False),
    "key_coloured_lines": (scenario_key_coloured_lines, False),
    "buttons_on_screen": (scenario_buttons_on_screen, False),
    "color_dialog": (scenario_color_dialog, False),
    "restore_defaults": (scenario_restore_defaults, False),
    "panel_room": (scenario_panel_room, False),
    "setups": (scenario_setups, False),
    "own_figure": (scenario_own_figure, False),
}


PACKAGE_SCENARIOS = ("installer", "uninstall_by_hand")


def main():
    if len(sys.argv) not in (4, 5) or sys.argv[3] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, prefix, name = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    packages = sys.argv[4] if len(sys.argv) == 5 else None
    scenario, compositor = SCENARIOS[name]
    run = (lambda s, f: scenario(s, f, packages)) if name in PACKAGE_SCENARIOS else scenario

    def open_session(s):
        s.open(SCREEN[0], SCREEN[1], compositor)
        s.prepare_prefix()

    return run_scenario(name, open_session, run, folder, make_session=lambda: WineSession(prefix))


if __name__ == "__main__":
    sys.exit(main())
