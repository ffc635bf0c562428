"""Test displays the plain test screen cannot give: two monitors, and a
system DPI other than 96. Each comes with a Wine prefix of its own (kept in
build/ between runs), because both are settings of the prefix:

  two monitors  Xephyr with two screens and Xinerama on a private Xvfb; the
                prefix reads the monitors through Xinerama (UseXRandR=N), and
                PrimaryMonitor picks which screen is the primary one, so a
                monitor can stand left of it (negative coordinates).
  unpluggable   two RandR monitors on one Xvfb, which answers the Xinerama
                query from them: one can go while programs run (Xephyr's
                screens stay for its life).
  a system DPI  a private Xvfb large enough for the dialogs at 192 DPI; the
                prefix's LogPixels.

Use them as context managers inside a test module; while one is active the
harness (Scr, wintool, screenshot, xdotool, the settings file) works on its
display and prefix:

    with monitors.TwoMonitors("left") as screen:
        scr = h.Scr("/s")
        shot = screen.monitor_shot(1)
"""
import ctypes
import os
import pathlib
import subprocess
import time

import harness as h
import station

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = ROOT / "build"

# Screens of Xephyr in X order (left to right) and which one is the primary.
# Windows puts the primary monitor's corner at (0, 0).
LAYOUTS = {
    # 1024 x 768 primary, 800 x 600 to its right: 1024,0-1824,600.
    "right": {"screens": [(1024, 768), (800, 600)], "primary": 0},
    # 800 x 600 left of a 1024 x 768 primary: -800,0-0,600.
    "left": {"screens": [(800, 600), (1024, 768)], "primary": 1},
}


# ---- displays and prefixes ----------------------------------------------------

def _free_display():
    """A display number nobody uses, in the range GLIMORA_DISPLAY_BASE gives
    this run (scripts/test takes the first free pair of it)."""
    base = int(os.environ.get("GLIMORA_DISPLAY_BASE", "90"))
    for n in range(base + 2, base + 30):
        if not (pathlib.Path(f"/tmp/.X11-unix/X{n}").exists() or pathlib.Path(f"/tmp/.X{n}-lock").exists()):
            return n
    raise RuntimeError("no free X display number")


