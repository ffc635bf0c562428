"""Driving the theme settings dialog of a running Glimora.scr.

The dialog is reached as a user reaches it: settings mode, a theme chosen,
"画像／音声／ＢＧＭ等の設定" pressed. Controls are found by their component
names and pressed with real mouse clicks where the user would click.
"""
import pathlib
import struct
import subprocess
import time
import wave

from PIL import Image

import harness as h

# Files the tests choose live in the prefix, where Windows sees them as C:\gt.
FILES = h.PREFIX / "drive_c" / "gt"
FILES_WIN = "C:\\gt"

# Centres of the four tabs, relative to the page control's top left corner.
TAB_CENTRES = [(40, 10), (108, 10), (170, 10), (232, 10), (272, 10)]

LB_GETITEMHEIGHT = 0x01A1
LB_GETTOPINDEX = 0x018E
TBM_GETPOS = 0x0400
CB_GETCURSEL = 0x0147


class ThemeDialog:
    """A running program with its theme settings dialog open."""

    def __init__(self, scr, hwnd):
        self.scr, self.hwnd = scr, hwnd

    # ---- reading ----------------------------------------------------------

    def ctl(self, name):
        return h.control(self.hwnd, name)

    def controls(self):
        return {w.name: w for w in h.tree(self.hwnd) if w.name}

    def text(self, name):
        return h.wintool("text", self.ctl(name).hwnd)

    def items(self, name):
        """[(selected, text), ...] of a list box."""
        out = h.wintool("lbitems", self.ctl(name).hwnd)
        return [(line[0] == "1", line[2:]) for line in out.splitlines()] if out else []

    def texts(self, name):
        return [t for _, t in self.items(name)]

    def send(self, name, msg, wp=0, lp=0):
        return int(h.wintool("send", self.ctl(name).hwnd, msg, wp, lp))

    def checked(self, name):
        return self.ctl(name).checked == 1

    # ---- acting -----------------------------------------------------------

    def click(self, name):
        h.click(*self.ctl(name).center)
        time.sleep(0.4)

    def page(self, index):
        l, t, _, _ = self.ctl("SetPageControl").rect
        x, y = TAB_CENTRES[index]
        h.click(l + x, t + y)
        time.sleep(0.5)

    def item_point(self, name, index):
        height = self.send(name, LB_GETITEMHEIGHT)
        top = self.send(name, LB_GETTOPINDEX)
        l, t, _, _ = self.ctl(name).rect
        return l + 40, t + 2 + (index - top) * height + height // 2

    def click_item(self, name, index, ctrl=False):
        x, y = self.item_point(name, index)
        if ctrl:
            h.xdotool("mousemove", x, y, "keydown", "ctrl", "click", 1, "keyup", "ctrl")
        else:
            h.click(x, y)
        time.sleep(0.4)

    def shift_double_click_item(self, name, index):
        """Extends the selection to the entry and double-clicks it."""
        x, y = self.item_point(name, index)
        h.xdotool("mousemove", x, y, "keydown", "shift", "click", "--repeat", 2, "--delay", 80, 1,
                  "keyup", "shift")
        time.sleep(0.4)

    def set_text(self, name, text):
        h.wintool("settext", self.ctl(name).hwnd, text)

    def ok(self):
        self.click("OKBtn")

    def closed(self, timeout=10):
        return h.wintool("gone", "TSetDialog", int(timeout * 1000), check=False) is not None


def erase_typed_text():
    """Empties the focused edit as a user would: to the end, then backspace."""
    h.key("End", *["BackSpace"] * 8)
    time.sleep(0.3)


def open_theme_dialog(scr, theme=0):
    """Selects theme n in the theme selection dialog and opens its settings."""
    main = h.wait_window("TMainDialog", timeout=30)
    h.click(*h.control(main, f"ThemeRBtn{theme}").center)
    time.sleep(0.3)
    h.click(*h.control(main, "SetDlgBtn").center)
    hwnd = h.wait_window("TSetDialog", timeout=20)
    time.sleep(0.5)
    return ThemeDialog(scr, hwnd)


