"""Drives the real Glimora.scr under Wine on the test display.

Environment (set by scripts/test, or by hand for a single run):
  GLIMORA_BIN  folder with Glimora.scr, the plug-ins and wintool.exe
  GLIMORA_TOOLS  folder with wintool.exe when it is not GLIMORA_BIN (64-bit suites)
  GLIMORA_WINEARCH  win64 for a 64-bit prefix (default win32)
  WINEPREFIX   the test prefix (never the user's); DISPLAY the test display.
               conftest.py sets both to the suite's own station (station.py)
               before this module is imported.
Texts cross the Wine boundary in Shift-JIS (cp932), as the program sees them.
"""
import io
import os
import pathlib
import re
import signal
import struct
import subprocess
import time

from PIL import Image

import probe
import station

BIN = pathlib.Path(os.environ.get("GLIMORA_BIN", pathlib.Path(__file__).resolve().parents[2] / "build" / "bin"))
PREFIX = pathlib.Path(os.environ.get("WINEPREFIX", pathlib.Path(__file__).resolve().parents[2] / "build" / "wineprefix"))
WINDOWS = PREFIX / "drive_c" / "windows"
SYSTEM32 = WINDOWS / "system32"
INI = WINDOWS / "Glimora.ini"
ARTIFACTS = pathlib.Path(os.environ.get("GLIMORA_ARTIFACTS", BIN.parent / "artifacts"))
SCR = BIN / "Glimora.scr"
WINTOOL = pathlib.Path(os.environ.get("GLIMORA_TOOLS", BIN)) / "wintool.exe"
WINEARCH = os.environ.get("GLIMORA_WINEARCH", "win32")


def wine_env(**extra):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": str(PREFIX), "WINEARCH": WINEARCH, "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": env.get("WINEDLLOVERRIDES", "mscoree,mshtml="),
        "LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8",
    })
    env.update(extra)
    return env


def to_windows_path(path):
    """Unix path inside the prefix's drive_c (or anywhere: Z:) as Windows sees it."""
    p = pathlib.Path(path).resolve()
    drive_c = (PREFIX / "drive_c").resolve()
    try:
        return "C:\\" + str(p.relative_to(drive_c)).replace("/", "\\")
    except ValueError:
        return "Z:" + str(p).replace("/", "\\")


# ---- the settings file -------------------------------------------------

def write_ini(text):
    """Writes Glimora.ini as the program stores it: Shift-JIS, CRLF lines."""
    INI.parent.mkdir(parents=True, exist_ok=True)
    INI.write_bytes(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp932"))


def write_ini_sections(sections):
    """sections: {"Main": {"ThemeNumber": 0}, "Theme0": {...}} in order."""
    lines = []
    for name, keys in sections.items():
        lines.append(f"[{name}]")
        lines.extend(f"{k}={v}" for k, v in keys.items())
    write_ini("\n".join(lines) + "\n")


def remove_ini():
    if INI.exists():
        INI.unlink()


def read_ini_bytes():
    return INI.read_bytes() if INI.exists() else b""


def read_ini():
    """{section: [(key, value), ...]} in file order, decoded from Shift-JIS."""
    sections, current = {}, None
    for raw in read_ini_bytes().decode("cp932").splitlines():
        line = raw.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], [])
        elif current is not None and "=" in line:
            k, v = line.split("=", 1)
            current.append((k, v))
    return sections


def ini_value(section, key, default=None):
    for k, v in read_ini().get(section, []):
        if k.lower() == key.lower():
            return v
    return default


# ---- processes ---------------------------------------------------------

