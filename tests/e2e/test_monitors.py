"""Two monitors under Wine: the test display gives the layouts the saver's
tests rely on, and a window at a monitor's Windows coordinates shows on that
monitor's part of the X screen (including one left of the primary, at
negative coordinates)."""
import subprocess

import pytest

import harness as h
import monitors

GREY = (128, 128, 128)  # the stand-in window's background (GRAY_BRUSH)


def show_grey_window(left, top, width, height):
    """A plain window of the probe at a place in Windows coordinates."""
    proc = subprocess.Popen(["wine", str(h.WINTOOL), "parent", str(width), str(height), "GlimoraMonitorProbe",
                             str(left), str(top)], env=h.wine_env(), stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    hwnd = int(proc.stdout.readline().decode().strip())
    return proc, hwnd


def close_window(proc, hwnd):
    h.wintool("close", hwnd, check=False)
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()


@pytest.mark.parametrize("layout, expected", [
    ("right", [(0, 0, 1024, 768), (1024, 0, 1824, 600)]),
    ("left", [(0, 0, 1024, 768), (-800, 0, 0, 600)]),
])
def test_two_monitors_in_each_layout(layout, expected):
    with monitors.TwoMonitors(layout) as screen:
        assert screen.monitors == expected
        # A window on the second monitor shows there, and nowhere on the primary.
        l, t, _, _ = screen.monitors[1]
        proc, hwnd = show_grey_window(l + 100, t + 50, 200, 120)
        try:
            # The shot kept as an artefact is the one that found the window.
            second = h.wait_until(
                lambda: (shot := screen.monitor_shot(1, f"monitors_{layout}_probe")).getpixel((200, 110)) == GREY
                and shot, timeout=15, message="the window on the second monitor")
            primary = screen.monitor_shot(0)
            assert second.getpixel((90, 110)) != GREY and second.getpixel((200, 40)) != GREY
            assert GREY not in {primary.getpixel((x, y)) for x in range(0, 1024, 64) for y in range(0, 768, 64)}
        finally:
            close_window(proc, hwnd)
