"""The theme settings dialog, its list pages and the image test display, driven
through the real program: what the dialog shows, the bytes it writes to
Glimora.ini, its messages, the sound it plays and where the test display goes."""
import os
import subprocess
import time

import pytest

import harness as h
import theme_helpers as th
from theme_helpers import ThemeDialog, open_theme_dialog, theme_lines

IMG = [f"{th.FILES_WIN}\\p{i}.bmp" for i in range(5)]
WAV = [f"{th.FILES_WIN}\\w{i}.wav" for i in range(5)]

# What OK writes for a theme never saved, in the file's order.
DEFAULT_LINES = [
    "Title=1", "TitleText0=Wren presents", "TitleText1=Glimora",
    "TitleFontName0=Times New Roman", "TitleFontName1=Times New Roman",
    "TitleFontSize0=48", "TitleFontSize1=96", "TitleR=255", "TitleG=255", "TitleB=255",
    "TitleFadeInterval=100", "TitleOnDelay=1500", "ImageCount=0",
    "ImageOrdRandom=1", "FromLastImage=0", "LastImageNumber=0",
    "BGM=1", "MidiCount=0", "MidiOrdRandom=1", "FromLastMidi=0", "LastMidiNumber=0",
    "ImageNormalOn=0", "ImageBlindOn=1", "ImageScrollOn=0", "ImageStretchOn=0", "ImageSlideOn=0",
    "ImageHalfSlideOn=0", "ImageMeshOn=0", "ImageFadeOn=0", "ImageFadeInSpeed=400",
    "ImageNormalOff=0", "ImageBlindOff=1", "ImageScrollOff=0", "ImageStretchOff=0", "ImageSlideOff=0",
    "ImageHalfSlideOff=0", "ImageMeshOff=0", "ImageFadeOff=0", "ImageFadeOutSpeed=400",
    "NotErase=0", "ImagePosRandom=1", "ImageFit=1", "Monitors=1", "ShowKeys=0", "Caption=0",
    "PanZoom=0", "BlurFill=0", "BackGround=0", "BackColor=0", "BackFileName=なし",
    "FirstDelay=4000", "ImageOnDelay=3000", "ImageOffDelay=2000",
]

IMAGE_CONTROLS = ["ImageAddBtn", "ImageUpBtn", "ImageDownBtn", "ImageShowBtn", "WavPlayEdit",
                  "WavSetBtn", "WavDeleteBtn", "WavPlayBtn"]


@pytest.fixture(autouse=True)
def clean_state():
    """No settings file at the start. Only the processes these tests start are
    ended (by their own id), never other people's."""
    h.remove_ini()
    yield


def keep_desktop_alive():
    """Wine's desktop process ends with the last program that has a window;
    one started while it is ending can hang. A tiny window of our own kept
    off the screen holds the desktop for the whole run."""
    subprocess.run(["wineserver", "-p"], env=h.wine_env(), check=False)
    return th.StandIn("GlimoraThemeTestKeepAlive", -20, -20, -19, -19)


@pytest.fixture(scope="module", autouse=True)
def desktop():
    state = {"holder": keep_desktop_alive()}
    yield state
    state["holder"].close()


@pytest.fixture
def program():
    started = []

    def start(env=None):
        scr = h.Scr(env=env)
        started.append(scr)
        return scr

    yield start
    for scr in started:
        scr.kill()


def theme_ini(**keys):
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": keys})


def lists_ini(count, **extra):
    keys = {"ImageCount": count}
    keys.update({f"Image{i}": IMG[i] for i in range(count)})
    keys.update({f"Wave{i}": WAV[i] for i in range(count)})
    keys.update(extra)
    theme_ini(**keys)


def dialog(program, env=None):
    scr = program(env)
    return open_theme_dialog(scr)


def ok_writes_in_order(d, first, following):
    """OK closes the dialog and the theme's keys hold `first`, then `following` right after it."""
    d.ok()
    assert d.closed()
    lines = theme_lines()
    i = lines.index(first)
    assert lines[i + 1:i + 1 + len(following)] == following


# ---- loading and saving ----------------------------------------------------

