"""The saver window under Wine: background, title, image order, effects on
screen, exit on input, the Windows 98 password path, sound and music."""
import time

import pytest

import harness as h
import saver_kit as k
from saver_kit import Saver, clean_state  # noqa: F401  (autouse: ends only our savers)


def start(*args, env=None):
    s = Saver(*args, env=env)
    s.wait_window()
    return s


# ---- background -----------------------------------------------------------

COLOURS = [(0, 0, 0), (255, 0, 0), (0, 0, 255), (0, 255, 0), (255, 0, 255), (0, 128, 128),
           (0, 0, 128), (128, 0, 0), (0, 255, 255), (128, 128, 128), (192, 192, 192), (255, 255, 255)]


@pytest.mark.parametrize("index,colour", list(enumerate(COLOURS)) + [(12, (0, 0, 0)), (255, (0, 0, 0)), (257, (255, 0, 0))])
def test_background_colour(index, colour):
    k.write_theme(BackColor=index)
    start()
    k.wait_colour((512, 384), colour)
    img = h.screenshot(f"saver_back_{index}")
    for p in [(0, 0), (1023, 0), (0, 767), (1023, 767), (300, 500)]:
        assert img.getpixel(p) == colour, p


def test_tiled_background_repeats_the_picture_across_the_screen():
    k.write_theme(BackGround=1, BackFileName=k.quadrant_bmp("tile.bmp"))
    start()
    k.wait_colour((0, 0), (255, 0, 0))
    img = h.screenshot("saver_tiled")
    for p in [(0, 0), (49, 49), (50, 0), (99, 99), (100, 0), (175, 260), (999, 767), (1000, 700), (1023, 767), (1023, 0), (1010, 740)]:
        assert img.getpixel(p) == k.quadrant_colour(p[0] % 100, p[1] % 100), p


def test_unreadable_background_picture_gives_black_without_a_message():
    k.write_theme(BackGround=1, BackFileName="C:\\no\\such\\file.bmp", BackColor=1)
    s = start()
    time.sleep(0.8)
    img = h.screenshot()
    assert img.getpixel((10, 10)) == (0, 0, 0) and img.getpixel((900, 700)) == (0, 0, 0)
    assert not h.message_boxes()
    assert s.alive()


def test_desktop_background_shows_what_was_on_the_screen():
    host = h.subprocess.Popen(["wine", str(h.WINTOOL), "parent", "300", "200"], env=h.wine_env(),
                              stdout=h.subprocess.PIPE, stderr=h.subprocess.DEVNULL)
    try:
        k.wait_colour((250, 200), (128, 128, 128))
        before = h.screenshot("saver_desktop_before")
        k.write_theme(BackGround=2)
        start()
        time.sleep(1.0)
        after = h.screenshot("saver_desktop_after")
        assert after.getpixel((250, 200)) == (128, 128, 128)
        for p in [(10, 10), (99, 99), (100, 100), (399, 299), (400, 300), (800, 600)]:
            assert after.getpixel(p) == before.getpixel(p), p
    finally:
        host.kill()


# ---- title ------------------------------------------------------------------

def test_title_lines_fade_in_centred_in_the_title_colour_and_out_again():
    k.write_theme(Title=1, TitleText0="Glimora title", TitleText1="Line two",
                  TitleFontName0="Times New Roman", TitleFontName1="Times New Roman",
                  TitleFontSize0=48, TitleFontSize1=96, TitleR=255, TitleG=255, TitleB=255,
                  TitleFadeInterval=20, TitleOnDelay=1500, BackColor=2, FirstDelay=60000)
    start()
    white = (251, 251, 251)
    first = h.wait_until(lambda: k.count_colour(h.screenshot(), white) > 300 and h.screenshot("saver_title_0"),
                         timeout=10, interval=0.05, message="first title line")
    box0 = k.bbox_of(first, white)
    assert k.count_colour(first, (255, 255, 255)) == 0  # never pure white
    cx, cy = (box0[0] + box0[2]) / 2, (box0[1] + box0[3]) / 2
    assert abs(cx - 512) <= 6 and abs(cy - 384) <= 24, box0
    assert box0[3] - box0[1] <= 48
    # Out again: only the background colour remains.
    h.wait_until(lambda: k.count_colour(h.screenshot(), white) == 0, timeout=6, interval=0.05, message="fade out")
    second = h.wait_until(lambda: (lambda img: k.count_colour(img, white) > 300 and img)(h.screenshot()),
                          timeout=6, interval=0.05, message="second title line")
    time.sleep(0.6)
    second = h.screenshot("saver_title_1")
    box1 = k.bbox_of(second, white)
    assert box1[3] - box1[1] > 48  # the 96-pixel line
    assert abs((box1[0] + box1[2]) / 2 - 512) <= 6
    others = set(second.getdata()) - {white, (0, 0, 255)}
    assert not others, others  # no blending with the background


