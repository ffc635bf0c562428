"""The real Glimora.scr's share of one core while a camera photo stands,
with PanZoom=1 (the picture moves) and with PanZoom=0 (it stands still),
read from /proc over a few seconds of the stand. Prints figures; asserts
nothing. Argument: the photo to show."""
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
import harness as h  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def saver_pids():
    """Our Glimora.scr processes: those whose environment names this prefix."""
    mine = f"WINEPREFIX={h.PREFIX}".encode()
    pids = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if b"Glimora.scr" not in f.read():
                    continue
            with open(f"/proc/{pid}/environ", "rb") as f:
                if mine in f.read().split(b"\0"):
                    pids.append(pid)
        except OSError:
            pass
    return pids


def cpu_seconds(pids):
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])  # utime, stime
        except OSError:
            pass
    return total / TICKS


def share_while_standing(photo, pan_zoom, seconds=6):
    folder = os.path.join(h.PREFIX, "drive_c", "motion")
    os.makedirs(folder, exist_ok=True)
    shutil.copy(photo, os.path.join(folder, "photo.jpg"))
    h.write_ini_sections({"Main": {"ThemeNumber": 0},
                          "Theme0": {"Title": 0, "BGM": 0, "ImageCount": 1, "Image0": "C:\\motion\\photo.jpg",
                                     "ImageNormalOn": 1, "ImageBlindOn": 0, "FirstDelay": 500,
                                     "ImageOnDelay": 60000, "PanZoom": 1 if pan_zoom else 0}})
    with h.Scr("/s"):
        time.sleep(5)  # start, load, appear
        pids = saver_pids()
        c0, t0 = cpu_seconds(pids), time.monotonic()
        time.sleep(seconds)
        share = (cpu_seconds(pids) - c0) / (time.monotonic() - t0)
    h.kill_all()
    return share


def main():
    photo = sys.argv[1]
    print("== Glimora.scr /s, one camera photo standing (CPU of the saver's process, share of one core)")
    for pan_zoom in (True, False):
        share = share_while_standing(photo, pan_zoom)
        print(f"  PanZoom={int(pan_zoom)}: {100 * share:.0f} %", flush=True)


if __name__ == "__main__":
    main()
