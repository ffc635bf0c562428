"""The theme dialog's list pages and the image test display, driven through
the real program: the image, WAV and MIDI lists, the bytes they write to
Glimora.ini, the sound they play, and where the test display goes."""
import os
import subprocess
import time

import pytest

import harness as h
import theme_helpers as th
from theme_helpers import open_theme_dialog, theme_lines
# The fixtures are used by name (clean_state and desktop for every test).
from theme_suite import (IMAGE_CONTROLS, IMG, WAV, clean_state, desktop, dialog, keep_desktop_alive,  # noqa: F401
                         lists_ini, ok_writes_in_order, program, theme_ini)

# ---- the image list and its WAV list -----------------------------------------

def test_adding_three_files_to_an_empty_list(program):
    for n in ("a.bmp", "b.bmp", "c.bmp"):
        th.make_bmp(n)
    d = dialog(program)
    d.click("ImageAddBtn")
    th.choose_files(["c.bmp", "a.bmp", "b.bmp"])
    time.sleep(0.5)
    chosen = [f"{th.FILES_WIN}\\{n}" for n in ("c.bmp", "a.bmp", "b.bmp")]
    assert d.items("ImageListBox") == [(True, p) for p in chosen]
    assert d.texts("WavListBox") == ["なし"] * 3
    c = d.controls()
    assert [n for n in IMAGE_CONTROLS if c[n].enabled] == []
    assert c["ImageDeleteBtn"].enabled
    h.screenshot("theme_settings_three_added")
    ok_writes_in_order(d, "ImageCount=3",
                       [f"Image{k}={p}" for k, p in enumerate(chosen)] + [f"Wave{k}=なし" for k in range(3)])


def test_adding_one_file_inserts_it_before_the_current_entry(program):
    lists_ini(5)
    th.make_bmp("new.bmp")
    d = dialog(program)
    d.click_item("ImageListBox", 2)
    assert d.text("WavPlayEdit") == WAV[2]
    d.click("ImageAddBtn")
    th.choose_files(["new.bmp"])
    time.sleep(0.5)
    new = f"{th.FILES_WIN}\\new.bmp"
    assert d.items("ImageListBox") == [(False, IMG[0]), (False, IMG[1]), (True, new), (False, IMG[2]),
                                       (False, IMG[3]), (False, IMG[4])]
    assert d.texts("WavListBox") == WAV[:2] + ["なし"] + WAV[2:5]
    assert all(d.ctl(n).enabled for n in IMAGE_CONTROLS)


def test_moving_an_image_moves_its_wav(program):
    lists_ini(3)
    d = dialog(program)
    d.click_item("ImageListBox", 0)
    d.click("ImageUpBtn")  # first entry: nothing happens
    assert d.texts("ImageListBox") == IMG[:3]
    d.click_item("ImageListBox", 2)
    d.click("ImageDownBtn")  # last entry: nothing happens
    assert d.texts("ImageListBox") == IMG[:3]
    assert d.text("WavPlayEdit") == WAV[2]
    d.click("ImageUpBtn")
    assert d.items("ImageListBox") == [(False, IMG[0]), (True, IMG[2]), (False, IMG[1])]
    assert d.texts("WavListBox") == [WAV[0], WAV[2], WAV[1]]
    assert d.text("WavPlayEdit") == WAV[2]
    d.click_item("ImageListBox", 1)
    assert d.text("WavPlayEdit") == WAV[2]
    d.click_item("ImageListBox", 0)
    d.click_item("ImageListBox", 1, ctrl=True)
    d.click("ImageDownBtn")  # disabled with two selected: nothing moves
    assert d.texts("ImageListBox") == [IMG[0], IMG[2], IMG[1]]
    d.ok()
    assert d.closed()
    lines = theme_lines()
    assert [l for l in lines if l.startswith(("Image0", "Image1", "Image2", "Wave"))] == [
        f"Image0={IMG[0]}", f"Image1={IMG[2]}", f"Image2={IMG[1]}",
        f"Wave0={WAV[0]}", f"Wave1={WAV[2]}", f"Wave2={WAV[1]}"]


