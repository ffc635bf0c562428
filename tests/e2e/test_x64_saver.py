"""The 64-bit Glimora (build64/bin) in a 64-bit Wine prefix: the run modes,
a show of JPEG, PNG and MAG pictures from the package's 64-bit folder
unpacked into a prefix that has no plug-ins of its own, and a 32-bit
plug-in put where the 64-bit saver looks: refused with a message in the
test display, passed over in the show. What this suite is for are faults
only one width has: the 64-bit plug-in interface (pointer-sized lengths and
callback data, the 32-byte picture information), the plug-in names, the
machine check before loading."""
import os
import pathlib
import shutil
import time
import zipfile

import pytest
from PIL import Image

import harness as h
import saver_kit as k
import theme_helpers as th
import wic_codec
from test_package import ZIP, jpeg_picture, mag_picture
from test_show_keys import caption_whites

BUILD32_BIN = pathlib.Path(h.WINTOOL).parent


def test_settings_mode_opens_the_dialog_and_saver_mode_covers_the_screen():
    with h.Scr("/c") as scr:
        hwnd = h.wait_window("TMainDialog", timeout=60)
        assert h.tree(hwnd)[0].text == "Glimoraの設定"
        h.screenshot("x64-settings")
        h.wintool("close", hwnd)
        assert scr.wait(30) == 0
    with h.Scr("/s"):
        w = h.tree(h.wait_window("TMainForm"))[0]
        assert (w.rect, w.text) == ((0, 0, 1024, 768), "Glimora")
        assert not w.style & 0x00C00000


@pytest.fixture(scope="module")
def unpacked():
    """The zip's 64-bit folder in C:\\Glimora64 of the suite's fresh 64-bit prefix."""
    assert not list(h.SYSTEM32.glob("if*.sph")), "a fresh prefix has no plug-ins of its own"
    folder = h.PREFIX / "drive_c" / "Glimora64"
    shutil.rmtree(folder, ignore_errors=True)
    with zipfile.ZipFile(ZIP) as z:
        for name in z.namelist():
            if name.startswith("Windows-64bit/") and not name.endswith("/"):
                target = folder / name.removeprefix("Windows-64bit/")
                target.parent.mkdir(parents=True, exist_ok=True)
                target.write_bytes(z.read(name))
    return folder


def test_the_unpacked_64bit_saver_shows_jpeg_png_and_mag(unpacked):
    photos = k.MEDIA
    photos.mkdir(parents=True, exist_ok=True)
    # A photo over four times the screen comes through the JPEG plug-in's
    # preview with the progress callback: pointer-sized callback data.
    jpeg_picture(photos / "big.jpg", (4400, 3300), (220, 60, 30), (30, 60, 220))
    Image.new("RGB", (200, 150), (20, 200, 90)).save(photos / "green.png")
    mag_picture(photos / "mag.mag", (160, 100), (240, 240, 0), (0, 160, 80))
    k.write_theme(ImageCount=3, Image0=h.to_windows_path(photos / "big.jpg"),
                  Image1=h.to_windows_path(photos / "green.png"), Image2=h.to_windows_path(photos / "mag.mag"),
                  BackColor=10, ImageOnDelay=2500)
    with h.Scr("/s", exe=h.to_windows_path(unpacked / "Glimora.scr")):
        h.wait_window("TMainForm", timeout=60)
        # The 4:3 photo fitted to 1024 x 768: each half a colour.
        h.wait_until(lambda: k.close(h.pixel(256, 384), (220, 60, 30), 12) and
                     k.close(h.pixel(768, 384), (30, 60, 220), 12), timeout=30, message="the JPEG")
        h.screenshot("x64-saver-jpeg")
        h.wait_until(lambda: h.pixel(512, 384) == (20, 200, 90), timeout=30, message="the PNG")
        img = h.screenshot("x64-saver-png")
        assert k.bbox_of(img, (20, 200, 90)) == (412, 309, 612, 459)
        h.wait_until(lambda: h.pixel(472, 384) == (240, 240, 0), timeout=30, message="the MAG")
        img = h.screenshot("x64-saver-mag")
        assert k.bbox_of(img, (240, 240, 0)) == (432, 334, 512, 434)
        assert k.bbox_of(img, (0, 160, 80)) == (512, 334, 592, 434)


@pytest.fixture
def wrong_width_mag(unpacked):
    """The 32-bit MAG plug-in under the 64-bit name, beside the 64-bit saver."""
    plugin = unpacked / "ifmag.sph"
    kept = plugin.read_bytes()
    shutil.copy(BUILD32_BIN / "ifmag.spi", plugin)
    yield unpacked
    plugin.write_bytes(kept)


