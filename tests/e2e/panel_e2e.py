#!/usr/bin/env python3
"""The settings panel of the running program on a real X server (Xvfb with
openbox, as the overlay's scenarios run it): its place, caption strip and
shaped ends, a DPI change, F2, changes reaching the other window at once,
dragging and the close button. Usage: panel_e2e.py PROGRAM_FOLDER SCENARIO
[SHOT.png] (the "pages" scenario writes the four pages side by side to SHOT)."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import run_scenario, BENEATH, DEFAULTS, LINES, Failure, check, drag, find_pixels, wait_for  # noqa: E402

PANEL_NAME = "^Vendrel Ratiscope Settings$"
STRIP = (0xEC, 0xEC, 0xEC)  # the band of the caption strip
STRIP_EDGE = (0xC4, 0xC4, 0xC4)  # its bottom row
LIME = (0, 255, 0)
SX, SY = 800, 100
SHOWN = dict(DEFAULTS, SVisible=1, SX=SX, SY=SY, SPage=0)


def panel_id(s, visible=True):
    argv = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", PANEL_NAME]
    ids = s.out(argv).split()
    return ids[0] if ids else None


def panel_geometry(s, window):
    values = {}
    for line in s.out(["xwininfo", "-id", window]).splitlines():
        if ":" in line:
            k, v = line.strip().split(":", 1)
            values[k] = v.strip()
    if "Width" not in values:
        return None
    return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]), int(values["Width"]),
            int(values["Height"]))


def is_viewable(s, window):
    return "IsViewable" in s.out(["xwininfo", "-id", window])


def tab_height(h, dpi_scale):
    """The tab height the window height was made from: 5 tabs + 320 scaled."""
    rest = h - round(320 * dpi_scale)
    check(rest > 0 and rest % 5 == 0, f"height {h} is not 5 tab heights + {round(320 * dpi_scale)}")
    return rest // 5


def region(pic, box):
    x0, y0, x1, y1 = box
    return [pic.at(x, y) for y in range(y0, y1) for x in range(x0, x1)]


def launch_panel(s, folder, settings, figures=None):
    s.launch(folder, settings, figures)
    window = wait_for(lambda: panel_id(s), "the panel window")
    geometry = wait_for(lambda: (lambda g: g if g and g[2] > 1 else None)(panel_geometry(s, window)), "its size")
    # The window manager is done with a window once it has stated its place
    # in the stacking; a resize requested before that may have it placed anew.
    wait_for(lambda: "_NET_WM_STATE_ABOVE" in s.out(["xprop", "-id", window, "_NET_WM_STATE"]),
             "the window manager to manage the panel")
    return window, geometry



def strip_checks(s, x, y, w):
    pic = wait_for(lambda: (lambda p: p if p.at(x + 60, y + 1) == STRIP else None)(s.screenshot()),
                   "the caption strip on screen")
    # The shaped ends let the window beneath show through.
    for px, py in ((x, y), (x + 1, y), (x + w - 1, y), (x + w - 2, y), (x + w - 1, y + 15)):
        check(pic.at(px, py) == BENEATH, f"the strip's shaped end at {(px - x, py - y)} is not see-through")
    check(pic.at(x + 60, y + 15) == STRIP_EDGE, "the strip's bottom edge is not at row 15")
    check(pic.at(x + 60, y + 16) != STRIP_EDGE, "the strip is higher than 16 rows")
    # The title: grey text pixels between the left corner and the buttons.
    title = [p for p in region(pic, (x + 14, y + 2, x + w - 37, y + 14)) if max(p) < 0xD0]
    check(len(title) > 10, "no title text in the caption strip")
    # The controls below the strip are shown and take clicks.
    check(pic.at(x + 1, y + 200) != BENEATH, "the panel below the strip is see-through")
    return pic


def scenario_window(s, folder):
    """At SX, SY with its caption strip, shaped ends and controls; not click-through."""
    window, (x, y, w, h) = launch_panel(s, folder, SHOWN)
    check((x, y, w) == (SX, SY, 175), f"panel at {(x, y)} width {w}, wanted {(SX, SY)} width 175")
    t = tab_height(h, 1.0)
    check(12 <= t <= 40, f"tab height {t}")
    check("_NET_WM_STATE_ABOVE" in s.out(["xprop", "-id", window, "_NET_WM_STATE"]), "panel not above")
    strip_checks(s, x, y, w)
    before = s.clicks_beneath()
    s.run("xdotool", "mousemove", str(x + w // 2), str(y + h - 20), "click", "1")
    s.run("xdotool", "mousemove", "5", "1000", "click", "1")  # a marker click that does reach xev
    wait_for(lambda: s.clicks_beneath() >= before + 1, "the marker click")
    check(s.clicks_beneath() == before + 1, "a click on the panel's page went through to the window beneath")


def scenario_dpi(s, folder):
    """A DPI change from 96 to 144 rescales every size; the strip stays 16 high."""
    conf = os.path.join(s.tmp, "xsettingsd.conf")
    with open(conf, "w") as f:
        f.write("Xft/DPI 98304\n")
    daemon = s.start(["xsettingsd", "-c", conf])
    time.sleep(0.3)
    window, (x, y, w, h) = launch_panel(s, folder, SHOWN)
    check(w == 175, f"width {w} at 96 dpi")
    t96 = tab_height(h, 1.0)
    with open(conf, "w") as f:
        f.write("Xft/DPI 147456\n")
    daemon.send_signal(1)  # SIGHUP: read the file again and announce the change
    x, y, w, h = wait_for(lambda: (lambda g: g if g[2] == 263 else None)(panel_geometry(s, window)),
                          "the panel to become 263 wide at 144 dpi")
    t144 = tab_height(h, 1.5)
    check(t144 > t96, f"tabs {t144} high at 144 dpi, {t96} at 96")
    check((x, y) == (SX, SY), f"the rescale moved the panel to {(x, y)}")
    strip_checks(s, x, y, w)


def activate_overlay(s):
    s.run("xdotool", "mousemove", "500", "248", "click", "1")
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(s.window)), "the overlay to be active")


def scenario_f2(s, folder):
    """F2 on the overlay shows the panel in front; F2 again (now on the panel) hides it."""
    s.launch(folder, dict(SHOWN, SVisible=0))
    # The panel's X window is made only when it is first shown; a panel shown
    # by mistake would show by now.
    time.sleep(0.5)
    check(panel_id(s) is None, "the panel shows although SVisible is 0")
    activate_overlay(s)
    s.run("xdotool", "key", "F2")
    window = wait_for(lambda: panel_id(s), "F2 to show the panel")
    check(panel_geometry(s, window)[:2] == (SX, SY), "the panel did not show at its own place")
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(window)), "the panel to come to the front")
    s.run("xdotool", "key", "F2")
    wait_for(lambda: not is_viewable(s, window), "F2 on the panel to hide it")
    activate_overlay(s)
    s.run("xdotool", "key", "F2")
    wait_for(lambda: is_viewable(s, window), "F2 on the overlay to show it again")


def show_page(s, x, y, index):
    """Clicks the first tab (always at the left of the top row), then steps to
    the page with the arrow keys, which the focused tab control takes."""
    s.run("xdotool", "mousemove", str(x + 12), str(y + 16 + 12), "click", "1")
    for _ in range(index):
        s.run("xdotool", "key", "Right")


def scenario_live(s, folder):
    """A colour chosen in the panel shows on the overlay at once; a wheel step on
    the overlay shows in the panel's size field at once."""
    window, (x, y, w, h) = launch_panel(s, folder, SHOWN)
    ox, oy, ow, oh, _ = wait_for(lambda: s.geometry() if s.geometry()[2] == 420 else None, "the overlay")
    overlay_box = (ox, oy + 16, ox + ow, oy + oh)
    wait_for(lambda: find_pixels(s.screenshot(), overlay_box, LINES), "the overlay's lines")

    show_page(s, x, y, 2)  # Colors
    time.sleep(0.3)
    # The lines colour list is the page's first control: open it from the keyboard and pick Lime.
    s.run("xdotool", "key", "Tab")
    s.run("xdotool", "key", "End")  # Medium Gray, the last entry
    for _ in range(9):
        s.run("xdotool", "key", "Up")  # back to Lime
    pic = wait_for(lambda: (lambda p: p if find_pixels(p, overlay_box, LIME) else None)(s.screenshot()),
                   "the overlay's lines to turn lime")
    check(not find_pixels(pic, overlay_box, LINES), "lines in the old colour remain on the overlay")

    show_page(s, x, y, 1)  # Look
    time.sleep(0.3)
    field = (x + 8, y + 16 + 40, x + w - 8, y + 16 + 130)  # the snap group with the size field
    first = region(s.screenshot(), field)
    s.run("xdotool", "mousemove", str(ox + 200), str(oy + 8), "click", "4")
    wait_for(lambda: s.geometry()[2] == ow - 10, "the wheel to narrow the overlay")
    wait_for(lambda: region(s.screenshot(), field) != first, "the size field to change with the wheel")
    s.run("xdotool", "click", "5")
    wait_for(lambda: s.geometry()[2] == ow, "the wheel to widen it back")
    wait_for(lambda: region(s.screenshot(), field) == first, "the size field to show the first width again")


