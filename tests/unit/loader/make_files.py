#!/usr/bin/env python3
"""Makes the loader tests' files: real camera photos copied from
tests/data/real, a reference reduction of each made with Pillow's box
filter (area averaging, upright by its EXIF orientation), one picture
stored under each of the eight EXIF orientations, a large generated photo
and a broken JPEG."""
import os
import shutil
import sys

from PIL import Image, ImageOps

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from fitting import fitted  # noqa: E402  (tests/support)

out, real = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)
PHOTOS = ["Landscape_2.jpg", "Landscape_5.jpg", "Portrait_4.jpg", "testorig.jpg", "shira_bird8.bmp"]
AREA = (1024, 768)


for name in PHOTOS:
    src = os.path.join(real, name)
    if not os.path.isfile(src):
        sys.exit("make_files: missing test file: " + src)
    shutil.copyfile(src, os.path.join(out, name))
    upright = ImageOps.exif_transpose(Image.open(src)).convert("RGB")
    upright.resize(fitted(upright.size, AREA), Image.BOX).save(
        os.path.join(out, os.path.splitext(name)[0] + "_fit.ppm"))

# An 8-bit paletted bitmap larger than the screen, and its box reduction.
paletted = Image.open(os.path.join(real, "Landscape_2.jpg")).convert("P", palette=Image.ADAPTIVE, colors=256)
paletted.save(os.path.join(out, "paletted8.bmp"))
paletted.convert("RGB").resize(fitted(paletted.size, AREA), Image.BOX).save(os.path.join(out, "paletted8_fit.ppm"))

# A picture whose four quadrants differ, stored so that each orientation
# tag turns it back upright: 300 x 200 red, green / blue, yellow.
base = Image.new("RGB", (300, 200))
for i, colour in enumerate([(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]):
    x, y = (i % 2) * 150, (i // 2) * 100
    base.paste(colour, (x, y, x + 150, y + 100))
UNDO = {1: None, 2: Image.FLIP_LEFT_RIGHT, 3: Image.ROTATE_180, 4: Image.FLIP_TOP_BOTTOM,
        5: Image.TRANSPOSE, 6: Image.ROTATE_90, 7: Image.TRANSVERSE, 8: Image.ROTATE_270}
for tag, undo in UNDO.items():
    stored = base if undo is None else base.transpose(undo)
    exif = Image.Exif()
    exif[0x0112] = tag
    stored.save(os.path.join(out, "orient%d.jpg" % tag), quality=95, exif=exif)

# A camera-size photo: smooth colour fields with fine detail, 6000 x 4000.
big = Image.radial_gradient("L").resize((6000, 4000))
detail = Image.effect_noise((6000, 4000), 40)
Image.merge("RGB", (big, detail, Image.linear_gradient("L").resize((6000, 4000)))).save(
    os.path.join(out, "big.jpg"), quality=90)

# A 108-megapixel photo (12000 x 9000) of smooth fields and a few sharp
# edges, and Pillow's box reduction of it to 1024 x 768.
huge = Image.merge("RGB", (Image.linear_gradient("L").rotate(90).resize((12000, 9000)),
                           Image.radial_gradient("L").resize((12000, 9000)),
                           Image.linear_gradient("L").resize((12000, 9000))))
for i in range(6):
    huge.paste((255, 255, 255) if i % 2 else (0, 0, 0), (1000 + 1800 * i, 3000, 1900 + 1800 * i, 6000))
huge.save(os.path.join(out, "huge.jpg"), quality=85)
huge.resize((1024, 768), Image.BOX).save(os.path.join(out, "huge_fit.ppm"))
del huge

with open(os.path.join(out, "big.jpg"), "rb") as f:
    head = f.read(600)
with open(os.path.join(out, "broken.jpg"), "wb") as f:
    f.write(head)  # the headers and no scan
