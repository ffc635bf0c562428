"""Formats of the system's imaging component through ifwic.spi: TGA and DDS
(decoders Wine has), and a decoder installed after the build, the test
decoder of tests/codec, standing in for HEIC. A folder entry finds such
pictures by the plug-in's extension list and shows each upright by its
EXIF orientation; a decoder whose DLL is gone is passed over; a broken
file is skipped; a decoder that hangs or crashes costs its picture, not
the show."""
import time

import pytest
from PIL import Image

import harness as h
import saver_kit as k
import theme_helpers as th
import wic_codec

# Yellow is exact in the 5-6-5 colours of a DXT1-compressed DDS.
RED, BLUE, GREEN, YELLOW, CYAN = (220, 30, 30), (30, 40, 220), (20, 200, 90), (255, 255, 0), (0, 255, 255)


@pytest.fixture(scope="module", autouse=True)
def codec():
    wic_codec.install(h.BIN)


def test_a_folder_of_tga_dds_and_the_installed_decoders_pictures_shows_each_upright():
    folder = k.media_path("wic")
    folder.mkdir(exist_ok=True)
    for old in folder.iterdir():
        old.unlink()
    # Stored 100 wide and 200 tall, left half red, right half blue, with
    # orientation 6 (turn right to show): shown 200 x 100, red above blue.
    stored = Image.new("RGB", (100, 200), RED)
    stored.paste(BLUE, (50, 0, 100, 200))
    wic_codec.gtx_picture(folder / "a_phone.gtx", stored, orientation=6)
    wic_codec.magick(folder / "b_web.tga", (160, 120), GREEN)
    wic_codec.magick(folder / "c_game.dds", (128, 96), YELLOW)  # DXT1: Wine reads no 24-bit DDS
    (folder / "d_left_behind.gone").write_bytes(b"GLIMGTX1" + bytes(64))
    (folder / "e_truncated.gtx").write_bytes(wic_codec.SIGNATURE + bytes(12))
    (folder / "f_empty.gtx").write_bytes(b"")
    wic_codec.magick(folder / "g_lies.dds", (64, 48), CYAN)
    (folder / "g_lies.dds").rename(folder / "g_lies.tga")  # a DDS whose extension says TGA
    k.write_theme(ImageCount=1, Image0=h.to_windows_path(folder) + "\\", BackColor=10, ImageOnDelay=1500)
    seen = {}
    with h.Scr("/s"):
        h.wait_window("TMainForm", timeout=60)
        end = time.time() + 40
        while time.time() < end and len(seen) < 4:
            img = h.screenshot()
            for name, colour in (("gtx", RED), ("tga", GREEN), ("dds", YELLOW), ("lying", CYAN)):
                box = k.bbox_of(img, colour)
                if box and name not in seen:
                    seen[name] = (box, k.bbox_of(img, BLUE))
                    img.save(h.ARTIFACTS / f"wic-{name}.png")
            time.sleep(0.1)
        assert not h.message_boxes()
    assert seen.get("tga", (None,))[0] == (432, 324, 592, 444)
    assert seen.get("dds", (None,))[0] == (448, 336, 576, 432)
    assert seen.get("lying", (None,))[0] == (480, 360, 544, 408)  # read by the decoder whose pattern matches
    # Upright: 200 x 100 centred, red above blue.
    assert seen.get("gtx") == ((412, 334, 612, 384), (412, 384, 612, 434))


def test_a_decoder_that_hangs_holds_no_key_and_the_settings_stay():
    """The decoder never returns from the picture: the show answers a key at
    once all the same, closes and writes its settings. (One that crashes
    ends the process: decoders run inside the program.)"""
    hang = k.media_path("hang.gtx")
    wic_codec.gtx_picture(hang, Image.new("RGB", (64, 48), RED), behaviour=b"H")
    k.write_theme(ImageCount=1, Image0=h.to_windows_path(hang), BackColor=10)
    with h.Scr("/s") as scr:
        h.wait_window("TMainForm", timeout=60)
        time.sleep(2)  # the load is in the decoder by now
        h.key("a")
        assert scr.wait(15) == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "0"


