"""Helpers for the saver's end-to-end tests: themes, media files, the
saver process, screen sampling, the sound capture and the Windows 98
password path."""
import math
import os
import pathlib
import shutil
import struct
import subprocess
import time
import wave

import pytest
from PIL import Image, ImageChops

import harness as h
import station

MEDIA = h.PREFIX / "drive_c" / "saver_media"
SCREEN = (1024, 768)
CAPTURE_DIR = pathlib.Path(os.environ.get("GLIMORA_SAVER_TMP", "/tmp/glimora-saver-e2e"))

# The quiet, fast theme every test starts from: no title, no music, short waits.
BASE_THEME = {
    "Title": 0, "TitleFadeInterval": 10, "TitleOnDelay": 300,
    "ImageCount": 0, "ImageOrdRandom": 0, "FromLastImage": 0, "BGM": 0, "MidiCount": 0,
    "ImageNormalOn": 1, "ImageBlindOn": 0, "ImageNormalOff": 1, "ImageBlindOff": 0,
    "NotErase": 0, "ImagePosRandom": 0, "BackGround": 0, "BackColor": 0,
    "FirstDelay": 200, "ImageOnDelay": 1200, "ImageOffDelay": 300,
}


def write_theme(close_mouse_move=4, **keys):
    theme = dict(BASE_THEME)
    theme.update(keys)
    h.write_ini_sections({"Main": {"ThemeNumber": 0, "CloseMouseMove": close_mouse_move}, "Theme0": theme})


def media_path(name):
    MEDIA.mkdir(parents=True, exist_ok=True)
    return MEDIA / name


def solid_bmp(name, colour, size=(120, 90)):
    path = media_path(name)
    Image.new("RGB", size, colour).save(path, "BMP")
    return h.to_windows_path(path)


def quadrant_bmp(name, size=(100, 100)):
    """Four coloured quadrants, so a tile's position shows in every pixel."""
    img = Image.new("RGB", size)
    w, hgt = size
    for y in range(hgt):
        for x in range(w):
            img.putpixel((x, y), quadrant_colour(x, y, size))
    path = media_path(name)
    img.save(path, "BMP")
    return h.to_windows_path(path)


def quadrant_colour(x, y, size=(100, 100)):
    right, low = x >= size[0] // 2, y >= size[1] // 2
    return [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)][right + 2 * low]


def tone_wav(name, seconds=0.5, rate=22050):
    path = media_path(name)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        frames = b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate)))
                          for i in range(int(seconds * rate)))
        w.writeframes(frames)
    return h.to_windows_path(path)


def midi_file(name):
    """A minimal standard MIDI file: one track, one note."""
    track = bytes([0x00, 0x90, 0x3C, 0x40, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00])
    data = b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(track)) + track
    path = media_path(name)
    path.write_bytes(data)
    return h.to_windows_path(path)


def broken_bmp(name):
    path = media_path(name)
    path.write_bytes(b"BM this is not a bitmap at all" + bytes(200))
    return h.to_windows_path(path)


# ---- the saver process ----------------------------------------------------

