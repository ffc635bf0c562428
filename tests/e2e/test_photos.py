"""Photos in the saver: pictures larger than the screen are shrunk to fit it
(ImageFit, on when absent) with a smooth reduction, upright by their EXIF
orientation; smaller ones keep their size; without fitting a large picture
is cropped as before; a key ends the show while a large photo loads.

Every check is on the screen's pixels against a reference made here with
Pillow from the same file: turned upright, reduced with the box filter
(area averaging), compared by the mean difference per channel."""
import pathlib
import sys
import time

import pytest
from PIL import Image, ImageChops, ImageOps, ImageStat

import harness as h
import saver_kit as k
from saver_kit import Saver, clean_state  # noqa: F401  (autouse: ends only our savers)

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
import fitting  # noqa: E402  (tests/support)

REAL = pathlib.Path(__file__).resolve().parents[1] / "data" / "real"
SCREEN = (1024, 768)
MEAN_TOLERANCE = 3.0  # two JPEG decoders and two box filters differ by a little


def fitted(size, area=SCREEN):
    return fitting.fitted(size, area)


def upright(path):
    return ImageOps.exif_transpose(Image.open(path)).convert("RGB")


def reference(img, area=SCREEN):
    return img.resize(fitted(img.size, area), Image.BOX)


def mean_difference(a, b):
    return sum(ImageStat.Stat(ImageChops.difference(a, b)).mean) / 3


def copy_real(name):
    path = k.media_path(name)
    path.write_bytes((REAL / name).read_bytes())
    return h.to_windows_path(path)


def show(image, **keys):
    """Starts the saver on one picture (centred, Normal effect, black
    background) and returns the screen once the picture has appeared."""
    theme = dict(ImageCount=1, Image0=image, FirstDelay=0, ImageOnDelay=60000)
    theme.update(keys)
    k.write_theme(**theme)
    s = Saver()
    s.wait_window()
    h.wait_until(lambda: h.screenshot().getbbox() is not None, timeout=40, message="a picture on the screen")
    time.sleep(0.5)
    return s, h.screenshot()


