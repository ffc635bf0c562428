"""The show keys and the caption on the real Glimora.scr: → / PageDown and
← / PageUp step through the show and LastImageNumber keeps the furthest
place, Space pauses the picture and the music, every other input still ends
the show, the Windows 95/98 password check only for those, and the
caption's pixels for a date taken and a file name."""
import os
import struct
import time

import pytest
from PIL import Image

import harness as h
import saver_kit as k
import wic_codec
from saver_kit import Saver, clean_state  # noqa: F401  (autouse: ends only our savers)

CENTRE = (512, 384)
FIVE = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255)]
WHITE, DARK = (255, 255, 255), (16, 16, 16)
CAPTION_BAND = (0, 768 - 120, 1024, 768)   # the lower part of the screen
MARK_CORNER = (1024 - 160, 0, 1024, 160)   # the upper right corner


def start(**keys):
    k.write_theme(**keys)
    s = Saver()
    s.wait_window()
    return s


def pictures(colours=FIVE):
    keys = {"ImageCount": len(colours)}
    for i, c in enumerate(colours):
        keys[f"Image{i}"] = k.solid_bmp(f"step{i}.bmp", c)
    return keys


def step(key, colour):
    h.key(key)
    k.wait_colour(CENTRE, colour, timeout=5)


def white_in(box):
    return k.count_colour(h.screenshot().crop(box), WHITE)


# ---- stepping -------------------------------------------------------------------

def test_steps_forward_and_back_and_closing_keeps_the_furthest_place_reached():
    s = start(ShowKeys=1, ImageOnDelay=60000, FromLastImage=1, **pictures())
    k.wait_colour(CENTRE, FIVE[0], timeout=10)
    for key, index in [("Right", 1), ("Page_Down", 2), ("Left", 1), ("Page_Up", 0)]:
        step(key, FIVE[index])
    h.key("Left")  # the first picture of the show: nothing happens
    time.sleep(1.0)
    assert h.pixel(*CENTRE) == FIVE[0] and s.alive()
    step("Right", FIVE[1])
    h.key("a")
    assert s.wait_exit() == 0
    # The furthest picture reached going forward was 2; going back never moves the place back.
    assert h.ini_value("Theme0", "LastImageNumber") == "3"


def test_without_show_keys_the_arrow_ends_the_show_as_before():
    s = start(ImageOnDelay=60000, **pictures())
    k.wait_colour(CENTRE, FIVE[0], timeout=10)
    h.key("Right")
    assert s.wait_exit() == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "1"


# ---- pause ------------------------------------------------------------------------

def test_space_holds_the_picture_past_its_stand_time_with_the_music_paused():
    midi = k.midi_file("pause.mid")
    s = start(ShowKeys=1, ImageOnDelay=1500, ImageOffDelay=200, BGM=1, MidiCount=1, Midi0=midi, **pictures())
    k.wait_colour(CENTRE, FIVE[0], timeout=10)
    player = s.player()
    h.key("space")
    h.wait_until(lambda: white_in(MARK_CORNER) > 50, timeout=3, message="pause mark")
    h.screenshot("show_keys_paused")
    assert h.wintool("prop", player, "Paused") == "1"
    time.sleep(4.0)  # more than twice the stand time
    assert h.pixel(*CENTRE) == FIVE[0]
    assert white_in(MARK_CORNER) == 0  # the mark shows for about a second
    # Stepping while paused shows the next picture and stays paused.
    step("Right", FIVE[1])
    time.sleep(3.0)
    assert h.pixel(*CENTRE) == FIVE[1]
    h.key("space")
    assert h.wintool("prop", player, "Paused") == "0"
    assert s.player_text() == midi  # the same tune goes on
    k.wait_colour(CENTRE, FIVE[2], timeout=6)
    h.key("Escape")
    assert s.wait_exit() == 0


# ---- every other input ends the show ------------------------------------------------

@pytest.mark.parametrize("paused,end", [(False, "Up"), (True, "Return"), (True, "click"), (True, "mouse")])
def test_every_other_input_ends_the_show_paused_or_not(paused, end):
    s = start(ShowKeys=1, ImageOnDelay=60000, close_mouse_move=4, **pictures())
    k.wait_colour(CENTRE, FIVE[0], timeout=10)
    h.xdotool("mousemove", 100, 100)
    if paused:
        h.key("space")
        time.sleep(0.5)
    if end == "click":
        h.xdotool("click", 1)
    elif end == "mouse":
        for i in range(8):
            h.xdotool("mousemove", 200 + 9 * i, 300 + 5 * i)
            time.sleep(0.03)
    else:
        h.key(end)
    assert s.wait_exit() == 0


