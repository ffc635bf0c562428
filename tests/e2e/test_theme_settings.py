"""The theme settings dialog driven through the real program: what its pages
show, the bytes OK writes to Glimora.ini and in which order, what Cancel
keeps, and its messages. (The list pages and the image test display:
test_theme_lists.py.)"""
import subprocess
import time

import pytest

import harness as h
import theme_helpers as th
from theme_helpers import open_theme_dialog, theme_lines
# The fixtures are used by name (clean_state and desktop for every test).
from theme_suite import IMG, clean_state, desktop, dialog, lists_ini, ok_writes_in_order, program, theme_ini  # noqa: F401

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