class Scr:
    """A running Glimora.scr."""

    def __init__(self, *args, env=None, exe=None):
        self.args = list(args)
        env = env or wine_env()
        self.proc = subprocess.Popen([*station.wine_launcher(env), "wine", str(exe or SCR), *self.args], env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait(self, timeout=20):
        """Exit code, or raises subprocess.TimeoutExpired."""
        return self.proc.wait(timeout=timeout)

    def running(self):
        return self.proc.poll() is None

    def kill(self):
        if self.running():
            self.proc.send_signal(signal.SIGKILL)
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()


def _our_processes(pattern, spare=None):
    """PIDs of processes matching pattern (and not spare) that run in this
    test's Wine prefix (other prefixes on the machine are left alone)."""
    pids = []
    me = str(PREFIX).encode()
    for entry in pathlib.Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            cmdline = (entry / "cmdline").read_bytes()
            environ = (entry / "environ").read_bytes()
        except OSError:
            continue
        if spare and re.search(spare.encode(), cmdline):
            continue
        if re.search(pattern.encode(), cmdline) and b"WINEPREFIX=" + me + b"\0" in environ:
            pids.append(int(entry.name))
    return pids


def _ended(pid):
    """Gone, or a zombie waiting for its parent: either way it holds no window."""
    try:
        return pathlib.Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[0] == "Z"
    except (OSError, IndexError):
        return True


def running(pattern):
    """PIDs of this prefix's live processes whose command line matches pattern."""
    return [pid for pid in _our_processes(pattern) if not _ended(pid)]


def kill_all():
    """Ends every Glimora and helper process left from a previous test (the
    windows that keep a suite's desktop alive stay), and waits until they are
    gone."""
    pids = _our_processes(r"Glimora\.scr|wintool\.exe", spare="KeepAlive|\0serve\0")
    for pid in pids:
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
    end = time.time() + 5
    while time.time() < end and not all(_ended(pid) for pid in pids):
        time.sleep(0.02)


def run_scr(*args, timeout=30, env=None):
    """Runs Glimora.scr to its end; returns the exit code."""
    env = env or wine_env()
    return subprocess.run([*station.wine_launcher(env), "wine", str(SCR), *args], env=env, timeout=timeout,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


# ---- the probe -----------------------------------------------------------

def wintool(*args, check=True, timeout=30):
    """Output of a probe command (None when it failed and check is off)."""
    code, raw = probe.ask(WINTOOL, wine_env(), args, timeout)
    out = raw.decode("cp932", errors="replace").strip()
    if check and code != 0:
        raise AssertionError(f"wintool {' '.join(map(str, args))} failed ({code}): {out}")
    return out if code == 0 else None


class Win:
    """One line of `wintool tree`/`top`."""

    def __init__(self, line):
        f = line.split("|")
        self.hwnd, self.name, self.cls, self.text = int(f[0]), f[1], f[2], f[3]
        self.rect = tuple(int(v) for v in f[4].split(","))
        self.visible, self.enabled, self.checked = f[5] == "1", f[6] == "1", int(f[7])
        self.style = int(f[8], 16)

    @property
    def center(self):
        l, t, r, b = self.rect
        return (l + r) // 2, (t + b) // 2

    def __repr__(self):
        return f"Win({self.hwnd}, {self.name!r}, {self.cls!r}, {self.text!r}, {self.rect})"


def find_window(cls, title=None):
    out = wintool("find", cls, *([title] if title else []), check=False)
    return int(out) if out else None


def wait_window(cls, timeout=45.0, title=None):
    out = wintool("wait", cls, int(timeout * 1000), *([title] if title else []), check=False,
                  timeout=timeout + 30)
    if not out:
        raise AssertionError(f"no window of class {cls!r} appeared within {timeout} s:\n{wintool('top')}")
    return int(out)


def wait_gone(cls, timeout=20.0):
    return wintool("gone", cls, int(timeout * 1000), check=False, timeout=timeout + 30) is not None


def tree(hwnd):
    out = wintool("tree", hwnd, check=False)
    return [Win(line) for line in out.splitlines()] if out else []


def top_windows():
    out = wintool("top", check=False)
    return [Win(line) for line in out.splitlines()] if out else []


def control(hwnd, name):
    for w in tree(hwnd):
        if w.name == name:
            return w
    raise AssertionError(f"no control named {name!r} in window {hwnd}")


def message_boxes():
    """Visible system message boxes (class #32770) with their texts."""
    boxes = []
    for w in top_windows():
        if w.cls == "#32770":
            parts = tree(w.hwnd)
            texts = [c.text for c in parts[1:] if c.cls.lower() == "static" and c.text]
            buttons = [c for c in parts[1:] if c.cls.lower() == "button"]
            boxes.append({"hwnd": w.hwnd, "caption": w.text, "texts": texts, "buttons": buttons,
                          "icon": any(c.cls.lower() == "static" and (c.style & 0x1f) == 0x3 for c in parts[1:])})
    return boxes


def wait_message_box(timeout=10.0):
    end = time.time() + timeout
    while time.time() < end:
        boxes = message_boxes()
        if boxes:
            return boxes[0]
        time.sleep(0.2)
    raise AssertionError("no message box appeared")


def press_box_button(box, caption_part):
    for b in box["buttons"]:
        if caption_part in b.text:
            click(*b.center)
            return
    raise AssertionError(f"no button {caption_part!r} in {box}")


# ---- the display ---------------------------------------------------------

def _xwd_image(data):
    """The root window from `xwd` output: 32-bit true colour, little-endian
    (what Xvfb gives at depth 24), else None."""
    if len(data) < 100:
        return None
    head = struct.unpack(">25I", data[:100])
    size, pixmap_format, width, height, byte_order, bpp, line = head[0], head[2], head[4], head[5], head[7], head[11], head[12]
    masks, colours = head[14:17], head[19]
    if pixmap_format != 2 or bpp != 32 or byte_order != 0 or masks != (0xFF0000, 0xFF00, 0xFF):
        return None
    start = size + 12 * colours
    return Image.frombuffer("RGB", (width, height), data[start:start + line * height], "raw", "BGRX", line, 1)


def screenshot(name=None):
    """The whole screen. `xwd` copies the pixels as they are, three times
    faster than `import`, which stays for displays of other formats."""
    raw = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True).stdout
    img = _xwd_image(raw)
    if img is None:
        png = subprocess.run(["import", "-window", "root", "png:-"], capture_output=True, check=True).stdout
        img = Image.open(io.BytesIO(png)).convert("RGB")
    if name:
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        img.save(ARTIFACTS / f"{name}.png")
    return img


def pixel(x, y):
    return screenshot().getpixel((x, y))


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True)


def click(x, y, button=1):
    xdotool("mousemove", x, y, "click", button)


def double_click(x, y):
    xdotool("mousemove", x, y, "click", "--repeat", 2, "--delay", 80, 1)


def key(*keys):
    xdotool("key", *keys)


def type_text(text):
    xdotool("type", "--delay", 40, text)


def wait_until(predicate, timeout=10.0, interval=0.1, message="condition"):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise AssertionError(f"timed out waiting for {message}")