def theme_lines(section="Theme0"):
    """The raw lines of one section, Shift-JIS decoded, in file order."""
    lines, inside = [], False
    for raw in h.read_ini_bytes().decode("cp932").split("\r\n"):
        if raw.startswith("["):
            inside = raw == f"[{section}]"
            continue
        if inside and raw:
            lines.append(raw)
    return lines


# ---- the system's open-file dialog -----------------------------------------

def file_dialog(timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        for w in h.top_windows():
            if w.cls == "#32770" and w.text == "開く":
                return w.hwnd
        time.sleep(0.2)
    raise AssertionError("no open-file dialog appeared")


def choose_files(names, folder=FILES_WIN):
    """Types into the open dialog's file-name box: first the folder (the
    dialog moves there), then the names, quoted when several, pressing
    "開く" after each."""
    dlg = file_dialog()
    parts = h.tree(dlg)
    name_box = next(w for w in parts if w.cls == "Edit")
    open_btn = next(w for w in parts if w.cls == "Button" and w.text.startswith("開く"))
    look_in = next(w for w in parts if w.cls == "ComboBox")  # "ファイルの場所"
    h.wintool("settext", name_box.hwnd, folder + "\\")
    h.wintool("click", open_btn.hwnd)
    leaf = folder.rstrip("\\").split("\\")[-1].lower()
    h.wait_until(lambda: h.wintool("text", look_in.hwnd).lower() == leaf, timeout=10, message="the folder")
    typed = " ".join(f'"{n}"' for n in names) if len(names) > 1 else names[0]
    h.wintool("settext", name_box.hwnd, typed)
    h.wintool("click", open_btn.hwnd)
    h.wait_until(lambda: all(w.hwnd != dlg for w in h.top_windows()), timeout=10,
                 message="the open dialog to close")
    time.sleep(0.3)


# ---- test files ------------------------------------------------------------

def make_bmp(name, size=(40, 30), colour=(200, 30, 30)):
    FILES.mkdir(parents=True, exist_ok=True)
    Image.new("RGB", size, colour).save(FILES / name)
    return f"{FILES_WIN}\\{name}"


def make_broken(name):
    FILES.mkdir(parents=True, exist_ok=True)
    (FILES / name).write_bytes(b"BM this is no bitmap at all" + bytes(64))
    return f"{FILES_WIN}\\{name}"


def make_wav(name, seconds=0.5, rate=22050):
    FILES.mkdir(parents=True, exist_ok=True)
    frames = int(seconds * rate)
    with wave.open(str(FILES / name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", 8000 if (i // 25) % 2 else -8000) for i in range(frames)))
    return f"{FILES_WIN}\\{name}", frames


def make_midi(name):
    """A valid one-track MIDI file: one note of about half a second."""
    FILES.mkdir(parents=True, exist_ok=True)
    events = bytes([0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00])
    data = b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" + struct.pack(">I", len(events)) + events
    (FILES / name).write_bytes(data)
    return f"{FILES_WIN}\\{name}"


def alsa_capture(tmpdir):
    """An ALSA configuration that sends every sound to a file; returns (config, file)."""
    raw = pathlib.Path(tmpdir) / "audio.raw"
    conf = pathlib.Path(tmpdir) / "asound.conf"
    conf.write_text('pcm.!default { type file; slave.pcm { type null }; file "%s"; format "raw" }\n' % raw)
    return conf, raw


class StandIn:
    """A window of a given class at a given place (a stand-in task bar)."""

    def __init__(self, cls, left, top, right, bottom):
        self.proc = subprocess.Popen(
            ["wine", str(h.WINTOOL), "parent", *map(str, (right - left, bottom - top, cls, left, top))],
            env=h.wine_env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.hwnd = int(self.proc.stdout.readline().decode().strip())

    def close(self):
        h.wintool("close", self.hwnd, check=False)
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
