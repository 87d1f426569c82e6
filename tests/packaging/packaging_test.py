#!/usr/bin/env python3
"""What a packager and a desktop get from a build: the menu entry and the
AppStream metadata as their validators see them, the icon at every size, the
manual pages, and the Debian package with its contents and control fields
(installed and removed again with apt where the run has root).
Usage: packaging_test.py BUILD_DIR SOURCE_DIR CHECK"""

import fcntl
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
import xml.etree.ElementTree as ET

APPLICATION_ID = os.environ.get("RATISCOPE_APPLICATION_ID", "example.vendrel.Ratiscope")
VERSION = os.environ.get("RATISCOPE_VERSION", "5.9.3")
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
LANGUAGES = ("de", "es", "fr", "ru")
MAIN_CATEGORIES = {"AudioVideo", "Audio", "Video", "Development", "Education", "Game", "Graphics", "Network",
                   "Office", "Science", "Settings", "System", "Utility"}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=options.pop("timeout", 300), **options)


def desktop_fields(path):
    fields = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if "=" in line and not line.startswith("#"):
                key, value = line.rstrip("\n").split("=", 1)
                fields[key] = value
    return fields


def check_desktop_entry(build, source):
    entry = os.path.join(build, "packaging", APPLICATION_ID + ".desktop")
    check(os.path.isfile(entry), f"no menu entry {entry}")
    result = run("desktop-file-validate", entry)
    check(result.returncode == 0 and not (result.stdout + result.stderr).strip(),
          f"desktop-file-validate says:\n{result.stdout}{result.stderr}")
    fields = desktop_fields(entry)
    check(fields.get("Icon") == APPLICATION_ID, f"Icon={fields.get('Icon')}")
    check(fields.get("StartupWMClass") == APPLICATION_ID, f"StartupWMClass={fields.get('StartupWMClass')}")
    categories = [c for c in fields.get("Categories", "").split(";") if c]
    main = [c for c in categories if c in MAIN_CATEGORIES]
    check(main == ["Graphics"], f"main categories {main}: the menus list the program once, under Graphics")
    for key in ("Name", "GenericName", "Comment", "Keywords"):
        check(fields.get(key), f"no {key}")
        for language in LANGUAGES:
            check(fields.get(f"{key}[{language}]"), f"{key} not translated for {language}")
    for key in ("GenericName", "Comment"):
        texts = {fields[f"{key}[{language}]"] for language in LANGUAGES}
        check(fields[key] not in texts and len(texts) == len(LANGUAGES), f"{key} left in English somewhere")
    check(fields.get("Exec", "").startswith("/") and fields["Exec"].endswith("/ratiscope"), f"Exec={fields.get('Exec')}")


def check_metainfo(build, source):
    path = os.path.join(build, "packaging", APPLICATION_ID + ".metainfo.xml")
    check(os.path.isfile(path), f"no metainfo {path}")
    result = run("appstreamcli", "validate", "--no-net", "--no-color", path)
    said = result.stdout + result.stderr
    check(result.returncode == 0, f"appstreamcli validate failed:\n{said}")
    problems = [line for line in said.splitlines() if re.match(r"\s*[WE]:", line)]
    check(not problems, "appstreamcli validate warns:\n" + "\n".join(problems))
    root = ET.parse(path).getroot()
    check(root.get("type") == "desktop-application", "not a desktop application")
    check(root.findtext("id") == APPLICATION_ID, f"id {root.findtext('id')}")
    launchable = root.find("launchable")
    check(launchable is not None and launchable.text == APPLICATION_ID + ".desktop", "launchable")
    check(sorted(b.text for b in root.findall("provides/binary")) == ["ratiscope", "ratiscope-export"], "provides")
    check([r.get("version") for r in root.findall("releases/release")] == [VERSION], "release")
    check(root.find("content_rating") is not None, "no content rating")
    check(root.findtext("summary") and root.find("description/p") is not None, "summary and description")
    with open(os.path.join(source, "README.md"), encoding="utf-8") as f:
        readme_pictures = re.findall(r"!\[[^\]]*\]\(docs/([^)]+\.png)\)", f.read())
    shots = [s.findtext("image") for s in root.findall("screenshots/screenshot")]
    check([os.path.basename(s) for s in shots] == readme_pictures, f"screenshots {shots}, README {readme_pictures}")
    for picture in readme_pictures:
        check(os.path.isfile(os.path.join(source, "docs", picture)), f"README picture docs/{picture} missing")


