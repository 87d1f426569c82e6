#!/usr/bin/env python3
"""The overlay program on a real X server: each scenario starts its own Xvfb on
a free display, openbox, optionally picom, then the program from a private
folder with its own settings file (see harness.py), acts with xdotool and
judges from screenshots and window queries.
Usage: overlay_e2e.py PROGRAM_FOLDER SCENARIO."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (BENEATH, DEFAULTS, KEY, LINES, check, client_geometry, drag,  # noqa: E402
                     drawn_pixel_takes_click, find_pixels, open_beneath, run_scenario, wait_for, window_ids)


# Scenarios ------------------------------------------------------------------

def scenario_window(s, folder):
    """Place, size, "above", opacity, and the close button ending the program."""
    s.launch(folder, DEFAULTS)
    x, y, w, h, depth = wait_for(lambda: s.geometry() if s.geometry()[2] == 420 else None, "the client size")
    check((x, y, w, h) == (300, 240, 420, 285), f"window at {(x, y, w, h)}, wanted (300, 240, 420, 285)")
    check("_NET_WM_STATE_ABOVE" in s.out(["xprop", "-id", s.window, "_NET_WM_STATE"]), "window not above")
    check(s.alpha() == 230, f"alpha {s.alpha()} for opacity 90, wanted 230")
    s.run("xdotool", "mousemove", str(x + w - 12 + 3), str(y + 7), "click", "1")
    code = wait_for(lambda: s.program.poll() is not None and (s.program.returncode,), "the program to end")[0]
    check(code == 0, f"exit code {code}")


def scenario_opacity_extremes(s, folder):
    s.launch(folder, dict(DEFAULTS, Opacity=100))
    wait_for(lambda: s.geometry()[2] == 420, "the window")
    check(s.alpha() == 255, "opacity 100 must leave the window opaque")
    s.program.terminate()
    s.program.wait(timeout=10)
    s.launch(folder, dict(DEFAULTS, Opacity=50))
    wait_for(lambda: s.geometry()[2] == 420, "the window")
    check(s.alpha() == 128, f"alpha {s.alpha()} for opacity 50, wanted 128")


def click_through_checks(s, compositor, width=420):
    x, y, w, h, depth = wait_for(lambda: s.geometry() if s.geometry()[2] == width else None, "the window")
    check(depth == (32 if compositor else 24), f"window depth {depth}")
    pic = wait_for(lambda: (lambda p: p if find_pixels(p, (x, y + 16, x + w, y + h), LINES, 40) else None)(
        s.screenshot()), "the figure on screen")
    body = (x + 12, y + 28, x + w - 24, y + h - 24)
    check(not find_pixels(pic, (x, y, x + w, y + h), KEY), "key-coloured pixels are on screen")
    hx, hy = open_beneath(pic, body)
    before = s.clicks_beneath()
    s.run("xdotool", "mousemove", str(hx), str(hy), "click", "1")
    wait_for(lambda: s.clicks_beneath() == before + 1, "the click through the key colour to reach the window beneath")

    if compositor:
        # Lines over white at alpha 230 of 255.
        blended = tuple(round((c * 230 + 255 * 25) / 255) for c in LINES)
        lines = find_pixels(pic, body, blended, 4)
    else:
        lines = find_pixels(pic, body, LINES)
    check(lines, "no drawn line pixel shows the lines colour" + (" blended" if compositor else ""))
    drawn_pixel_takes_click(s, lines[len(lines) // 2], (hx, hy))


def scenario_click_through(s, folder):
    s.launch(folder, DEFAULTS)
    click_through_checks(s, compositor=False)


def scenario_composited(s, folder):
    s.launch(folder, DEFAULTS)
    click_through_checks(s, compositor=True)
    # A resize reshapes the window; the key colour must stay click-through.
    x, y, w, h, _ = s.geometry()
    s.run("xdotool", "mousemove", str(x + 200), str(y + 8), "click", "4")
    wait_for(lambda: s.geometry()[2] == w - 10, "the wheel to make the window 10 narrower")
    click_through_checks(s, compositor=True, width=w - 10)


def scenario_mouse(s, folder):
    """Caption drag moves, grip drag resizes, the wheel changes the size by 10."""
    s.launch(folder, DEFAULTS)
    wait_for(lambda: s.geometry()[2] == 420, "the window")
    drag(s, 300 + 100, 240 + 8, 300 + 100 - 60, 240 + 8 + 40)
    wait_for(lambda: s.geometry()[:2] == (240, 280), "the caption drag to move the window to (240, 280)")
    x, y, w, h, _ = s.geometry()
    drag(s, x + w - 8, y + h - 8, x + w - 8 + 30, y + h - 8 + 5)
    # The lock is on with the width leading: Width 426, Height round(426 x ratio) = 263.
    wait_for(lambda: s.geometry()[:4] == (x, y, 450, 303), "the grip drag to resize to 450 x 303")
    s.run("xdotool", "mousemove", str(x + 200), str(y + 8), "click", "4")
    wait_for(lambda: s.geometry()[2] == 440, "the wheel to make the window 10 narrower")
    s.run("xdotool", "click", "5")
    wait_for(lambda: s.geometry()[2] == 450, "the wheel to make it 10 wider again")


def scenario_keys(s, folder):
    """Arrows move by 16 and by 1 with Ctrl; F3 hides while held."""
    s.launch(folder, DEFAULTS)
    wait_for(lambda: s.geometry()[2] == 420, "the window")
    s.run("xdotool", "mousemove", "500", "248", "click", "1")  # activates the overlay through its caption
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(s.window)), "the overlay to be active")
    s.run("xdotool", "key", "Right")
    wait_for(lambda: s.geometry()[:2] == (316, 240), "Right to move by 16")
    s.run("xdotool", "key", "ctrl+Down")
    wait_for(lambda: s.geometry()[:2] == (316, 241), "Ctrl+Down to move by 1")
    s.run("xdotool", "keydown", "F3")
    wait_for(lambda: s.alpha() == 0, "F3 to hide the overlay")
    s.run("xdotool", "keyup", "F3")
    wait_for(lambda: s.alpha() == 230, "the overlay to come back on release")
    s.run("xdotool", "key", "KP_Add")
    wait_for(lambda: s.geometry()[2] == 436, "keypad plus to widen by 16")
    s.run("xdotool", "key", "plus")
    s.run("xdotool", "key", "Left")  # a marker: once it moved, the plus before it was handled
    wait_for(lambda: s.geometry()[0] == 300, "Left to move back")
    check(s.geometry()[2] == 436, "the main keyboard's plus must not resize")


def scenario_full_screen_grid(s, folder):
    """A full-screen pixel grid of size 3 has far more shape rectangles than a region request can carry."""
    settings = dict(DEFAULTS, X=0, Y=0, Border=0, Width=800, Ratio=0.73, LookMode=0, GridSize=3, ShowValues=0)
    s.launch(folder, settings)
    x, y, w, h, _ = wait_for(lambda: s.geometry() if s.geometry()[2] == 800 else None, "the full-screen window",
                             limit=60)
    check((w, h) == (800, 600), f"client {w} x {h}, wanted 800 x 600")
    pic = wait_for(lambda: (lambda p: p if len(find_pixels(p, (0, 100, 800, 110), LINES)) > 1000 else None)(
        s.screenshot()), "the grid on screen", limit=60)
    see_through = find_pixels(pic, (0, 100, 800, 110), BENEATH)
    check(len(see_through) > 1000, "the cells of the grid must show the window beneath")


def drawing_rect(s):
    """The overlay's drawing rectangle: inside the border, below the caption strip."""
    x, y, w, h, _ = s.geometry()
    border = DEFAULTS["Border"]
    return x + border, y + border + 16, w - 2 * border, h - 2 * border - 16


