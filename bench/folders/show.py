"""The show's figures over the benchmark library (Glimora.scr /s under Wine):
how long the first picture takes with the library's folder entry against a
list of one file (median of five), the process's private memory once the
folders are read (against the one-file list), and key-to-reaction while the
folders are still being read. Prints figures; asserts nothing.
Environment: GLIMORA_BIN, WINEPREFIX, DISPLAY, PROBE (scripts/bench-folders sets them)."""
import os
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
import harness as h  # noqa: E402

FIRST_COLOUR = (200, 40, 40)  # the library's first picture, and the one-file list's file
ONE_FILE = "C:\\library-sources\\source0.bmp"
FOLDER = "C:\\library\\"
PROBE = os.environ["PROBE"]


def theme(image):
    h.write_ini_sections({"Main": {"ThemeNumber": 0, "CloseMouseMove": 200}, "Theme0": {
        "Title": 0, "BGM": 0, "ImageOrdRandom": 0, "FromLastImage": 0, "ImagePosRandom": 0, "BackColor": 0,
        "ImageNormalOn": 1, "ImageNormalOff": 1, "FirstDelay": 100, "ImageOnDelay": 3000, "ImageOffDelay": 100,
        "ImageCount": 1, "Image0": image, "Wave0": ""}})


def centre_pixel():
    out = subprocess.run(["import", "-window", "root", "-crop", "1x1+512+384", "-depth", "8", "rgb:-"],
                         capture_output=True).stdout
    return tuple(out[:3])


def start():
    return subprocess.Popen(["wine", str(h.SCR), "/s"], env=h.wine_env(), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def stop(proc):
    subprocess.run(["xdotool", "key", "Escape"], check=False)
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    time.sleep(0.5)


def first_picture(image):
    theme(image)
    t0 = time.perf_counter()
    proc = start()
    seconds = None
    while time.perf_counter() - t0 < 30:
        if centre_pixel() == FIRST_COLOUR:
            seconds = time.perf_counter() - t0
            break
    stop(proc)
    return seconds


def private_mb(image):
    theme(image)
    proc = start()
    time.sleep(8)  # the library is read by then (about 1-2 s on its own)
    out = subprocess.run(["wine", PROBE, "Glimora.scr"], env=h.wine_env(), capture_output=True, text=True).stdout
    stop(proc)
    found = re.search(r"private=(\d+)", out)
    return int(found.group(1)) / 1048576 if found else None


def key_reaction(image, after):
    """ms from a key press `after` seconds into the show to the resume
    numbers written on closing."""
    theme(image)
    proc = start()
    time.sleep(after)
    before = h.INI.read_bytes()
    t0 = time.perf_counter()
    subprocess.run(["xdotool", "key", "a"], check=True)
    reaction = None
    while time.perf_counter() - t0 < 30:
        if h.INI.read_bytes() != before:
            reaction = (time.perf_counter() - t0) * 1000
            break
        time.sleep(0.001)
    stop(proc)
    return reaction


def median_of(label, values, unit, scale=1.0):
    seen = [v * scale for v in values if v is not None]
    text = ", ".join(f"{v:.0f}" for v in seen)
    print(f"{label}: median {statistics.median(seen):.0f} {unit} ({text})" if seen else f"{label}: no reading",
          flush=True)
    return statistics.median(seen) if seen else None


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    subprocess.run(["wine", str(h.WINTOOL), "top"], env=h.wine_env(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    one = median_of("first picture, one-file list", [first_picture(ONE_FILE) for _ in range(runs)], "ms", 1000)
    lib = median_of("first picture, 100,000-picture folder entry", [first_picture(FOLDER) for _ in range(runs)],
                    "ms", 1000)
    if one is not None and lib is not None:
        print(f"first picture: the folder entry is {lib - one:+.0f} ms against the one-file list", flush=True)
    for label, image in (("one-file list", ONE_FILE), ("100,000-picture folder entry", FOLDER)):
        mb = private_mb(image)
        print(f"private memory with the {label}: " + (f"{mb:.1f} MB" if mb else "no reading"), flush=True)
    # Presses 0.3 to 1.2 s into the show: the walk (about 1-2 s) is still running.
    for label, image in (("one-file list", ONE_FILE), ("folder entry, while the folders are read", FOLDER)):
        median_of(f"key-to-reaction, {label}",
                  [key_reaction(image, 0.3 + 0.9 * i / max(1, runs - 1)) for i in range(runs)], "ms")


if __name__ == "__main__":
    main()
