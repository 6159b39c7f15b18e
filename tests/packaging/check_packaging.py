#!/usr/bin/python3
"""Checks of what `cmake --install` puts on a machine, as its validators and a user see it.

  check_packaging.py desktop FILE
  check_packaging.py metainfo FILE DESKTOP_FILE VERSION
  check_packaging.py mime FILE DESKTOP_FILE
  check_packaging.py man KELVORA_TABLE PAGE...
  check_packaging.py install BUILD_DIR EXPECTED_LIST
  check_packaging.py installed-window BUILD_DIR
  check_packaging.py window KELVORA_EXECUTABLE

Each prints what it found wrong and exits 1, or exits 0 silently.
"""
import ctypes
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

problems = []


def fail(text):
    problems.append(text)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def check_desktop(path):
    # Hints go to standard output with status 0: anything said at all is a fault here.
    r = run(["desktop-file-validate", path])
    if r.returncode != 0 or r.stdout.strip() or r.stderr.strip():
        fail(f"desktop-file-validate {path}:\n{r.stdout}{r.stderr}")


def check_mime(path, desktop):
    ns = {"m": "http://www.freedesktop.org/standards/shared-mime-info"}
    types = {t.get("type"): t for t in ET.parse(path).getroot().findall("m:mime-type", ns)}
    tank = types.get("application/x-kelvora-tank")
    if tank is None:
        fail(f"{path}: no type application/x-kelvora-tank")
        return
    globs = [g.get("pattern") for g in tank.findall("m:glob", ns)]
    if globs != ["*.tank"]:
        fail(f"{path}: globs {globs}, expected ['*.tank']")
    entry = {}
    with open(desktop, encoding="utf-8") as f:
        for line in f:
            key, _, value = line.rstrip("\n").partition("=")
            entry.setdefault(key, value)
    if "application/x-kelvora-tank" not in entry.get("MimeType", "").split(";"):
        fail(f"{desktop}: MimeType {entry.get('MimeType')!r} does not name application/x-kelvora-tank")
    if not re.search(r"%[fFuU]", entry.get("Exec", "")):
        fail(f"{desktop}: Exec {entry.get('Exec')!r} passes no file")


def check_metainfo(path, desktop, version):
    r = run(["appstreamcli", "validate", "--no-net", "--pedantic", path])
    # Pedantic notes (P:) and infos are advice; errors and warnings are faults.
    bad = [l for l in r.stdout.splitlines() if re.match(r"^[EW]:", l)]
    if r.returncode != 0 or bad:
        fail(f"appstreamcli validate {path}:\n{r.stdout}{r.stderr}")
    root = ET.parse(path).getroot()
    cid = root.findtext("id")
    if os.path.basename(path) != f"{cid}.metainfo.xml":
        fail(f"{path}: the file is not named after the component id {cid}")
    launchable = root.findtext("launchable[@type='desktop-id']")
    if launchable != os.path.basename(desktop):
        fail(f"{path}: launchable {launchable!r}, but the menu entry is {os.path.basename(desktop)}")
    releases = [r.get("version") for r in root.iter("release")]
    if not releases or releases[0] != version:
        fail(f"{path}: the newest release is {releases[:1]}, the project is at {version}")


def check_man(table_program, pages):
    env = dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80")
    env.pop("MANPAGER", None)
    texts = {}
    for page in pages:
        # man's exit status says nothing about the page: its complaints go to stderr only.
        r = subprocess.run(["man", "--warnings", "-l", page], capture_output=True, env=env)
        if r.returncode != 0 or r.stderr:
            fail(f"man --warnings -l {page}: status {r.returncode}\n{r.stderr.decode(errors='replace')}")
        texts[os.path.basename(page)] = r.stdout.decode("utf-8", errors="replace")
    # Every option the program lists is on its manual page.
    table_page = next((t for name, t in texts.items() if name.startswith("kelvora-table.")), None)
    if table_page is None:
        fail("no manual page for kelvora-table")
        return
    usage = run([table_program, "--help"]).stdout
    options = sorted(set(re.findall(r"(?<![\w-])--[a-z][a-z0-9-]*", usage)))
    if not options:
        fail(f"{table_program} --help lists no options")
    rendered = re.sub(r"[\u2010\u2011]", "-", table_page)
    for option in options:
        if not re.search(rf"(?<![\w-]){re.escape(option)}(?![\w-])", rendered):
            fail(f"kelvora-table's manual page does not mention {option}")
    for status in ("0", "1", "2", "3"):
        if not re.search(rf"^\s+{status}\s", rendered.split("退出状态", 1)[-1], re.M):
            fail(f"kelvora-table's manual page does not explain exit status {status}")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def check_install(build_dir, expected_list):
    with open(expected_list, encoding="utf-8") as f:
        expected = sorted(l.strip() for l in f if l.strip() and not l.startswith("#"))
    prefix = tempfile.mkdtemp(prefix="kelvora-install-")
    try:
        r = run(["cmake", "--install", build_dir, "--prefix", prefix])
        if r.returncode != 0:
            fail(f"cmake --install failed:\n{r.stdout}{r.stderr}")
            return
        found = sorted(os.path.relpath(os.path.join(d, n), prefix) for d, _, names in os.walk(prefix) for n in names)
        for name in sorted(set(expected) - set(found)):
            fail(f"not installed: {name}")
        for name in sorted(set(found) - set(expected)):
            fail(f"installed but not expected: {name}")
        for name in found:
            path = os.path.join(prefix, name)
            mode = os.stat(path).st_mode & 0o777
            want = 0o755 if name.startswith("bin/") else 0o644
            if mode != want:
                fail(f"{name}: mode {mode:o}, expected {want:o}")
            if name.endswith(".gz"):
                with open(path, "rb") as f:
                    head = f.read(10)
                # gzip -9n: no file name (flag bit 3) and no time stamp (bytes 4-7).
                if head[:2] != b"\x1f\x8b" or head[3] & 0x08 or head[4:8] != b"\0\0\0\0" or head[8] != 2:
                    fail(f"{name}: not compressed with gzip -9n")
            m = re.match(r"share/icons/hicolor/(\d+)x(\d+)/apps/.*\.png$", name)
            if m and png_size(path) != (int(m.group(1)), int(m.group(2))):
                fail(f"{name}: a PNG of {png_size(path)} in the folder for {m.group(1)}x{m.group(2)}")
    finally:
        shutil.rmtree(prefix, ignore_errors=True)


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