def half(v):
    """Halving that truncates toward zero, as the program centres."""
    return int(v / 2)


def start_target(s):
    """A decorated window of known client geometry, above the full-screen xev and under the overlay's centre."""
    s.start(["xev", "-geometry", "520x310+380+300", "-name", "Fit Target", "-event", "button"])
    target = int(wait_for(lambda: s.out(["xdotool", "search", "--onlyvisible", "--name", "^Fit Target$"]).split(),
                          "the target window")[0])
    wait_for(lambda: f"{target:#x}" in s.out(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"]), "openbox to manage it")
    extents = s.out(["xprop", "-id", str(target), "_NET_FRAME_EXTENTS"])
    check("=" in extents and extents.split("=")[1].strip() != "0, 0, 0, 0", "the target has no frame: " + extents)
    return target


def fit_with(s, folder, settings):
    s.launch(folder, dict(settings, Height=245))  # 396 x 245 whichever side leads
    wait_for(lambda: s.geometry()[2] == 420, "the window")
    s.run("xdotool", "mousemove", "500", "248", "click", "1")  # activates the overlay through its caption
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(s.window)), "the overlay to be active")
    s.run("xdotool", "key", "F5")


def scenario_fit(s, folder):
    """F5 makes the drawing rectangle the client area of the window beneath (Lock off), or centres the figure on it
    with the leading side taken from it (Lock on)."""
    target = start_target(s)
    tx, ty, tw, th = client_geometry(s, target)
    fit_with(s, folder, dict(DEFAULTS, Lock=0))
    wait_for(lambda: drawing_rect(s) == (tx, ty, tw, th),
             f"the drawing rectangle to cover the client area {(tx, ty, tw, th)}, last {drawing_rect(s)}")
    s.program.terminate()
    s.program.wait(timeout=10)

    golden = 0.6180339887498949
    for lock_width in (1, 0):
        fit_with(s, folder, dict(DEFAULTS, Lock=1, LockWidth=lock_width))
        if lock_width:
            w, h = tw, round(tw * golden)
        else:
            w, h = round(th / golden), th
        want = (tx + half(tw - w), ty + half(th - h), w, h)
        wait_for(lambda: drawing_rect(s) == want,
                 f"lock on, width leading {lock_width}: the figure {want} centred on the client area, "
                 f"last {drawing_rect(s)}")
        s.program.terminate()
        s.program.wait(timeout=10)