def test_a_picture_far_larger_than_the_screen_comes_through_the_reduced_decode():
    """4400 x 3300 through the test decoder (no reduced decoding of its own):
    the plug-in's quarter preview, scaled row by row, fitted to the screen."""
    big = Image.new("RGB", (4400, 3300), RED)
    big.paste(BLUE, (2200, 0, 4400, 3300))
    path = k.media_path("big.gtx")
    wic_codec.gtx_picture(path, big)
    k.write_theme(ImageCount=1, Image0=h.to_windows_path(path), BackColor=10, ImageOnDelay=60000)
    with h.Scr("/s"):
        h.wait_window("TMainForm", timeout=60)
        h.wait_until(lambda: k.close(h.pixel(256, 384), RED, 2) and k.close(h.pixel(768, 384), BLUE, 2),
                     timeout=40, message="the large picture fitted")
        h.screenshot("wic-large")
        assert not h.message_boxes()


def test_a_decoder_that_hangs_is_given_up_on_and_the_show_goes_on():
    """Past the decode time limit (30 s) the stuck picture is passed over and
    the next one shows; the next .gtx is passed over at once while the
    imaging plug-in is still inside the lost decode, so the show never waits
    on it again."""
    hang = k.media_path("hang.gtx")
    wic_codec.gtx_picture(hang, Image.new("RGB", (64, 48), RED), behaviour=b"H")
    other = k.media_path("other.gtx")
    wic_codec.gtx_picture(other, Image.new("RGB", (64, 48), RED))
    bmp = k.solid_bmp("after-hang.bmp", BLUE, (120, 90))
    k.write_theme(ImageCount=4, Image0=h.to_windows_path(hang), Image1=h.to_windows_path(other), Image2=bmp,
                  Image3=h.to_windows_path(hang), BackColor=10, ImageOnDelay=1000, ImageOffDelay=1000)
    with h.Scr("/s") as scr:
        h.wait_window("TMainForm", timeout=60)
        started = time.time()
        h.wait_until(lambda: h.pixel(512, 384) == BLUE, timeout=60, message="the picture after the stuck one")
        assert time.time() - started > 25  # it waited for the limit, not less
        # Round two: the three .gtx are passed over at once, so the BMP comes back
        # within its stand time and an effect, not another 30 s.
        h.wait_until(lambda: h.pixel(512, 384) != BLUE, timeout=15, message="the BMP's erase")
        h.wait_until(lambda: h.pixel(512, 384) == BLUE, timeout=10, message="the BMP again")
        assert not h.message_boxes()
        h.key("a")
        assert scr.wait(15) == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "3"  # the resume place: after the BMP


def test_a_decoder_that_crashes_costs_its_picture_not_the_show_nor_the_dialog():
    """The decoder writes through a null pointer: its thread is ended, the
    picture passed over, and the next one shows; the show still ends on a key
    and writes its settings. The test display reports the crash in a box and
    the settings dialog goes on."""
    crash = k.media_path("crash.gtx")
    wic_codec.gtx_picture(crash, Image.new("RGB", (64, 48), RED), behaviour=b"C")
    bmp = k.solid_bmp("after-crash.bmp", BLUE, (120, 90))
    k.write_theme(ImageCount=3, Image0=h.to_windows_path(crash), Image1=bmp, Image2=bmp, BackColor=10,
                  ImageOnDelay=60000)
    with h.Scr("/s") as scr:
        h.wait_window("TMainForm", timeout=60)
        h.wait_until(lambda: h.pixel(512, 384) == BLUE, timeout=30, message="the picture after the crash")
        h.screenshot("wic-after-crash")
        assert not h.message_boxes()
        h.key("a")
        assert scr.wait(15) == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "2"  # the resume place: after the BMP

    with h.Scr() as scr:
        d = th.open_theme_dialog(scr)
        d.click_item("ImageListBox", 0)
        d.click("ImageShowBtn")
        box = h.wait_message_box()
        assert any("異常終了しました" in t and h.to_windows_path(crash) in t for t in box["texts"]), box
        h.press_box_button(box, "OK")
        h.wait_window("TImageTestForm", timeout=20)  # the dialog lives on: its test display opens, empty
        h.screenshot("wic-test-display-after-crash")
        assert scr.proc.poll() is None
