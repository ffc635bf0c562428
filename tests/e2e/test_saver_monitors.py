"""The saver on two monitors (1024 x 768 primary, 800 x 600 to its right):
what each monitor shows for every Monitors choice, one key ending the show
on both, Scroll entering from the second monitor's own edge, and the second
monitor unplugged during the show."""
import time

import pytest

import harness as h
import monitors
import saver_kit as kit
from saver_kit import clean_state  # noqa: F401  (the saver modules' clean-up)

TEAL = (0, 128, 128)  # BackColor 5
COLOURS = [(220, 40, 40), (40, 200, 40), (40, 40, 220), (230, 200, 30)]
PICTURE = (160, 120)


@pytest.fixture(scope="module")
def screen():
    with monitors.UnpluggableMonitors() as two:
        yield two


def theme(monitors_mode, **keys):
    settings = {"Monitors": monitors_mode, "BackColor": 5, "ImageOnDelay": 4000, "ImageCount": len(COLOURS)}
    for i, colour in enumerate(COLOURS):
        settings[f"Image{i}"] = kit.solid_bmp(f"mon{i}.bmp", colour, PICTURE)
    settings.update(keys)
    kit.write_theme(**settings)


def centres(screen, name=None):
    """The colour at the middle of each monitor, primary first."""
    shot = h.screenshot(name)
    out = []
    for l, t, r, b in screen.monitors:
        out.append(shot.getpixel(screen.to_root((l + r) // 2, (t + b) // 2)))
    return out


def wait_pictures(screen, predicate, timeout=15.0, name=None):
    """Centres once both monitors show a picture colour and predicate holds."""
    end = time.time() + timeout
    seen = None
    while time.time() < end:
        seen = centres(screen)
        if all(c in COLOURS for c in seen) and predicate(seen):
            if name:
                centres(screen, name)
            return seen
        time.sleep(0.1)
    raise AssertionError(f"monitors showed {seen}")


def start_saver(screen):
    saver = kit.Saver("/s")
    saver.wait_window(timeout=30)
    return saver


def test_each_monitor_its_own_pictures(screen):
    theme(1)
    saver = start_saver(screen)
    wait_pictures(screen, lambda c: c[0] != c[1], name="monitors_each_own")
    # Both go on changing, and never to the same picture at once.
    changed = set()
    end = time.time() + 14
    while time.time() < end:
        now = centres(screen)
        if all(c in COLOURS for c in now):
            assert now[0] != now[1], "the same picture on both monitors"
            changed.add(now[1])
        time.sleep(0.2)
    assert len(changed) >= 2, "the second monitor kept one picture"
    assert saver.alive()


def test_primary_only_leaves_the_second_on_the_background(screen):
    theme(0)
    start_saver(screen)
    end = time.time() + 8
    shown = False
    while time.time() < end:
        c = centres(screen)
        assert c[1] == TEAL, f"second monitor showed {c[1]}"
        shown = shown or c[0] in COLOURS
        time.sleep(0.2)
    centres(screen, "monitors_primary_only")
    assert shown, "no picture on the primary"


def test_the_same_picture_on_every_monitor_changing_together(screen):
    theme(2)
    start_saver(screen)
    first = wait_pictures(screen, lambda c: c[0] == c[1], name="monitors_same")
    wait_pictures(screen, lambda c: c[0] == c[1] and c[0] != first[0], timeout=20)


def test_one_key_ends_the_show_on_both_and_the_resume_number_is_written_once(screen):
    theme(1, FromLastImage=1)
    saver = start_saver(screen)
    wait_pictures(screen, lambda c: True)
    h.key("space")
    assert saver.wait_exit(timeout=15) == 0
    assert h.find_window("TMainForm") is None and h.find_window("TMonitorForm") is None
    section = h.read_ini()["Theme0"]
    assert [k for k, _ in section].count("LastImageNumber") == 1
    # The two monitors took two pictures: the next is the third.
    assert int(h.ini_value("Theme0", "LastImageNumber")) >= 2


def test_scroll_enters_from_the_second_monitors_own_edge(screen):
    theme(1, ImageNormalOn=0, ImageScrollOn=1, ImageFadeInSpeed=385)
    start_saver(screen)
    l, t, r, b = screen.monitors[1]
    middle_y = (t + b) // 2
    middle_x = (l + r) // 2
    # Early in the appear, the picture stands at the second monitor's left or
    # top edge while its middle still shows the background.
    end = time.time() + 15
    while time.time() < end:
        shot = h.screenshot()
        at_left = shot.getpixel(screen.to_root(l + 20, middle_y))
        at_top = shot.getpixel(screen.to_root(middle_x, t + 20))
        centre = shot.getpixel(screen.to_root(middle_x, middle_y))
        if (at_left in COLOURS or at_top in COLOURS) and centre == TEAL:
            h.screenshot("monitors_scroll_entering")
            return
        time.sleep(0.05)
    raise AssertionError("no picture entered at the second monitor's own edge")


def test_unplugging_the_second_monitor_leaves_the_show_on_the_primary(screen):
    theme(1)
    saver = start_saver(screen)
    wait_pictures(screen, lambda c: c[0] != c[1])
    l, t, r, b = screen.monitors[1]
    screen.unplug(1)
    try:
        # The second monitor's window goes with it; nothing of the show is left
        # where that monitor stood (the X screen keeps the area).
        assert h.wait_gone("TMonitorForm", timeout=15), "the unplugged monitor's window stayed"
        shot = h.screenshot("monitors_after_unplug")
        gone = {shot.getpixel(screen.to_root(x, y)) for x in range(l, r, 50) for y in range(t, b, 50)}
        assert not gone & {TEAL, *COLOURS}, f"the unplugged monitor's area shows {gone}"
        # The primary goes on to its next picture.
        primary = lambda: centres(screen)[0]
        first = primary()
        h.wait_until(lambda: (now := primary()) in COLOURS and now != first, timeout=20,
                     message="the primary's next picture")
        assert saver.alive()
    finally:
        screen.plug(1)
