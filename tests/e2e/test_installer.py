"""The Windows Installer packages scripts/build writes, dist/Glimora-<version>-x86.msi
and -x64.msi, installed by msiexec into a fresh Wine prefix of their width
(made once for this suite): where the files land, the installed-apps entry,
the Start-menu shortcut, the installed saver showing a JPEG through its
plug-in, upgrade, repair, downgrade, and an uninstall that keeps the user's
settings files and leaves no missing saver selected."""
import pathlib
import shutil
import struct
import subprocess

import pytest
from PIL import Image

import harness as h
import saver_kit as k
import station
from test_package import VERSION

ROOT = pathlib.Path(__file__).resolve().parents[2]
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
DESKTOP = r"HKCU\Control Panel\Desktop"


def package(arch):
    msi = ROOT / "dist" / f"Glimora-{VERSION}-{arch}.msi"
    if not msi.exists():
        pytest.fail(f"{msi} is missing: scripts/build makes it")
    return msi


class Windows:
    """A fresh Wine prefix of one width, and what a test asks of it."""

    def __init__(self, arch):
        self.arch = arch
        self.path = (station.current.work if station.current else h.BIN.parent) / f"{arch}-prefix"
        self.env = h.wine_env(WINEPREFIX=str(self.path), WINEARCH="win64" if arch == "x64" else "win32")
        # Programs of the prefix's width (msiexec, reg, the installed saver),
        # as on Windows: Debian's "wine" takes a Windows path in system32
        # for a 32-bit program, and its 32-bit msiexec leaves an x64
        # package's emptied folders behind.
        self.loader = shutil.which("wine64") or "/usr/lib/wine/wine64" if arch == "x64" else "wine"
        shutil.rmtree(self.path, ignore_errors=True)
        subprocess.run(["wineboot", "-i"], env=self.env, timeout=600, capture_output=True)
        self.system32 = self.path / "drive_c/windows/system32"
        self.user = next(p for p in (self.path / "drive_c/users").iterdir() if p.name != "Public")

    def run(self, *args, timeout=120):
        return subprocess.run([self.loader, *map(str, args)], env=self.env, timeout=timeout,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode

    def msiexec(self, action, msi):
        return self.run("msiexec", action, h.to_windows_path(msi), "/qn")

    def registry(self, key):
        """{key: {value name: data}} of key and the keys below it."""
        out = subprocess.run([self.loader, "reg", "query", key, "/s"], env=self.env,
                             capture_output=True).stdout.decode("cp932", errors="replace")
        tree, current = {}, None
        for line in out.splitlines():
            if line.startswith("HKEY_"):
                current = tree.setdefault(line.strip(), {})
            elif line.startswith("    ") and current is not None:
                name, _, data = (line[4:].split("    ", 2) + ["", ""])[:3]
                current[name] = data
        return tree

    def choose_saver(self, path):
        assert self.run("reg", "add", DESKTOP, "/v", "SCRNSAVE.EXE", "/d", path, "/f") == 0

    def chosen_saver(self):
        return self.registry(DESKTOP)["HKEY_CURRENT_USER\\Control Panel\\Desktop"].get("SCRNSAVE.EXE")

    def entries(self):
        return [v for v in self.registry(UNINSTALL).values() if "Glimora" in v.get("DisplayName", "")]

    def shortcuts(self):
        return list(self.path.glob("drive_c/**/Start Menu/Programs/Glimoraの設定.lnk"))

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        shutil.rmtree(self.path, ignore_errors=True)


def fresh_windows(arch):
    """A fresh prefix of arch, which the harness (its settings file, its
    process clean-up, its probe) works on meanwhile."""
    windows = Windows(arch)
    patch = pytest.MonkeyPatch()
    for name, value in (("PREFIX", windows.path), ("WINDOWS", windows.path / "drive_c/windows"),
                        ("SYSTEM32", windows.system32), ("INI", windows.path / "drive_c/windows/Glimora.ini")):
        patch.setattr(h, name, value)
    yield windows
    h.kill_all()
    patch.undo()
    windows.close()


@pytest.fixture(scope="module")
def x86():
    yield from fresh_windows("x86")


@pytest.fixture(scope="module")
def x64():
    package("x64")  # before the prefix is made
    yield from fresh_windows("x64")


def settings_files(windows):
    """Both settings files a user may have, with contents of their own."""
    files = {windows.path / "drive_c/windows/Glimora.ini": b"[Main]\r\nThemeNumber=3\r\n",
             windows.user / "AppData/Roaming/Glimora/Glimora.ini": b"[Main]\r\nThemeNumber=5\r\n"}
    for path, data in files.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    return files


def shows_a_jpeg(windows, shot):
    """The installed saver, started as Windows starts it, shows a JPEG through its plug-in."""
    photo = windows.path / "drive_c/写真/海.jpg"
    photo.parent.mkdir(exist_ok=True)
    img = Image.new("RGB", (200, 150), (220, 60, 30))
    img.paste((30, 60, 220), (100, 0, 200, 150))
    img.save(photo, "JPEG", quality=95)
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": dict(
        k.BASE_THEME, ImageCount=1, ImageOnDelay=20000, Image0=r"C:\写真\海.jpg")})
    saver = subprocess.Popen([windows.loader, r"C:\windows\system32\Glimora.scr", "/s"], env=windows.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        h.wait_until(lambda: k.close(h.pixel(462, 384), (220, 60, 30), 12) and
                     k.close(h.pixel(562, 384), (30, 60, 220), 12), timeout=60, message="the JPEG")
        h.screenshot(shot)
    finally:
        saver.kill()
        h.kill_all()


def installs(windows, msi, payload, bits):
    """Installs msi; checks the package's platform and version, the files,
    the entry and the shortcut. Returns system32's names before."""
    info = subprocess.run(["msiinfo", "suminfo", msi], capture_output=True, text=True, check=True).stdout
    assert f"Template: {'x64' if bits == 64 else 'Intel'};1041\n" in info
    props = subprocess.run(["msiinfo", "export", msi, "Property"], capture_output=True, check=True).stdout
    assert f"ProductVersion\t{VERSION}\r\n".encode() in props and b"ALLUSERS\t1\r\n" in props  # per machine
    before = sorted(p.name for p in windows.system32.iterdir())
    assert windows.msiexec("/i", msi) == 0
    plugins = [p.name for p in payload.glob("*.sph" if bits == 64 else "*.spi")]
    assert len(plugins) >= 9
    for name in ["Glimora.scr", "help/index.html"] + plugins:
        assert (windows.system32 / name).read_bytes() == (payload / name).read_bytes(), name
    scr = (windows.system32 / "Glimora.scr").read_bytes()
    machine, = struct.unpack_from("<H", scr, struct.unpack_from("<I", scr, 0x3C)[0] + 4)
    assert machine == {32: 0x14C, 64: 0x8664}[bits]
    entry, = windows.entries()
    assert entry["DisplayName"] == ("グリモーラ スライドショー・スクリーンセーバー "
                                    f"(Glimora Slide-Show Screen Saver, {bits}-bit)")
    assert (entry["DisplayVersion"], entry["Publisher"]) == (VERSION, "Wren")
    assert entry["HelpLink"] == r"C:\windows\system32\help\index.html"
    assert len(windows.shortcuts()) == 1
    return before


def uninstalls(windows, msi, before):
    """With Glimora the chosen saver: uninstalling removes every file, the
    shortcut and the entry, leaves no saver chosen and the settings as they were."""
    windows.choose_saver(r"C:\WINDOWS\SYSTEM32\GLIMORA.SCR")
    kept = settings_files(windows)
    assert windows.msiexec("/x", msi) == 0
    assert sorted(p.name for p in windows.system32.iterdir()) == before
    assert windows.entries() == [] and windows.shortcuts() == []
    assert windows.chosen_saver() is None
    assert {path: path.read_bytes() for path in kept} == kept


def test_x86_installs_into_system32_shows_a_jpeg_opens_settings_and_uninstalls(x86):
    msi = package("x86")
    before = installs(x86, msi, ROOT / "dist", 32)
    shows_a_jpeg(x86, "installer-x86-jpeg")
    lnk, = x86.shortcuts()
    assert x86.run("start", h.to_windows_path(lnk)) == 0
    dialog = h.wait_window("TMainDialog", timeout=60)
    assert h.tree(dialog)[0].text == "Glimoraの設定"
    h.screenshot("installer-x86-settings")
    h.kill_all()
    uninstalls(x86, msi, before)


def test_x86_newer_version_replaces_the_older_the_same_repairs_an_older_is_refused(x86):
    """1.0.1 (built here from the same source, one plug-in dropped, one added)
    over this version: one entry, the newer files; the same package again
    puts back a deleted file; this version over 1.0.1 is refused."""
    msi = package("x86")
    newer_files = h.BIN.parent / "installer-newer"
    shutil.rmtree(newer_files, ignore_errors=True)
    shutil.copytree(ROOT / "dist", newer_files, ignore=shutil.ignore_patterns("*.zip", "*.msi", "x64", "ifpi.spi"))
    with open(newer_files / "Glimora.scr", "ab") as scr:
        scr.write(b"newer")  # an overlay: still the program, but other bytes
    shutil.copy(newer_files / "ifmag.spi", newer_files / "ifnew.spi")
    major, minor, patch = VERSION.split(".")
    newer = newer_files / "Glimora-newer.msi"
    subprocess.run([ROOT / "scripts/msi", "x86", newer_files, f"{major}.{minor}.{int(patch) + 1}", newer], check=True)

    assert x86.msiexec("/i", msi) == 0
    x86.choose_saver(r"C:\windows\system32\Glimora.scr")
    assert x86.msiexec("/i", newer) == 0
    entry, = x86.entries()
    assert entry["DisplayVersion"] == f"{major}.{minor}.{int(patch) + 1}"
    assert (x86.system32 / "Glimora.scr").read_bytes() == (newer_files / "Glimora.scr").read_bytes()
    assert (x86.system32 / "ifnew.spi").exists() and not (x86.system32 / "ifpi.spi").exists()
    # The upgrade keeps Glimora the chosen saver.
    assert x86.chosen_saver() == r"C:\windows\system32\Glimora.scr"

    (x86.system32 / "ifjpeg.spi").unlink()
    assert x86.msiexec("/i", newer) == 0
    assert (x86.system32 / "ifjpeg.spi").read_bytes() == (ROOT / "dist/ifjpeg.spi").read_bytes()
    assert len(x86.entries()) == 1

    assert x86.msiexec("/i", msi) != 0
    assert [e["DisplayVersion"] for e in x86.entries()] == [f"{major}.{minor}.{int(patch) + 1}"]

    # Another saver chosen: uninstalling Glimora leaves that choice alone.
    x86.choose_saver(r"C:\windows\system32\other.scr")
    assert x86.msiexec("/x", newer) == 0
    assert x86.entries() == [] and not (x86.system32 / "Glimora.scr").exists()
    assert x86.chosen_saver() == r"C:\windows\system32\other.scr"


def test_x64_installs_into_the_64_bit_system32_shows_a_jpeg_and_uninstalls(x64):
    msi = package("x64")
    before = installs(x64, msi, ROOT / "dist/x64", 64)
    assert not list(x64.path.glob("drive_c/windows/syswow64/Glimora*"))
    shows_a_jpeg(x64, "installer-x64-jpeg")
    uninstalls(x64, msi, before)

