"""Benchmarks of the saver on two monitors (1024 x 768 primary, 800 x 600
beside it: Xephyr through tests/e2e/monitors.py). Each prints figures and
asserts nothing.

  pace [cap_ms]    effect pace on each monitor at once, speeds 0 and 400
                   (bench_pace.exe, named by PACE_EXE)
  keys [presses]   key-to-reaction with Monitors 1, idle and while both
                   monitors load 48-megapixel photos
"""
import functools
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "loading"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))
import harness as h  # noqa: E402
import loading  # noqa: E402
import monitors  # noqa: E402


def pace(cap_ms=4000):
    exe = os.environ["PACE_EXE"]
    subprocess.run(["wine", exe, "--cap", str(cap_ms), "--speeds", "0,400"], env=h.wine_env(), check=False)


def keys(presses=6):
    # Every monitor its own pictures: with two photos, each monitor loads one.
    loading.theme = functools.partial(loading.theme, Monitors=1)
    for label, images, wait_range in (
            ("idle (one small picture)", [loading.small("small.bmp")], (2.0, 3.0)),
            ("while both monitors load 48-megapixel photos",
             [loading.photo("p48a.jpg", 8000, 6000), loading.photo("p48b.jpg", 8000, 6000)], (2.0, 6.0))):
        seen = []
        for i in range(max(5, presses)):
            r = loading.one_press(images, wait_range)
            print(f"  {label}: press {i + 1}: " + ("no reaction within 60 s" if r is None else f"{r:.0f} ms"),
                  flush=True)
            if r is not None:
                seen.append(r)
        if seen:
            print(f"key-to-reaction on two monitors {label}: worst {max(seen):.0f} ms, median "
                  f"{statistics.median(seen):.0f} ms over {len(seen)} presses", flush=True)


if __name__ == "__main__":
    what = sys.argv[1] if len(sys.argv) > 1 else "all"
    args = [int(a) for a in sys.argv[2:]]
    with monitors.TwoMonitors("right", prefix="monitors-bench") as screen:
        print(f"monitors: {screen.monitors}", flush=True)
        if what in ("pace", "all"):
            pace(*args if what == "pace" else ())
        if what in ("keys", "all"):
            keys(*args if what == "keys" else ())
