#!/usr/bin/env python3
"""Both windows as the desktop sees them, on a real X server (Xvfb with
openbox, as the overlay's scenarios run it): hiding while a peek key is held
without a compositor, the exact opacity property, the bottom-right grip taking
the mouse over its whole zone, and the panel belonging to the overlay (one
task bar entry, titles as given). Usage: desktop_e2e.py PROGRAM_FOLDER SCENARIO."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import run_scenario, BENEATH, DEFAULTS, LINES, Failure, check, drag, find_pixels, wait_for  # noqa: E402
from panel_e2e import launch_panel, panel_id  # noqa: E402

OVERLAY_TITLE = "Vendrel Ratiscope"
PANEL_TITLE = "Vendrel Ratiscope Settings"
GRIP = 24  # the bottom-right grip's zone is GRIP x GRIP pixels in the window's corner


def overlay_box(s, width=420):
    x, y, w, h, _ = wait_for(lambda: s.geometry() if s.geometry()[2] == width else None, "the overlay")
    return x, y, w, h


def shown(pic, box):
    """The pixels of the box that do not show the window beneath."""
    x0, y0, x1, y1 = box
    return [(x, y) for y in range(y0, y1) for x in range(x0, x1) if pic.at(x, y) != BENEATH]


def activate(s):
    s.run("xdotool", "mousemove", "500", "248", "click", "1")  # the overlay's caption strip
    wait_for(lambda: s.out(["xdotool", "getactivewindow"]).strip() == str(int(s.window)), "the overlay to be active")


def property_of(s, window, name):
    """The property's value as xprop prints it after "=", or None when the window lacks it."""
    text = s.out(["xprop", "-id", str(window), name]).strip()
    if "not found" in text or "no such atom" in text or not text:
        return None
    # "NAME(TYPE) = value", or "NAME(WINDOW): window id # 0x..." for a window.
    for separator in (" = ", ": "):
        if separator in text:
            return text.split(separator, 1)[1].strip()
    return None


def opacity_of(s, window):
    value = property_of(s, window, "_NET_WM_WINDOW_OPACITY")
    return None if value is None else int(value)


def scenario_peek(s, folder):
    """Without a compositor a held F3 or keypad / hides every pixel of the
    overlay; the overlay keeps the keyboard, so the release brings it back."""
    s.launch(folder, DEFAULTS)
    x, y, w, h = overlay_box(s)
    box = (x, y, x + w, y + h)
    wait_for(lambda: find_pixels(s.screenshot(), box, LINES), "the figure on screen")
    activate(s)
    for key in ("F3", "KP_Divide"):
        before = len(shown(s.screenshot(), box))
        s.run("xdotool", "keydown", key)
        wait_for(lambda: not shown(s.screenshot(), box), f"{key} held to hide every pixel of the overlay")
        check(s.out(["xdotool", "getactivewindow"]).strip() == str(int(s.window)),
              f"the hidden overlay lost the keyboard while {key} was held")
        s.run("xdotool", "keyup", key)
        wait_for(lambda: len(shown(s.screenshot(), box)) == before, f"the overlay to come back whole when {key} is released")


def scenario_peek_start(s, folder):
    """Opacity 0 at start shows nothing, without a compositor too."""
    s.launch(folder, dict(DEFAULTS, Opacity=0, SVisible=0, SX=800, SY=600))
    x, y, w, h = overlay_box(s)
    s.run("xdotool", "windowactivate", s.window)
    s.run("xdotool", "key", "F2")  # once the panel shows, the overlay has long had its first paint
    wait_for(lambda: panel_id(s), "F2 on the invisible overlay to show the panel")
    time.sleep(0.3)
    left = shown(s.screenshot(), (x, y, x + w, y + h))
    check(not left, f"{len(left)} pixels of the overlay show at opacity 0, first {left[:3]}")


def scenario_opacity_property(s, folder):
    """The opacity property holds exactly alpha x 0x01010101 on both windows;
    at 100 percent it is gone (blending off)."""
    for opacity, alpha in ((90, 230), (50, 128), (30, 76), (1, 3), (100, None)):
        s.launch(folder, dict(DEFAULTS, Opacity=opacity, SVisible=1, SX=800, SY=100, SettingsOpacity=1))
        overlay_box(s)
        panel = wait_for(lambda: panel_id(s), "the panel")
        wanted = None if alpha is None else alpha * 0x01010101
        for name, window in (("overlay", s.window), ("panel", panel)):
            got = opacity_of(s, window)
            check(got == wanted, f"{name} at opacity {opacity}: property {got}, wanted {wanted}")
        s.program.terminate()
        s.program.wait(timeout=10)


def scenario_opacity_seen(s, folder):
    """With a compositor the lines show blended at the alpha of Opacity and
    opaque at 100, exactly as the settings say."""
    for opacity in (100, 50):
        s.launch(folder, dict(DEFAULTS, Opacity=opacity))
        x, y, w, h = overlay_box(s)
        alpha = round(opacity * 255 / 100)
        wanted = tuple(round((c * alpha + 255 * (255 - alpha)) / 255) for c in LINES)
        body = (x + 12, y + 28, x + w - 24, y + h - 24)
        wait_for(lambda: find_pixels(s.screenshot(), body, wanted, 1),
                 f"the lines at opacity {opacity} to show as {wanted}")
        s.program.terminate()
        s.program.wait(timeout=10)


