#!/usr/bin/env python3
"""The settings panel's keyboard and wheel on a real X server (Xvfb with
openbox): the wheel goes to the focused control wherever the pointer is, Tab
stops only where a control shows the focus, and Ctrl+Tab, Ctrl+Shift+Tab,
Ctrl+PageDown and Ctrl+PageUp turn the pages from any control; a figure of
one's own is reached with Enter and picked from the look list; named set-ups
are saved on the Main page and restored with Ctrl+1 and Ctrl+2.
Usage: panel_input_e2e.py PROGRAM_FOLDER SCENARIO."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import run_scenario, LINES, Failure, check, find_pixels, wait_for  # noqa: E402
from panel_e2e import SHOWN, launch_panel, region, show_page, tab_height  # noqa: E402

PAGES = ("Main", "Look", "Colors", "Advanced")


def settings_after_close(s):
    """Closes the program with the overlay's close button; the settings it wrote."""
    x, y, w, _, _ = s.geometry()
    s.run("xdotool", "mousemove", str(x + w - 12 + 3), str(y + 7), "click", "1")
    wait_for(lambda: s.program.poll() is not None, "the program to end")
    path = os.path.join(s.tmp, f"program-{s.launches}", "Ratiscope.user.settings")
    with open(path, encoding="utf-8", errors="replace") as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)


def page_area(x, y, w, h):
    """The rectangle of the panel below its tab rows."""
    top = y + 16 + 6 + tab_height(h, 1.0) + 4
    return x + 4, top, x + w - 4, y + h - 4


