#!/usr/bin/env python3
"""Writes the demonstration theme: pictures, a WAV per picture, a MIDI tune
and the Glimora.ini that plays them. All are generated here except two
camera photos copied from tests/data/real; they and a generated 4000 x 3000
photo are larger than the screen, so the show fits them to it.

usage: make_sample_theme.py <theme folder (unix)> <theme folder as Windows sees it> <ini path> [retro folder]
"""
import math
import os
import shutil
import struct
import sys
import wave

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
REAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "data", "real")


def picture(w, h, hue, caption):
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            t = hue + 3.0 * x / w + 2.0 * y / h
            px[x, y] = (int(128 + 110 * math.sin(t)), int(128 + 110 * math.sin(t + 2.1)),
                        int(128 + 110 * math.sin(t + 4.2)))
    d = ImageDraw.Draw(img)
    for i in range(7):
        r = (i + 1) * min(w, h) // 16
        cx, cy = w * (0.3 + 0.07 * i), h * 0.55
        d.ellipse([cx - r, cy - r, cx + r, cy + r], outline=(255, 255, 255), width=3)
    font = ImageFont.truetype(FONT, max(18, h // 10))
    d.text((w // 20 + 2, h // 20 + 2), caption, font=font, fill=(0, 0, 0))
    d.text((w // 20, h // 20), caption, font=font, fill=(255, 255, 240))
    d.rectangle([0, 0, w - 1, h - 1], outline=(255, 255, 255), width=2)
    return img


def camera_photo(w, h):
    """A photo-sized picture: the drawn scene enlarged, with detail as fine
    as one pixel drawn at full size (a grid and small text), so that a
    smooth reduction is visible."""
    img = picture(w // 4, h // 4, 2.2, "").resize((w, h), Image.BICUBIC)
    d = ImageDraw.Draw(img)
    for x in range(0, w, 40):
        d.line([(x, 0), (x, h)], fill=(255, 255, 255), width=2)
    for y in range(0, h, 40):
        d.line([(0, y), (w, y)], fill=(255, 255, 255), width=2)
    font = ImageFont.truetype(FONT, h // 8)
    d.text((w // 16, h // 3), f"カメラ {w} × {h}", font=font, fill=(255, 255, 240),
           stroke_width=h // 200, stroke_fill=(0, 0, 0))
    return img


def tone(path, freqs, seconds=0.6, rate=22050):
    n = int(seconds * rate)
    frames = bytearray()
    for i in range(n):
        env = min(1.0, i / 400) * max(0.0, 1 - i / n)
        v = sum(math.sin(2 * math.pi * f * i / rate) for f in freqs) / len(freqs)
        frames += struct.pack("<h", int(12000 * env * v))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def midi(path, notes):
    """A format-0 standard MIDI file: one track, quarter notes at 120 bpm."""
    ev = bytearray(b"\x00\xff\x51\x03\x07\xa1\x20")  # tempo 500000 us per beat
    ev += b"\x00\xc0\x0b"                              # program: vibraphone
    for n in notes:
        ev += bytes([0x00, 0x90, n, 0x60, 0x83, 0x60, 0x80, n, 0x40])  # 480 ticks each
    ev += b"\x00\xff\x2f\x00"
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480))
        f.write(b"MTrk" + struct.pack(">I", len(ev)) + ev)


def main():
    folder, win_folder, ini_path = sys.argv[1:4]
    retro = sys.argv[4] if len(sys.argv) > 4 else None
    os.makedirs(folder, exist_ok=True)
    images = []

    def add(name, img, fmt=None, **kw):
        img.save(os.path.join(folder, name), fmt, **kw)
        images.append(name)

    def copy_real(name, as_name):
        shutil.copyfile(os.path.join(REAL, name), os.path.join(folder, as_name))
        images.append(as_name)

    add("sakura.bmp", picture(480, 360, 0.0, "さくら BMP 24bit"))
    copy_real("Landscape_2.jpg", "photo_landscape.jpg")  # 1800 x 1200, EXIF orientation 2
    add("umi.bmp", picture(400, 300, 1.5, "うみ BMP 8bit").convert("P", palette=Image.ADAPTIVE), "BMP")
    add("kamera.jpg", camera_photo(4000, 3000), "JPEG", quality=90)
    add("yama.jpg", picture(560, 400, 3.0, "やま JPEG"), "JPEG", quality=90)
    copy_real("Portrait_4.jpg", "photo_portrait.jpg")  # 1200 x 1800 upright, orientation 4
    add("sora.gif", picture(360, 270, 4.5, "そら GIF").convert("P", palette=Image.ADAPTIVE), "GIF")
    add("hoshi.tif", picture(320, 240, 5.5, "ほし TIFF"), "TIFF", compression="tiff_lzw")
    if retro:
        for name in ("sample.mag", "sample.pi", "sample.pic", "sample.p2", "sample.q4"):
            if os.path.exists(os.path.join(retro, name)):
                os.replace(os.path.join(retro, name), os.path.join(folder, name))
                images.append(name)

    chords = [(523, 659, 784), (587, 740, 880), (659, 784, 988), (698, 880, 1047), (784, 988, 1175)]
    waves = []
    for i, name in enumerate(images):
        wav = f"sound{i}.wav"
        tone(os.path.join(folder, wav), chords[i % len(chords)])
        waves.append(wav)
    midi(os.path.join(folder, "tune.mid"), [60, 64, 67, 72, 67, 64, 62, 65, 69, 74, 69, 65, 60])

    def win(name):
        return win_folder + "\\" + name

    keys = [("Title", 1), ("TitleText0", "Wren presents"), ("TitleText1", "Glimora"),
            ("TitleFadeInterval", 60), ("TitleOnDelay", 1200), ("ImageCount", len(images))]
    keys += [(f"Image{i}", win(n)) for i, n in enumerate(images)]
    keys += [(f"Wave{i}", win(n)) for i, n in enumerate(waves)]
    keys += [("ImageOrdRandom", 0), ("FromLastImage", 0), ("LastImageNumber", 0), ("BGM", 1),
             ("MidiCount", 1), ("Midi0", win("tune.mid")), ("MidiOrdRandom", 1)]
    kinds = ["Normal", "Blind", "Scroll", "Stretch", "Slide", "HalfSlide", "Mesh", "Fade"]
    keys += [(f"Image{k}On", 0 if k == "Normal" else 1) for k in kinds] + [("ImageFadeInSpeed", 385)]
    keys += [(f"Image{k}Off", 0 if k == "Normal" else 1) for k in kinds] + [("ImageFadeOutSpeed", 385)]
    keys += [("NotErase", 0), ("ImagePosRandom", 1), ("ImageFit", 1), ("BackGround", 0), ("BackColor", 6),
             ("BackFileName", "なし"), ("FirstDelay", 1000), ("ImageOnDelay", 2000), ("ImageOffDelay", 600)]
    lines = ["[Main]", "ThemeNumber=0", "ThemeName0=サンプル", "CloseMouseMove=4", "[Theme0]"]
    lines += [f"{k}={v}" for k, v in keys]
    with open(ini_path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
    print(f"sample theme: {len(images)} pictures in {folder}")


if __name__ == "__main__":
    main()