def test_new_theme_opens_with_defaults_and_ok_writes_every_key_in_order(program):
    d = dialog(program)
    assert h.tree(d.hwnd)[0].text == "Glimoraの設定：名称未設定"
    c = d.controls()
    assert [c[f"ImageOnBtn{k}"].checked for k in range(8)] == [0, 1, 0, 0, 0, 0, 0, 0]
    assert [c[f"ImageOffBtn{k}"].checked for k in range(8)] == [0, 1, 0, 0, 0, 0, 0, 0]
    assert d.send("ImageFadeInScrBar", th.TBM_GETPOS) == 400
    assert d.send("ImageFadeOutScrBar", th.TBM_GETPOS) == 400
    for name in ("ImageOrderRBtn1", "MidiOrderRBtn1", "BGMRBtn0", "ImagePosRBtn1", "BackRBtn0"):
        assert c[name].checked == 1, name
    assert c["BackCmbBox"].text == "黒色" and d.send("BackCmbBox", th.CB_GETCURSEL) == 0
    assert c["BackEdit"].text == "なし"
    assert [c[n].text for n in ("FirstDelayEdit", "ImageOnEdit", "ImageOffEdit")] == ["4000", "3000", "2000"]
    assert not c["WavListBox"].visible
    for i, name in enumerate(["images", "music", "effects", "other"]):
        d.page(i)
        h.screenshot(f"theme_settings_page_{i}_{name}")
    d.ok()
    assert d.closed()
    assert theme_lines("Theme0") == DEFAULT_LINES
    assert "Image0" not in h.read_ini_bytes().decode("cp932")
    assert "Wave" not in h.read_ini_bytes().decode("cp932")


def test_cancel_and_close_box_write_nothing(program):
    theme_ini(FirstDelay=10)
    before = h.read_ini_bytes()
    d = dialog(program)
    d.page(3)
    d.set_text("FirstDelayEdit", "77")
    d.click("CanncelBtn")
    assert d.closed()
    d = open_theme_dialog(d.scr)
    assert d.text("FirstDelayEdit") == "10"
    h.wintool("close", d.hwnd)
    assert d.closed()
    assert h.read_ini_bytes() == before


def test_older_keys_preset_the_boxes_and_kept_values_go_back_unchanged(program):
    theme_ini(TitleText0="手で書いた題", TitleR=12, ImageOnEffect=99, ImageFadeOn=1, ImageOffEffect=4,
              LastImageNumber=5, LastMidiNumber=3, ImageNormalOn=0)
    d = dialog(program)
    c = d.controls()
    # Blind, scroll, stretch, slide, split slide and mesh; none and fade as their keys say.
    assert [c[f"ImageOnBtn{k}"].checked for k in range(8)] == [0, 1, 1, 1, 1, 1, 1, 1]
    # 4 stands for split slide and clears blind.
    assert [c[f"ImageOffBtn{k}"].checked for k in range(8)] == [0, 0, 0, 0, 0, 1, 0, 0]
    d.ok()
    assert d.closed()
    lines = theme_lines()
    assert not any(l.startswith(("ImageOnEffect", "ImageOffEffect")) for l in lines)
    assert "TitleText0=手で書いた題" in lines and "TitleR=12" in lines
    assert "LastImageNumber=5" in lines and "LastMidiNumber=3" in lines
    assert [l for l in lines if l.startswith("Image") and l.endswith("On=1")] == [
        "ImageBlindOn=1", "ImageScrollOn=1", "ImageStretchOn=1", "ImageSlideOn=1",
        "ImageHalfSlideOn=1", "ImageMeshOn=1", "ImageFadeOn=1"]
    assert [l for l in lines if l.endswith("Off=1")] == ["ImageHalfSlideOff=1"]


