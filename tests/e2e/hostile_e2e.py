#!/usr/bin/env python3
"""The whole program in states an attacker or a clumsy user makes: ending
signals, a settings file that is read-only or no file at all, no display, huge
sizes under a memory limit, places near the integer limits and a ratio written
under another locale; installations made with another prefix or moved
elsewhere. Each scenario runs its own X server and a private copy of
the program folder. Usage: hostile_e2e.py PROGRAM_FOLDER SCENARIO."""

import os
import resource
import shutil
import signal
import stat
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import run_scenario, check, drag, settings_of, wait_for, window_ids, write_settings  # noqa: E402
from startup_e2e import Program, failed_save, geometry_of, SCREEN, PANEL_NAME  # noqa: E402


def sanitized(executable):
    """A build under AddressSanitizer reserves terabytes of address space, so no memory limit fits it."""
    r = subprocess.run(["ldd", executable], capture_output=True, text=True)
    return "libasan" in r.stdout


def scenario_signals(s, source):
    """SIGTERM, SIGINT and SIGHUP end the program the way its close button does:
    the overlay's new place is saved and the exit code is 0."""
    p = Program(s, source)
    for number, (name, x) in enumerate((("SIGTERM", 240), ("SIGINT", 180), ("SIGHUP", 120))):
        write_settings(p.settings, {"X": 300, "Y": 240, "SVisible": 0})
        p.start()
        window, _ = p.overlay()
        drag(s, 300 + 100, 240 + 8, x + 100, 240 + 8 + 40)
        wait_for(lambda: (geometry_of(s, window) or (0, 0))[:2] == (x, 280), f"the drag before {name}")
        p.process.send_signal(getattr(signal, name))
        code = p.exit_code()
        check(code == 0, f"{name}: exit code {code}, wanted 0")
        values = settings_of(p.settings)
        check((values.get("X"), values.get("Y")) == (str(x), "280"),
              f"{name}: the place was not saved: {values.get('X')}, {values.get('Y')}")
        check(values.get("Opacity") == "90", f"{name}: the file is not whole: {values}")


def scenario_read_only(s, source):
    """A settings file without write permission is left as it is: the error box, exit code 1."""
    p = Program(s, source)
    content = "[Settings]\nX=310\nY=250\nSVisible=0\n"
    with open(p.settings, "w") as f:
        f.write(content)
    os.chmod(p.settings, 0o444)
    p.start()
    failed_save(s, p)
    with open(p.settings) as f:
        check(f.read() == content, "the read-only settings file was rewritten")
    check(stat.S_IMODE(os.stat(p.settings).st_mode) == 0o444, "the file's permissions changed")


def scenario_not_a_file(s, source):
    """A pipe at the settings path, and a link to a device node, stay what they are."""
    p = Program(s, source)
    os.mkfifo(p.settings)
    p.start()
    failed_save(s, p)
    check(stat.S_ISFIFO(os.lstat(p.settings).st_mode), "the pipe was replaced")
    os.remove(p.settings)
    device = os.path.join(s.tmp, "device")
    try:
        os.mknod(device, 0o666 | stat.S_IFCHR, os.makedev(1, 3))  # the null device's numbers, only as root
    except PermissionError:
        return
    os.symlink(device, p.settings)
    p.start()
    failed_save(s, p)
    check(os.path.islink(p.settings) and stat.S_ISCHR(os.stat(device).st_mode), "the device node was replaced")


def scenario_no_display(s, source):
    """Without a reachable X display: one line that says so, exit code 1; --help and --version still work."""
    p = Program(s, source)
    base = {k: v for k, v in p.env.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    for what, env in (("no DISPLAY", base), ("only WAYLAND_DISPLAY", dict(base, WAYLAND_DISPLAY="wayland-0")),
                      ("a DISPLAY nobody serves", dict(base, DISPLAY=":4093"))):
        r = subprocess.run([p.executable], env=env, capture_output=True, text=True, timeout=60)
        lines = r.stderr.strip().splitlines()
        check(r.returncode == 1, f"{what}: exit code {r.returncode}, wanted 1: {r.stderr[-500:]}")
        check(len(lines) == 1 and "X11" in lines[0] and "XWayland" in lines[0], f"{what}: said {r.stderr!r}")
        for option, expected in (("--help", "Usage:"), ("--version", "5.9.3")):
            r = subprocess.run([p.executable, option], env=env, capture_output=True, text=True, timeout=60)
            check(r.returncode == 0 and expected in r.stdout, f"{what}: {option} gave {r.returncode} {r.stdout!r}")
    check(not os.path.exists(p.settings), "a settings file was written")


def scenario_huge(s, source):
    """The largest sizes the settings keep, under a memory limit: the overlay
    is no larger than the screen, and the program runs and ends normally."""
    p = Program(s, source)
    write_settings(p.settings, {"Width": 30000, "Height": 30000, "Border": 1024, "Lock": 0, "X": 0, "Y": 0, "SVisible": 0})
    if not sanitized(p.executable):
        limit = 2 * 1024 ** 3  # a 32048 x 32064 picture alone is 4 GB
        p.preexec = lambda: resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
    p.start()
    window, g = p.overlay()
    check(g[2] <= SCREEN[0] and g[3] <= SCREEN[1], f"the overlay is {g[2]} x {g[3]}, larger than the screen")
    p.process.send_signal(signal.SIGTERM)
    check(p.exit_code() == 0, f"exit code {p.process.returncode}")
    values = settings_of(p.settings)
    check((values.get("Width"), values.get("Height")) == ("30000", "30000"), f"sizes not kept: {values}")


def scenario_far_places(s, source):
    """Places at the ends of the integer range: both windows come up and the program ends normally."""
    p = Program(s, source)
    write_settings(p.settings, {"X": 2147483647, "Y": 2147483647, "SX": -2147483648, "SY": -2147483648, "SVisible": 1})
    p.start()
    wait_for(lambda: window_ids(s, "^Vendrel Ratiscope$", visible=False), "the overlay window")
    wait_for(lambda: window_ids(s, PANEL_NAME, visible=False), "the panel window")
    check(p.process.poll() is None, "the program ended")
    p.process.send_signal(signal.SIGTERM)
    check(p.exit_code() == 0, f"exit code {p.process.returncode}")
    values = settings_of(p.settings)
    check(all(-32768 <= int(values[k]) <= 32767 for k in ("X", "Y", "SX", "SY")), f"places saved: {values}")


def scenario_locale_ratio(s, source):
    """A ratio written with a decimal comma is read under a locale with a decimal point."""
    p = Program(s, source)
    write_settings(p.settings, {"Ratio": "0,5", "Width": 400, "Border": 12, "Lock": 1, "LockWidth": 1, "X": 300, "Y": 240,
                       "SVisible": 0})
    p.env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
    p.start()
    _, g = p.overlay()
    check(g[2:] == (424, 240), f"the overlay is {g[2]} x {g[3]}, wanted 424 x 240 (height 200 from ratio 0.5)")
    p.close_with_button(g)
    check(p.exit_code() == 0, "exit code not 0")
    check(settings_of(p.settings).get("Ratio") == "0.5", "the ratio is not written with the locale's point")


def install(source, prefix):
    """Installs the build the program folder belongs to with `cmake --install --prefix`."""
    build = os.path.dirname(os.path.abspath(source))
    subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True, stdout=subprocess.DEVNULL,
                   timeout=120)