@pytest.fixture
def win98_password():
    k.win98_password_on()
    yield
    k.win98_password_off()


def test_on_windows98_the_show_keys_ask_for_no_password_and_other_keys_do(win98_password):
    s = start(ShowKeys=1, ImageOnDelay=60000, **pictures())
    k.wait_colour(CENTRE, FIVE[0], timeout=10)
    for key in ["Right", "space", "Left", "space", "Page_Down", "Page_Up"]:
        h.key(key)
        time.sleep(0.2)
    time.sleep(1.0)
    assert k.password_calls() == [] and s.alive()
    k.PASSWORD_ANSWER.write_text("1")
    h.key("b")
    assert s.wait_exit() == 0
    assert k.password_calls() == ["VerifyScreenSavePwd TMainForm 1"]


# ---- caption ------------------------------------------------------------------------

def exif_jpeg(name, colour, date=None, written=None):
    """A screen-sized photo; with `date`, an APP1 Exif segment whose Exif
    directory holds DateTimeOriginal; `written`: its last-written time."""
    path = k.media_path(name)
    Image.new("RGB", (1024, 768), colour).save(path, "JPEG", quality=95)
    if date is not None:
        text = date.encode() + b"\0"
        tiff = (b"II*\0" + struct.pack("<I", 8) + struct.pack("<H", 1) + struct.pack("<HHII", 0x8769, 4, 1, 26)
                + struct.pack("<I", 0) + struct.pack("<H", 1) + struct.pack("<HHII", 0x9003, 2, len(text), 44)
                + struct.pack("<I", 0) + text)
        app1 = b"Exif\0\0" + tiff
        data = path.read_bytes()
        path.write_bytes(data[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1 + data[2:])
    stamp = time.mktime(written or (2001, 2, 3, 4, 5, 0, 0, 0, -1))
    os.utime(path, (stamp, stamp))
    return h.to_windows_path(path)


def caption_whites(name=None):
    """The exactly white pixels of the caption band, as positions."""
    band = h.screenshot(name).crop(CAPTION_BAND).convert("RGB")
    w, hgt = band.size
    data = band.getdata()
    return {(i % w, i // w) for i, c in enumerate(data) if c == WHITE}


def test_the_caption_shows_the_date_taken_or_the_file_time_at_the_lower_left():
    files = [exif_jpeg("taken.jpg", (40, 90, 160), date="2019:07:14 10:30:12"),
             exif_jpeg("no_exif.jpg", (160, 90, 40), written=(2019, 7, 14, 10, 30, 40, 0, 0, -1)),
             exif_jpeg("zero.jpg", (40, 160, 90), date="0000:00:00 00:00:00", written=(2020, 2, 2, 20, 20, 0, 0, 0, -1))]
    s = start(ShowKeys=1, Caption=2, ImageOnDelay=60000,
              ImageCount=3, **{f"Image{i}": f for i, f in enumerate(files)})
    seen = []
    for i in range(3):
        if i:
            h.key("Right")
        h.wait_until(lambda: len(caption_whites()) > 100, timeout=10, message=f"caption {i}")
        time.sleep(0.3)
        seen.append(caption_whites(f"show_keys_caption_date{i}"))
    shot = h.screenshot()
    box = k.bbox_of(shot.crop(CAPTION_BAND), WHITE)
    left, bottom = box[0], CAPTION_BAND[1] + box[3]
    assert 16 <= left <= 30 and 768 - 40 <= bottom <= 768 - 16, box  # inside the margin, lower left
    assert box[2] < 512
    assert k.count_colour(shot.crop(CAPTION_BAND), DARK) > 200  # the outline
    # The EXIF date of the first and the last-written minute of the second
    # are the same minute: the same pixels. The broken date shows its file time.
    assert seen[0] == seen[1]
    assert seen[2] != seen[0]
    h.key("Escape")
    assert s.wait_exit() == 0


def gtx_photo(name, colour, date=b"", written=(2001, 2, 3, 4, 5, 0, 0, 0, -1)):
    """A screen-sized .gtx picture of the test decoder with the date it states."""
    path = k.media_path(name)
    wic_codec.gtx_picture(path, Image.new("RGB", (1024, 768), colour), date=date)
    stamp = time.mktime(written)
    os.utime(path, (stamp, stamp))
    return h.to_windows_path(path)


def test_the_caption_shows_the_date_a_decoder_of_the_imaging_component_states():
    """The test decoder stands in for HEIC: the date its metadata states (EXIF
    text, or XMP in wide text) comes through ifwic's picture information to the
    caption, the same pixels as a JPEG last written that minute; without a
    date, or with one that is zero, garbage or cut off, the file's own time."""
    wic_codec.install(h.BIN)
    taken, written = (2019, 7, 14, 10, 30, 40, 0, 0, -1), (2021, 3, 4, 5, 6, 0, 0, 0, -1)
    c = [(40 + 20 * i, 90, 160 - 10 * i) for i in range(9)]  # told apart at the centre
    files = [gtx_photo("exif.gtx", c[0], date=b"2019:07:14 10:30:12\0"),
             gtx_photo("xmp.gtx", c[1], date=b"2019-07-14T10:30:12+09:00"),
             exif_jpeg("that_minute.jpg", c[2], written=taken),
             gtx_photo("none.gtx", c[3], written=written),
             gtx_photo("zero.gtx", c[4], date=b"0000:00:00 00:00:00\0", written=written),
             gtx_photo("garbage.gtx", c[5], date=b"20X9:07:14 10:30:12\0", written=written),
             gtx_photo("binary.gtx", c[6], date=b"\x01\xff\xfe\0garbage", written=written),
             gtx_photo("cut.gtx", c[7], date=b"2019:07:1", written=written),
             exif_jpeg("file_time.jpg", c[8], written=written)]
    s = start(ShowKeys=1, Caption=2, ImageOnDelay=60000,
              ImageCount=len(files), **{f"Image{i}": f for i, f in enumerate(files)})
    seen = []
    for i in range(len(files)):
        if i:
            h.key("Right")
        # The old caption goes with the erase, before the new picture is in.
        k.wait_colour(CENTRE, c[i], timeout=15, tol=3)
        h.wait_until(lambda: len(caption_whites()) > 100, timeout=10, message=f"caption {i}")
        time.sleep(0.3)
        seen.append(caption_whites(f"show_keys_caption_wic{i}"))
    assert seen[0] == seen[1] == seen[2]
    assert all(other == seen[-1] for other in seen[3:-1])
    assert seen[0] != seen[-1]
    assert not h.message_boxes() and s.alive()
    h.key("Escape")
    assert s.wait_exit() == 0


def test_the_caption_shows_the_file_name_cut_at_half_the_screen_and_goes_with_the_erase():
    long_name = "n" * 180 + ".jpg"
    files = [exif_jpeg("写真_2019.jpg", (40, 90, 160)), exif_jpeg(long_name, (40, 90, 160))]
    s = start(Caption=1, ImageOnDelay=3000, ImageOffDelay=2000,
              ImageCount=2, **{f"Image{i}": f for i, f in enumerate(files)})
    h.wait_until(lambda: len(caption_whites()) > 100, timeout=10, message="first caption")
    short = k.bbox_of(h.screenshot("show_keys_caption_name").crop(CAPTION_BAND), WHITE)
    # Gone with the erase, before the next picture appears.
    h.wait_until(lambda: h.pixel(*CENTRE) == (0, 0, 0), timeout=6, message="erase")
    assert not caption_whites()
    h.wait_until(lambda: len(caption_whites()) > 100, timeout=6, message="second caption")
    time.sleep(0.3)
    cut = k.bbox_of(h.screenshot("show_keys_caption_long").crop(CAPTION_BAND), WHITE)
    assert 20 < short[2] - short[0] < 200, short
    assert 400 < cut[2] - cut[0] <= 512, cut  # cut with "…" to half the width
    s.kill()


# ---- every monitor (last: the two-monitor screen stays up to the module's end) ----------

@pytest.fixture(scope="module")
def two_screens():
    import monitors
    with monitors.TwoMonitors("right") as two:
        yield two


def centres(screen):
    shot = h.screenshot()
    return [shot.getpixel(screen.to_root((l + r) // 2, (t + b) // 2)) for l, t, r, b in screen.monitors]


@pytest.mark.parametrize("mode", [1, 2])
def test_a_step_steps_every_monitor(two_screens, mode):
    s = start(ShowKeys=1, Monitors=mode, ImageOnDelay=60000, **pictures())
    first = h.wait_until(lambda: (lambda c: all(x in FIVE for x in c) and c)(centres(two_screens)), timeout=15,
                         message="pictures on both monitors")
    h.key("Right")
    after = h.wait_until(lambda: (lambda c: all(x in FIVE for x in c) and all(a != b for a, b in zip(c, first))
                                  and c)(centres(two_screens)), timeout=6, message="both monitors stepped")
    if mode == 2:
        assert first[0] == first[1] and after[0] == after[1]  # the mirror follows the primary
    h.key("Escape")
    assert s.wait_exit() == 0
