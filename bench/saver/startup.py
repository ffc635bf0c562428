"""Time from the start of Glimora.scr /s to the first painted background:
the moment the screen's centre pixel shows the theme's colour. Prints the
figures of several runs; asserts nothing."""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
import harness as h  # noqa: E402


def centre_pixel():
    out = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (W // 2, H // 2), "-depth", "8", "rgb:-"],
                         capture_output=True).stdout
    return tuple(out[:3])


def geometry():
    out = subprocess.run(["xdpyinfo"], capture_output=True, text=True).stdout
    for line in out.splitlines():
        if "dimensions:" in line:
            w, hgt = line.split()[1].split("x")
            return int(w), int(hgt)
    return 1024, 768


W, H = geometry()


def one_run(colour_index, colour):
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {"Title": 0, "BackColor": colour_index}})
    start = time.perf_counter()
    proc = subprocess.Popen(["wine", str(h.SCR), "/s"], env=h.wine_env(), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    polls = 0
    try:
        while time.perf_counter() - start < 30:
            polls += 1
            if centre_pixel() == colour:
                return time.perf_counter() - start, polls
        return None, polls
    finally:
        proc.kill()
        proc.wait()
        time.sleep(0.5)


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    # Start from a screen that is not the colour looked for.
    t0 = time.perf_counter()
    centre_pixel()
    poll = time.perf_counter() - t0
    times = []
    for i in range(runs):
        colour_index, colour = (1, (255, 0, 0)) if i % 2 == 0 else (3, (0, 255, 0))
        t, polls = one_run(colour_index, colour)
        if t is None:
            print(f"run {i + 1}: background never appeared")
            continue
        times.append(t)
        print(f"run {i + 1}: first painted background after {t * 1000:7.0f} ms ({polls} screen polls)")
    if times:
        print(f"screen {W} x {H}: start to first painted background: median {statistics.median(times) * 1000:.0f} ms,"
              f" min {min(times) * 1000:.0f} ms, max {max(times) * 1000:.0f} ms over {len(times)} runs"
              f" (poll resolution about {poll * 1000:.0f} ms)")


if __name__ == "__main__":
    main()
