#!/usr/bin/env python3
"""Makes the picture tests' files: a PPM with the true pixels of each image
and the bitmap or icon that ImageMagick writes from it."""
import os
import shutil
import subprocess
import sys

out = sys.argv[1]
real_bmp = sys.argv[2]
if not os.path.isfile(real_bmp):
    sys.exit("make_fixtures: missing test file: " + real_bmp)
os.makedirs(out, exist_ok=True)


def ppm(name, w, h, pixel):
    data = bytearray(b"P6\n%d %d\n255\n" % (w, h))
    for y in range(h):
        for x in range(w):
            data += bytes(pixel(x, y))
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


def palette_pixel(colors):
    def pixel(x, y):
        i = (x * 3 + y * 5) % colors
        return ((i * 53) % 256, (i * 97 + 40) % 256, (i * 31 + 200) % 256)
    return pixel


def truecolor(x, y):
    return ((x * 7) % 256, (y * 11) % 256, (x * y) % 256)


def convert(*args):
    subprocess.run(["convert", *args], check=True, cwd=out)


ppm("c2.ppm", 37, 21, palette_pixel(2))
ppm("c16.ppm", 37, 21, palette_pixel(16))
ppm("c200.ppm", 37, 21, palette_pixel(200))
ppm("full.ppm", 37, 21, truecolor)
ppm("icon32.ppm", 32, 32, truecolor)
ppm("icon16.ppm", 16, 16, palette_pixel(16))
ppm("icon24.ppm", 24, 24, truecolor)

convert("c2.ppm", "-type", "palette", "BMP3:b1.bmp")
convert("c16.ppm", "-type", "palette", "BMP3:b4.bmp")
convert("c200.ppm", "-type", "palette", "-compress", "none", "BMP3:b8.bmp")
convert("c200.ppm", "-type", "palette", "BMP3:b8rle.bmp")          # RLE8
convert("full.ppm", "-type", "truecolor", "BMP3:b24.bmp")
convert("full.ppm", "-alpha", "on", "BMP:b32.bmp")                 # V5 header, bit fields
convert("full.ppm", "-define", "bmp:subtype=RGB565", "BMP:b16.bmp")  # V5 header, 5-6-5 fields
convert("c16.ppm", "-type", "palette", "BMP2:core4.bmp")           # 12-byte core header
convert("c200.ppm", "-type", "palette", "BMP2:core8.bmp")
convert("icon32.ppm", "icon16.ppm", "icon.ico")                    # the 32 x 32 image is the best
convert("icon24.ppm", "-alpha", "on", "-channel", "A", "-fx", "i<8?0:1", "clear.ico")

shutil.copyfile(real_bmp, os.path.join(out, "shira_bird8.bmp"))
convert("shira_bird8.bmp", "shira_bird8.ppm")