def scenario_drag(s, folder):
    """Dragging the caption strip moves the panel; the close hot spot hides it."""
    window, (x, y, w, h) = launch_panel(s, folder, SHOWN)
    drag(s, x + 60, y + 8, x + 60 - 200, y + 8 + 50)
    wait_for(lambda: panel_geometry(s, window)[:2] == (x - 200, y + 50), "the drag to move the panel by (-200, 50)")
    x, y = x - 200, y + 50
    s.run("xdotool", "mousemove", str(x + w - 12 + 3), str(y + 7))
    time.sleep(0.2)
    pic = s.screenshot()
    check(pic.at(x + w - 11, y + 4) == (255, 0, 0), "the close button does not light up red under the mouse")
    s.run("xdotool", "mousedown", "1")
    time.sleep(0.2)
    check(is_viewable(s, window), "the panel hid on the press; it hides on the release")
    s.run("xdotool", "mouseup", "1")
    wait_for(lambda: not is_viewable(s, window), "the close button to hide the panel")
    check(s.program.poll() is None, "closing the panel ended the program")


def scenario_pages(s, folder):
    """The four pages in a row, written to the picture named on the command line."""
    window, (x, y, w, h) = launch_panel(s, folder, SHOWN)
    shots = []
    for index in range(4):
        show_page(s, x, y, index)
        s.run("xdotool", "mousemove", str(x + w + 40), str(y + h // 2))  # no hover highlight in the picture
        time.sleep(0.5)
        path = os.path.join(s.tmp, f"page{index}.png")
        s.run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", path)
        shots.append(path)
    check(len({open(p, "rb").read() for p in shots}) == 4, "two pages look the same")
    if len(sys.argv) > 3:
        s.run("convert", *shots, "-background", "white", "-splice", "8x0", "+append", "-chop", "8x0", sys.argv[3])


SCENARIOS = {
    "window": scenario_window,
    "dpi": scenario_dpi,
    "f2": scenario_f2,
    "live": scenario_live,
    "drag": scenario_drag,
    "pages": scenario_pages,
}


def main():
    if len(sys.argv) not in (3, 4) or sys.argv[2] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, name = sys.argv[1], sys.argv[2]
    return run_scenario(f"panel {name}", lambda s: s.open(1280, 1024, False), SCENARIOS[name], folder,
                        (Failure, subprocess.SubprocessError))


if __name__ == "__main__":
    sys.exit(main())