def wheel_over(s, box, step=7):
    """One wheel notch down at points down the middle and the left of the box, in one xdotool run."""
    x0, y0, x1, y1 = box
    argv = ["xdotool"]
    for px in (x0 + 40, (x0 + x1) // 2 + 20):
        for py in range(y0, y1, step):
            argv += ["mousemove", str(px), str(py), "click", "5"]
    s.run(*argv)


def scenario_wheel(s, folder):
    """With the focus on the tab row, the wheel over every page changes no
    setting; with the focus in the lines colour list, the wheel over the
    opacity track bar changes the lines colour, not the opacity."""
    window, (x, y, w, h) = launch_panel(s, folder, SHOWN)
    ox, oy, ow, oh, _ = wait_for(lambda: s.geometry() if s.geometry()[2] == 420 else None, "the overlay")
    overlay = (ox, oy + 16, ox + ow, oy + oh)
    wait_for(lambda: find_pixels(s.screenshot(), overlay, LINES), "the overlay's lines")
    area = page_area(x, y, w, h)
    for index in range(4):
        show_page(s, x, y, index)  # the click on the first tab leaves the focus on the tab row
        time.sleep(0.2)
        wheel_over(s, area)
    time.sleep(0.3)
    opacity = s.alpha()
    check(opacity == 230, f"the wheel over the pages changed the overlay's alpha to {opacity}")
    check(find_pixels(s.screenshot(), overlay, LINES), "the wheel over the pages changed the lines colour")

    show_page(s, x, y, 2)  # Colors
    time.sleep(0.2)
    s.run("xdotool", "key", "Tab")  # into the lines colour list, the page's first control
    time.sleep(0.2)
    wheel_over(s, (area[0], (area[1] + area[3]) // 2, area[2], area[3]), step=40)  # the lower half: the track bar
    wait_for(lambda: not find_pixels(s.screenshot(), overlay, LINES), "the focused lines colour list to take the wheel")
    check(s.alpha() == 230, f"the wheel reached the track bar under the pointer: alpha {s.alpha()}")
    values = settings_after_close(s)
    for key, wanted in (("LookMode", "1"), ("OrientMode", "0"), ("Opacity", "90"), ("Lang", "English")):
        check(values.get(key) == wanted, f"{key} is {values.get(key)} after the wheel, wanted {wanted}")


def scenario_tab_stops(s, folder):
    """Every Tab stop on every page shows the focus somewhere: the page area
    never looks as it does with no control focused (the panel inactive)."""
    window, (x, y, w, h) = launch_panel(s, folder, SHOWN)
    area = (x, y + 16, x + w, y + h)  # the caption strip's title changes with activation
    for index in range(4):
        show_page(s, x, y, index)
        s.run("xdotool", "mousemove", str(x + w + 40), str(y + h // 2))  # no hover light anywhere
        s.run("xdotool", "mousemove", "500", "248", "click", "1")  # the overlay takes the activation
        wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(s.window)), "the overlay to be active")
        s.run("xdotool", "mousemove", str(x + w + 40), str(y + h // 2))
        time.sleep(0.4)
        unfocused = region(s.screenshot(), area)
        s.run("xdotool", "windowactivate", "--sync", window)
        time.sleep(0.3)
        seen = []
        for stop in range(14):  # more than any page has stops: every one is visited
            s.run("xdotool", "key", "Tab")
            time.sleep(0.25)
            picture = region(s.screenshot(), area)
            check(picture != unfocused, f"{PAGES[index]} page: Tab stop {stop + 1} shows no focus")
            seen.append(picture)
        check(len({bytes(b for p in pic for b in p) for pic in seen}) > 2, f"{PAGES[index]} page: Tab does not move")


def scenario_page_keys(s, folder):
    """Ctrl+Tab and Ctrl+PageDown go to the next page, Ctrl+Shift+Tab and
    Ctrl+PageUp to the one before, round the ends, from a control inside a page."""
    window, (x, y, w, h) = launch_panel(s, folder, SHOWN)
    left, top, right, _ = page_area(x, y, w, h)
    area = (left, top, right, top + 16)  # each page's heading row, which never shows the focus
    pictures = []
    for index in range(4):
        show_page(s, x, y, index)
        s.run("xdotool", "mousemove", str(x + w + 40), str(y + h // 2))
        time.sleep(0.3)
        pictures.append(region(s.screenshot(), area))

    def page_shown():
        picture = region(s.screenshot(), area)
        return next((i for i, p in enumerate(pictures) if p == picture), None)

    show_page(s, x, y, 1)  # Look
    s.run("xdotool", "key", "Tab")  # into the page: its first control has the focus
    steps = (("ctrl+Tab", 2), ("ctrl+Next", 3), ("ctrl+Tab", 0), ("ctrl+shift+Tab", 3), ("ctrl+Prior", 2),
             ("ctrl+Prior", 1), ("ctrl+Prior", 0), ("ctrl+shift+Tab", 3))
    for key, wanted in steps:
        s.run("xdotool", "key", key)
        wait_for(lambda: page_shown() == wanted, f"{key} to show the {PAGES[wanted]} page")
    s.run("xdotool", "key", "Tab")  # from the tab row into the page again
    s.run("xdotool", "key", "ctrl+Next")
    wait_for(lambda: page_shown() == 0, "Ctrl+PageDown from a control of the Advanced page to show the Main page")
    values = settings_after_close(s)
    check(values.get("SPage") == "0", f"SPage {values.get('SPage')} after the page keys, wanted 0 (Main)")
    check(values.get("LookMode") == "1", f"a page key changed the look to {values.get('LookMode')}")


# A figure of one's own (two lines a quarter in from the sides) and one with a
# mistake, which the look list leaves out.
OWN_FIGURES = {"Mine.figure": "name Mine\nvline 1/4\nvline 3/4\n", "Broken.figure": "vline 2\n"}


def scenario_own_figure(s, folder):
    """Enter goes from the last cycled look to a figure of one's own and on to
    the first look; the panel's look list offers the figure after the built-in
    looks, says why the broken file is missing, and the choice is kept."""
    window, (x, y, w, h) = launch_panel(s, folder, dict(SHOWN, LookMode=13), OWN_FIGURES)
    left, top = 300 + 12, 240 + 12 + 16  # the section's origin corner: X, Y, the border, the caption
    probe_y = top + 60
    mine = (left + 99, left + 297)  # 396 / 4 and 3 x 396 / 4

    def shows(xs):
        return lambda: (lambda p: p if all(p.at(px, probe_y) == LINES for px in xs) else None)(s.screenshot())

    overlay_box = (300, 240 + 16, 300 + 420, 240 + 285)
    wait_for(lambda: find_pixels(s.screenshot(), overlay_box, LINES), "look 13's lines")
    s.run("xdotool", "mousemove", "500", "248", "click", "1")  # the overlay takes the keys
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(s.window)), "the overlay to be active")
    s.run("xdotool", "key", "Return")
    wait_for(shows(mine), "Enter to draw the figure of one's own")
    s.run("xdotool", "key", "Return")
    wait_for(shows([left + 8, left + 16]), "Enter to go on from the last figure to the grid")

    page_left, page_top, _, _ = page_area(x, y, w, h)
    show_page(s, x, y, 1)  # Look
    time.sleep(0.3)
    problems = (page_left + 8, page_top + 318, page_left + 150, page_top + 362)
    dark = [p for p in region(s.screenshot(), problems) if max(p) < 0x80]
    check(len(dark) > 20, "the Look page does not say why Broken.figure is missing")
    s.run("xdotool", "mousemove", str(page_left + 80), str(page_top + 197), "click", "1")  # opens the look list
    time.sleep(0.4)
    s.run("xdotool", "key", "End")  # Mine is last: the broken file is not listed
    s.run("xdotool", "key", "Return")
    wait_for(shows(mine), "picking Mine in the look list to draw it")
    values = settings_after_close(s)
    check(values.get("Figure") == "Mine.figure", f"the figure kept is {values.get('Figure')!r}")
    check(values.get("LookMode") == "0", f"the look to return to is {values.get('LookMode')!r}")


def scenario_setups(s, folder):
    """Two set-ups saved on the Main page come back with Ctrl+1 and Ctrl+2 on
    the overlay, and the settings file keeps them in their own section."""
    window, (x, y, w, h) = launch_panel(s, folder, dict(SHOWN, LookMode=0, GridSize=8))
    left, top = 300 + 12, 240 + 12 + 16
    probe_y = top + 61  # between the grid's rows of either step

    def grid(step):
        def drawn():
            p = s.screenshot()
            lines = [p.at(left + k * step, probe_y) == LINES for k in (1, 2, 3)]
            between = p.at(left + step // 2 + 1, probe_y) == LINES
            return p if all(lines) and not between else None
        return drawn

    def activate_overlay():
        s.run("xdotool", "mousemove", "500", "248", "click", "1")
        wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(s.window)),
                 "the overlay to be active")

    page_left, page_top, _, _ = page_area(x, y, w, h)

    def save_as(name):
        show_page(s, x, y, 0)  # Main
        s.run("xdotool", "mousemove", str(page_left + 40), str(page_top + 270), "click", "1")
        s.run("xdotool", "key", "ctrl+a")
        s.run("xdotool", "type", "--delay", "30", name)
        s.run("xdotool", "mousemove", str(page_left + 45), str(page_top + 295), "click", "1")  # Save

    wait_for(grid(8), "the grid of step 8")
    save_as("Fine")
    activate_overlay()
    s.run("xdotool", "key", "shift+KP_Add")  # the grid step + 16
    wait_for(grid(24), "Shift+keypad plus to make the step 24")
    save_as("Coarse")
    activate_overlay()
    s.run("xdotool", "key", "ctrl+1")
    wait_for(grid(8), "Ctrl+1 to bring back the step of Fine")
    s.run("xdotool", "key", "ctrl+2")
    wait_for(grid(24), "Ctrl+2 to bring back the step of Coarse")
    s.run("xdotool", "key", "ctrl+1")
    wait_for(grid(8), "Ctrl+1 to bring back Fine again")
    path = os.path.join(s.tmp, f"program-{s.launches}", "Ratiscope.user.settings")
    settings_after_close(s)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    check("[Setups]" in text, "no set-ups section in the settings file")
    setups = dict(line.strip().split("=", 1) for line in text.split("[Setups]", 1)[1].splitlines() if "=" in line)
    check(setups.get("1.Name") == "Fine" and setups.get("1.GridSize") == "8", f"set-up 1 is {setups}")
    check(setups.get("2.Name") == "Coarse" and setups.get("2.GridSize") == "24", f"set-up 2 is {setups}")


SCENARIOS = {
    "wheel": scenario_wheel,
    "setups": scenario_setups,
    "own_figure": scenario_own_figure,
    "tab_stops": scenario_tab_stops,
    "page_keys": scenario_page_keys,
}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, name = sys.argv[1], sys.argv[2]
    return run_scenario(f"panel input {name}", lambda s: s.open(1280, 1024, False), SCENARIOS[name], folder,
                        (Failure, subprocess.SubprocessError))


if __name__ == "__main__":
    sys.exit(main())