def test_without_title_the_first_image_follows_the_start_pause_and_first_delay():
    k.write_theme(ImageCount=1, Image0=k.solid_bmp("red.bmp", (255, 0, 0)), FirstDelay=2500, ImageOnDelay=60000)
    s = start()
    time.sleep(1.5)
    assert h.pixel(512, 384) == (0, 0, 0)
    k.wait_colour((512, 384), (255, 0, 0), timeout=8)
    elapsed = time.time() - s.shown_at
    assert 2.5 <= elapsed <= 6.0, elapsed


# ---- image order --------------------------------------------------------------

FIVE = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255)]


def image_keys(colours, size=(120, 90)):
    keys = {"ImageCount": len(colours)}
    for i, c in enumerate(colours):
        keys[f"Image{i}"] = k.solid_bmp(f"img{i}.bmp", c, size)
    return keys


def images_seen(seq, count):
    return [FIVE.index(c) for c in seq if c in FIVE][:count]


def test_list_order_continues_from_the_last_number_and_closing_stores_the_next():
    k.write_theme(FromLastImage=1, LastImageNumber=3, ImageOnDelay=900, ImageOffDelay=300, **image_keys(FIVE))
    s = start()
    seen = []
    h.wait_until(lambda: (seen.extend(c for c in [h.pixel(512, 384)] if c in FIVE and (not seen or seen[-1] != c))
                          or len(seen) >= 3), timeout=20, interval=0.1, message="three images")
    assert [FIVE.index(c) for c in seen[:3]] == [3, 4, 0]
    h.key("space")  # image 0 is on: image 1 comes next
    assert s.wait_exit() == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "1"
    assert h.ini_value("Theme0", "LastMidiNumber") == "0"


def test_random_order_with_two_images_alternates():
    k.write_theme(ImageOrdRandom=1, LastImageNumber=1, ImageOnDelay=500, ImageOffDelay=200, **image_keys(FIVE[:2]))
    s = start()
    seen = []
    h.wait_until(lambda: (seen.extend(c for c in [h.pixel(512, 384)] if c in FIVE and (not seen or seen[-1] != c))
                          or len(seen) >= 5), timeout=25, interval=0.08, message="five images")
    for a, b in zip(seen, seen[1:]):
        assert a != b
    h.key("Escape")
    assert s.wait_exit() == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "0"  # random order leaves the position alone


def test_broken_and_missing_files_are_passed_over_in_silence():
    keys = {"ImageCount": 4, "Image0": k.solid_bmp("ok_a.bmp", FIVE[0]), "Image1": "C:\\saver_media\\missing.bmp",
            "Image2": k.broken_bmp("broken.bmp"), "Image3": k.solid_bmp("ok_b.bmp", FIVE[1])}
    k.write_theme(ImageOnDelay=400, ImageOffDelay=150, **keys)
    s = start()
    seen = []
    h.wait_until(lambda: (seen.extend(c for c in [h.pixel(512, 384)] if c in FIVE and (not seen or seen[-1] != c))
                          or len(seen) >= 4), timeout=25, interval=0.08, message="valid images")
    assert [FIVE.index(c) for c in seen[:4]] == [0, 1, 0, 1]
    assert not h.message_boxes()
    assert s.alive()


def test_pictures_that_cannot_be_shown_leave_no_box_and_play_no_sound():
    # Every kind of picture the component turns down without an exception:
    # bad data (native and plug-in formats), an extension nobody reads, and
    # entries whose Image<n> key is missing. Each has a WAV of its own.
    capture = k.CAPTURE_DIR / "blank_box.raw"
    env = k.sound_env(capture)
    jpeg = k.media_path("broken.jpg")
    jpeg.write_bytes(b"\xff\xd8\xff\xe0 not a JPEG" + bytes(300))
    unknown = k.media_path("photo.xyz")
    unknown.write_bytes(b"whatever")
    tone = k.tone_wav("tone.wav")
    keys = {"ImageCount": 5, "Image0": k.broken_bmp("broken.bmp"), "Image1": h.to_windows_path(jpeg),
            "Image2": h.to_windows_path(unknown)}  # Image3 and Image4 are missing
    for n in range(5):
        keys[f"Wave{n}"] = tone
    k.write_theme(BackColor=9, FirstDelay=100, ImageOnDelay=300, ImageOffDelay=100, **keys)
    s = start(env=env)
    k.wait_colour((512, 384), (128, 128, 128))
    grey = (128, 128, 128)
    end = time.time() + 5.0
    shots = 0
    while time.time() < end:
        img = h.screenshot("saver_no_blank_box" if shots == 0 else None)
        shots += 1
        assert k.count_colour(img, (255, 255, 255)) == 0, "a white box appeared"
        assert k.count_colour(img, grey) == img.width * img.height, "something other than the background"
    assert shots >= 5
    assert k.captured_samples(capture) == 0
    assert not h.message_boxes()
    assert s.alive()