def _wait_display(number, proc):
    for _ in range(100):
        if subprocess.run(["xdpyinfo", "-display", f":{number}"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0:
            return
        if proc.poll() is not None:
            break
        time.sleep(0.1)
    raise RuntimeError(f"display :{number} did not start")


class _Server:
    """An X server we started, ended by its own process id."""

    def __init__(self, args, env=None):
        self.number = _free_display()
        self.proc = subprocess.Popen([*args[:1], f":{self.number}", *args[1:]], env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _wait_display(self.number, self.proc)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()


def _prefix_env(prefix):
    env = h.wine_env()
    env["WINEPREFIX"] = str(prefix)
    return env


def prepare_prefix(name, values):
    """wineprefix-<name> in the suite's own folder (build/ outside a suite),
    a copy of the test prefix, with registry values [(key, value name, type,
    data), ...] set; the wine server of that prefix is restarted so that they
    count. Each suite has its own: two suites side by side setting another
    primary monitor in one prefix, or ending its wine server, would upset
    each other's shows."""
    prefix = (station.current.work if station.current else BUILD) / f"wineprefix-{name}"
    template = BUILD / "wineprefix"
    if not prefix.exists() and (template / "system.reg").exists():
        subprocess.run(["cp", "-a", str(template), str(prefix)], check=True)
    env = _prefix_env(prefix)
    subprocess.run(["bash", "-c", f'source "{ROOT}/scripts/wine-env"'], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    for key, value, kind, data in values:
        subprocess.run(["wine", "reg", "add", key, "/v", value, "/t", kind, "/d", str(data), "/f"], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=120)
    subprocess.run(["wineserver", "-k"], env=env, check=False)
    subprocess.run(["wineserver", "-w"], env=env, check=False)
    return prefix


class _Switch:
    """Points the harness at a display and prefix, and back again."""

    NAMES = ("PREFIX", "WINDOWS", "SYSTEM32", "INI")

    def __init__(self, display, prefix):
        self.display, self.prefix = display, prefix

    def __enter__(self):
        self.saved = {n: getattr(h, n) for n in self.NAMES}
        self.saved_display = os.environ.get("DISPLAY")
        h.PREFIX = self.prefix
        h.WINDOWS = self.prefix / "drive_c" / "windows"
        h.SYSTEM32 = h.WINDOWS / "system32"
        h.INI = h.WINDOWS / "Glimora.ini"
        os.environ["DISPLAY"] = f":{self.display}"
        # One wine server for the whole use: each program start is cheaper.
        subprocess.run(["wineserver", "-p"], env=h.wine_env(), check=False)
        return self

    def __exit__(self, *exc):
        h.kill_all()
        env = h.wine_env()
        subprocess.run(["wineserver", "-k"], env=env, check=False)
        subprocess.run(["wineserver", "-w"], env=env, check=False)
        for n, v in self.saved.items():
            setattr(h, n, v)
        if self.saved_display is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = self.saved_display


# ---- two monitors -------------------------------------------------------------

class TwoMonitors:
    """Two monitors side by side in one of LAYOUTS, with the prefix
    build/wineprefix-<prefix> (a benchmark names one of its own, so that a
    test run does not end it)."""

    def __init__(self, layout="right", prefix="monitors"):
        self.layout = LAYOUTS[layout]
        self.prefix_name = prefix
        screens = self.layout["screens"]
        self.root_size = (sum(w for w, _ in screens), max(hh for _, hh in screens))

    def _prepare_prefix(self):
        x11 = "HKCU\\Software\\Wine\\X11 Driver"
        return prepare_prefix(self.prefix_name, [
            (x11, "UseXRandR", "REG_SZ", "N"),
            (x11, "PrimaryMonitor", "REG_SZ", self.layout["primary"]),
            (x11, "Managed", "REG_SZ", "N"),
        ])

    def __enter__(self):
        prefix = self._prepare_prefix()
        w, hh = self.root_size
        self.host = _Server(["Xvfb", "-screen", "0", f"{w + 16}x{hh + 16}x24", "-nolisten", "tcp"])
        env = dict(os.environ, DISPLAY=f":{self.host.number}")
        screens = [a for sw, sh in self.layout["screens"] for a in ("-screen", f"{sw}x{sh}")]
        self.xephyr = _Server(["Xephyr", *screens, "+xinerama", "-ac", "-nolisten", "tcp"], env=env)
        self.switch = _Switch(self.xephyr.number, prefix).__enter__()
        self.monitors = self._read_monitors()
        return self

    def __exit__(self, *exc):
        self.switch.__exit__(*exc)
        self.xephyr.stop()
        self.host.stop()

    def _read_monitors(self):
        """[(left, top, right, bottom), ...] in Windows coordinates, the primary first."""
        found = []
        for line in h.wintool("monitors").splitlines():
            rect, primary = line.split("|")
            found.append((tuple(int(v) for v in rect.split(",")), primary == "1"))
        found.sort(key=lambda m: not m[1])
        return [r for r, _ in found]

    @property
    def origin(self):
        """The virtual screen's top-left corner in Windows coordinates: X's (0, 0)."""
        return min(r[0] for r in self.monitors), min(r[1] for r in self.monitors)

    def to_root(self, x, y):
        """A point in Windows coordinates on the X root window."""
        ox, oy = self.origin
        return x - ox, y - oy

    def monitor_shot(self, index, name=None):
        """Screenshot of one monitor (0 the primary); the whole screen is kept as an artefact."""
        l, t, r, b = self.monitors[index]
        x, y = self.to_root(l, t)
        return h.screenshot(name).crop((x, y, x + r - l, y + b - t))


class UnpluggableMonitors(TwoMonitors):
    """The "right" layout as two RandR monitors on one Xvfb, so that a test
    can unplug one while the saver runs, and plug it in again."""

    def __init__(self, prefix="monitors"):
        super().__init__("right", prefix)

    def __enter__(self):
        prefix = self._prepare_prefix()
        w, hh = self.root_size
        # -noreset: a server that resets when its last client leaves would drop the monitors set below.
        self.host = _Server(["Xvfb", "-screen", "0", f"{w}x{hh}x24", "-nolisten", "tcp", "-noreset"])
        for index in range(len(self.layout["screens"])):
            self._set(index, plugged=True)
        self.switch = _Switch(self.host.number, prefix).__enter__()
        self.monitors = self._read_monitors()
        return self

    def __exit__(self, *exc):
        self.switch.__exit__(*exc)
        self.host.stop()

    def unplug(self, index):
        """Takes a monitor away and has Wine read the monitors again, which
        tells every window (WM_DISPLAYCHANGE), as Windows does when a monitor
        is unplugged."""
        self._set(index, plugged=False)
        self._redisplay()

    def plug(self, index):
        self._set(index, plugged=True)
        self._redisplay()

    def _set(self, index, plugged):
        screens = self.layout["screens"]
        left = sum(w for w, _ in screens[:index])
        rect = (left, 0, *screens[index]) if plugged else None
        _randr_monitor(self.host.number, f"GLIMORA{index}", rect, primary=index == self.layout["primary"])

    @staticmethod
    def _redisplay():
        # A Wine process reads X's monitors when it starts: a fresh probe, not the one that serves.
        env = h.wine_env()
        subprocess.run([*station.wine_launcher(env), "wine", str(h.WINTOOL), "redisplay"], env=env, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


class _XRRMonitorInfo(ctypes.Structure):
    _fields_ = [("name", ctypes.c_ulong), ("primary", ctypes.c_int), ("automatic", ctypes.c_int),
                ("noutput", ctypes.c_int), ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("mwidth", ctypes.c_int), ("mheight", ctypes.c_int),
                ("outputs", ctypes.POINTER(ctypes.c_ulong))]


class _XRRScreenResourcesHead(ctypes.Structure):
    _fields_ = [("timestamp", ctypes.c_ulong), ("configTimestamp", ctypes.c_ulong), ("ncrtc", ctypes.c_int),
                ("crtcs", ctypes.c_void_p), ("noutput", ctypes.c_int), ("outputs", ctypes.POINTER(ctypes.c_ulong))]


def _randr_monitor(display, name, rect, primary=False):
    """Sets the RandR monitor `name` on a display to rect (x, y, width,
    height), or deletes it when rect is None. The primary one takes the
    screen's only output, so that the server's own monitor spanning the
    whole screen goes."""
    x11, xrandr = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXrandr.so.2")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xrandr.XRRAllocateMonitor.restype = ctypes.POINTER(_XRRMonitorInfo)
    xrandr.XRRAllocateMonitor.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xrandr.XRRSetMonitor.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(_XRRMonitorInfo)]
    xrandr.XRRDeleteMonitor.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]
    xrandr.XRRGetScreenResources.restype = ctypes.POINTER(_XRRScreenResourcesHead)
    xrandr.XRRGetScreenResources.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    dpy = x11.XOpenDisplay(f":{display}".encode())
    if not dpy:
        raise RuntimeError(f"cannot open display :{display}")
    try:
        root = x11.XDefaultRootWindow(dpy)
        atom = x11.XInternAtom(dpy, name.encode(), 0)
        if rect is None:
            xrandr.XRRDeleteMonitor(dpy, root, atom)
            return
        monitor = xrandr.XRRAllocateMonitor(dpy, 1 if primary else 0).contents
        monitor.name, monitor.primary = atom, int(primary)
        monitor.x, monitor.y, monitor.width, monitor.height = rect
        monitor.mwidth, monitor.mheight = rect[2] // 4, rect[3] // 4  # millimetres at about 100 DPI
        if primary:
            monitor.outputs[0] = xrandr.XRRGetScreenResources(dpy, root).contents.outputs[0]
        xrandr.XRRSetMonitor(dpy, root, ctypes.byref(monitor))
    finally:
        x11.XCloseDisplay(dpy)  # flushes the request


# ---- a system DPI ---------------------------------------------------------------

class ScaledSystem:
    """A display with the prefix's system DPI set to dpi (LogPixels)."""

    def __init__(self, dpi, size=(1600, 1200)):
        self.dpi, self.size = dpi, size

    def __enter__(self):
        prefix = prepare_prefix("scaled", [("HKCU\\Control Panel\\Desktop", "LogPixels", "REG_DWORD", self.dpi)])
        w, hh = self.size
        self.server = _Server(["Xvfb", "-screen", "0", f"{w}x{hh}x24", "-nolisten", "tcp"])
        self.switch = _Switch(self.server.number, prefix).__enter__()
        return self

    def __exit__(self, *exc):
        self.switch.__exit__(*exc)
        self.server.stop()

    def scaled(self, design):
        """96-DPI pixels at this DPI, rounded as the program rounds (MulDiv)."""
        return (design * self.dpi + 48) // 96
