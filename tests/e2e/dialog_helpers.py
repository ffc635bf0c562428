"""Helpers for driving the settings-mode dialogs like a user: controls are
found by their component names, clicked and typed into with xdotool, and the
settings file is checked byte for byte (Shift-JIS) afterwards."""
import subprocess
import time

import harness as h

UNNAMED = "名称未設定"
WM_SYSCOMMAND, SC_CLOSE = 0x0112, 0xF060
BS_TYPEMASK, BS_DEFPUSHBUTTON = 0x0F, 0x01
TBM_GETPOS = 0x0400


def sjis(text):
    return text.encode("cp932")


def ini_lines(**sections):
    """Expected file bytes for sections given as lists of (key, value)."""
    out = b""
    for name, keys in sections.items():
        out += b"[" + sjis(name) + b"]\r\n"
        for k, v in keys:
            out += sjis(k) + b"=" + sjis(str(v)) + b"\r\n"
    return out


def section_bytes(section):
    """The raw lines of one section of Glimora.ini (header included), or b""."""
    data = h.read_ini_bytes()
    head = b"[" + sjis(section) + b"]\r\n"
    start = data.find(head)
    if start < 0:
        return b""
    end = data.find(b"\r\n[", start + len(head))
    return data[start:] if end < 0 else data[start:end + 2]


class Dialog:
    """A dialog window of the running program, with its controls by name."""

    def __init__(self, cls, timeout=45.0):
        self.cls = cls
        self.hwnd = h.wait_window(cls, timeout=timeout)
        self.refresh()

    def refresh(self):
        wins = h.tree(self.hwnd)
        self.window = wins[0]
        self.controls = {w.name: w for w in wins[1:] if w.name}
        self.order = [w.name for w in wins[1:] if w.name]
        return self

    def __getitem__(self, name):
        return self.controls[name]

    @property
    def caption(self):
        return h.wintool("text", self.hwnd)

    def text(self, name):
        return h.wintool("text", self[name].hwnd)

    def checked(self, name):
        return h.control(self.hwnd, name).checked == 1

    def places(self, names, anchor, anchor_place):
        """(left, top, width, height) of each named control in the client
        area, taking the anchor control's known place as the reference."""
        al, at = self[anchor].rect[:2]
        ox, oy = al - anchor_place[0], at - anchor_place[1]
        out = {}
        for n in names:
            l, t, r, b = self[n].rect
            out[n] = (l - ox, t - oy, r - l, b - t)
        return out

    def click(self, name):
        h.click(*self[name].center)

    def double_click(self, name):
        h.double_click(*self[name].center)

    def focus_and_type(self, name, text):
        self.click(name)
        h.type_text(text)

    def close_box(self):
        """What the close box does. With no window manager there is no frame
        to click, so the close command is sent as the frame would send it."""
        h.wintool("post", self.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0)

    def is_default(self, name):
        return (self[name].style & BS_TYPEMASK) == BS_DEFPUSHBUTTON

    def gone(self, timeout=10.0):
        end = time.time() + timeout
        while time.time() < end:
            if not any(w.hwnd == self.hwnd for w in h.top_windows()):
                return True
            time.sleep(0.2)
        return False

    def enabled(self):
        return any(w.hwnd == self.hwnd and w.enabled for w in h.top_windows())

    def screenshot(self, name, client):
        """Saves the whole screen as an artefact and the dialog's client area
        (client = (width, height)) beside it; returns the latter. With no
        window manager only the client area is drawn; the window rectangle
        still counts the frame: equal borders, the caption on top."""
        img = h.screenshot(name)
        l, t, r, b = self.window.rect
        border = ((r - l) - client[0]) // 2
        left, top = l + border, b - border - client[1]
        crop = img.crop((left, top, left + client[0], top + client[1]))
        crop.save(h.ARTIFACTS / f"{name}-dialog.png")
        return crop


def start_settings(ini=None):
    """Starts Glimora.scr in settings mode on the given file text (None: no
    file) and returns (Scr, main Dialog)."""
    if ini is None:
        h.remove_ini()
    else:
        h.write_ini(ini)
    scr = h.Scr()
    return scr, Dialog("TMainDialog")


def names_ini(names, number=0, extra_main=""):
    lines = ["[Main]", f"ThemeNumber={number}"]
    lines += [f"ThemeName{n}={name}" for n, name in enumerate(names)]
    if extra_main:
        lines.append(extra_main)
    return "\n".join(lines) + "\n"


def type_fullwidth(dialog, edit_name, text, expect_growth=True):
    """Types full-width characters one at a time with xdotool. xdotool maps
    each new character to a spare key code first; Wine sometimes misses the
    very first key after such a remap, so a character that must fit is typed
    again when the text did not grow (at most three times)."""
    hwnd = dialog[edit_name].hwnd
    for ch in text:
        before = h.wintool("text", hwnd)
        for _ in range(3 if expect_growth else 1):
            h.xdotool("type", "--delay", 120, ch)
            time.sleep(0.15)
            if h.wintool("text", hwnd) != before:
                break
    return h.wintool("text", hwnd)


def shows_icon(box):
    """A message box keeps its icon control even without an icon; ask the
    control whether it holds one (STM_GETICON)."""
    for c in h.tree(box["hwnd"])[1:]:
        if c.cls.lower() == "static" and (c.style & 0x1F) == 0x03:
            return int(h.wintool("send", c.hwnd, 0x0171, 0, 0)) != 0
    return False


def text_length(hwnd):
    """Length of a window text (WM_GETTEXTLENGTH): blanks count, where the
    probe's printed text is trimmed."""
    return int(h.wintool("send", hwnd, 0x000E, 0, 0))


def trackbar_position(dialog, name):
    return int(h.wintool("send", dialog[name].hwnd, TBM_GETPOS, 0, 0))


class HeldFile:
    """Holds a file open with no sharing (as another program might), so that
    writing to it fails."""

    def __init__(self, path):
        self.proc = subprocess.Popen(["wine", str(h.WINTOOL), "hold", h.to_windows_path(path)],
                                     env=h.wine_env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        line = self.proc.stdout.readline()
        assert line.strip() == b"held", "could not hold the settings file"

    def release(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=10)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.release()