def test_not_erase_leaves_every_image_on_the_screen():
    k.write_theme(NotErase=1, ImagePosRandom=1, ImageOnDelay=150, ImageOffDelay=100, BackColor=9,
                  **image_keys(FIVE, size=(60, 60)))
    start()
    time.sleep(0.5)
    h.wait_until(lambda: sum(1 for c in FIVE if k.count_colour(h.screenshot(), c) >= 900) >= 4,
                 timeout=20, interval=0.3, message="images piling up")
    h.screenshot("saver_not_erase")


def test_erase_takes_the_image_off_again():
    k.write_theme(ImageOnDelay=400, ImageOffDelay=1500, BackColor=9, **image_keys(FIVE[:1]))
    start()
    k.wait_colour((512, 384), FIVE[0], timeout=10)
    k.wait_colour((512, 384), (128, 128, 128), timeout=5)
    img = h.screenshot()
    assert k.count_colour(img, FIVE[0]) == 0


# ---- exit on input --------------------------------------------------------------

def test_a_key_closes_the_saver_and_writes_the_resume_numbers():
    k.write_theme()
    s = start()
    time.sleep(0.5)
    h.key("a")
    assert s.wait_exit() == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "0"
    assert h.ini_value("Theme0", "LastMidiNumber") == "0"


def test_the_system_screen_saver_command_is_refused_and_others_pass():
    k.write_theme()
    s = start()
    assert h.wintool("send", s.hwnd, 0x0112, 0xF140, 0) == "1"  # WM_SYSCOMMAND, SC_SCREENSAVE
    assert s.alive()


def test_a_click_closes_the_saver():
    k.write_theme()
    s = start()
    time.sleep(1.2)
    h.xdotool("click", 1)
    assert s.wait_exit() == 0


def moves(n, base):
    for i in range(n):
        h.xdotool("mousemove", base + 7 * (i + 1), 300 + 3 * i)
        time.sleep(0.04)


def mouse_threshold(threshold, survive):
    k.write_theme(close_mouse_move=threshold)
    s = start()
    h.xdotool("mousemove", 100, 100)
    for attempt in range(3):
        time.sleep(1.3)  # a Timer1 period: the count starts again
        moves(survive, 100 + 200 * attempt)
        time.sleep(0.3)
        assert s.alive(), f"closed after {survive} moves"
        time.sleep(1.3)
        # Start elsewhere: a move to where the cursor already stands is no move.
        moves(survive + 1, 200 + 200 * attempt)
        try:
            return s.wait_exit(timeout=3)
        except h.subprocess.TimeoutExpired:
            continue  # Timer1 cleared the count in the middle: again
    raise AssertionError(f"{survive + 1} moves never closed the saver")


@pytest.mark.managed_windows
def test_close_mouse_move_0_closes_on_the_second_move_not_the_first():
    assert mouse_threshold(0, 1) == 0


@pytest.mark.managed_windows
def test_close_mouse_move_8_closes_on_the_tenth_move_not_the_ninth():
    assert mouse_threshold(8, 9) == 0


def preview_host(width, height):
    host = h.subprocess.Popen(["wine", str(h.WINTOOL), "parent", str(width), str(height)], env=h.wine_env(),
                              stdout=h.subprocess.PIPE, stderr=h.subprocess.DEVNULL)
    return host, int(host.stdout.readline())


def preview_child(parent):
    return h.wait_until(lambda: [w for w in h.tree(parent) if w.cls == "TMainForm"], timeout=20,
                        message="the preview window")[0]


# Under Wine a child window in another process does not reach the screen,
# so the preview is checked by its place, its life and its silence.
def test_preview_sits_in_the_host_and_ignores_input():
    k.write_theme(BackColor=1)
    host, parent = preview_host(200, 150)
    try:
        s = Saver("/p", str(parent))
        child = preview_child(parent)
        assert child.rect == (100, 100, 300, 250)
        assert child.style & 0x40000000  # WS_CHILD
        h.xdotool("mousemove", 150, 120, "click", 1)
        h.key("a")
        moves(12, 120)
        time.sleep(1.0)
        assert s.alive()
    finally:
        k.stop_all()
        host.kill()


# ---- Windows 98 password path ------------------------------------------------------

@pytest.fixture
def win98_password():
    k.win98_password_on()
    yield
    k.win98_password_off()


