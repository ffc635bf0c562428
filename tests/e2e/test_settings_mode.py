"""Settings mode: the theme selection dialog, the rename and other-settings
dialogs, clearing a theme and the test run, driven through the real
Glimora.scr with mouse and keyboard; results read from Glimora.ini's bytes."""
import time

import pytest

import harness as h
from dialog_helpers import (UNNAMED, Dialog, HeldFile, ini_lines, names_ini, section_bytes,
                            shows_icon, sjis, start_settings, text_length, trackbar_position,
                            type_fullwidth)

NAMES = ["春の庭", "海辺", "夜景", "猫たち", "山歩き", "花火", "雪国", "旅の記録", "家族", "Misc"]
MAIN_BUTTONS = {  # name: caption, in tab order
    "SetDlgBtn": "画像／音声／ＢＧＭ等の設定",
    "NameDlgBtn": "名称の変更",
    "ClearBtn": "設定の消去",
    "OtherSetBtn": "その他",
    "OKBtn": "Ｏ   Ｋ",
    "MainHelpBtn": "ヘ ル プ",
    "Button1": "テスト実行",
}
UPPER_ROW = ["SetDlgBtn", "NameDlgBtn", "ClearBtn", "OtherSetBtn"]
LOWER_ROW = ["Button1", "MainHelpBtn", "OKBtn"]  # left to right


def main_names_bytes(number, names):
    return ini_lines(Main=[("ThemeNumber", number)] + [(f"ThemeName{n}", v) for n, v in enumerate(names)])


def ok_and_exit(main, scr, by_enter=False):
    if by_enter:
        h.key("Return")
    else:
        main.click("OKBtn")
    assert scr.wait(20) == 0


# ---- the theme selection dialog --------------------------------------------

def test_without_settings_file_ten_unnamed_themes_and_ok_writes_them():
    scr, main = start_settings(None)
    assert main.caption == "Glimoraの設定"
    main.screenshot("settings-main", (465, 233))
    # Layout: the group box, ten radios in two columns of five, seven buttons.
    box = main.places(["ThemeGroupBox"], "ThemeGroupBox", (8, 8))["ThemeGroupBox"]
    assert box == (8, 8, 449, 153)
    assert main.text("ThemeGroupBox") == "登録グループの選択"
    bl, bt = main["ThemeGroupBox"].rect[:2]
    for n in range(10):
        w = main[f"ThemeRBtn{n}"]
        l, t, r, b = w.rect
        assert (l - bl, t - bt, r - l, b - t) == (16 if n < 5 else 232, 24 + 24 * (n % 5), 212, 17)
        assert w.text == UNNAMED
        assert w.checked == (1 if n == 0 else 0)
    for name, caption in MAIN_BUTTONS.items():
        assert main[name].text == caption
    # Under the theme box, two rows of buttons side by side, none covering another.
    box_bottom = main["ThemeGroupBox"].rect[3]
    for row in (UPPER_ROW, LOWER_ROW):
        rects = [main[n].rect for n in row]
        assert len({r[1] for r in rects}) == 1, row
        assert all(r[1] >= box_bottom for r in rects), row
        assert all(a[2] <= b[0] for a, b in zip(rects, rects[1:])), row
    assert main[LOWER_ROW[0]].rect[1] >= main[UPPER_ROW[0]].rect[3]
    assert main.is_default("OKBtn") and not main.is_default("SetDlgBtn")
    # Tab order: the group box with its radios first, then the seven buttons.
    assert main.order == ["ThemeGroupBox"] + [f"ThemeRBtn{n}" for n in range(10)] + list(MAIN_BUTTONS)
    assert not any(w.text == "キャンセル" for w in main.controls.values())
    ok_and_exit(main, scr)
    assert h.read_ini_bytes() == main_names_bytes(0, [UNNAMED] * 10)


