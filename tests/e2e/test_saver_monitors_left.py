"""The saver with a monitor left of the primary (800 x 600 at -800,0):
negative coordinates. Each monitor shows its own pictures, centred in it,
and the same picture on both with Monitors 2."""
import time

import pytest

import harness as h
import monitors
import saver_kit as kit
from saver_kit import clean_state  # noqa: F401  (the saver modules' clean-up)
from test_saver_monitors import COLOURS, PICTURE, TEAL, theme


@pytest.fixture(scope="module")
def screen():
    with monitors.TwoMonitors("left") as two:
        yield two


def picture_box(shot, screen, index):
    """The bounding box of picture colours on one monitor, in its own coordinates."""
    l, t, r, b = screen.monitors[index]
    x0, y0 = screen.to_root(l, t)
    part = shot.crop((x0, y0, x0 + r - l, y0 + b - t))
    boxes = [kit.bbox_of(part, c) for c in COLOURS]
    return [bx for bx in boxes if bx]


@pytest.mark.parametrize("mode, same", [(1, False), (2, True)])
def test_pictures_centred_on_a_monitor_at_negative_coordinates(screen, mode, same):
    assert screen.monitors == [(0, 0, 1024, 768), (-800, 0, 0, 600)]
    theme(mode)
    kit.Saver("/s").wait_window(timeout=30)
    end = time.time() + 15
    while time.time() < end:
        shot = h.screenshot()
        primary, left = picture_box(shot, screen, 0), picture_box(shot, screen, 1)
        if len(primary) == 1 and len(left) == 1:
            break
        time.sleep(0.2)
    else:
        raise AssertionError("no picture on both monitors")
    h.screenshot(f"monitors_left_mode{mode}")
    # Centred within each monitor, not within the virtual screen.
    w, hgt = PICTURE
    assert primary[0] == ((1024 - w) // 2, (768 - hgt) // 2, (1024 - w) // 2 + w, (768 - hgt) // 2 + hgt)
    assert left[0] == ((800 - w) // 2, (600 - hgt) // 2, (800 - w) // 2 + w, (600 - hgt) // 2 + hgt)
    colour_left = shot.getpixel(screen.to_root(-400, 300))
    colour_primary = shot.getpixel(screen.to_root(512, 384))
    assert (colour_left == colour_primary) == same
    assert shot.getpixel(screen.to_root(-790, 10)) == TEAL