def test_deleting_every_entry_empties_the_wav_edit_and_enables_all(program):
    lists_ini(3)
    d = dialog(program)
    d.click_item("ImageListBox", 0)
    assert d.text("WavPlayEdit") == WAV[0]
    d.click_item("ImageListBox", 1, ctrl=True)
    d.click_item("ImageListBox", 2, ctrl=True)
    assert not any(d.ctl(n).enabled for n in IMAGE_CONTROLS)
    d.click("ImageDeleteBtn")
    assert d.items("ImageListBox") == [] and d.items("WavListBox") == []
    assert d.text("WavPlayEdit") == ""
    assert all(d.ctl(n).enabled for n in IMAGE_CONTROLS)
    d.ok()
    assert d.closed()
    assert "ImageCount=0" in theme_lines()
    assert not [l for l in theme_lines() if l.startswith(("Image0", "Wave"))]


def test_wav_delete_sets_none(program):
    lists_ini(2)
    d = dialog(program)
    d.click_item("ImageListBox", 1)
    d.click("WavDeleteBtn")
    assert d.texts("WavListBox") == [WAV[0], "なし"]
    assert d.text("WavPlayEdit") == "なし"


def test_wav_set_replaces_the_sound_of_the_current_image(program):
    wav, _ = th.make_wav("set.wav")
    lists_ini(3)
    d = dialog(program)
    d.click_item("ImageListBox", 1)
    d.click("WavSetBtn")
    th.choose_files(["set.wav"])
    assert d.texts("WavListBox") == [WAV[0], wav, WAV[2]]
    assert d.text("WavPlayEdit") == wav


def test_wav_test_play_reaches_the_sound_output(program, tmp_path):
    wav, frames = th.make_wav("tone.wav")
    conf, raw = th.alsa_capture(tmp_path)
    theme_ini(ImageCount=2, Image0=IMG[0], Wave0="なし", Image1=IMG[1], Wave1=wav)
    d = dialog(program, env=h.wine_env(ALSA_CONFIG_PATH=str(conf)))
    d.click_item("ImageListBox", 0)
    d.click("WavPlayBtn")  # "なし" stays silent
    time.sleep(1.5)
    silent = raw.stat().st_size if raw.exists() else 0
    d.click_item("ImageListBox", 1)
    assert d.text("WavPlayEdit") == wav
    d.click("WavPlayBtn")
    h.wait_until(lambda: raw.exists() and raw.stat().st_size - silent >= frames * 2 * 9 // 10, timeout=15,
                 message="the WAV sound in the ALSA capture file")
    played = raw.read_bytes()[silent:]
    assert any(played), "only silence was captured"


# ---- the MIDI list -----------------------------------------------------------

def test_midi_test_of_a_missing_file_reports_the_system_error(program):
    theme_ini(MidiCount=1, Midi0=f"{th.FILES_WIN}\\missing.mid")
    d = dialog(program)
    d.page(1)
    d.click_item("MidiListBox", 0)
    d.click("MidiPlayBtn")
    box = h.wait_message_box()
    text = box["texts"][0]
    reason, code = text.split("\r\n") if "\r\n" in text else text.rsplit(" ", 1)
    assert code.startswith("(エラーコード:") and code.endswith(")")
    assert int(code[len("(エラーコード:"):-1]) > 256  # an MCI error code
    assert reason and reason != "原因不明のｴﾗｰ"
    assert box["icon"]
    h.press_box_button(box, "OK")
    time.sleep(0.5)
    assert d.text("MidiPlayBtn") == "テスト再生"