def test_free_text_in_the_colour_box_stores_minus_one(program):
    theme_ini(BackColor=3)
    d = dialog(program)
    d.page(3)
    assert d.ctl("BackCmbBox").text == "緑色"
    l, t, r, b = d.ctl("BackCmbBox").rect
    h.click(l + 20, (t + b) // 2)
    th.erase_typed_text()
    h.type_text("pink")
    time.sleep(0.3)
    d.ok()
    assert d.closed()
    assert "BackColor=-1" in theme_lines()


def test_no_effect_left_checks_blind_on_page_change_and_on_ok(program):
    d = dialog(program)
    d.page(2)
    d.click("ImageOnBtn1")
    assert not d.checked("ImageOnBtn1")
    d.page(3)
    assert d.checked("ImageOnBtn1")
    d.page(2)
    d.click("ImageOffBtn1")
    d.click("ImageOffBtn7")
    d.click("ImageOffBtn7")
    assert not any(d.checked(f"ImageOffBtn{k}") for k in range(8))
    d.ok()
    assert d.closed()
    lines = theme_lines()
    assert "ImageBlindOff=1" in lines and "ImageBlindOn=1" in lines


def test_emptied_delay_gets_zero_when_the_focus_moves(program):
    d = dialog(program)
    d.page(3)
    d.click("FirstDelayEdit")
    th.erase_typed_text()
    time.sleep(0.3)
    assert d.text("FirstDelayEdit") == ""
    d.click("ImageOnEdit")
    assert d.text("FirstDelayEdit") == "0"
    d.ok()
    assert d.closed()
    assert "FirstDelay=0" in theme_lines()


def test_enter_in_an_emptied_delay_reports_it_and_keeps_the_stored_theme(program):
    lists_ini(2, ImageOffDelay=2500, TitleText1="Mine")
    before = h.read_ini_bytes()
    d = dialog(program)
    d.page(3)
    d.click("ImageOffEdit")
    th.erase_typed_text()
    h.key("Return")
    box = h.wait_message_box()
    assert box["caption"] == "Glimora" and box["icon"]
    assert box["texts"] == ["'' は整数ではありません."]
    assert h.read_ini_bytes() == before
    h.press_box_button(box, "OK")
    time.sleep(0.5)
    assert h.find_window("TSetDialog") == d.hwnd
    d.set_text("ImageOffEdit", "-15")
    d.ok()
    assert d.closed()
    lines = theme_lines()
    assert "ImageOffDelay=-15" in lines and "TitleText1=Mine" in lines and "Image1=" + IMG[1] in lines


def test_a_file_that_refuses_writes_is_reported_and_the_dialog_stays(program):
    lists_ini(1, FirstDelay=111)
    before = h.read_ini_bytes()
    d = dialog(program)
    d.page(3)
    d.set_text("FirstDelayEdit", "222")
    holder = subprocess.Popen(["wine", str(h.WINTOOL), "hold", "C:\\windows\\Glimora.ini"], env=h.wine_env(),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        assert holder.stdout.readline().strip() == b"held"
        d.ok()
        box = h.wait_message_box()
        assert box["caption"] == "Glimora" and box["icon"]
        assert box["texts"] == ["C:\\windows\\Glimora.ini に書き込めません."]
        h.press_box_button(box, "OK")
    finally:
        holder.kill()
        holder.wait(timeout=10)
    assert h.read_ini_bytes() == before
    assert h.find_window("TSetDialog") == d.hwnd
    d.ok()
    assert d.closed()
    assert "FirstDelay=222" in theme_lines() and "Image0=" + IMG[0] in theme_lines()


def test_background_chooser_shows_the_file_and_leaves_the_radio(program):
    back = th.make_bmp("back.bmp")
    d = dialog(program)
    d.page(3)
    d.click("Button1")
    th.choose_files(["back.bmp"])
    assert d.text("BackEdit") == back
    assert d.checked("BackRBtn0") and not d.checked("BackRBtn1")
    d.click("BackRBtn2")
    ok_writes_in_order(d, "BackGround=2", ["BackColor=0", f"BackFileName={back}"])


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


# ---- fitting large pictures, and the picture names offered -------------------

def test_image_fit_box_is_loaded_and_saved_right_after_the_image_position(program):
    theme_ini(ImageFit=0, ImagePosRandom=0)
    d = dialog(program)
    d.page(3)
    box = d.ctl("ImageFitCBox")
    assert box.text == "大きな画像は画面に合わせて縮小する" and box.visible and box.checked == 0
    # Below the position panel, inside the page.
    assert box.rect[1] > d.ctl("Panel1").rect[3] and box.rect[3] <= d.ctl("SetPageControl").rect[3]
    h.screenshot("theme_settings_image_fit")
    d.click("ImageFitCBox")
    assert d.checked("ImageFitCBox")
    ok_writes_in_order(d, "ImagePosRandom=0", ["ImageFit=1"])


def test_picture_choosers_offer_the_newer_names(program):
    d = dialog(program)
    d.page(3)
    d.click("Button1")
    dlg = th.file_dialog()
    name_box = next(w for w in h.tree(dlg) if w.cls == "Edit")
    pattern = h.wintool("text", name_box.hwnd)
    for ext in ("*.jpg", "*.jpeg", "*.jfif", "*.tif", "*.tiff", "*.png", "*.q4"):
        assert ext in pattern.split(";"), ext
    h.key("Escape")
    h.wait_until(lambda: not any(w.cls == "#32770" and w.text == "開く" for w in h.top_windows()), timeout=10)


# ---- what the other monitors show ---------------------------------------------

MONITOR_CHOICES = ["MonitorsRBtn0", "MonitorsRBtn1", "MonitorsRBtn2"]


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def test_monitors_choice_stands_in_the_free_space_and_is_written_after_image_fit(program):
    theme_ini(Monitors=2, ImageFit=0)
    d = dialog(program)
    d.page(3)
    c = d.controls()
    assert c["MonitorsBox"].text == "複数モニター" and c["MonitorsBox"].visible
    assert [c[n].text for n in MONITOR_CHOICES] == ["メインのみ", "別々の画像", "同じ画像"]
    assert [c[n].checked for n in MONITOR_CHOICES] == [0, 0, 1]
    # Inside the position panel, clear of every control that was there before.
    box, panel = c["MonitorsBox"].rect, c["Panel1"].rect
    assert panel[0] < box[0] and box[2] < panel[2] and panel[1] < box[1] and box[3] < panel[3]
    panel_controls = [w for w in h.tree(c["Panel1"].hwnd)[1:]
                      if w.name and w.name != "MonitorsBox" and not w.name.startswith("MonitorsRBtn")]
    assert len(panel_controls) == 12
    assert not [w.name for w in panel_controls if overlaps(w.rect, box)]
    h.screenshot("theme_settings_monitors")
    d.click("MonitorsRBtn0")
    assert [d.checked(n) for n in MONITOR_CHOICES] == [True, False, False]
    d.ok()
    assert d.closed()
    lines = theme_lines()
    assert lines[lines.index("ImageFit=0") + 1] == "Monitors=0"


@pytest.mark.parametrize("stored", [None, "7", "-1", "two"])
def test_monitors_absent_or_bad_opens_as_every_monitor_its_own(program, stored):
    theme_ini(**({} if stored is None else {"Monitors": stored}))
    d = dialog(program)
    d.page(3)
    assert [d.checked(n) for n in MONITOR_CHOICES] == [False, True, False]
    d.ok()
    assert d.closed()
    assert "Monitors=1" in theme_lines()


# ---- pictures that move, and the blurred fill -----------------------------------

def test_pan_zoom_and_blur_fill_boxes_on_the_display_page_are_loaded_and_saved_after_the_caption(program):
    theme_ini(PanZoom=1, BlurFill=7, Monitors=2)
    d = dialog(program)
    d.page(4)
    c = d.controls()
    assert c["PanZoomCBox"].text == "画像をゆっくり動かす（パン・ズーム）"
    assert c["BlurFillCBox"].text == "余白をぼかした画像で埋める"
    # 7 is not 1: off, as the saver reads it.
    assert (c["PanZoomCBox"].checked, c["BlurFillCBox"].checked) == (1, 0)
    # Both on the 「表示」 page, in their own group inside the page, touching nothing else.
    page, box = c["SetPageControl"].rect, c["MotionBox"].rect
    pan, fill = c["PanZoomCBox"].rect, c["BlurFillCBox"].rect
    assert c["MotionBox"].visible and box[3] <= page[3] and box[2] <= page[2]
    for r in (pan, fill):
        assert box[0] < r[0] and r[2] < box[2] and box[1] < r[1] and r[3] < box[3]
    neighbours = ("ShowKeysBox", "CaptionBox", "CaptionRBtn3", "CaptionLbl2")
    assert not [w for w in neighbours if overlaps(c[w].rect, box)]
    h.screenshot("theme_settings_motion")
    d.click("PanZoomCBox")
    d.click("BlurFillCBox")
    ok_writes_in_order(d, "Caption=0", ["PanZoom=0", "BlurFill=1"])


CAPTION_CHOICES = ["CaptionRBtn0", "CaptionRBtn1", "CaptionRBtn2", "CaptionRBtn3"]


@pytest.mark.parametrize("show_keys,caption,expected", [(None, None, (0, 0)), ("1", "2", (1, 2)), ("2", "x", (0, 0))])
def test_display_page_shows_the_keys_and_caption_choices_and_writes_them_after_monitors(program, show_keys, caption,
                                                                                        expected):
    stored = {k: v for k, v in (("ShowKeys", show_keys), ("Caption", caption)) if v is not None}
    theme_ini(**stored)
    d = dialog(program)
    d.page(4)
    c = d.controls()
    assert c["DisplaySheet"].visible
    assert c["ShowKeysCBox"].text == "キーで画像を送る・戻す・一時停止する"
    assert [c[n].text for n in CAPTION_CHOICES] == ["なし", "ファイル名", "撮影日時", "撮影日時とファイル名"]
    assert (c["ShowKeysCBox"].checked, [c[n].checked for n in CAPTION_CHOICES].index(1)) == expected
    h.screenshot(f"theme_settings_display_{expected[0]}{expected[1]}")
    d.click("ShowKeysCBox")
    d.click("CaptionRBtn3")
    ok_writes_in_order(d, "Monitors=1", [f"ShowKeys={1 - expected[0]}", "Caption=3", "PanZoom=0"])
