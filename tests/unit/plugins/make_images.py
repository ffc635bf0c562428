#!/usr/bin/env python3
"""Makes the plug-in tests' pictures with ImageMagick, each with the
reference pixels ImageMagick itself decodes from it (<name>.pnm), into the folder given as the only argument."""
import os
import shutil
import struct
import subprocess
import sys
import zlib

OUT = sys.argv[1]
# Real-world pictures kept in the repository (tests/data/real, see its README).
REAL = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "real"))
REAL_FILES = ["testorig.jpg", "testimgint.jpg", "Landscape_2.jpg", "Landscape_5.jpg",
              "Landscape_7.jpg", "Portrait_4.jpg", "lzw-single-strip.tiff",
              "minisblack-1c-8b.tiff", "palette-1c-8b.tiff", "rgb-3c-8b.tiff",
              "basn0g04.png", "basn0g08.png", "basn2c08.png", "basn3p08.png",
              "basn4a08.png", "ibasn0g04.png"]
# Pictures with transparency are compared with their composite onto black.
ON_BLACK = ("-background", "black", "-flatten")
# The PNG suite's files say gamma 1.0, which ImageMagick converts away when it
# writes the reference; the imaging component shows the stored samples, as
# Windows does, so the reference keeps them too.
AS_STORED = ("-set", "colorspace", "sRGB")

# 16-bit colours whose high and low bytes differ, one pixel each, left to
# right (png16_test.cpp holds the same table and the 8-bit values it expects).
KNOWN16 = [(0x897A, 0x5AE1, 0x39B1), (0x00FF, 0xFF00, 0x8001), (0xFFFF, 0x0000, 0x7F80),
           (0x1234, 0xABCD, 0xEF01)]
KNOWN16_ALPHA = [0xFFFF, 0x8000, 0x0000, 0x40FF]


def im(*args):
    subprocess.run(["convert", *args], check=True)


def ref(name, *prep):
    """Reference pixels of OUT/name as ImageMagick decodes it (first frame):
    <name>.pnm (e.g. gray.jpg.pnm), bilevel (P4), gray (P5) or RGB (P6) as the picture is."""
    src = os.path.join(OUT, name)
    im(src + "[0]", *prep, "-depth", "8", "pnm:" + src + ".pnm")


def make(name, *args, refargs=()):
    im(*args, os.path.join(OUT, name))
    ref(name, *refargs)


def with_orientation(name, value, little):
    """Inserts an EXIF block holding only the orientation after the JPEG's SOI."""
    path = os.path.join(OUT, name)
    data = open(path, "rb").read()
    e = "<" if little else ">"
    tiff = (b"II*\0" if little else b"MM\0*") + struct.pack(e + "I", 8)
    tiff += struct.pack(e + "H", 1) + struct.pack(e + "HHIHH", 274, 3, 1, value, 0)
    tiff += struct.pack(e + "I", 0)
    body = b"Exif\0\0" + tiff
    app1 = b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body
    open(path, "wb").write(data[:2] + app1 + data[2:])


