"""The displays and the Wine prefix that one end-to-end suite runs on.

Each suite (one pytest run) gets an Xvfb display of its own (1024 x 768), a
small one (800 x 600, for the placement tests) and a fresh copy of the
template prefix, so suites can run side by side and a suite that changes its
prefix (a registry value, a replaced system DLL) changes it for itself only.

Display numbers come from GLIMORA_DISPLAY_BASE .. +29 (default 90), so that
several runs on one machine, each with its own base, keep apart. The X
server's own lock file settles a race for a number: a server that cannot take
it exits, and the next number is tried.

A suite that needs another display or prefix setting asks for it in a fixture
of its own, for the whole module or one test:

    with station.two_monitors():     # Xephyr: 1024 x 768 + 800 x 600 beside it
        ...
    with station.dpi(144):           # the prefix's system DPI
        ...
    with station.managed_windows():  # or @pytest.mark.managed_windows on a test
        ...
    with station.on_display(station.XServer("800x600")):
        ...
"""
import contextlib
import ctypes
import fcntl
import os
import pathlib
import shutil
import signal
import subprocess

SPAN = 30
KEEP_ALIVE_CLASS = "GlimoraStationKeepAlive"
_libc = ctypes.CDLL(None, use_errno=True)
PR_SET_PDEATHSIG = 1


def die_with_parent():
    """For Popen's preexec_fn: the child is killed when the suite's process
    ends, even when it is killed itself (a ctest time-out), so no server is
    left holding a display number or a prefix."""
    _libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def wine_launcher(env):
    """What goes before "wine" on a command line: runuser when env names a
    user to run Wine as (GLIMORA_RUN_AS; a prefix of a user who is not root),
    else nothing."""
    user = env.get("GLIMORA_RUN_AS")
    return [shutil.which("runuser") or "/usr/sbin/runuser", "-u", user, "--"] if user else []


def display_range():
    base = int(os.environ.get("GLIMORA_DISPLAY_BASE", "90"))
    return range(base, base + SPAN)


# ---- X servers ---------------------------------------------------------------

class XServer:
    """An X server of its own on the first free number of our range.

    command(n) gives the server's command line for display n; the server
    writes its number to a pipe once it takes connections."""

    def __init__(self, size="1024x768", command=None, env=None, skip=()):
        self.command = command or (lambda n: ["Xvfb", f":{n}", "-screen", "0", f"{size}x24", "-nolisten", "tcp"])
        self.proc = None
        for n in display_range():
            if n in skip or os.path.exists(f"/tmp/.X{n}-lock"):
                continue
            if self._try(n, env):
                self.number = n
                self.name = f":{n}"
                return
        raise RuntimeError(f"no free X display in {display_range()}")

    def _try(self, n, env):
        read_end, write_end = os.pipe()
        proc = subprocess.Popen([*self.command(n), "-displayfd", str(write_end)], pass_fds=(write_end,), env=env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                preexec_fn=die_with_parent)
        os.close(write_end)
        with os.fdopen(read_end, "rb") as ready:
            answer = ready.readline().strip()  # empty when the server gave up
        if answer == str(n).encode():
            self.proc = proc
            return True
        proc.kill()
        proc.wait()
        return False

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()

    __enter__ = lambda self: self
    __exit__ = lambda self, *exc: self.stop()


class TwoMonitors:
    """Two monitors as Wine sees them: Xephyr with two screens joined by
    Xinerama (1024 x 768 primary, 800 x 600 to its right), nested in an Xvfb
    host large enough to hold both. Plain Xvfb cannot do this: its screens
    all start at 0,0."""

    def __init__(self, primary="1024x768", second="800x600"):
        self.host = XServer("2100x800")
        host_env = dict(os.environ, DISPLAY=self.host.name)
        try:
            self.nested = XServer(command=lambda n: ["Xephyr", f":{n}", "-screen", primary, "-screen", second,
                                                     "+xinerama", "-ac"],
                                  env=host_env, skip=(self.host.number,))
        except Exception:
            self.host.stop()
            raise
        self.name, self.number = self.nested.name, self.nested.number

    def stop(self):
        self.nested.stop()
        self.host.stop()

    __enter__ = lambda self: self
    __exit__ = lambda self, *exc: self.stop()


# ---- the Wine prefix -----------------------------------------------------------