def png_rgba(path):
    """The pixels of an 8-bit RGB or RGBA PNG, as rows of (r, g, b, a) tuples."""
    with open(path, "rb") as f:
        data = f.read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG")
    pos, chunks, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    check(depth == 8 and colour in (2, 6) and interlace == 0, f"{path}: not 8-bit RGB(A) ({depth}, {colour})")
    raw = zlib.decompress(chunks)
    bpp = 4 if colour == 6 else 3
    stride = width * bpp
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            corner = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append([tuple(line[x * bpp:x * bpp + 3]) + ((line[x * 4 + 3],) if bpp == 4 else (255,))
                     for x in range(width)])
        previous = line
    return width, height, rows


def check_icons(build, source):
    drawer = os.path.join(source, "packaging", "icons", "draw-icon.py")
    for size in ICON_SIZES:
        drawing = os.path.join(source, "packaging", "icons", f"{size}.svg")
        with open(drawing, encoding="utf-8") as f:
            committed = f.read()
        drawn = run(sys.executable, drawer, str(size)).stdout
        check(committed == drawn, f"icons/{size}.svg differs from what draw-icon.py {size} draws")
        svg = ET.fromstring(committed)
        check(svg.get("viewBox") == f"0 0 {size} {size}", f"{size}.svg viewBox {svg.get('viewBox')}")
        check(not any(e.tag.endswith("image") for e in svg.iter()), f"{size}.svg holds a bitmap")

        png = os.path.join(build, "packaging", "icons", f"{size}x{size}", APPLICATION_ID + ".png")
        check(os.path.isfile(png), f"no {size}x{size} icon")
        width, height, rows = png_rgba(png)
        check((width, height) == (size, size), f"{size}x{size} icon is {width}x{height}")
        # Sharp: the frame's edges fall on whole pixels, so the outermost
        # painted rows and columns are fully opaque from end to end and
        # nothing half-covered lies outside them.
        painted = [(x, y) for y in range(size) for x in range(size) if rows[y][x][3] > 0]
        check(painted, f"{size}x{size} icon is empty")
        left, right = min(x for x, _ in painted), max(x for x, _ in painted)
        top, bottom = min(y for _, y in painted), max(y for _, y in painted)
        edges = [(left, y) for y in range(top, bottom + 1)] + [(right, y) for y in range(top, bottom + 1)] + \
                [(x, top) for x in range(left, right + 1)] + [(x, bottom) for x in range(left, right + 1)]
        blurred = [(x, y) for x, y in edges if rows[y][x][3] != 255]
        check(not blurred, f"{size}x{size} icon: frame edge not sharp at {blurred[:5]}")
        frame_width = right - left + 1
        check(frame_width >= size * 0.8, f"{size}x{size} icon: the frame is {frame_width} pixels wide")
        red = sum(1 for y in range(top, bottom + 1) for x in range(left, right + 1)
                  if rows[y][x][0] > 200 and rows[y][x][1] < 120 and rows[y][x][3] == 255)
        check(red >= size // 2, f"{size}x{size} icon: no spiral to see ({red} red pixels)")
    scalable = os.path.join(source, "packaging", "icons", "256.svg")
    check(ET.parse(scalable).getroot().tag.endswith("svg"), "the scalable icon is not SVG")


def man_text(path):
    with gzip.open(path, "rt", encoding="utf-8") as f:
        page = f.read()
    result = run("groff", "-man", "-Tascii", "-ww", "-P", "-cbou", input=page)
    check(result.returncode == 0 and not result.stderr.strip(), f"{path}: groff warns:\n{result.stderr}")
    return result.stdout


def check_man_pages(build, source):
    folder = os.path.join(build, "packaging", "man")
    bin_dir = os.path.join(build, "bin")
    needed = {
        "ratiscope": ["LC_ALL", "LC_MESSAGES", "LANG", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "QT_QPA_PLATFORM",
                      "Ratiscope.user.settings", ".lng", "Manual/index.html", "Locale"],
        "ratiscope-export": ["LC_NUMERIC", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", ".lng", "EXIT STATUS"],
    }
    for program, words in needed.items():
        page = os.path.join(folder, program + ".1.gz")
        check(os.path.isfile(page), f"no manual page {page}")
        text = man_text(page)
        for section in ("NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES", "ENVIRONMENT", "EXIT STATUS",
                        "SEE ALSO"):
            check(re.search(rf"^{section}$", text, re.M), f"{program}(1) has no {section} section")
        check(VERSION in text, f"{program}(1) does not say version {VERSION}")
        usage = run(os.path.join(bin_dir, program), "--help").stdout
        options = set(re.findall(r"(?<![\w-])(--[a-z][a-z-]*|-[a-z](?![\w-])|/uninstall)", usage))
        check(len(options) >= 3, f"{program} --help lists {options}")
        for option in sorted(options):
            check(re.search(rf"(?<![\w-]){re.escape(option)}(?![\w-])", text), f"{program}(1) lacks {option}")
        for word in words:
            check(word in text, f"{program}(1) does not mention {word}")
        if shutil.which("lexgrog"):
            said = run("lexgrog", page).stdout
            check(f"{program} - " in said, f"lexgrog cannot read the NAME of {program}(1): {said}")
    for program in ("ratiscope", "ratiscope-export"):
        version = run(os.path.join(bin_dir, program), "--version")
        check(version.returncode == 0 and version.stdout == f"Vendrel Ratiscope {VERSION}\n",
              f"{program} --version: {version.returncode} {version.stdout!r} {version.stderr!r}")


def check_manual_pictures(build, source):
    """The manual's look pictures come out the same on any machine: drawn
    again with no font configured but the program's own face, they are the
    very same files, and their pixel values are there to see."""
    export = os.path.join(build, "bin", "ratiscope-export")
    empty = os.path.join(source, "manual", "no-system-fonts.conf")
    # The build draws one picture per built-in look; the manual describes each, and no other.
    drawn = set(os.listdir(os.path.join(build, "bin", "Manual", "looks")))
    with open(os.path.join(source, "manual", "index.html"), encoding="utf-8") as f:
        shown = set(re.findall(r'src="looks/(look\d+\.png)"', f.read()))
    check(shown == drawn, f"the manual shows {sorted(shown - drawn)} that the build does not draw "
                          f"and lacks {sorted(drawn - shown)}")
    work = tempfile.mkdtemp(prefix="ratiscope-manual-")
    try:
        for look in (1, 8, 13):
            built = os.path.join(build, "bin", "Manual", "looks", f"look{look}.png")
            check(os.path.isfile(built), f"no {built}")
            again = os.path.join(work, f"look{look}.png")
            result = run(export, "--format", "png", "--set", f"LookMode={look}", "--values", "--frame", "-o", again,
                         env=dict(os.environ, FONTCONFIG_FILE=empty))
            check(result.returncode == 0, f"export failed: {result.stderr}")
            with open(built, "rb") as a, open(again, "rb") as b:
                check(a.read() == b.read(), f"look{look}.png differs when drawn without the machine's fonts")
        # The texts are really drawn: the grey of the values shows.
        width, height, rows = png_rgba(os.path.join(build, "bin", "Manual", "looks", "look1.png"))
        grey = sum(1 for row in rows for pixel in row if pixel[:3] == (0x83, 0x83, 0x83))
        check(grey > 50, f"look1.png shows {grey} pixels of the values' grey: no texts drawn")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def deb_fields(deb):
    control = run("dpkg-deb", "--field", deb).stdout
    fields, key = {}, None
    for line in control.splitlines():
        if line.startswith(" ") and key:
            fields[key] += "\n" + line
        elif ":" in line:
            key, value = line.split(":", 1)
            fields[key] = value.strip()
    return fields


def check_deb_contents(deb, work):
    fields = deb_fields(deb)
    check(fields.get("Package") == "ratiscope", f"Package {fields.get('Package')}")
    check(fields.get("Version") == VERSION, f"Version {fields.get('Version')}")
    check(fields.get("Architecture") == run("dpkg", "--print-architecture").stdout.strip(), "Architecture")
    check(fields.get("Section") == "graphics" and fields.get("Maintainer"), "Section or Maintainer")
    depends = fields.get("Depends", "")
    for package in ("libqt6core6", "libqt6gui6", "libqt6widgets6", "libxcb-shape0", "fonts-wine", "xdg-utils",
                    "libc6", "libstdc++6"):
        check(re.search(rf"(^|, ){re.escape(package)}\b", depends), f"Depends lacks {package}: {depends}")
    check(len(fields.get("Description", "").splitlines()) > 2, "no long description")

    listing = run("dpkg-deb", "--contents", deb).stdout
    entries = {}
    for line in listing.splitlines():
        parts = line.split(None, 5)
        path = parts[5].split(" -> ")[0].lstrip(".")
        entries[path.rstrip("/")] = parts[0]
    wanted = ["/usr/lib/ratiscope/ratiscope", "/usr/lib/ratiscope/ratiscope-export",
              "/usr/lib/ratiscope/English.lng", "/usr/lib/ratiscope/Deutsch.lng",
              "/usr/lib/ratiscope/Manual/index.html", "/usr/lib/ratiscope/Manual/looks/look13.png",
              f"/usr/share/applications/{APPLICATION_ID}.desktop",
              f"/usr/share/metainfo/{APPLICATION_ID}.metainfo.xml",
              f"/usr/share/icons/hicolor/scalable/apps/{APPLICATION_ID}.svg",
              "/usr/share/man/man1/ratiscope.1.gz", "/usr/share/man/man1/ratiscope-export.1.gz",
              "/usr/share/doc/ratiscope/copyright", "/usr/share/doc/ratiscope/changelog.gz"]
    wanted += [f"/usr/share/icons/hicolor/{s}x{s}/apps/{APPLICATION_ID}.png" for s in ICON_SIZES]
    for path in wanted:
        check(path in entries and entries[path].startswith("-"), f"the package lacks the file {path}")
    for link in ("/usr/bin/ratiscope", "/usr/bin/ratiscope-export", "/usr/share/doc/ratiscope/Manual"):
        check(entries.get(link, "").startswith("l"), f"the package lacks the link {link}")
    check(not any(p.startswith("/usr/local") for p in entries), "the package puts files into /usr/local")
    bad_modes = [p for p, mode in entries.items() if mode.startswith("d") and mode != "drwxr-xr-x"]
    check(not bad_modes, f"folders with odd permissions: {bad_modes}")

    unpacked = os.path.join(work, "unpacked")
    run("dpkg-deb", "--extract", deb, unpacked, check=True)
    for program in ("ratiscope", "ratiscope-export"):
        path = os.path.join(unpacked, "usr/lib/ratiscope", program)
        kind = run("file", "-b", path).stdout
        check("ELF" in kind and ", stripped" in kind, f"{program} is not stripped: {kind}")
        check(os.path.getsize(path) < 8 * 1024 * 1024, f"{program} is {os.path.getsize(path)} bytes")
    target = os.path.normpath(os.path.join(unpacked, "usr/share/doc/ratiscope",
                                           os.readlink(os.path.join(unpacked, "usr/share/doc/ratiscope/Manual"))))
    check(target == os.path.join(unpacked, "usr/lib/ratiscope/Manual"), f"the documentation's manual leads to {target}")
    return fields


def run_lintian(deb, build):
    if not shutil.which("lintian"):
        print("lintian: not installed")
        return
    result = run("lintian", "--tag-display-limit", "0", "--display-info", deb, timeout=600)
    report = "\n".join(line for line in (result.stdout + result.stderr).splitlines()
                       if "root privileges" not in line).strip() or "no tags"
    with open(os.path.join(build, "packaging", "lintian.txt"), "w") as f:
        f.write(report + "\n")
    print("lintian says:\n" + report)
    errors = [line for line in report.splitlines() if line.startswith("E:")]
    check(not errors, "lintian reports errors:\n" + "\n".join(errors))


def package_state():
    result = run("dpkg-query", "-W", "-f=${Status}", "ratiscope")
    return result.stdout.strip() if result.returncode == 0 else ""


def install_and_remove(deb):
    """apt installs the package and removes it again; the machine keeps no
    trace. Runs only as root, one run at a time, and never touches a
    ratiscope package that was installed before."""
    if os.geteuid() != 0 or not shutil.which("apt-get"):
        print("apt install/remove: skipped, not root")
        return
    with open("/run/lock/ratiscope-package-test.lock" if os.path.isdir("/run/lock") else "/tmp/ratiscope-package-test.lock",
              "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if package_state() not in ("", "unknown ok not-installed", "deinstall ok config-files"):
            print(f"apt install/remove: skipped, ratiscope is installed here already ({package_state()})")
            return
        env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        apt = ["apt-get", "-y", "-q", "-o", "DPkg::Lock::Timeout=300"]
        # Only the package itself may change: nothing to fetch, nothing else
        # to install or remove, so the machine is as before once it is gone.
        plan = run(*apt, "--simulate", "install", deb, env=env, timeout=600)
        changes = re.findall(r"^(Inst|Remv|Conf) (\S+)", plan.stdout, re.M)
        check(plan.returncode == 0, f"apt-get cannot install the package:\n{plan.stdout[-3000:]}{plan.stderr[-3000:]}")
        others = sorted({name for _, name in changes if name != "ratiscope"})
        if others:
            print(f"apt install/remove: skipped, it would also install or remove {others}")
            return
        installed = False
        try:
            result = run(*apt, "install", deb, env=env, timeout=600)
            installed = package_state() == "install ok installed"
            check(result.returncode == 0 and installed,
                  f"apt-get install failed ({result.returncode}):\n{result.stdout[-3000:]}{result.stderr[-3000:]}")
            for program in ("ratiscope", "ratiscope-export"):
                version = run(f"/usr/bin/{program}", "--version")
                check(version.stdout == f"Vendrel Ratiscope {VERSION}\n", f"installed {program}: {version.stdout!r}")
            check(os.path.isfile(f"/usr/share/applications/{APPLICATION_ID}.desktop"), "no installed menu entry")
            check(os.path.isfile("/usr/lib/ratiscope/Manual/index.html"), "no installed manual")
            check(os.path.isfile("/usr/share/doc/ratiscope/Manual/index.html"), "the documentation's manual link")
            owned = run("dpkg-query", "-L", "ratiscope").stdout.split()
            result = run(*apt, "remove", "ratiscope", env=env, timeout=600)
            check(result.returncode == 0, f"apt-get remove failed:\n{result.stdout[-3000:]}{result.stderr[-3000:]}")
            installed = False
            check(package_state() in ("", "unknown ok not-installed"),
                  f"after apt-get remove the package is {package_state()!r}")
            left = [p for p in owned if os.path.lexists(p) and not os.path.isdir(p)]
            check(not left, f"apt-get remove left {left}")
            check(not os.path.exists("/usr/lib/ratiscope"), "apt-get remove left /usr/lib/ratiscope")
            print("apt install/remove: installed, ran both programs, removed without a trace")
        finally:
            if installed or package_state() not in ("", "unknown ok not-installed"):
                run("apt-get", "-y", "-q", "-o", "DPkg::Lock::Timeout=300", "purge", "ratiscope", env=env, timeout=600)


def check_package(build, source):
    work = tempfile.mkdtemp(prefix="ratiscope-deb-")
    try:
        result = run("cpack", "-G", "DEB", "-B", work, "--config", os.path.join(build, "CPackConfig.cmake"),
                     cwd=build, timeout=900)
        debs = [os.path.join(work, n) for n in os.listdir(work) if n.endswith(".deb")]
        check(result.returncode == 0 and len(debs) == 1, f"cpack failed:\n{result.stdout[-3000:]}{result.stderr[-3000:]}")
        deb = debs[0]
        check(os.path.basename(deb).startswith(f"ratiscope_{VERSION}_"), f"package file {deb}")
        check_deb_contents(deb, work)
        run_lintian(deb, build)
        install_and_remove(deb)
    finally:
        shutil.rmtree(work, ignore_errors=True)


CHECKS = {
    "desktop_entry": check_desktop_entry,
    "metainfo": check_metainfo,
    "icons": check_icons,
    "man_pages": check_man_pages,
    "manual_pictures": check_manual_pictures,
    "package": check_package,
}

if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[3] not in CHECKS:
        sys.exit(__doc__)
    try:
        CHECKS[sys.argv[3]](os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
    except Failure as failure:
        print(f"FAILED: {failure}")
        sys.exit(1)
    print("passed")