def test_a_32bit_plugin_is_refused_in_the_test_display_and_passed_over_in_the_show(wrong_width_mag):
    exe = h.to_windows_path(wrong_width_mag / "Glimora.scr")
    mag = k.media_path("wrong.mag")
    mag_picture(mag, (160, 100), (240, 240, 0), (0, 160, 80))
    bmp = k.solid_bmp("after.bmp", (200, 30, 30), (120, 90))
    k.write_theme(ImageCount=2, Image0=h.to_windows_path(mag), Image1=bmp, BackColor=10, ImageOnDelay=1500)
    with h.Scr("/s", exe=exe):
        h.wait_window("TMainForm", timeout=60)
        h.wait_until(lambda: h.pixel(512, 384) == (200, 30, 30), timeout=30, message="the BMP")
        assert not h.message_boxes()
        assert k.bbox_of(h.screenshot("x64-wrong-width-show"), (240, 240, 0)) is None
    h.kill_all()

    with h.Scr(exe=exe) as scr:
        d = th.open_theme_dialog(scr)
        d.click_item("ImageListBox", 0)
        d.click("ImageShowBtn")
        box = h.wait_message_box()
        h.screenshot("x64-wrong-width-message")
        assert any("ifmag.sph は32ビット用のプラグインです" in t and h.to_windows_path(mag) in t
                   for t in box["texts"]), box
        h.press_box_button(box, "OK")


def test_a_decoder_installed_after_the_build_and_tga_show_through_the_64bit_wic_plugin(unpacked):
    """The test decoder (64-bit) stands in for HEIC; Wine's TGA decoder for the
    system's own. The date the .gtx states reaches the caption through the
    32-byte picture information: the same pixels as the TGA last written that minute."""
    wic_codec.install(h.BIN)
    upside_down = Image.new("RGB", (180, 120), (30, 40, 220))
    upside_down.paste((220, 30, 30), (0, 60, 180, 120))  # stored red below: orientation 3 shows it above
    gtx = k.media_path("phone.gtx")
    wic_codec.gtx_picture(gtx, upside_down, orientation=3, date=b"2019:07:14 10:30:12\0")
    tga = k.media_path("web.tga")
    wic_codec.magick(tga, (160, 120), (20, 200, 90))
    stamp = time.mktime((2019, 7, 14, 10, 30, 50, 0, 0, -1))
    os.utime(tga, (stamp, stamp))
    k.write_theme(ImageCount=2, Image0=h.to_windows_path(gtx), Image1=h.to_windows_path(tga), BackColor=10,
                  ImageOnDelay=2000, Caption=2)
    caption = lambda: h.wait_until(lambda: (lambda w: len(w) > 100 and w)(caption_whites()), timeout=10,
                                   message="caption")
    with h.Scr("/s", exe=h.to_windows_path(unpacked / "Glimora.scr")):
        h.wait_window("TMainForm", timeout=60)
        h.wait_until(lambda: h.pixel(512, 340) == (220, 30, 30), timeout=30, message="the .gtx picture")
        img = h.screenshot("x64-wic-gtx")
        assert k.bbox_of(img, (220, 30, 30)) == (422, 324, 602, 384)
        assert k.bbox_of(img, (30, 40, 220)) == (422, 384, 602, 444)
        dated = caption()
        h.wait_until(lambda: h.pixel(512, 384) == (20, 200, 90), timeout=30, message="the TGA")
        assert k.bbox_of(h.screenshot("x64-wic-tga"), (20, 200, 90)) == (432, 324, 592, 444)
        assert caption() == dated


def test_a_decoder_that_crashes_in_the_64bit_saver_costs_only_its_picture(unpacked):
    """A fault inside a 64-bit decoder reaches the program's filter through
    the 64-bit unwinding: the decode's thread is ended, the show goes on."""
    wic_codec.install(h.BIN)
    crash = k.media_path("crash64.gtx")
    wic_codec.gtx_picture(crash, Image.new("RGB", (64, 48), (220, 30, 30)), behaviour=b"C")
    bmp = k.solid_bmp("after-crash64.bmp", (30, 40, 220), (120, 90))
    k.write_theme(ImageCount=3, Image0=h.to_windows_path(crash), Image1=bmp, Image2=bmp, BackColor=10,
                  ImageOnDelay=60000)
    with h.Scr("/s", exe=h.to_windows_path(unpacked / "Glimora.scr")) as scr:
        h.wait_window("TMainForm", timeout=60)
        h.wait_until(lambda: h.pixel(512, 384) == (30, 40, 220), timeout=30, message="the picture after the crash")
        h.key("a")
        assert scr.wait(15) == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "2"  # the resume place: after the BMP


def test_the_64bit_saver_shows_pictures_of_every_name(unpacked):
    from test_file_names import NAMED, colours_shown, named_folder
    folder = named_folder("names64")
    k.write_theme(ImageCount=1, Image0=h.to_windows_path(folder) + "\\", BackColor=10, ImageOnDelay=900,
                  ImageOffDelay=100)
    with h.Scr("/s", exe=h.to_windows_path(unpacked / "Glimora.scr")):
        h.wait_window("TMainForm", timeout=60)
        seen = colours_shown(40, set(NAMED.values()))
        assert not h.message_boxes()
    assert seen == set(NAMED.values()), {n for n, c in NAMED.items() if c not in seen}
