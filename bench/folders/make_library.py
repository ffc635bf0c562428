"""Makes the benchmark's picture library: 100,000 pictures in 1,000 nested
folders (ten years of ten albums of ten days, a hundred pictures each), every
one a hard link of one of four small bitmaps, so the library costs little
disk. Kept between runs when it is already whole. Usage: make_library.py DIR"""
import os
import struct
import sys

root = sys.argv[1]
done = os.path.join(root, ".complete")
if os.path.exists(done):
    sys.exit(0)


def bitmap(colour, size=64):
    row = bytes(colour[::-1]) * size + b"\0" * ((4 - size * 3 % 4) % 4)
    pixels = row * size
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


# The four originals live beside the library, not in it.
sources_dir = root.rstrip("/") + "-sources"
os.makedirs(sources_dir, exist_ok=True)
sources = []
for i, colour in enumerate([(200, 40, 40), (40, 200, 40), (40, 40, 200), (200, 200, 40)]):
    path = os.path.join(sources_dir, f"source{i}.bmp")
    with open(path, "wb") as f:
        f.write(bitmap(colour))
    sources.append(path)
n = 0
for year in range(10):
    for album in range(10):
        for day in range(10):
            folder = os.path.join(root, f"{2015 + year}", f"album {album + 1}", f"day {day + 1}")
            os.makedirs(folder, exist_ok=True)
            for p in range(100):
                target = os.path.join(folder, f"IMG_{p + 1}.bmp")
                if not os.path.exists(target):
                    os.link(sources[n % 4], target)
                n += 1
open(done, "w").close()
print(f"library: {n} pictures in 1,000 folders at {root}")
