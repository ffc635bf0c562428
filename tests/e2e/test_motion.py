"""Pictures that move (PanZoom) and the blurred fill (BlurFill) on the real
Glimora.scr: with PanZoom=1 the screen changes while a picture stands and
an edge in it moves by fractions of a pixel, read from the screen; without
it the picture stands still; a key ends the show while it moves. With
BlurFill=1 the bars beside a portrait photo are a darker, blurred copy of
it, and the background colour without. On two monitors both pictures
move. Screenshots land in build/artifacts."""
import pathlib
import time

import pytest
from PIL import Image, ImageChops, ImageFilter, ImageOps, ImageStat

import harness as h
import monitors
import saver_kit as k
from saver_kit import Saver, clean_state  # noqa: F401  (autouse: ends only our savers)

REAL = pathlib.Path(__file__).resolve().parents[1] / "data" / "real"
SCREEN = (1024, 768)
RED = (255, 0, 0)  # BackColor 1


def edge_picture():
    """800 x 600: black on the left, white on the right, with a grey band
    along the top so the picture's own shape is visible in screenshots."""
    img = Image.new("RGB", (800, 600), (0, 0, 0))
    img.paste((255, 255, 255), (400, 0, 800, 600))
    img.paste((90, 140, 200), (0, 0, 800, 60))
    path = k.media_path("edge.bmp")
    img.save(path)
    return h.to_windows_path(path)


def start(image, **keys):
    h.ARTIFACTS.mkdir(parents=True, exist_ok=True)
    theme = dict(ImageCount=1, Image0=image, FirstDelay=0, ImageOnDelay=8000, ImageOffDelay=300)
    theme.update(keys)
    k.write_theme(**theme)
    s = Saver()
    s.wait_window()
    # The red background first, then the picture over its middle.
    h.wait_until(lambda: h.screenshot().getpixel((600, 400)) not in (RED, (0, 0, 0)), timeout=40,
                 message="a picture on the screen")
    return s


def edge_at(shot, y=400):
    """The edge's place along row y, in pixels from the picture's left, to a
    fraction of a pixel: where the black ends, from the grey of the row."""
    row = [shot.getpixel((x, y))[1] for x in range(112, 912)]
    return len(row) - sum(row) / 255


def test_with_pan_zoom_a_standing_picture_moves_in_sub_pixel_steps_and_a_key_ends_it():
    s = start(edge_picture(), PanZoom=1, BackColor=1)
    time.sleep(0.3)
    shots = []
    for _ in range(6):
        shots.append(h.screenshot())
        time.sleep(0.25)
    shots[0].save(h.ARTIFACTS / "motion_first.png")
    shots[-1].save(h.ARTIFACTS / "motion_last.png")
    edges = [edge_at(shot) for shot in shots]
    steps = [b - a for a, b in zip(edges, edges[1:])]
    assert len({round(e, 2) for e in edges}) >= 4, f"the edge stood still: {edges}"
    # Steps of whole pixels would leave every edge place whole.
    fractions = [abs(e - round(e)) for e in edges]
    assert max(fractions) > 0.1, f"edges only at whole pixels: {edges}"
    # One direction all along: a smooth move, not a jitter.
    assert all(st > 0 for st in steps if abs(st) > 0.05) or all(st < 0 for st in steps if abs(st) > 0.05), steps
    # The background around the picture is never touched.
    assert shots[-1].getpixel((5, 5)) == RED
    h.key("a")
    assert s.wait_exit(timeout=10) == 0


def test_without_pan_zoom_the_picture_stands_still():
    start(edge_picture(), BackColor=1)
    time.sleep(0.3)
    first = h.screenshot()
    time.sleep(1.5)
    assert ImageChops.difference(first, h.screenshot()).getbbox() is None
    assert edge_at(first) == 400


def portrait_shot(**keys):
    path = k.media_path("portrait.jpg")
    path.write_bytes((REAL / "Portrait_4.jpg").read_bytes())
    start(h.to_windows_path(path), BackColor=1, **keys)
    time.sleep(0.5)
    return h.screenshot()