def test_ok_writes_the_checked_theme_and_names_and_keeps_close_mouse_move():
    scr, main = start_settings(names_ini(NAMES, number=4, extra_main="CloseMouseMove=7"))
    assert [main[f"ThemeRBtn{n}"].text for n in range(10)] == NAMES
    assert main.checked("ThemeRBtn4")
    main.click("ThemeRBtn8")
    assert main.checked("ThemeRBtn8") and not main.checked("ThemeRBtn4")
    ok_and_exit(main, scr, by_enter=True)
    # Keys keep their places in the file; CloseMouseMove keeps its value.
    assert h.read_ini_bytes() == main_names_bytes(8, NAMES) + b"CloseMouseMove=7\r\n"


def test_number_outside_range_checks_nothing_and_ok_writes_it_back():
    scr, main = start_settings(names_ini(NAMES, number=12))
    assert not any(main[f"ThemeRBtn{n}"].checked for n in range(10))
    ok_and_exit(main, scr)
    assert h.ini_value("Main", "ThemeNumber") == "12"


def test_close_box_writes_nothing():
    original = names_ini(NAMES, number=1)
    scr, main = start_settings(original)
    main.click("ThemeRBtn6")
    main.close_box()
    assert scr.wait(20) == 0
    assert h.read_ini_bytes() == original.replace("\n", "\r\n").encode("cp932")


def test_double_click_on_unchecked_theme_opens_that_themes_settings():
    scr, main = start_settings(names_ini(NAMES, number=0))
    main.double_click("ThemeRBtn7")
    settings = Dialog("TSetDialog", timeout=20)
    assert settings.caption == "Glimoraの設定：" + NAMES[7]
    settings.screenshot("settings-theme-dialog-from-double-click", (593, 414))
    assert not main.enabled()  # modal over the main dialog
    h.key("Escape")
    assert settings.gone()
    assert main.checked("ThemeRBtn7")
    # The dialog is usable again: the settings button opens the same theme.
    main.click("SetDlgBtn")
    settings = Dialog("TSetDialog", timeout=20)
    assert settings.caption == "Glimoraの設定：" + NAMES[7]
    h.key("Escape")
    assert settings.gone()
    ok_and_exit(main, scr)
    assert h.ini_value("Main", "ThemeNumber") == "7"


# ---- renaming ----------------------------------------------------------------

def open_rename(main, theme):
    main.click(f"ThemeRBtn{theme}")
    main.click("NameDlgBtn")
    return Dialog("TThemeNameDlg", timeout=20)


def test_rename_dialog_layout_and_ok_stores_the_name_with_main_ok():
    scr, main = start_settings(names_ini(NAMES, number=0))
    dlg = open_rename(main, 2)
    assert dlg.caption == "Glimoraの設定：名称の変更"
    assert dlg.text("Label1") == "新しい名称（全角15文字まで）"
    assert dlg.text("ThemeNameEdit") == NAMES[2]
    places = dlg.places(["Label1", "ThemeNameEdit", "OKBtn", "CancelBtn"], "ThemeNameEdit", (16, 24))
    assert places["Label1"][:2] == (16, 8)
    assert places["ThemeNameEdit"] == (16, 24, 193, 20)
    assert places["OKBtn"] == (16, 56, 89, 25) and dlg.text("OKBtn") == "Ｏ   Ｋ"
    assert places["CancelBtn"] == (120, 56, 91, 25) and dlg.text("CancelBtn") == "キャンセル"
    assert dlg.is_default("OKBtn")
    dlg.screenshot("settings-rename", (225, 90))
    # The whole old name is selected: typing replaces it.
    h.type_text("Night view 2")
    dlg.click("OKBtn")
    assert dlg.gone()
    assert main.text("ThemeRBtn2") == "Night view 2"
    assert h.ini_value("Main", "ThemeName2") == NAMES[2]  # not stored yet
    ok_and_exit(main, scr)
    assert sjis("ThemeName2=Night view 2\r\n") in h.read_ini_bytes()
    assert h.ini_value("Main", "ThemeNumber") == "2"