class Prefix:
    """A Wine prefix with its own wine server, and a small window that keeps
    the server's desktop process alive between programs: a desktop that
    ends with the last program and starts again with the next costs time,
    and one started under a reading pipe keeps that pipe open."""

    def __init__(self, path, wintool, user=None):
        self.path = pathlib.Path(path)
        self.wintool = wintool
        self.user = user  # Wine runs as this user (the prefix must be theirs), or as ourselves
        self.keeper = None

    @classmethod
    def copy_of(cls, template, path, wintool):
        if not (pathlib.Path(template) / "system.reg").exists():
            raise RuntimeError(f"no Wine prefix at {template} to copy: bash scripts/test makes it")
        path = pathlib.Path(path)
        if path.exists():
            shutil.rmtree(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cp", "-a", str(template), str(path)], check=True)
        return cls(path, wintool)

    def env(self, **extra):
        env = dict(os.environ, WINEPREFIX=str(self.path), WINEARCH=os.environ.get("GLIMORA_WINEARCH", "win32"), WINEDEBUG="-all",
                   LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8")
        env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
        env.pop("GLIMORA_RUN_AS", None)
        if self.user:
            env["GLIMORA_RUN_AS"] = self.user
        env.update(extra)
        return env

    def run(self, *command, check=False):
        """A Wine command (wine, wineserver, wineboot ...) in this prefix."""
        env = self.env()
        return subprocess.run([*wine_launcher(env), *map(str, command)], env=env, check=check,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self):
        """A persistent wine server, and the desktop up on the current DISPLAY."""
        # Kept up between programs, and for a while after the last one ends.
        self.run("wineserver", "-p60")
        env = self.env()
        self.keeper = subprocess.Popen([*wine_launcher(env), "wine", str(self.wintool), "parent", "1", "1",
                                        KEEP_ALIVE_CLASS, "-20", "-20"],
                                       env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                       stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
        self.keeper.stdout.readline()  # its window exists: the desktop is up

    def stop(self):
        if self.keeper:
            self.keeper.kill()
            self.keeper.wait()
            self.keeper = None
        for flag in ("-k", "-w"):
            self.run("wineserver", flag)

    def restart(self):
        """A new wine server: what reads the registry only at start (DPI,
        the X11 driver's settings) and the display in DISPLAY take effect."""
        self.stop()
        self.start()

    def set_value(self, key, name, value, kind="REG_SZ"):
        self.run("wine", "reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f", check=True)

    def delete_value(self, key, name):
        self.run("wine", "reg", "delete", key, "/v", name, "/f")


# ---- the suite's station ---------------------------------------------------------

class Station:
    """Display, small display and prefix of one suite, set in os.environ so
    that everything started from here (and harness.wine_env) uses them."""

    def __init__(self, name, work, template, wintool):
        self.work = pathlib.Path(work) / name
        self.lock = _take_lock(self.work)
        self.display = XServer("1024x768")
        self.small = XServer("800x600")
        self.prefix = Prefix.copy_of(template, self.work / "prefix", wintool)
        os.environ.update({"DISPLAY": self.display.name, "GLIMORA_SMALL_DISPLAY": self.small.name,
                           "WINEPREFIX": str(self.prefix.path), "GLIMORA_SAVER_TMP": str(self.work / "tmp")})
        self.prefix.start()

    def close(self, keep_prefix=False):
        self.prefix.stop()
        self.display.stop()
        self.small.stop()
        if not keep_prefix:
            shutil.rmtree(self.prefix.path, ignore_errors=True)
        self.lock.close()


def _take_lock(work):
    """Two runs of the same suite on one build take turns."""
    work.mkdir(parents=True, exist_ok=True)
    lock = open(work / "lock", "w")
    fcntl.flock(lock, fcntl.LOCK_EX)
    return lock


current = None


def open_station(name, work, template, wintool):
    global current
    current = Station(name, work, template, wintool)
    return current


def close_station(keep_prefix=False):
    global current
    if current:
        current.close(keep_prefix)
        current = None


def desktop_held():
    """True while the station's keep-alive window holds the desktop up."""
    return bool(current and current.prefix.keeper and current.prefix.keeper.poll() is None)


# ---- variants a suite asks for -----------------------------------------------------

@contextlib.contextmanager
def on_display(server):
    """Runs the suite's programs on another X server (which it then stops)."""
    before = os.environ["DISPLAY"]
    try:
        os.environ["DISPLAY"] = server.name
        current.prefix.restart()
        yield server
    finally:
        os.environ["DISPLAY"] = before
        current.prefix.restart()
        server.stop()


@contextlib.contextmanager
def two_monitors():
    """Two monitors side by side; Wine reads them through Xinerama only when
    told not to ask XRandR."""
    key = r"HKCU\Software\Wine\X11 Driver"
    current.prefix.set_value(key, "UseXRandR", "N")
    try:
        with on_display(TwoMonitors()) as server:
            yield server
    finally:
        current.prefix.delete_value(key, "UseXRandR")


@contextlib.contextmanager
def managed_windows():
    """Wine's windows handed to a window manager, as Wine does by default.
    The test prefix has them unmanaged (with no window manager Wine would
    wait up to 2 s for each closed window to be withdrawn), but then Wine
    also sends a saver window a second, unasked WM_MOUSEMOVE a while after
    a real one. Each program reads the setting when it starts."""
    key = r"HKCU\Software\Wine\X11 Driver"
    current.prefix.set_value(key, "Managed", "Y")
    try:
        yield
    finally:
        current.prefix.set_value(key, "Managed", "N")


@contextlib.contextmanager
def dpi(logpixels):
    """The prefix's system DPI (96 is Windows' own) for the programs started inside."""
    key = r"HKCU\Control Panel\Desktop"
    current.prefix.set_value(key, "LogPixels", logpixels, "REG_DWORD")
    current.prefix.restart()
    try:
        yield
    finally:
        current.prefix.delete_value(key, "LogPixels")
        current.prefix.restart()

