"""What the theme dialog's suites share: a settings file that starts empty,
a Wine desktop held for the whole module, the programs a test starts (ended
by their own id), and themes written for a test to open."""
import subprocess

import pytest

import harness as h
import theme_helpers as th
from theme_helpers import open_theme_dialog, theme_lines

IMG = [f"{th.FILES_WIN}\\p{i}.bmp" for i in range(5)]
WAV = [f"{th.FILES_WIN}\\w{i}.wav" for i in range(5)]

IMAGE_CONTROLS = ["ImageAddBtn", "ImageUpBtn", "ImageDownBtn", "ImageShowBtn", "WavPlayEdit",
                  "WavSetBtn", "WavDeleteBtn", "WavPlayBtn"]


@pytest.fixture(autouse=True)
def clean_state():
    """No settings file at the start. Only the processes these tests start are
    ended (by their own id), never other people's."""
    h.remove_ini()
    yield


def keep_desktop_alive():
    """Wine's desktop process ends with the last program that has a window;
    one started while it is ending can hang. A tiny window of our own kept
    off the screen holds the desktop for the whole run."""
    subprocess.run(["wineserver", "-p"], env=h.wine_env(), check=False)
    return th.StandIn("GlimoraThemeTestKeepAlive", -20, -20, -19, -19)


@pytest.fixture(scope="module", autouse=True)
def desktop():
    state = {"holder": keep_desktop_alive()}
    yield state
    state["holder"].close()


@pytest.fixture
def program():
    started = []

    def start(env=None):
        scr = h.Scr(env=env)
        started.append(scr)
        return scr

    yield start
    for scr in started:
        scr.kill()


def theme_ini(**keys):
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": keys})


def lists_ini(count, **extra):
    keys = {"ImageCount": count}
    keys.update({f"Image{i}": IMG[i] for i in range(count)})
    keys.update({f"Wave{i}": WAV[i] for i in range(count)})
    keys.update(extra)
    theme_ini(**keys)


def dialog(program, env=None):
    scr = program(env)
    return open_theme_dialog(scr)


def ok_writes_in_order(d, first, following):
    """OK closes the dialog and the theme's keys hold `first`, then `following` right after it."""
    d.ok()
    assert d.closed()
    lines = theme_lines()
    i = lines.index(first)
    assert lines[i + 1:i + 1 + len(following)] == following