def test_rename_then_close_box_stores_nothing_and_cancel_or_escape_keeps_the_caption():
    original = names_ini(NAMES, number=0)
    scr, main = start_settings(original)
    dlg = open_rename(main, 3)
    h.type_text("abc")
    dlg.click("CancelBtn")
    assert dlg.gone()
    assert main.text("ThemeRBtn3") == NAMES[3]
    dlg = open_rename(main, 3)
    h.type_text("xyz")
    h.key("Escape")
    assert dlg.gone()
    assert main.text("ThemeRBtn3") == NAMES[3]
    dlg = open_rename(main, 3)
    h.type_text("Renamed")
    h.key("Return")  # Enter presses OK
    assert dlg.gone()
    assert main.text("ThemeRBtn3") == "Renamed"
    main.close_box()
    assert scr.wait(20) == 0
    assert h.read_ini_bytes() == original.replace("\n", "\r\n").encode("cp932")


def test_emptied_name_becomes_unnamed_and_blanks_stay():
    scr, main = start_settings(names_ini(NAMES, number=0))
    dlg = open_rename(main, 5)
    h.key("BackSpace")  # the selected name is deleted
    assert dlg.text("ThemeNameEdit") == ""
    h.key("Return")
    assert dlg.gone()
    assert main.text("ThemeRBtn5") == UNNAMED
    dlg = open_rename(main, 6)
    h.key("BackSpace")
    h.type_text("   ")
    h.key("Return")
    assert dlg.gone()
    assert text_length(main["ThemeRBtn6"].hwnd) == 3  # no trimming
    ok_and_exit(main, scr)
    assert sjis(f"ThemeName5={UNNAMED}\r\n") in h.read_ini_bytes()


def test_name_limit_is_thirty_bytes_fifteen_full_width_characters():
    scr, main = start_settings(names_ini(NAMES, number=0))
    dlg = open_rename(main, 0)
    h.key("BackSpace")
    fifteen = "あいうえおかきくけこさしすせそ"
    assert type_fullwidth(dlg, "ThemeNameEdit", fifteen) == fifteen
    # A 16th character is refused, full-width or single-byte.
    assert type_fullwidth(dlg, "ThemeNameEdit", "た", expect_growth=False) == fifteen
    h.type_text("A")
    assert dlg.text("ThemeNameEdit") == fifteen
    dlg.screenshot("settings-rename-15-full-width", (225, 90))
    # Bytes, not characters: without the last full-width character, two
    # single-byte ones fit and a third does not.
    h.key("BackSpace")
    h.type_text("AB")
    assert dlg.text("ThemeNameEdit") == fifteen[:-1] + "AB"
    h.type_text("C")
    assert dlg.text("ThemeNameEdit") == fifteen[:-1] + "AB"
    h.key("BackSpace", "BackSpace")
    assert type_fullwidth(dlg, "ThemeNameEdit", "た") == fifteen[:-1] + "た"
    h.key("Return")
    assert dlg.gone()
    ok_and_exit(main, scr)
    stored = sjis("ThemeName0=" + fifteen[:-1] + "た\r\n")
    assert stored in h.read_ini_bytes() and len(sjis(fifteen[:-1] + "た")) == 30


# ---- clearing a theme ----------------------------------------------------------

THEME4 = "[Theme4]\nImageCount=1\nImage0=C:\\pics\\a.bmp\nWave0=なし\n"


def ask_clear(main, theme):
    main.click(f"ThemeRBtn{theme}")
    main.click("ClearBtn")
    box = h.wait_message_box()
    assert box["caption"] == "Glimora"
    assert box["texts"] == [f"『{main.text(f'ThemeRBtn{theme}')}』の設定を全て消去します。よろしいですか？"]
    assert not shows_icon(box)
    assert len(box["buttons"]) == 3
    default = [b for b in box["buttons"] if (b.style & 0x0F) == 0x01]
    assert len(default) == 1 and box["buttons"].index(default[0]) == 1  # No
    return box