def placed(shot, size, at=None):
    """The screen's part where a picture of size shows (centred by default);
    the rest of the screen must be the black background."""
    w, hgt = size
    x, y = at if at else ((SCREEN[0] - w) // 2, (SCREEN[1] - hgt) // 2)
    outside = shot.copy()
    outside.paste((0, 0, 0), (x, y, x + w, y + hgt))
    assert outside.getbbox() is None, f"pixels outside the picture's place: {outside.getbbox()}"
    return shot.crop((x, y, x + w, y + hgt))


# ---- camera photos ---------------------------------------------------------

@pytest.mark.parametrize("name", ["Landscape_2.jpg", "Landscape_5.jpg", "Landscape_7.jpg", "Portrait_4.jpg"])
def test_a_camera_photo_is_fitted_upright_and_matches_a_box_reduction(name):
    expected = reference(upright(REAL / name))
    _, shot = show(copy_real(name))
    shown = placed(shot, expected.size)
    diff = mean_difference(shown, expected)
    if diff >= MEAN_TOLERANCE:
        shot.save(h.ARTIFACTS / f"photos_{name}.png")
    assert diff < MEAN_TOLERANCE, f"{name}: mean difference {diff:.2f}"


@pytest.mark.parametrize("tag", range(1, 9))
def test_every_exif_orientation_of_one_photo_shows_the_same_upright_picture(tag):
    base = upright(REAL / "Landscape_2.jpg")
    undo = {1: None, 2: Image.FLIP_LEFT_RIGHT, 3: Image.ROTATE_180, 4: Image.FLIP_TOP_BOTTOM,
            5: Image.TRANSPOSE, 6: Image.ROTATE_90, 7: Image.TRANSVERSE, 8: Image.ROTATE_270}[tag]
    stored = base if undo is None else base.transpose(undo)
    exif = Image.Exif()
    exif[0x0112] = tag
    path = k.media_path(f"orientation{tag}.jpg")
    stored.save(path, quality=95, exif=exif)
    expected = reference(base)
    _, shot = show(h.to_windows_path(path))
    diff = mean_difference(placed(shot, expected.size), expected)
    assert diff < MEAN_TOLERANCE, f"orientation {tag}: mean difference {diff:.2f}"


def test_a_108_megapixel_photo_shows_fitted_without_a_message():
    w, hgt = 12000, 9000
    img = Image.merge("RGB", (Image.linear_gradient("L").rotate(90).resize((w, hgt)),
                              Image.radial_gradient("L").resize((w, hgt)),
                              Image.linear_gradient("L").resize((w, hgt))))
    for i in range(5):
        img.paste((255, 255, 255) if i % 2 else (20, 20, 20), (1500 + 1900 * i, 2500, 2600 + 1900 * i, 6500))
    path = k.media_path("huge.jpg")
    img.save(path, quality=85)
    expected = img.resize(SCREEN, Image.BOX)
    del img
    s, shot = show(h.to_windows_path(path))
    assert not h.message_boxes()
    assert s.alive()
    diff = mean_difference(placed(shot, SCREEN, (0, 0)), expected)
    assert diff < MEAN_TOLERANCE, f"mean difference {diff:.2f}"


def test_without_fitting_a_large_photo_is_cropped_to_its_middle_as_before():
    base = upright(REAL / "Landscape_2.jpg")  # 1800 x 1200
    _, shot = show(copy_real("Landscape_2.jpg"), ImageFit=0)
    left, top = (base.width - SCREEN[0]) // 2, (base.height - SCREEN[1]) // 2
    expected = base.crop((left, top, left + SCREEN[0], top + SCREEN[1]))
    diff = mean_difference(shot, expected)
    assert diff < MEAN_TOLERANCE, f"mean difference {diff:.2f}"


def test_a_smaller_picture_keeps_its_size_and_a_wide_one_is_fitted_at_a_random_height():
    small = k.solid_bmp("small.bmp", (40, 200, 90), size=(400, 300))
    _, shot = show(small)
    assert placed(shot, (400, 300)).getcolors() == [(400 * 300, (40, 200, 90))]

    k.stop_all()
    wide = Image.new("RGB", (2048, 300), (230, 120, 10))
    path = k.media_path("wide.bmp")
    wide.save(path)
    tops = set()
    for _ in range(2):
        k.stop_all()
        _, shot = show(h.to_windows_path(path), ImagePosRandom=1)
        box = shot.getbbox()
        assert (box[0], box[2], box[3] - box[1]) == (0, 1024, 150), box
        tops.add(box[1])
        assert shot.getpixel((512, box[1] + 75)) == (230, 120, 10)
    assert all(0 <= t <= 768 - 150 for t in tops)


# ---- input while a large photo loads ------------------------------------------

def test_a_key_ends_the_show_while_a_large_photo_loads():
    """Each picture is an 8000 x 6000 JPEG that takes a while to decode; the
    key comes while one is loading, and the saver closes and writes its
    resume number."""
    w, hgt = 8000, 6000
    img = Image.merge("RGB", (Image.linear_gradient("L").resize((w, hgt)),
                              Image.effect_noise((w // 4, hgt // 4), 50).resize((w, hgt)),
                              Image.radial_gradient("L").resize((w, hgt))))
    names = []
    for i in range(2):
        path = k.media_path(f"p48_{i}.jpg")
        img.save(path, quality=92)
        names.append(h.to_windows_path(path))
    del img
    k.write_theme(ImageCount=2, Image0=names[0], Image1=names[1], FirstDelay=0, ImageOnDelay=0,
                  ImageOffDelay=0, LastImageNumber=7)
    s = Saver()
    s.wait_window()
    time.sleep(3)
    h.key("a")
    assert s.wait_exit(timeout=10) == 0
    assert h.ini_value("Theme0", "LastImageNumber") in ("0", "1")


# ---- a camera photo as the background -----------------------------------------

def gradient_jpeg(name, size):
    """A smooth photo-sized JPEG: two gradients and a plain channel, so two
    decoders and reductions agree closely."""
    w, hgt = size
    img = Image.merge("RGB", (Image.linear_gradient("L").resize((w, hgt)),
                              Image.linear_gradient("L").rotate(90).resize((w, hgt)),
                              Image.new("L", (w, hgt), 90)))
    path = k.media_path(name)
    img.save(path, quality=92)
    return img, h.to_windows_path(path)


def test_a_key_in_the_first_second_ends_a_show_whose_background_photo_is_loading():
    _, name = gradient_jpeg("back24.jpg", (6000, 4000))
    for delay in (0.3, 0.9):
        k.write_theme(BackGround=1, BackFileName=name, BackColor=2, Title=0, ImageCount=0,
                      FromLastImage=1, LastImageNumber=5)
        s = Saver()
        s.wait_window()
        time.sleep(max(0.0, delay - (time.time() - s.shown_at)))
        h.key("a")
        assert s.wait_exit(timeout=10) == 0, f"key at {delay} s"
        assert h.ini_value("Theme0", "LastImageNumber") == "5"


def background_shown(name, expected, shot_name):
    """Starts the saver with the photo as its background over the theme's
    blue and compares the screen, once the photo is in, with `expected`."""
    k.write_theme(BackGround=1, BackFileName=name, BackColor=2, Title=0, ImageCount=0)
    s = Saver()
    s.wait_window()
    want = expected.getpixel((1000, 700))
    h.wait_until(lambda: k.close(h.screenshot().getpixel((1000, 700)), want, tol=12), timeout=60,
                 message="the photo in place of the theme's blue")
    time.sleep(0.5)
    shot = h.screenshot(shot_name)
    diff = mean_difference(shot, expected)
    assert diff < MEAN_TOLERANCE, f"mean difference {diff:.2f}"
    assert s.alive()


def test_a_background_photo_is_tiled_from_its_top_left_once_loaded():
    img, name = gradient_jpeg("back24.jpg", (6000, 4000))
    background_shown(name, img.crop((0, 0) + SCREEN), "saver_back_photo")


def test_a_background_photo_too_large_to_hold_comes_through_its_reduced_preview():
    img, name = gradient_jpeg("back108.jpg", (12000, 9000))
    quarter = img.resize((3000, 2250), Image.BOX).crop((0, 0) + SCREEN)
    del img
    background_shown(name, quarter, "saver_back_huge")