def desktop_up():
    """Brings up Wine's desktop process with no pipe attached. Started
    instead by a probe whose output is read, it would keep that pipe open
    and the read would never end. The suite's station usually holds it up
    already."""
    if station.desktop_held():
        return
    subprocess.run(["wine", str(h.WINTOOL), "top"], env=h.wine_env(), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


class Saver:
    """Glimora.scr /s (or other arguments) with its main window found."""
    started = []

    def __init__(self, *args, env=None):
        desktop_up()
        self.scr = h.Scr(*(args or ("/s",)), env=env)
        Saver.started.append(self.scr)
        self.hwnd = None

    def wait_window(self, timeout=20):
        self.hwnd = h.wait_window("TMainForm", timeout=timeout)
        self.shown_at = time.time()
        return self.hwnd

    def alive(self):
        return self.scr.running()

    def wait_exit(self, timeout=15):
        return self.scr.wait(timeout=timeout)

    def player(self):
        return int(h.wintool("named", self.hwnd, "MidiPlayer"))

    def player_text(self):
        return h.wintool("text", self.player(), check=False) or ""

    def kill(self):
        self.scr.kill()


def stop_all():
    for scr in Saver.started:
        scr.kill()
    Saver.started.clear()


@pytest.fixture(autouse=True)
def clean_state():
    """Imported by the saver modules in place of the suite's clean-up: no
    settings file at the start, and only the savers the module started are
    ended, by their own id."""
    stop_all()
    h.remove_ini()
    yield
    stop_all()


# ---- the screen ---------------------------------------------------------------

def close(a, b, tol=0):
    return all(abs(x - y) <= tol for x, y in zip(a, b))


def watch_centre(duration, point=(512, 384), interval=0.1):
    """Colours seen at a point over a time, consecutive repeats dropped."""
    seen = []
    end = time.time() + duration
    while time.time() < end:
        c = h.pixel(*point)
        if not seen or seen[-1] != c:
            seen.append(c)
        time.sleep(interval)
    return seen


def wait_colour(point, colour, timeout=10.0, tol=0):
    return h.wait_until(lambda: close(h.pixel(*point), colour, tol), timeout=timeout,
                        interval=0.05, message=f"colour {colour} at {point}")


def bbox_of(img, colour):
    """Bounding box of the pixels of exactly that colour, or None."""
    bands = [band.point(lambda v, c=c: 255 if v == c else 0) for band, c in zip(img.convert("RGB").split(), colour)]
    mask = ImageChops.multiply(ImageChops.multiply(bands[0], bands[1]), bands[2])
    return mask.getbbox()


def count_colour(img, colour):
    bands = [band.point(lambda v, c=c: 255 if v == c else 0) for band, c in zip(img.convert("RGB").split(), colour)]
    mask = ImageChops.multiply(ImageChops.multiply(bands[0], bands[1]), bands[2])
    return mask.histogram()[255]


# ---- sound capture -----------------------------------------------------------

def sound_env(capture):
    """Wine environment whose ALSA default device writes into `capture`."""
    CAPTURE_DIR.mkdir(parents=True, exist_ok=True)
    conf = CAPTURE_DIR / "asound.conf"
    # The file names the whole configuration: the null device is spelt out.
    conf.write_text('pcm.!default { type file; slave { pcm { type null } } file "%s"; format "raw" }\n' % capture)
    if capture.exists():
        capture.unlink()
    return h.wine_env(ALSA_CONFIG_PATH=str(conf))


def captured_samples(capture):
    """Non-silent 16-bit samples written so far."""
    if not capture.exists():
        return 0
    data = capture.read_bytes()
    n = len(data) // 2
    return sum(1 for (v,) in struct.iter_unpack("<h", data[:n * 2]) if abs(v) > 200)


# ---- Windows 98 password path -----------------------------------------------

PASSWORD_ANSWER = h.PREFIX / "drive_c" / "glimora_password.txt"
PASSWORD_LOG = h.PREFIX / "drive_c" / "glimora_password.log"


def reg(*args):
    subprocess.run(["wine", "reg", *args], env=h.wine_env(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def win98_password_on():
    reg("add", r"HKCU\Software\Wine\AppDefaults\Glimora.scr", "/v", "Version", "/d", "win98", "/f")
    reg("add", r"HKCU\Control Panel\desktop", "/v", "ScreenSaveUsePassword", "/t", "REG_DWORD", "/d", "1", "/f")
    shutil.copy(h.BIN / "PASSWORD.CPL", h.SYSTEM32 / "PASSWORD.CPL")
    PASSWORD_LOG.unlink(missing_ok=True)


def win98_password_off():
    subprocess.run(["wine", "reg", "delete", r"HKCU\Software\Wine\AppDefaults\Glimora.scr", "/f"],
                   env=h.wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wine", "reg", "delete", r"HKCU\Control Panel\desktop", "/v", "ScreenSaveUsePassword", "/f"],
                   env=h.wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    (h.SYSTEM32 / "PASSWORD.CPL").unlink(missing_ok=True)
    PASSWORD_ANSWER.unlink(missing_ok=True)


def password_calls():
    return PASSWORD_LOG.read_text().splitlines() if PASSWORD_LOG.exists() else []