def test_clear_asks_cancel_and_no_change_nothing_yes_erases_at_once():
    original = names_ini(NAMES, number=0) + THEME4
    scr, main = start_settings(original)
    box = ask_clear(main, 4)
    h.screenshot("settings-clear-question")
    h.key("Escape")  # Cancel
    time.sleep(0.5)
    assert main.text("ThemeRBtn4") == NAMES[4]
    box = ask_clear(main, 4)
    h.press_box_button(box, box["buttons"][1].text)  # No
    time.sleep(0.5)
    assert main.text("ThemeRBtn4") == NAMES[4]
    assert h.read_ini_bytes() == original.replace("\n", "\r\n").encode("cp932")
    box = ask_clear(main, 4)
    h.press_box_button(box, box["buttons"][0].text)  # Yes
    report = h.wait_message_box()
    assert report["caption"] == "Glimora"
    assert report["texts"] == [f"『{NAMES[4]}』の設定は消去されました"]
    assert len(report["buttons"]) == 1
    h.screenshot("settings-clear-report")
    # The section is gone at once; the new name waits for OK.
    assert section_bytes("Theme4") == b""
    assert h.ini_value("Main", "ThemeName4") == NAMES[4]
    h.key("Return")
    time.sleep(0.5)
    assert main.text("ThemeRBtn4") == UNNAMED
    ok_and_exit(main, scr)
    assert sjis(f"ThemeName4={UNNAMED}\r\n") in h.read_ini_bytes()


def test_clear_then_close_box_keeps_old_name_but_section_stays_erased():
    scr, main = start_settings(names_ini(NAMES, number=0) + THEME4)
    box = ask_clear(main, 4)
    h.press_box_button(box, box["buttons"][0].text)
    h.wait_message_box()
    h.key("Return")
    time.sleep(0.5)
    main.close_box()
    assert scr.wait(20) == 0
    assert section_bytes("Theme4") == b""
    assert h.ini_value("Main", "ThemeName4") == NAMES[4]


# ---- other settings ------------------------------------------------------------

def open_other(main):
    main.click("OtherSetBtn")
    return Dialog("TOtherSetDlg", timeout=20)