def test_midi_test_plays_and_stops(program):
    good = th.make_midi("tune.mid")
    theme_ini(MidiCount=2, Midi0=good, Midi1=good)
    d = dialog(program)
    d.page(1)
    d.click_item("MidiListBox", 0)
    assert d.text("MidiPlayBtn") == "テスト再生"
    d.click("MidiPlayBtn")
    assert h.message_boxes() == []
    assert d.text("MidiPlayBtn") == "再生をやめる"
    assert d.text("MidiTestPlayer") == good
    d.click("MidiPlayBtn")
    assert d.text("MidiPlayBtn") == "テスト再生"
    # The end of the file (the device's completion notice) makes the button idle.
    d.click("MidiPlayBtn")
    assert d.text("MidiPlayBtn") == "再生をやめる"
    h.wintool("post", d.ctl("MidiTestPlayer").hwnd, 0x3B9, 1, 0)  # MM_MCINOTIFY, successful
    h.wait_until(lambda: d.text("MidiPlayBtn") == "テスト再生", timeout=5, message="the idle caption")
    # Playing again, then a click in the list or a page change stops it.
    d.click("MidiPlayBtn")
    assert d.text("MidiPlayBtn") == "再生をやめる"
    d.click_item("MidiListBox", 1)
    assert d.text("MidiPlayBtn") == "テスト再生"
    d.click("MidiPlayBtn")
    d.page(2)
    assert d.ctl("MidiPlayBtn").text == "テスト再生"


def test_midi_list_add_move_delete(program):
    a, b = th.make_midi("a.mid"), th.make_midi("b.mid")
    theme_ini(MidiCount=1, Midi0=a, BGM=0)
    d = dialog(program)
    d.page(1)
    assert d.checked("BGMRBtn1")
    d.click_item("MidiListBox", 0)
    d.click("MidiAddBtn")
    th.choose_files(["b.mid"])
    time.sleep(0.5)
    assert d.items("MidiListBox") == [(True, b), (False, a)]
    d.click("MidiDownBtn")
    assert d.items("MidiListBox") == [(False, a), (True, b)]
    d.click("MidiDeleteBtn")
    assert d.texts("MidiListBox") == [a]
    ok_writes_in_order(d, "BGM=0", ["MidiCount=1", f"Midi0={a}"])


# ---- the image test display --------------------------------------------------

def test_each_selected_image_opens_its_own_window_in_turn(program):
    names = [th.make_bmp(f"s{i}.bmp", (60 + 10 * i, 40), (0, 90 * i, 200)) for i in range(3)]
    theme_ini(ImageCount=3, **{f"Image{i}": n for i, n in enumerate(names)})
    d = dialog(program)
    d.click_item("ImageListBox", 0)
    # With three selected the button is disabled; the list's double click still shows them.
    d.shift_double_click_item("ImageListBox", 2)
    for i, name in enumerate(names):
        w = h.wait_window("TImageTestForm", title=f"Glimora(ﾃｽﾄ表示): {name}")
        assert len([x for x in h.top_windows() if x.cls == "TImageTestForm"]) == 1
        assert d.text("ImageShowBtn") == "テスト表示"
        view = h.control(w, "TestImage")
        assert (view.rect[2] - view.rect[0], view.rect[3] - view.rect[1]) == (60 + 10 * i, 40)
        if i == 0:
            shot = h.screenshot("image_test_display")
            assert shot.getpixel(view.center) == (0, 0, 200)
        h.key("Escape" if i % 2 == 0 else "Return")
        assert _gone(w)
    time.sleep(0.5)
    assert h.find_window("TImageTestForm") is None


def _gone(hwnd, timeout=10):
    """True once the window no longer exists."""
    end = time.time() + timeout
    while time.time() < end:
        if h.wintool("tree", hwnd, check=False) is None:
            return True
        time.sleep(0.2)
    return False


def test_a_file_the_component_rejects_is_reported_and_the_window_opens(program):
    broken = th.make_broken("broken.bmp")
    theme_ini(ImageCount=1, Image0=broken)
    d = dialog(program)
    d.click_item("ImageListBox", 0)
    d.click("ImageShowBtn")
    box = h.wait_message_box()
    assert any(broken in t for t in box["texts"]), box
    h.press_box_button(box, "OK")
    w = h.wait_window("TImageTestForm", title=f"Glimora(ﾃｽﾄ表示): {broken}")
    view = h.control(w, "TestImage")
    assert (view.rect[2] - view.rect[0], view.rect[3] - view.rect[1]) == (177, 41)
    h.key("Return")
    assert _gone(w)