def write_png(name, width, height, colour_type, depth, rows):
    """A PNG of the given rows (raw sample bytes, filter 0), written here so
    that its 16-bit samples are exactly the ones asked for."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    data = zlib.compress(b"".join(b"\0" + r for r in rows))
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", data) + chunk(b"IEND", b""))


def known16():
    """16-bit PNGs and TIFFs of the KNOWN16 colours: two rows, the second
    the first reversed."""
    line = KNOWN16 + KNOWN16[::-1]
    w = len(KNOWN16)
    rgb = [b"".join(struct.pack(">HHH", *c) for c in line[i * w:(i + 1) * w]) for i in range(2)]
    write_png("rgb16.png", w, 2, 2, 16, rgb)
    alpha = KNOWN16_ALPHA + KNOWN16_ALPHA[::-1]
    rgba = [b"".join(struct.pack(">HHHH", *line[i * w + x], alpha[i * w + x]) for x in range(w))
            for i in range(2)]
    write_png("rgba16.png", w, 2, 6, 16, rgba)
    gray = [b"".join(struct.pack(">H", c[0]) for c in line[i * w:(i + 1) * w]) for i in range(2)]
    write_png("gray16.png", w, 2, 0, 16, gray)
    graya = [b"".join(struct.pack(">HH", line[i * w + x][0], alpha[i * w + x]) for x in range(w))
             for i in range(2)]
    write_png("graya16.png", w, 2, 4, 16, graya)
    # The same samples interlaced, and as TIFFs in both byte orders.
    src = os.path.join(OUT, "rgb16.png")
    im(src, "-interlace", "PNG", "-define", "png:bit-depth=16", "-define", "png:color-type=2",
       os.path.join(OUT, "rgb16_interlaced.png"))
    im(src, "-depth", "16", "-compress", "None", "-endian", "LSB", os.path.join(OUT, "rgb16_le.tif"))
    im(src, "-depth", "16", "-compress", "LZW", "-define", "tiff:endian=msb",
       os.path.join(OUT, "rgb16_be.tif"))
    im(os.path.join(OUT, "rgba16.png"), "-depth", "16", "-compress", "None",
       os.path.join(OUT, "rgba16.tif"))
    im(os.path.join(OUT, "gray16.png"), "-depth", "16", "-compress", "None",
       os.path.join(OUT, "gray16.tif"))


def pngs(base):
    def png(name, kind, *args, refargs=()):
        im(*args, kind + ":" + os.path.join(OUT, name))
        ref(name, *refargs)
    png("plain.png", "PNG24", base)
    png("palette.png", "PNG8", base, "-colors", "100")
    png("interlaced.png", "PNG24", base, "-interlace", "PNG")
    png("alpha.png", "PNG32", "-size", "120x80", "xc:none", "-fill", "rgba(255,0,0,0.5)",
        "-draw", "circle 60,40 60,10", "-fill", "blue", "-draw", "rectangle 0,0 30,20",
        refargs=ON_BLACK)
    png("palette_alpha.png", "PNG8", "-size", "120x80", "xc:none", "-fill", "red",
        "-draw", "circle 60,40 60,10", "-fill", "yellow", "-draw", "rectangle 0,0 30,20",
        refargs=ON_BLACK)


def quarters(base):
    """The previews the plug-in decodes itself, each with its reference: the
    full picture as libjpeg decodes it, averaged over 4 x 4 pixels (the last
    row and column over the pixels there are), as <name>.quarter.pnm."""
    from PIL import Image
    ppm = os.path.join(OUT, "base1001.ppm")
    im(base, ppm)
    make_quarter = {
        "q444.jpg": ["convert", base, "-quality", "90", "-sampling-factor", "1x1"],
        "q420.jpg": ["convert", base, "-quality", "85", "-sampling-factor", "2x2"],
        "q422.jpg": ["convert", base, "-quality", "85", "-sampling-factor", "2x1"],
        "qgray.jpg": ["convert", base, "-colorspace", "Gray", "-quality", "90"],
        "qprogressive.jpg": ["convert", base, "-quality", "85", "-interlace", "Plane"],
    }
    for name, command in make_quarter.items():
        subprocess.run([*command, os.path.join(OUT, name)], check=True)
    # Restart markers every 7 units of blocks; and quality 5, whose
    # quantization tables need 16 bits (an extended sequential frame).
    with open(os.path.join(OUT, "qrestart.jpg"), "wb") as f:
        subprocess.run(["cjpeg", "-quality", "85", "-restart", "7B", "-sample", "2x2", ppm], stdout=f, check=True)
    with open(os.path.join(OUT, "qfine.jpg"), "wb") as f:
        subprocess.run(["cjpeg", "-quality", "5", ppm], stdout=f, check=True)
    for name in [*make_quarter, "qrestart.jpg", "qfine.jpg"]:
        Image.open(os.path.join(OUT, name)).reduce(4).save(os.path.join(OUT, name + ".quarter.pnm"))


def main():
    os.makedirs(OUT, exist_ok=True)
    base = os.path.join(OUT, "base.png")
    # Odd sizes so that DIB rows need padding.
    im("-size", "301x203", "-seed", "7", "plasma:fractal", base)
    im("-size", "1001x750", "-seed", "9", "plasma:fractal", os.path.join(OUT, "base1001.png"))

    # JPEG
    make("baseline.jpg", base, "-quality", "90")
    make("subsampled.jpg", base, "-quality", "85", "-sampling-factor", "2x2")
    make("subsampled422.jpg", base, "-quality", "85", "-sampling-factor", "2x1")
    make("progressive.jpg", base, "-quality", "90", "-interlace", "Plane")
    # ImageMagick reads a grayscale JPEG through libjpeg's colour quantizer,
    # which dithers; libjpeg's own djpeg gives the undithered reference.
    im(base, "-colorspace", "Gray", "-quality", "90", os.path.join(OUT, "gray.jpg"))
    with open(os.path.join(OUT, "gray.jpg.pnm"), "wb") as f:
        subprocess.run(["djpeg", "-pnm", os.path.join(OUT, "gray.jpg")], stdout=f, check=True)
    make("cmyk.jpg", base, "-colorspace", "CMYK", "-quality", "90")
    make("comment.jpg", base, "-set", "comment", "Glimora comment", "-quality", "90")
    make("density.jpg", base, "-units", "PixelsPerInch", "-density", "72x144", "-quality", "90")
    for value in range(1, 9):
        make(f"orient{value}.jpg", base, "-quality", "90")
        with_orientation(f"orient{value}.jpg", value, little=value % 2 == 0)
        ref(f"orient{value}.jpg", "-auto-orient")
    make("big.jpg", os.path.join(OUT, "base1001.png"), "-quality", "90")
    # The quarter-size preview as a box filter makes it.
    im(os.path.join(OUT, "big.jpg"), "-filter", "box", "-resize", "251x188!", "-depth", "8",
       "pnm:" + os.path.join(OUT, "big.preview.pnm"))
    quarters(os.path.join(OUT, "base1001.png"))
    make("big_orient6.jpg", os.path.join(OUT, "base1001.png"), "-quality", "90")
    with_orientation("big_orient6.jpg", 6, little=True)
    with open(os.path.join(OUT, "text.jpg"), "w") as f:
        f.write("This is not a picture at all, only text.\n" * 20)

    # GIF
    make("plain.gif", base, "-colors", "200")
    make("interlaced.gif", base, "-colors", "200", "-interlace", "GIF")
    make("transparent.gif", "-size", "120x80", "xc:none", "-fill", "red",
         "-draw", "circle 60,40 60,10", "-fill", "blue", "-draw", "rectangle 0,0 30,20",
         refargs=("-background", "black", "-flatten"))
    make("offset.gif", "-size", "50x40", "xc:green", "-fill", "yellow",
         "-draw", "rectangle 5,5 20,20", "-repage", "120x80+30+20",
         refargs=("-background", "black", "-flatten"))
    im("-delay", "10", base, "-colors", "64", "(", base, "-negate", "-colors", "64", ")",
       os.path.join(OUT, "anim.gif"))
    ref("anim.gif")

    # TIFF: 8-bit unless said otherwise.
    for name, opts in [("none", ["-compress", "None"]),
                       ("lzw", ["-compress", "LZW"]),
                       ("deflate", ["-compress", "Zip"]),
                       ("packbits", ["-compress", "RLE"]),
                       ("strips", ["-compress", "LZW", "-define", "tiff:rows-per-strip=7"]),
                       ("palette", ["-colors", "100", "-type", "Palette"]),
                       ("gray", ["-type", "Grayscale"]),
                       ("bigendian", ["-endian", "MSB", "-compress", "None"])]:
        make(f"{name}.tif", base, "-depth", "8", *opts)
    make("rgb16.tif", base, "-depth", "16", "-compress", "LZW")
    # Tiled: the full-size first page of a pyramid.
    for name, opts in [("tiles", ["-compress", "None"]), ("tiles_deflate", ["-compress", "Zip"])]:
        im(base, "-depth", "8", *opts, "-define", "tiff:tile-geometry=64x64",
           "ptif:" + os.path.join(OUT, name + ".tif"))
        ref(name + ".tif")
    im(base, "-depth", "8", "(", base, "-negate", ")", "-compress", "LZW",
       os.path.join(OUT, "multipage.tif"))
    ref("multipage.tif")

    # PNG
    pngs(base)
    known16()

    # Files that other projects publish as their test pictures.
    missing = [n for n in REAL_FILES if not os.path.isfile(os.path.join(REAL, n))]
    if missing:
        sys.exit("make_images: missing test file(s): " +
                 ", ".join(os.path.join(REAL, n) for n in missing))
    for name in REAL_FILES:
        shutil.copy(os.path.join(REAL, name), os.path.join(OUT, "real_" + name))
        prep = AS_STORED if name.endswith(".png") else ()
        ref("real_" + name, *prep, *(ON_BLACK if name == "basn4a08.png" else ()))


main()
