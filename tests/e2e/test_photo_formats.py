"""Photo formats in the running saver: PNG (16-bit, gray, transparency, a
real palette file), .jpeg/.jfif and a big-endian 16-bit .tiff, each shown
centred on a silver background with the colours the file holds."""
import pathlib
import subprocess

import pytest
from PIL import Image

import harness as h
import saver_kit as k
from saver_kit import Saver, clean_state  # noqa: F401  (autouse: ends only our savers)

REAL = pathlib.Path(__file__).resolve().parents[1] / "data" / "real"
SILVER = (192, 192, 192)  # background colour 10
SIZE = (200, 150)
# Where a centred 200 x 150 picture's left and right halves are.
LEFT, RIGHT, OUTSIDE = (460, 384), (560, 384), (700, 384)


def im(name, *args, kind=""):
    """ImageMagick writes name from args; kind such as "PNG48" forces the layout."""
    path = k.media_path(name)
    subprocess.run(["convert", *args, (kind + ":" if kind else "") + str(path)], check=True)
    return h.to_windows_path(path)


def show(image):
    k.write_theme(ImageCount=1, Image0=image, BackColor=10, ImageOnDelay=60000)
    s = Saver()
    s.wait_window()
    k.wait_colour(OUTSIDE, SILVER)
    return s


def solid16(hex16):
    return ["-size", f"{SIZE[0]}x{SIZE[1]}", f"xc:#{hex16}", "-depth", "16"]


# The high bytes of #897A 5AE1 39B1; the low bytes would be (122, 225, 177).
HIGH = (0x89, 0x5A, 0x39)


@pytest.mark.parametrize("name,args,kind,colour", [
    ("rgb16.png", solid16("897A5AE139B1"), "PNG48", HIGH),
    ("gray16.png", solid16("897A897A897A") + ["-type", "Grayscale"], "PNG", (0x89, 0x89, 0x89)),
    ("rgb16_be.tiff", solid16("897A5AE139B1") + ["-define", "tiff:endian=msb"], "TIFF", HIGH),
])
def test_sixteen_bit_samples_show_their_high_byte(name, args, kind, colour):
    show(im(name, *args, kind=kind))
    k.wait_colour(LEFT, colour, timeout=10)
    img = h.screenshot("photo_" + name.replace(".", "_"))
    assert img.getpixel(RIGHT) == colour
    assert k.bbox_of(img, colour) == (412, 309, 612, 459)


@pytest.mark.parametrize("name", ["photo.jpeg", "photo.jfif"])
def test_jpeg_under_its_longer_names(name):
    show(im(name, "-size", f"{SIZE[0]}x{SIZE[1]}", "xc:rgb(200,40,40)", "-quality", "95", kind="JPEG"))
    k.wait_colour(LEFT, (200, 40, 40), timeout=10, tol=4)
    assert k.close(h.pixel(*RIGHT), (200, 40, 40), 4)
    assert not h.message_boxes()


def test_png_transparency_shows_black_and_partial_alpha_is_blended():
    # Left half opaque red, right half transparent, a half-transparent blue band below.
    image = im("alpha.png", "-size", f"{SIZE[0]}x{SIZE[1]}", "xc:none", "-fill", "red",
               "-draw", "rectangle 0,0 99,149", "-fill", "rgba(0,0,255,0.5)",
               "-draw", "rectangle 100,120 199,149", kind="PNG32")
    show(image)
    k.wait_colour(LEFT, (255, 0, 0), timeout=10)
    img = h.screenshot("photo_alpha_png")
    assert img.getpixel(RIGHT) == (0, 0, 0), "transparent parts are black, not the background"
    assert k.close(img.getpixel((560, 450)), (0, 0, 128), 1)
    assert img.getpixel(OUTSIDE) == SILVER


def test_palette_png_with_a_transparent_entry():
    image = im("palette_alpha.png", "-size", f"{SIZE[0]}x{SIZE[1]}", "xc:none", "-fill", "lime",
               "-draw", "rectangle 0,0 99,149", kind="PNG8")
    show(image)
    k.wait_colour(LEFT, (0, 255, 0), timeout=10)
    assert h.pixel(*RIGHT) == (0, 0, 0)


def test_real_palette_png_matches_its_decode():
    """basn3p08.png of the PNG suite (32 x 32, 256-entry palette), centred."""
    path = k.media_path("basn3p08.png")
    path.write_bytes((REAL / "basn3p08.png").read_bytes())
    want = Image.open(REAL / "basn3p08.png").convert("RGB")
    show(h.to_windows_path(path))
    corner = (512 - 16, 384 - 16)
    h.wait_until(lambda: h.pixel(*corner) != SILVER, timeout=10, message="the picture")
    img = h.screenshot("photo_basn3p08")
    shown = img.crop((corner[0], corner[1], corner[0] + 32, corner[1] + 32))
    wrong = sum(1 for y in range(32) for x in range(32) if shown.getpixel((x, y)) != want.getpixel((x, y)))
    assert wrong == 0