def test_blur_fill_gives_a_portrait_dark_blurred_bars_of_itself_and_the_background_without():
    photo = ImageOps.exif_transpose(Image.open(REAL / "Portrait_4.jpg")).convert("RGB")  # 1200 x 1800
    sharp = photo.resize((512, 768), Image.BOX)
    shot = portrait_shot(BlurFill=1)
    shot.save(h.ARTIFACTS / "motion_blur_fill.png")
    middle = shot.crop((256, 0, 768, 768))
    assert sum(ImageStat.Stat(ImageChops.difference(middle, sharp)).mean) / 3 < 3.0
    # What the bars should look like: the photo covering the screen (its
    # middle rows at twice the size), blurred by 3 % of the width, at 60 %.
    cover = sharp.resize((1024, 1536), Image.BILINEAR).crop((0, 384, 1024, 1152))
    model = cover.filter(ImageFilter.GaussianBlur(0.03 * 1024)).point(lambda v: v * 0.6)
    for box in ((0, 0, 256, 768), (768, 0, 1024, 768)):
        bar, expected = shot.crop(box), model.crop(box)
        assert RED not in [c for _, c in bar.getcolors(1 << 20)]
        diff = sum(ImageStat.Stat(ImageChops.difference(bar, expected)).mean) / 3
        assert diff < 12, f"bars {box}: mean difference {diff:.1f} from the blurred, darkened cover"
        # Blurred: neighbours differ by a few levels at most.
        steepest = max(ImageChops.difference(bar.crop((1, 0, 256, 768)), bar.crop((0, 0, 255, 768)))
                       .convert("L").getextrema()[1], 0)
        assert steepest <= 10
        bright = sum(ImageStat.Stat(bar).mean) / sum(ImageStat.Stat(cover.crop(box)).mean)
        assert 0.45 < bright < 0.75, f"bars at {bright:.2f} of the photo's brightness"

    k.stop_all()
    plain = portrait_shot()
    plain.save(h.ARTIFACTS / "motion_no_fill.png")
    for box in ((0, 0, 256, 768), (768, 0, 1024, 768)):
        assert plain.crop(box).getcolors() == [(256 * 768, RED)]


def test_a_filled_portrait_moves_as_one_picture_bars_and_all():
    first = portrait_shot(BlurFill=1, PanZoom=1, ImageOnDelay=6000)
    time.sleep(1.5)
    last = h.screenshot()
    first.save(h.ARTIFACTS / "motion_photo_first.png")
    last.save(h.ARTIFACTS / "motion_photo_last.png")
    for box in ((0, 0, 256, 768), (256, 0, 768, 768), (768, 0, 1024, 768)):
        assert ImageChops.difference(first.crop(box), last.crop(box)).getbbox() is not None, box
    assert RED not in [c for _, c in last.getcolors(1 << 20)]


@pytest.mark.parametrize("mode", [1, 2])
def test_every_monitor_moves_its_own_picture(mode):
    """Two monitors (1024 x 768 and 800 x 600), each monitor its own pictures
    (Monitors=1) or the same one (Monitors=2): both pictures move."""
    with monitors.TwoMonitors("right") as screen:
        images = {}  # in the two monitors' own prefix
        for i, colour in enumerate([(220, 40, 40), (40, 40, 220)]):
            img = Image.new("RGB", (400, 300), colour)
            img.paste((250, 250, 250), (200, 0, 400, 300))
            path = k.media_path(f"two{i}.bmp")
            img.save(path)
            images[f"Image{i}"] = h.to_windows_path(path)
        k.write_theme(ImageCount=2, FirstDelay=0, ImageOnDelay=8000, PanZoom=1, BackColor=5, Monitors=mode, **images)
        s = Saver()
        s.wait_window(timeout=30)
        middles = [screen.to_root((l + r) // 2 + 50, (t + b) // 2) for l, t, r, b in screen.monitors]
        try:
            h.wait_until(lambda: all(h.screenshot().getpixel(m) == (250, 250, 250) for m in middles), timeout=30,
                         message="a picture on both monitors")
        except AssertionError:
            h.screenshot(f"motion_two_monitors_{mode}_failed")
            raise
        first = h.screenshot()
        time.sleep(1.0)
        last = h.screenshot(f"motion_two_monitors_{mode}")
        for l, t, r, b in screen.monitors:
            box = screen.to_root(l, t) + screen.to_root(r, b)
            assert ImageChops.difference(first.crop(box), last.crop(box)).getbbox() is not None, box
        h.key("a")
        assert s.wait_exit(timeout=10) == 0
