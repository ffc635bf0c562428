"""Appear and erase effects in the running saver: every kind alone brings a
picture on, takes it off and lets the show go on to the next picture; the
half-way screens of Blind, Mesh and Fade show slats, window-grid cells and
an ordered dither of the picture over the background."""
import subprocess
import time

import pytest

import harness as h
import saver_kit as k

KINDS = ["Normal", "Blind", "Scroll", "Stretch", "Slide", "HalfSlide", "Mesh", "Fade"]
RED, GREEN, BLACK = (255, 0, 0), (0, 255, 0), (0, 0, 0)
W, H = 250, 190                                  # picture size
X, Y = (1024 - W) // 2, (768 - H) // 2           # centred: 387, 289 (off the 8-pixel grid)

FADE = [[13, 15, 4, 8], [10, 11, 2, 6], [3, 7, 14, 16], [1, 5, 9, 12]]
MESH = [[14, 14, 14, 15, 15, 15, 15, 16], [12, 12, 12, 13, 13, 13, 13, 15],
        [10, 10, 10, 11, 11, 11, 13, 15], [8, 8, 9, 9, 9, 11, 13, 15],
        [6, 6, 7, 7, 9, 11, 13, 15], [4, 5, 5, 7, 9, 10, 12, 14],
        [2, 3, 5, 6, 8, 10, 12, 14], [1, 3, 4, 6, 8, 10, 12, 14]]


def theme(kind, speed, **extra):
    switches = {}
    for i, name in enumerate(KINDS):
        switches[f"Image{name}On"] = int(i == kind)
        switches[f"Image{name}Off"] = int(i == kind)
    red = k.solid_bmp("fx_red.bmp", RED, (W, H))
    green = k.solid_bmp("fx_green.bmp", GREEN, (W, H))
    k.write_theme(ImageCount=2, Image0=red, Image1=green, ImageFadeInSpeed=speed, ImageFadeOutSpeed=speed,
                  ImageOnDelay=1500, ImageOffDelay=1500, **switches, **extra)


def red_in_place(img):
    """The red picture complete at its place and nowhere else."""
    return k.bbox_of(img, RED) == (X, Y, X + W, Y + H) and k.count_colour(img, RED) == W * H


def wait_screen(predicate, what, timeout=40.0):
    end = time.time() + timeout
    while time.time() < end:
        try:
            img = h.screenshot()
        except subprocess.CalledProcessError:  # the display was busy: look again
            continue
        if predicate(img):
            return img
        time.sleep(0.02)
    raise AssertionError(f"timed out waiting for {what}")


@pytest.mark.parametrize("kind", range(8), ids=KINDS)
def test_each_kind_alone_shows_the_picture_takes_it_off_and_goes_on(kind):
    theme(kind, 400)
    # Only the screen is watched: no probe process runs beside the saver.
    with h.Scr("/s"):
        wait_screen(red_in_place, f"{KINDS[kind]} to bring the first picture on completely")
        wait_screen(lambda img: k.count_colour(img, BLACK) == 1024 * 768,
                    f"{KINDS[kind]} to take it off, leaving only the background")
        wait_screen(lambda img: k.count_colour(img, GREEN) > 0, "the next picture")


def half_way(kind, appear):
    """Screenshot of the first screen with 30 to 70 % of the picture showing,
    during the appear or (after the picture was complete) the erase effect."""
    theme(kind, 375)  # 30 ms per Blind step, 105 ms per Mesh and Fade step
    with h.Scr("/s"):
        if not appear:
            wait_screen(red_in_place, "the picture to be complete")
        img = wait_screen(lambda img: 0.3 < k.count_colour(img, RED) / (W * H) < 0.7,
                          f"{KINDS[kind]} half-way", timeout=40)
    h.ARTIFACTS.mkdir(parents=True, exist_ok=True)
    img.save(h.ARTIFACTS / f"effects_{KINDS[kind].lower()}_{'on' if appear else 'off'}_half.png")
    return img


def red_map(img):
    """Which pixels of the picture's rectangle are red; asserts that every
    pixel there is red or background and that nothing outside is red."""
    px = img.load()
    assert k.bbox_of(img, RED)[0] >= X and k.bbox_of(img, RED)[2] <= X + W
    assert k.count_colour(img, RED) + k.count_colour(img, BLACK) == 1024 * 768
    return [[px[X + x, Y + y] == RED for x in range(W)] for y in range(H)]


@pytest.mark.parametrize("appear", [True, False], ids=["appear", "erase"])
def test_blind_half_way_shows_whole_slats(appear):
    red = red_map(half_way(1, appear))
    rows = all(len(set(row)) == 1 for row in red)
    columns = all(len({red[y][x] for y in range(H)}) == 1 for x in range(W))
    assert rows or columns, "every row (or every column) of the picture is all picture or all background"
    lines = [row[0] for row in red] if rows else red[0]
    # Slats open from both ends at once: lines at both ends are already in their final state.
    final = appear
    assert lines[0] == final and lines[-1] == final
    assert 0 < sum(l != final for l in lines) < len(lines)


def masked_k(red, table, appear):
    """The mask index the screen shows, checking every pixel against it: a
    window pixel (px, py) shows the picture when the threshold at
    (px mod 8, py mod 8) is at most k (appear) or above k (erase)."""
    size = len(table)
    for kk in range(17):
        if all(red[y][x] == ((table[(Y + y) % size][(X + x) % size] <= kk) == appear)
               for y in range(H) for x in range(W)):
            return kk
    return None


@pytest.mark.parametrize("appear", [True, False], ids=["appear", "erase"])
def test_mesh_half_way_fills_cells_of_the_window_grid_from_their_bottom_left(appear):
    red = red_map(half_way(6, appear))
    kk = masked_k(red, MESH, appear)
    assert kk is not None and 4 <= kk <= 12, "one Mesh mask over all cells, aligned on the window's 8-pixel grid"


@pytest.mark.parametrize("appear", [True, False], ids=["appear", "erase"])
def test_fade_half_way_is_an_ordered_dither(appear):
    red = red_map(half_way(7, appear))
    kk = masked_k(red, FADE, appear)
    assert kk is not None and 4 <= kk <= 12, "one Fade mask: the same dither in every 4 x 4 block"