def menu_entry(prefix):
    folder = os.path.join(prefix, "share", "applications")
    entries = [os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".desktop")]
    check(len(entries) == 1, f"menu entries in {folder}: {entries}")
    with open(entries[0]) as f:
        return dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)


def scenario_prefix_install(s, source):
    """Two installations with `--prefix` beside the configured one: each is
    whole in itself, and each one's uninstall script removes only its own."""
    first, second = os.path.join(s.tmp, "first"), os.path.join(s.tmp, "second")
    for prefix in (first, second):
        install(source, prefix)
        program = os.path.join(prefix, "lib", "ratiscope", "ratiscope")
        for name in ("ratiscope", "ratiscope-export"):
            link = os.path.join(prefix, "bin", name)
            check(os.path.realpath(link) == os.path.realpath(os.path.join(prefix, "lib", "ratiscope", name)),
                  f"{link} leads to {os.path.realpath(link)}")
        check(menu_entry(prefix).get("Exec") == program, f"Exec {menu_entry(prefix).get('Exec')}, wanted {program}")
    r = subprocess.run([os.path.join(second, "lib", "ratiscope", "ratiscope-uninstall")], capture_output=True,
                       text=True, timeout=60)
    check(r.returncode == 0, f"uninstall: {r.returncode} {r.stderr}")
    check(not os.path.exists(os.path.join(second, "lib", "ratiscope")), "the second installation is still there")
    check(not os.path.lexists(os.path.join(second, "bin", "ratiscope")), "the second installation's link stayed")
    for path in ("lib/ratiscope/ratiscope", "lib/ratiscope/English.lng", "bin/ratiscope",
                 "share/icons/hicolor/48x48/apps"):
        check(os.path.exists(os.path.join(first, path)), f"the first installation lost {path}")
    menu_entry(first)


def scenario_relocated(s, source):
    """An installation copied to another folder still counts as installed: its
    settings go to the user's configuration folder and its languages are found."""
    original, moved = os.path.join(s.tmp, "original"), os.path.join(s.tmp, "unpacked", "usr")
    install(source, original)
    shutil.copytree(original, moved, symlinks=True)
    shutil.rmtree(original)
    p = Program(s, source, os.path.join(moved, "lib", "ratiscope", "ratiscope"))
    config = os.path.join(s.env["XDG_CONFIG_HOME"], "Vendrel", "Ratiscope")
    os.makedirs(config)
    user_settings = os.path.join(config, "Ratiscope.user.settings")
    with open(user_settings, "w") as f:
        f.write("[Settings]\nX=300\nY=240\nSVisible=0\nLang=Deutsch\n")
    p.start()
    _, g = p.overlay()
    p.close_with_button(g)
    check(p.exit_code() == 0, f"exit code {p.process.returncode}")
    check(not os.path.exists(p.settings), "the moved installation wrote settings into its program folder")
    check(settings_of(user_settings).get("Opacity") == "90", "the user's settings were not written")


SCENARIOS = {
    "signals": scenario_signals,
    "read_only": scenario_read_only,
    "not_a_file": scenario_not_a_file,
    "no_display": scenario_no_display,
    "huge": scenario_huge,
    "far_places": scenario_far_places,
    "locale_ratio": scenario_locale_ratio,
    "prefix_install": scenario_prefix_install,
    "relocated": scenario_relocated,
}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print(__doc__ + "\nScenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    folder, name = sys.argv[1], sys.argv[2]
    return run_scenario(name, lambda s: s.open(*SCREEN, False), SCENARIOS[name], folder)


if __name__ == "__main__":
    sys.exit(main())
