"""Settings where the Windows folder cannot be written, as for a program that
is not elevated on Windows Vista to 11: a user who is not root runs
Glimora.scr in a prefix whose Windows folder belongs to root. The first
write moves the settings to the user's own file, with no error box; the
Windows folder's file is never changed."""
import time


import pytest
from PIL import Image

import harness as h
import probe
import saver_kit as kit
import user_prefix
from dialog_helpers import Dialog, sjis

RED, GREEN, BLUE = (255, 0, 0), (0, 255, 0), (0, 0, 255)


@pytest.fixture(scope="module", autouse=True)
def closed_prefix(request):
    prefix = user_prefix.make(request.module.__name__,
                              [h.SCR, h.WINTOOL, *sorted(h.BIN.glob("if*.sp[ih]"))])
    saved = {n: getattr(h, n) for n in ("PREFIX", "WINDOWS", "INI", "SCR", "WINTOOL")}
    h.PREFIX = prefix.path
    h.WINDOWS = prefix.path / "drive_c" / "windows"
    h.INI = h.WINDOWS / "Glimora.ini"
    h.SCR = prefix.path / "drive_c" / "glimora" / "Glimora.scr"
    h.WINTOOL = prefix.path / "drive_c" / "glimora" / "wintool.exe"
    with pytest.MonkeyPatch.context() as env:
        env.setenv("GLIMORA_RUN_AS", user_prefix.USER)
        yield prefix
    probe.stop()
    for name, value in saved.items():
        setattr(h, name, value)
    user_prefix.remove(prefix)


@pytest.fixture(autouse=True)
def no_user_file(closed_prefix):
    user_file().unlink(missing_ok=True)
    virtual_store_file().unlink(missing_ok=True)


def user_file():
    return user_prefix.app_data(h.PREFIX) / "Glimora" / "Glimora.ini"


def virtual_store_file():
    return user_prefix.app_data(h.PREFIX, "Local") / "VirtualStore" / "windows" / "Glimora.ini"


def pictures():
    folder = h.PREFIX / "drive_c" / "pics"
    folder.mkdir(exist_ok=True)
    paths = []
    for n, colour in enumerate((RED, GREEN, BLUE)):
        Image.new("RGB", (200, 150), colour).save(folder / f"p{n}.bmp", "BMP")
        paths.append(f"C:\\pics\\p{n}.bmp")
    return paths


def show_once(expect_first):
    """One show: its first picture seen, a key, and the end with no box
    (an error box would hold the process open)."""
    scr = h.Scr("/s")
    try:
        kit.wait_colour((512, 384), expect_first, timeout=30)
        h.key("space")
        assert scr.wait(timeout=20) == 0
    except Exception:
        h.screenshot("closed-windows-folder-show")
        raise
    finally:
        scr.kill()


def test_the_show_ends_without_a_box_and_the_next_show_resumes():
    theme = dict(kit.BASE_THEME, FromLastImage=1, ImageOnDelay=60000, LastImageNumber=0)
    theme.update({"ImageCount": 3, **{f"Image{n}": p for n, p in enumerate(pictures())}})
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": theme})
    stored = h.read_ini_bytes()
    assert not user_file().exists()

    show_once(expect_first=RED)
    # The whole file moved to the user's own, with the resume place in it.
    assert user_file().read_bytes() == stored.replace(b"LastImageNumber=0\r\n", b"LastImageNumber=1\r\n") \
        + b"LastMidiNumber=0\r\n"
    assert h.read_ini_bytes() == stored

    show_once(expect_first=GREEN)
    assert b"LastImageNumber=2\r\n" in user_file().read_bytes()
    assert h.read_ini_bytes() == stored


def open_theme_settings(main, theme):
    main.click(f"ThemeRBtn{theme}")
    main.click("SetDlgBtn")
    return Dialog("TSetDialog", timeout=30)


def test_dialogs_save_to_the_users_file_and_show_it_next_time():
    h.write_ini("[Main]\nThemeNumber=0\nThemeName3=旅行\n")
    stored = h.read_ini_bytes()
    scr = h.Scr()
    main = Dialog("TMainDialog")
    settings = open_theme_settings(main, 3)
    settings.click("OKBtn")
    assert settings.gone(timeout=20), h.message_boxes()
    assert h.message_boxes() == []
    assert b"[Theme3]\r\nTitle=1\r\n" in user_file().read_bytes()
    main.click("OKBtn")
    assert scr.wait(timeout=20) == 0
    saved = user_file().read_bytes()
    assert b"ThemeNumber=3\r\n" in saved and sjis("ThemeName3=旅行\r\n") in saved
    assert h.read_ini_bytes() == stored

    scr = h.Scr()
    main = Dialog("TMainDialog")
    assert main.checked("ThemeRBtn3")
    assert main.text("ThemeRBtn3") == "旅行"
    scr.kill()


def test_settings_an_older_build_left_in_the_virtual_store_are_what_the_dialog_shows():
    h.write_ini("[Main]\nThemeNumber=0\nThemeName0=窓\n")
    stored = h.read_ini_bytes()
    time.sleep(1.1)  # the copy Windows made is the newer one
    virtual_store_file().parent.mkdir(parents=True, exist_ok=True)
    copy = "[Main]\r\nThemeNumber=2\r\nThemeName2=仮想の旅\r\n".encode("cp932")
    virtual_store_file().write_bytes(copy)

    scr = h.Scr()
    main = Dialog("TMainDialog")
    assert main.checked("ThemeRBtn2")
    assert main.text("ThemeRBtn2") == "仮想の旅"
    main.click("OKBtn")
    assert scr.wait(timeout=20) == 0
    assert sjis("ThemeName2=仮想の旅\r\n") in user_file().read_bytes()
    assert virtual_store_file().read_bytes() == copy
    assert h.read_ini_bytes() == stored