def close_window(display, window):
    """Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW)."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = x11.XOpenDisplay(display.encode())
    if not dpy:
        raise RuntimeError(f"cannot open display {display}")
    event = XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(dpy, window, 0, 0, ctypes.byref(event))
    x11.XFlush(dpy)
    x11.XCloseDisplay(dpy)


def check_window(program):
    """Runs an installed window under Xvfb in a fresh home, closes it, and looks where it saved."""
    program = os.path.abspath(program)
    bin_dir = os.path.dirname(program)
    before = sorted(os.listdir(bin_dir))
    home = tempfile.mkdtemp(prefix="kelvora-home-")
    xvfb = app = None
    try:
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        display = ":" + xvfb.stdout.readline().decode().strip()
        env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_", "WAYLAND"))}
        env.update(HOME=home, DISPLAY=display, LC_ALL="C.UTF-8")
        env.setdefault("LSAN_OPTIONS", "suppressions=" + os.path.join(os.path.dirname(__file__), "lsan.supp"))
        app = subprocess.Popen([program], env=env, cwd=home, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        window = None
        deadline = time.monotonic() + 60
        while window is None and time.monotonic() < deadline and app.poll() is None:
            r = run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(app.pid), "--name", "^Kelvora$"],
                    env=env)
            ids = r.stdout.split()
            if ids:
                window = int(ids[0])
            else:
                time.sleep(0.3)
        if window is None:
            fail(f"{program} showed no window: {app.stdout.read().decode(errors='replace') if app.poll() is not None else 'still starting after 60 s'}")
            return
        time.sleep(1.5)  # the first showing loads the files
        close_window(display, window)
        try:
            app.wait(timeout=30)
        except subprocess.TimeoutExpired:
            fail(f"{program} did not close on WM_DELETE_WINDOW")
            return
        output = app.stdout.read().decode(errors="replace")
        if app.returncode != 0:
            fail(f"{program} ended with status {app.returncode}:\n{output}")
        data = os.path.join(home, ".config", "kelvora")
        for name in ("Config.ini", "bd.txt"):
            if not os.path.isfile(os.path.join(data, name)):
                fail(f"{name} was not saved in ~/.config/kelvora (home {home} holds {sorted_tree(home)})")
        written = sorted(set(os.listdir(bin_dir)) - set(before))
        if written:
            fail(f"the installed window wrote beside itself: {written} (removed again)")
            for name in written:
                os.remove(os.path.join(bin_dir, name))
    finally:
        for p in (app, xvfb):
            if p and p.poll() is None:
                p.kill()
                p.wait()
        shutil.rmtree(home, ignore_errors=True)


def check_installed_window(build_dir):
    prefix = tempfile.mkdtemp(prefix="kelvora-install-")
    try:
        r = run(["cmake", "--install", build_dir, "--prefix", prefix])
        if r.returncode != 0:
            fail(f"cmake --install failed:\n{r.stdout}{r.stderr}")
            return
        check_window(os.path.join(prefix, "bin", "kelvora"))
    finally:
        shutil.rmtree(prefix, ignore_errors=True)


def sorted_tree(root):
    return sorted(os.path.relpath(os.path.join(d, n), root) for d, _, names in os.walk(root) for n in names)


def main(argv):
    mode, args = argv[1], argv[2:]
    if mode == "desktop":
        check_desktop(*args)
    elif mode == "mime":
        check_mime(*args)
    elif mode == "metainfo":
        check_metainfo(*args)
    elif mode == "man":
        check_man(args[0], args[1:])
    elif mode == "install":
        check_install(*args)
    elif mode == "installed-window":
        check_installed_window(*args)
    elif mode == "window":
        check_window(*args)
    else:
        sys.exit(f"unknown check {mode}")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