def test_other_settings_opens_at_four_and_ok_stores_the_bar_which_main_ok_keeps():
    scr, main = start_settings(None)
    dlg = open_other(main)
    assert dlg.caption == "Glimoraの設定：その他の設定"
    assert [dlg.text(n) for n in ("Label1", "Label2", "Label3")] == [
        "スクリーンセーバー終了時のマウス移動検出量", "小", "大"]
    places = dlg.places(["Label1", "Label2", "MouseMoveBar", "Label3", "OKBtn", "CanselBtn"],
                        "MouseMoveBar", (32, 32))
    assert places["MouseMoveBar"] == (32, 32, 208, 35)
    assert places["Label1"][:2] == (16, 12) and places["Label2"][:2] == (16, 40)
    assert places["Label3"][:2] == (244, 40)
    assert places["OKBtn"] == (24, 72, 105, 25) and places["CanselBtn"] == (144, 72, 105, 25)
    assert dlg.is_default("OKBtn")
    # Centred on the screen (the window rectangle, frame included).
    l, t, r, b = dlg.window.rect
    assert (l, t) == ((1024 - (r - l)) // 2, (768 - (b - t)) // 2)
    assert trackbar_position(dlg, "MouseMoveBar") == 4
    dlg.screenshot("settings-other", (273, 105))
    dlg.click("OKBtn")  # unmoved: stores 4
    assert dlg.gone()
    assert h.read_ini_bytes() == ini_lines(Main=[("CloseMouseMove", 4)])
    dlg = open_other(main)
    dlg.click("MouseMoveBar")  # the slider takes the focus
    h.key("End")
    assert trackbar_position(dlg, "MouseMoveBar") == 8
    h.key("Left", "Left")
    assert trackbar_position(dlg, "MouseMoveBar") == 6
    h.key("Return")
    assert dlg.gone()
    assert h.ini_value("Main", "CloseMouseMove") == "6"
    ok_and_exit(main, scr)
    assert h.ini_value("Main", "CloseMouseMove") == "6"
    assert h.ini_value("Main", "ThemeNumber") == "0"


def test_other_settings_opens_at_stored_value_and_cancel_writes_nothing():
    original = names_ini(NAMES, number=0, extra_main="CloseMouseMove=2")
    scr, main = start_settings(original)
    dlg = open_other(main)
    assert trackbar_position(dlg, "MouseMoveBar") == 2
    dlg.click("MouseMoveBar")
    h.key("Home")
    assert trackbar_position(dlg, "MouseMoveBar") == 0
    dlg.click("CanselBtn")
    assert dlg.gone()
    dlg = open_other(main)
    h.key("Right")
    h.key("Escape")
    assert dlg.gone()
    assert h.read_ini_bytes() == original.replace("\n", "\r\n").encode("cp932")
    main.close_box()
    assert scr.wait(20) == 0


# ---- failures ------------------------------------------------------------------

def expect_write_error():
    box = h.wait_message_box()
    assert box["caption"] == "Glimora"
    assert box["texts"] == ["C:\\windows\\Glimora.ini に書き込めません."]
    assert shows_icon(box)
    return box


def test_locked_settings_file_shows_error_and_dialogs_stay_open():
    original = names_ini(NAMES, number=0, extra_main="CloseMouseMove=3")
    scr, main = start_settings(original)
    main.click("ThemeRBtn1")
    with HeldFile(h.INI):
        main.click("OKBtn")
        box = expect_write_error()
        h.screenshot("settings-write-error")
        h.press_box_button(box, "OK")
        time.sleep(0.5)
        assert scr.running() and h.find_window("TMainDialog") == main.hwnd
        dlg = open_other(main)
        dlg.click("MouseMoveBar")
        h.key("Right")
        dlg.click("OKBtn")
        box = expect_write_error()
        h.press_box_button(box, "OK")
        time.sleep(0.5)
        assert h.find_window("TOtherSetDlg") == dlg.hwnd  # still open
        h.key("Escape")
        assert dlg.gone()
    assert h.read_ini_bytes() == original.replace("\n", "\r\n").encode("cp932")
    ok_and_exit(main, scr)  # the file is free again: OK works
    assert h.ini_value("Main", "ThemeNumber") == "1"


# ---- test run --------------------------------------------------------------------

def test_test_run_writes_theme_number_covers_screen_and_returns_to_dialog():
    # Theme 3 has a red background and no title; theme 0 would be black.
    ini = names_ini(NAMES, number=0) + "[Theme3]\nTitle=0\nBackGround=0\nBackColor=1\n"
    scr, main = start_settings(ini)
    main.click("ThemeRBtn3")
    main.click("Button1")
    saver = h.wait_window("TMainForm", timeout=20)
    w = h.tree(saver)[0]
    assert w.rect == (0, 0, 1024, 768)
    assert h.ini_value("Main", "ThemeNumber") == "3"
    time.sleep(1.5)
    shot = h.screenshot("settings-test-run")
    for x, y in ((5, 5), (512, 384), (1018, 762)):
        r, g, b = shot.getpixel((x, y))
        assert r > 100 and g < 60 and b < 60, (x, y, (r, g, b))
    h.key("space")
    assert h.wait_gone("TMainForm", timeout=20)
    h.wait_until(main.enabled, message="the dialog enabled again")
    theme3 = dict(h.read_ini().get("Theme3", []))
    assert theme3.get("LastImageNumber") == "0" and theme3.get("LastMidiNumber") == "0"
    # The dialog works again.
    main.click("NameDlgBtn")
    dlg = Dialog("TThemeNameDlg", timeout=20)
    assert dlg.text("ThemeNameEdit") == NAMES[3]
    h.key("Escape")
    assert dlg.gone()
    main.close_box()
    assert scr.wait(20) == 0
    assert h.ini_value("Main", "ThemeNumber") == "3"  # kept although the dialog was not confirmed