def test_a_file_that_cannot_be_read_leaves_the_design_window(program):
    missing = f"{th.FILES_WIN}\\gone.bmp"
    theme_ini(ImageCount=1, Image0=missing)
    d = dialog(program)
    d.click_item("ImageListBox", 0)
    d.click("ImageShowBtn")
    box = h.wait_message_box()
    assert box["caption"] == "Glimora" and box["icon"] and box["texts"][0].endswith(".")
    h.press_box_button(box, "OK")
    w = h.wait_window("TImageTestForm", title="Glimoraの設定：テスト表示")
    assert h.tree(w)[0].rect[:2] == (270, 105)
    h.key("Escape")
    assert _gone(w)


# ---- placement beside the task bar, on an 800 x 600 screen -------------------

def restart_wine(desktop):
    """A new Wine server (and desktop) for the display now in DISPLAY."""
    desktop["holder"].close()
    subprocess.run(["wineserver", "-k"], env=h.wine_env(), check=False)
    subprocess.run(["wineserver", "-w"], env=h.wine_env(), check=False)
    desktop["holder"] = keep_desktop_alive()


@pytest.fixture
def small_screen(monkeypatch, desktop):
    """Display GLIMORA_SMALL_DISPLAY (800 x 600, default :26) with a Wine
    desktop started on it; the usual display again afterwards."""
    monkeypatch.setenv("DISPLAY", os.environ.get("GLIMORA_SMALL_DISPLAY", ":26"))
    restart_wine(desktop)
    yield
    monkeypatch.undo()
    restart_wine(desktop)


def show_on_small_screen(scr, image_size, bar):
    """Opens the theme's settings, shows one image of the given size with a
    stand-in task bar at `bar`; returns the window's rectangle and its parts."""
    name = th.make_bmp(f"place{image_size[0]}x{image_size[1]}.bmp", image_size)
    theme_ini(ImageCount=1, Image0=name)
    stand_in = th.StandIn("Shell_TrayWnd", *bar)
    try:
        d = open_theme_dialog(scr)
        d.click_item("ImageListBox", 0)
        d.click("ImageShowBtn")
        w = h.wait_window("TImageTestForm", title=f"Glimora(ﾃｽﾄ表示): {name}")
        time.sleep(0.5)
        parts = h.tree(w)
        h.screenshot(f"image_test_display_{image_size[0]}x{image_size[1]}_small_screen")
        h.wintool("close", w)  # the frame's close box
        assert _gone(w)
        d.click("CanncelBtn")
        assert d.closed()
        return parts[0].rect, {p.name: p for p in parts}
    finally:
        stand_in.close()


def test_test_display_placement_on_a_small_screen(program, small_screen):
    scr = program()
    bottom = (-2, 572, 802, 602)
    # A small image: centred in the free band above the task bar.
    (l, t, r, b), _ = show_on_small_screen(scr, (200, 120), bottom)
    width, height = r - l, b - t
    assert (l, t) == ((800 - width) // 2, (572 - height) // 2)
    # Larger than the free band: shrunk to it, the scroll box scrolls the rest.
    rect, parts = show_on_small_screen(scr, (1000, 700), bottom)
    assert rect == (0, 0, 800, 572)
    box, view = parts["ImageScrollBox"], parts["TestImage"]
    assert box.style & 0x00300000 == 0x00300000  # both scroll bars
    assert (view.rect[2] - view.rect[0], view.rect[3] - view.rect[1]) == (1000, 700)
    # Task bar at the top: one below it, the band's height.
    rect, _ = show_on_small_screen(scr, (300, 700), (-2, -2, 802, 28))
    assert rect[1] == 29 and rect[3] - rect[1] == 572
    # Task bar at the left, a window too wide: one beyond it, the band's width.
    rect, _ = show_on_small_screen(scr, (900, 100), (-2, -2, 60, 602))
    assert rect[0] == 61 and rect[2] - rect[0] == 740