def scenario_grip(s, folder):
    """Every pixel of the bottom-right grip's zone is drawn and takes the
    mouse: no click there reaches the window beneath, and a drag from any
    corner of the zone resizes."""
    s.launch(folder, DEFAULTS)
    x, y, w, h = overlay_box(s)
    zone = (x + w - GRIP, y + h - GRIP, x + w, y + h)
    pic = wait_for(lambda: (lambda p: p if find_pixels(p, (x, y + 16, x + w, y + h), LINES) else None)(
        s.screenshot()), "the figure on screen")
    through = find_pixels(pic, zone, BENEATH)
    check(not through, f"{len(through)} of the grip's {GRIP * GRIP} pixels show the window beneath")
    before = s.clicks_beneath()
    for dx, dy in ((0, 0), (GRIP - 1, 0), (0, GRIP - 1), (GRIP - 1, GRIP - 1), (5, 5), (GRIP // 2, 2)):
        s.run("xdotool", "mousemove", str(zone[0] + dx), str(zone[1] + dy), "click", "1")
    s.run("xdotool", "mousemove", "5", "1000", "click", "1")  # a marker click that does reach the window beneath
    wait_for(lambda: s.clicks_beneath() >= before + 1, "the marker click")
    check(s.clicks_beneath() == before + 1, "a click on the grip went through to the window beneath")
    # From the zone's top-left pixel: 30 to the right makes Width 426, Height round(426 x 0.618...) = 263.
    drag(s, zone[0], zone[1], zone[0] + 30, zone[1] + 5)
    wait_for(lambda: s.geometry()[:4] == (x, y, 450, 303), "a drag from the grip's corner to resize to 450 x 303")


def scenario_taskbar(s, folder):
    """The panel belongs to the overlay: transient for it and left out of the
    task bar, also after it was hidden and shown again; both titles are
    exactly the program's own."""
    panel, _ = launch_panel(s, folder, dict(DEFAULTS, SVisible=1, SX=800, SY=100))
    for _ in range(2):
        check(property_of(s, s.window, "_NET_WM_NAME") == f'"{OVERLAY_TITLE}"',
              f"overlay title {property_of(s, s.window, '_NET_WM_NAME')}")
        check(property_of(s, panel, "_NET_WM_NAME") == f'"{PANEL_TITLE}"',
              f"panel title {property_of(s, panel, '_NET_WM_NAME')}")
        check(property_of(s, panel, "WM_NAME") == f'"{PANEL_TITLE}"', f"panel WM_NAME {property_of(s, panel, 'WM_NAME')}")
        transient = property_of(s, panel, "WM_TRANSIENT_FOR")
        check(transient and int(transient.split("#")[-1].strip(), 16) == int(s.window),
              f"the panel is transient for {transient}, not for the overlay {int(s.window):#x}")
        wait_for(lambda: "_NET_WM_STATE_SKIP_TASKBAR" in (property_of(s, panel, "_NET_WM_STATE") or ""),
                 "the panel to be left out of the task bar")
        check("_NET_WM_STATE_SKIP_TASKBAR" not in (property_of(s, s.window, "_NET_WM_STATE") or ""),
              "the overlay is left out of the task bar")
        # What a task bar lists: managed windows not left out and not transient for another.
        listed = []
        for entry in (s.out(["xprop", "-root", "_NET_CLIENT_LIST"]).split("#", 1)[-1]).split(","):
            window = int(entry.strip(), 16)
            if window not in (int(s.window), int(panel)):
                continue
            state = property_of(s, window, "_NET_WM_STATE") or ""
            if "_NET_WM_STATE_SKIP_TASKBAR" in state or property_of(s, window, "WM_TRANSIENT_FOR"):
                continue
            listed.append(window)
        check(listed == [int(s.window)], f"task bar entries of the program: {[hex(w) for w in listed]}")
        # F2 on the panel hides it, F2 on the overlay shows it again.
        s.run("xdotool", "windowactivate", "--sync", panel)
        s.run("xdotool", "key", "F2")
        wait_for(lambda: "IsViewable" not in s.out(["xwininfo", "-id", panel]), "F2 to hide the panel")
        activate(s)
        s.run("xdotool", "key", "F2")
        wait_for(lambda: panel_id(s) == panel, "F2 to show the panel again")


# Scenario: its function and whether a compositor runs.
SCENARIOS = {
    "peek": (scenario_peek, False),
    "peek_start": (scenario_peek_start, False),
    "opacity_property": (scenario_opacity_property, False),
    "opacity_seen": (scenario_opacity_seen, True),
    "grip": (scenario_grip, False),
    "taskbar": (scenario_taskbar, False),
}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, name = sys.argv[1], sys.argv[2]
    run, compositor = SCENARIOS[name]
    return run_scenario(f"desktop {name}", lambda s: s.open(1280, 1024, compositor), run, folder,
                        (Failure, subprocess.SubprocessError))


if __name__ == "__main__":
    sys.exit(main())
