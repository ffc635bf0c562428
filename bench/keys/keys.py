"""Benchmarks of the show keys (Glimora.scr /s under Wine, ShowKeys=1).
Prints figures and asserts nothing.

  next [presses]   → to the next picture on the screen: loaded ahead, and
                   with a 6000 x 4000 (24 MP) photo still loading; the idle
                   key reaction (a key to the resume write on closing) is
                   the goal's base: idle + 50 ms
  held [seconds]   → pressed 30 times a second: pictures shown, and GDI
                   objects and handles before and after

Environment as for bench/loading/loading.py (scripts/bench-keys sets it);
KEY_PROBE names key_probe.exe, which presses the key and watches the pixel
from inside Wine."""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "loading"))
import loading as L  # noqa: E402
from loading import h  # noqa: E402

KEY_PROBE = os.environ.get("KEY_PROBE", str(h.BIN / "key_probe.exe"))
VK_RIGHT = 0x27
COLOURS = [(30 + 9 * i, 200 - 7 * i, (60 + 40 * i) % 256) for i in range(21)]


def show(images):
    # Normal alone: the picture is drawn in one step, so the figure is the
    # key's own reaction (with Blind among the kinds every other picture
    # would take the effect's ~200 ms to reach the middle of the screen).
    L.theme(images, ShowKeys=1, ImageOnDelay=600000, ImageOffDelay=100, ImageBlindOn=0, ImageBlindOff=0)
    proc = L.start()
    h.wait_window("TMainForm", timeout=60)
    return proc


def wait_centre(colour, limit=60):
    end = time.time() + limit
    while time.time() < end:
        if L.near(L.centre_pixel(), colour):
            return True
        time.sleep(0.02)
    return False


def press_right(colour, limit=60000, verbose=False):
    out = subprocess.run(["wine", KEY_PROBE, str(VK_RIGHT), "512", "384", "%02X%02X%02X" % colour, str(limit)],
                         env=h.wine_env(), capture_output=True, text=True).stdout.strip()
    if verbose:
        print(f"    (picture gone after {out.split()[-1]} ms)" if out not in ("", "none") else "", flush=True)
    return None if out in ("", "none") else float(out.split()[0])


def report(label, figures):
    seen = [f for f in figures if f is not None]
    lost = len(figures) - len(seen)
    if seen:
        print(f"key-to-next-picture {label}: median {statistics.median(seen):.0f} ms, worst {max(seen):.0f} ms"
              f" over {len(seen)} presses" + (f", {lost} never arrived" if lost else ""), flush=True)
    return seen


def idle_reaction(presses=5):
    figures = [L.one_press([L.small("idle.bmp")], (2.0, 3.0)) for _ in range(presses)]
    seen = [f for f in figures if f is not None]
    print(f"idle key reaction (key to resume write): median {statistics.median(seen):.0f} ms,"
          f" worst {max(seen):.0f} ms over {len(seen)} presses", flush=True)
    return statistics.median(seen)


def next_picture(presses=20):
    idle = idle_reaction()
    images = [L.small(f"key{i}.bmp", c) for i, c in enumerate(COLOURS)]
    proc = show(images)
    wait_centre(COLOURS[0])
    ahead = []
    for i in range(1, presses + 1):
        time.sleep(float(os.environ.get("KEY_GAP", "1.0")))  # the next picture has loaded meanwhile
        r = press_right(COLOURS[i % len(COLOURS)], verbose=True)
        print(f"  loaded ahead: press {i}: " + ("none" if r is None else f"{r:.0f} ms"), flush=True)
        ahead.append(r)
    h.key("a")
    L.stop(proc)
    report("loaded ahead", ahead)
    # A small picture, then the 24 MP photo: → as soon as the small one is
    # up, while the photo is still being decoded.
    big = L.photo("p24.jpg", 6000, 4000)
    proc = show([L.small("before.bmp", COLOURS[0]), big])
    loading = []
    for i in range(1, presses + 1):
        wait_centre(COLOURS[0])
        r = press_right(L.CENTRE)
        print(f"  24 MP still loading: press {i}: " + ("none" if r is None else f"{r:.0f} ms"), flush=True)
        loading.append(r)
        press_right(COLOURS[0])
    h.key("a")
    L.stop(proc)
    report("with a 24 MP photo still loading", loading)
    print(f"goal (loaded ahead): idle + 50 = {idle + 50:.0f} ms", flush=True)


def held(seconds=10):
    """Two bursts of → at 30 a second: the first loads every plug-in and
    worker the show needs, so the counts after it and after the second tell
    whether anything leaks."""
    images = [L.small(f"key{i}.bmp", c) for i, c in enumerate(COLOURS)] + [L.photo("p24.jpg", 6000, 4000)]
    proc = show(images)
    wait_centre(COLOURS[0])
    time.sleep(1.0)
    counts = [L.probe()]
    presses = int(30 * seconds)
    for burst in (1, 2):
        t0 = time.time()
        subprocess.run(["xdotool", "key", "--repeat", str(presses), "--delay", "33", "Right"], check=True)
        print(f"held → burst {burst}: {presses} presses in {time.time() - t0:.1f} s", flush=True)
        time.sleep(3.0)  # the last picture settles
        counts.append(L.probe())
    alive = proc.poll() is None
    h.key("a")
    L.stop(proc)
    print(f"saver running after both bursts: {alive}", flush=True)
    for name in ("gdi", "handles", "private"):
        print(f"  {name}: " + ", ".join(str(c.get(name)) for c in counts) + " (start, after 1, after 2)", flush=True)


if __name__ == "__main__":
    what = sys.argv[1] if len(sys.argv) > 1 else "next"
    arg = [int(a) for a in sys.argv[2:3]]
    {"next": next_picture, "held": held}[what](*arg)