def visible(s, title):
    return window_ids(s, f"^{title}$")


def toggle_from_elsewhere(s, other, overlay_at, panel_at, panel_window):
    s.run("xdotool", "windowactivate", "--sync", str(other))
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(other), "the other window to be active")
    s.run("xdotool", "key", "ctrl+alt+g")
    wait_for(lambda: not visible(s, "Vendrel Ratiscope") and not visible(s, "Vendrel Ratiscope Settings"),
             "the hotkey to hide both windows")
    s.run("xdotool", "key", "ctrl+alt+g")
    wait_for(lambda: visible(s, "Vendrel Ratiscope") and visible(s, "Vendrel Ratiscope Settings"),
             "the hotkey to show both windows again")
    wait_for(lambda: s.geometry()[:4] == overlay_at, f"the overlay back at {overlay_at}, now {s.geometry()[:4]}")
    wait_for(lambda: client_geometry(s, panel_window) == panel_at, "the panel back in its place")
    # Shown again, the panel still belongs to the overlay, so the window manager keeps it above it.
    check(f"{int(s.window):#x}" in s.out(["xprop", "-id", str(panel_window), "WM_TRANSIENT_FOR"]),
          "the panel no longer belongs to the overlay")


def scenario_hotkey(s, folder):
    """Ctrl+Alt+G from another program hides the overlay and the panel and brings them back in place, with and
    without Num Lock and Caps Lock and after a change of keyboard layout; the key is given back at exit, so the next
    run claims it again."""
    target = start_target(s)
    for run in range(2):
        # The panel stands clear of the overlay's close button: it belongs to
        # the overlay, so the window manager keeps it above the overlay.
        s.launch(folder, dict(DEFAULTS, SVisible=1, SX=1099, SY=10))
        overlay_at = wait_for(lambda: s.geometry()[:4] if s.geometry()[2] == 420 else None, "the window")
        panel_window = int(wait_for(lambda: visible(s, "Vendrel Ratiscope Settings"), "the panel")[0])
        panel_at = client_geometry(s, panel_window)
        toggle_from_elsewhere(s, target, overlay_at, panel_at, panel_window)
        if run == 0:
            for lock in ("Num_Lock", "Caps_Lock"):
                s.run("xdotool", "key", lock)
                toggle_from_elsewhere(s, target, overlay_at, panel_at, panel_window)
                s.run("xdotool", "key", lock)
            # Another layout puts G on another key; the combination follows it.
            s.run("setxkbmap", "-layout", "us", "-variant", "dvorak")
            toggle_from_elsewhere(s, target, overlay_at, panel_at, panel_window)
            s.run("setxkbmap", "-layout", "us")
        x, y, w, h = overlay_at
        s.run("xdotool", "mousemove", str(x + w - 12 + 3), str(y + 7), "click", "1")  # the close button
        code = wait_for(lambda: s.program.poll() is not None and (s.program.returncode,), "the program to end")[0]
        check(code == 0, f"exit code {code}")


SCENARIOS = {
    "window": (scenario_window, False, (1280, 1024)),
    "opacity": (scenario_opacity_extremes, False, (1280, 1024)),
    "click_through": (scenario_click_through, False, (1280, 1024)),
    "composited": (scenario_composited, True, (1280, 1024)),
    "mouse": (scenario_mouse, False, (1280, 1024)),
    "keys": (scenario_keys, False, (1280, 1024)),
    "full_screen_grid": (scenario_full_screen_grid, False, (800, 600)),
    "fit": (scenario_fit, False, (1280, 1024)),
    "hotkey": (scenario_hotkey, False, (1280, 1024)),
}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, name = sys.argv[1], sys.argv[2]
    run, compositor, (width, height) = SCENARIOS[name]
    return run_scenario(name, lambda s: s.open(width, height, compositor), run, folder)


if __name__ == "__main__":
    sys.exit(main())