def test_windows98_password_keeps_the_saver_until_the_check_passes(win98_password):
    k.write_theme()
    s = start()
    time.sleep(0.5)
    k.PASSWORD_ANSWER.write_text("0")
    h.key("a")
    h.wait_until(lambda: len(k.password_calls()) == 1, timeout=10, message="password check")
    time.sleep(1.0)
    assert s.alive()
    assert k.password_calls()[0] == "VerifyScreenSavePwd TMainForm 0"
    k.PASSWORD_ANSWER.write_text("1")
    h.key("b")
    assert s.wait_exit() == 0
    assert k.password_calls()[1] == "VerifyScreenSavePwd TMainForm 1"


def test_windows98_without_the_password_switch_closes_at_once(win98_password):
    k.reg("add", r"HKCU\Control Panel\desktop", "/v", "ScreenSaveUsePassword", "/t", "REG_DWORD", "/d", "0", "/f")
    k.write_theme()
    s = start()
    time.sleep(0.5)
    h.key("a")
    assert s.wait_exit() == 0
    assert k.password_calls() == []


# ---- sound ----------------------------------------------------------------------------

def test_the_images_sound_plays_once_the_image_has_appeared():
    capture = k.CAPTURE_DIR / "wave.raw"
    env = k.sound_env(capture)
    k.write_theme(ImageCount=1, Image0=k.solid_bmp("snd.bmp", FIVE[2]), Wave0=k.tone_wav("tone.wav"),
                  FirstDelay=1500, ImageOnDelay=60000)
    start(env=env)
    time.sleep(1.0)
    assert h.pixel(512, 384) == (0, 0, 0)
    assert k.captured_samples(capture) == 0
    k.wait_colour((512, 384), FIVE[2], timeout=10)
    h.wait_until(lambda: k.captured_samples(capture) > 5000, timeout=10, message="the WAV in the capture")


def test_nashi_and_the_preview_play_nothing():
    capture = k.CAPTURE_DIR / "silent.raw"
    env = k.sound_env(capture)
    k.write_theme(ImageCount=1, Image0=k.solid_bmp("snd.bmp", FIVE[2]), Wave0="なし", ImageOnDelay=60000)
    s = start(env=env)
    k.wait_colour((512, 384), FIVE[2], timeout=10)
    time.sleep(1.5)
    assert k.captured_samples(capture) == 0
    s.kill()
    k.write_theme(ImageCount=1, Image0=k.solid_bmp("snd.bmp", FIVE[2]), Wave0=k.tone_wav("tone.wav"),
                  ImageOnDelay=300, ImageOffDelay=100)
    host, parent = preview_host(400, 300)
    try:
        Saver("/p", str(parent), env=env)
        preview_child(parent)
        time.sleep(4.0)  # start pause, first delay and several images with their sounds due
        assert k.captured_samples(capture) == 0
    finally:
        k.stop_all()
        host.kill()


# ---- music ---------------------------------------------------------------------------------

def test_a_missing_midi_file_is_skipped_in_silence_and_retried_after_the_off_delay():
    missing = "C:\\saver_media\\missing.mid"
    good = k.midi_file("good.mid")
    k.write_theme(BGM=1, MidiCount=2, Midi0=missing, Midi1=good, MidiOrdRandom=0,
                  ImageOnDelay=1500, ImageOffDelay=300, FirstDelay=200, **image_keys(FIVE[:1]))
    s = start()
    h.wait_until(lambda: s.player_text() == missing, timeout=10, message="the first MIDI file tried")
    k.wait_colour((512, 384), FIVE[0], timeout=10)
    assert s.player_text() == missing  # not before the image's off-delay
    h.wait_until(lambda: s.player_text() == good, timeout=10, message="the retry")
    assert not h.message_boxes()
    h.key("a")
    assert s.wait_exit() == 0
    assert h.ini_value("Theme0", "LastMidiNumber") == "0"


def test_a_completion_notice_starts_the_next_file_in_list_order():
    files = [k.midi_file(f"m{i}.mid") for i in range(3)]
    k.write_theme(BGM=1, MidiCount=3, MidiOrdRandom=0, FromLastMidi=1, LastMidiNumber=2,
                  **{f"Midi{i}": f for i, f in enumerate(files)})
    s = start()
    h.wait_until(lambda: s.player_text() == files[2], timeout=10, message="MIDI 2 first")
    player = s.player()
    h.wintool("post", player, 0x3B9, 1, 0)  # MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL
    h.wait_until(lambda: s.player_text() == files[0], timeout=5, message="MIDI 0 next")
    h.wintool("post", player, 0x3B9, 1, 0)
    h.wait_until(lambda: s.player_text() == files[1], timeout=5, message="MIDI 1 next")
    time.sleep(0.5)
    assert s.player_text() == files[1]  # closing the finished file starts nothing more
    h.key("a")
    assert s.wait_exit() == 0
    assert h.ini_value("Theme0", "LastMidiNumber") == "2"
