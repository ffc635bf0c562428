"""Help through the real buttons: each of the six help contexts opens its own
page beside Glimora.scr in the user's browser. Under Wine, ShellExecute on an
.html file runs winebrowser, which starts the programs listed in
HKCU\\Software\\Wine\\WineBrowser "Browsers"; a small script listed there
writes down what it was asked to open. Without the pages, a message says
where they were looked for."""
import shutil
import subprocess

import pytest

import harness as h
import saver_kit as k
from dialog_helpers import Dialog, start_settings
from theme_helpers import open_theme_dialog

HELP = (h.BIN / "help").resolve()
BROWSER_KEY = r"HKCU\Software\Wine\WineBrowser"
HTML_KEY = r"HKCR\.html"


def reg(*args, check=True):
    return subprocess.run(["wine", "reg", *args], env=h.wine_env(), check=check,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


@pytest.fixture(scope="module")
def browser(tmp_path_factory):
    """The recording browser; yields the file it writes one line per request to."""
    folder = tmp_path_factory.mktemp("browser")
    log = folder / "opened.txt"
    script = folder / "record-browser"
    script.write_text(f'#!/bin/sh\nprintf "%s\\n" "$*" >> "{log}"\n')
    script.chmod(0o755)
    reg("add", BROWSER_KEY, "/v", "Browsers", "/d", str(script), "/f")
    # Windows always knows .html; the test prefix, made with the HTML engine
    # switched off, may not.
    added_html = reg("query", HTML_KEY, check=False) != 0
    if added_html:
        reg("add", HTML_KEY, "/ve", "/d", "htmlfile", "/f")
    yield log
    reg("delete", BROWSER_KEY, "/v", "Browsers", "/f", check=False)
    if added_html:
        reg("delete", HTML_KEY, "/f", check=False)


def opened(log):
    return log.read_text().splitlines() if log.exists() else []


def expect_page(log, page):
    """Waits for the browser to be asked for one page; returns to an empty log.
    Once the program's thread answers a sent message it has finished with the
    press, so a second request would have started; once winebrowser and the
    recording script are gone, every request is written down."""
    h.wait_until(lambda: opened(log), timeout=30, message=f"the browser to open {page}")
    form = next((w for w in h.top_windows() if w.cls.startswith("T")), None)  # the program's dialogs and forms
    if form:
        h.wintool("send", form.hwnd, 0, 0, 0)  # WM_NULL
    h.wait_until(lambda: not h.running(r"winebrowser|record-browser"), timeout=30,
                 message="the browser requests to finish")
    lines = opened(log)
    log.unlink()
    assert lines == [(HELP / page).as_uri()], lines


def test_help_button_and_f1_of_the_theme_selection_open_its_page(browser):
    scr, main = start_settings(None)
    main.click("MainHelpBtn")
    expect_page(browser, "themes.html")
    h.key("F1")
    expect_page(browser, "themes.html")
    assert not h.message_boxes()
    main.close_box()
    assert scr.wait(20) == 0


def test_help_button_opens_the_page_of_each_page_of_the_theme_settings(browser):
    scr = h.Scr()
    dialog = open_theme_dialog(scr)
    for index, page in enumerate(["images.html", "music.html", "effects.html", "other.html", "display.html"]):
        dialog.page(index)
        dialog.click("SetHelpBtn")
        expect_page(browser, page)
    h.screenshot("help-theme-settings-after-help")
    h.key("Escape")
    assert dialog.closed()


def test_f1_in_the_rename_and_other_settings_dialogs_opens_their_page(browser):
    scr, main = start_settings(None)
    for button, cls in [("NameDlgBtn", "TThemeNameDlg"), ("OtherSetBtn", "TOtherSetDlg")]:
        main.click(button)
        small = Dialog(cls, timeout=20)
        h.key("F1")
        expect_page(browser, "names.html")
        h.key("Escape")
        assert small.gone()
    main.close_box()
    assert scr.wait(20) == 0


def test_f1_in_the_image_test_display_opens_the_image_page(browser):
    picture = k.solid_bmp("help-test.bmp", (30, 120, 200))
    h.write_ini_sections({"Main": {"ThemeNumber": 0},
                          "Theme0": {"ImageCount": 1, "Image0": picture, "Wave0": "なし"}})
    scr = h.Scr()
    dialog = open_theme_dialog(scr)
    dialog.click_item("ImageListBox", 0)
    dialog.click("ImageShowBtn")
    form = h.tree(h.wait_window("TImageTestForm", timeout=20))[0]
    # F1 once the display shows the picture: it has the keyboard by then.
    h.wait_until(lambda: h.pixel(*form.center) == (30, 120, 200), timeout=20, message="the picture on the test display")
    h.key("F1")
    expect_page(browser, "images.html")
    h.key("Escape")
    h.key("Escape")
    assert dialog.closed()


def test_missing_pages_bring_a_message_that_says_where_they_were_looked_for(browser):
    folder = h.PREFIX / "drive_c" / "表示用フォルダ"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir()
    shutil.copy(h.SCR, folder / "Glimora.scr")
    h.remove_ini()
    with h.Scr(exe=folder / "Glimora.scr"):
        main = Dialog("TMainDialog")
        main.click("MainHelpBtn")
        box = h.wait_message_box()
        h.screenshot("help-missing-pages")
        text = "\n".join(box["texts"])
        assert "ヘルプのページが見つかりません" in text
        assert "C:\\表示用フォルダ\\help\\themes.html" in text
        assert box["caption"] == "Glimora"
        h.key("Return")
        h.wait_until(lambda: not h.message_boxes(), timeout=10, message="the message to close")
        assert main.enabled()
    assert opened(browser) == []
    shutil.rmtree(folder, ignore_errors=True)


def test_without_a_program_for_html_a_message_names_the_page(browser):
    reg("delete", HTML_KEY, "/f", check=False)
    try:
        scr, main = start_settings(None)
        main.click("MainHelpBtn")
        box = h.wait_message_box()
        text = "\n".join(box["texts"])
        assert "ヘルプのページを開くプログラムが見つかりません" in text
        assert "ブラウザーで次のファイルを開いてください" in text
        assert h.to_windows_path(HELP / "themes.html") in text
        h.key("Return")
        h.wait_until(lambda: not h.message_boxes(), timeout=10, message="the message to close")
        main.close_box()
        assert scr.wait(20) == 0
    finally:
        reg("add", HTML_KEY, "/ve", "/d", "htmlfile", "/f")
    assert opened(browser) == []
