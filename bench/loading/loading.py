"""Benchmarks of loading pictures in the saver (Glimora.scr /s under Wine).
Each prints figures and asserts nothing.

  keys [presses]       key-to-reaction while 48-megapixel photos load, and idle
  huge [runs]          load time and peak memory of a 12000 x 9000 JPEG
  soak [minutes]       fastest settings, large, small and broken files: GDI
                       objects, handles and private memory at start and end

Key-to-reaction runs from the key press to the saver writing its resume
numbers (LastImageNumber) into Glimora.ini on closing.
Environment: GLIMORA_BIN, WINEPREFIX, DISPLAY (scripts/bench-loading sets
them); PROBE names the probe.exe that reads another process's counters."""
import os
import random
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
import harness as h  # noqa: E402
from PIL import Image  # noqa: E402

MEDIA = h.PREFIX / "drive_c" / "bench_media"
PROBE = os.environ.get("PROBE", str(h.BIN / "probe.exe"))
REAL = os.path.join(os.path.dirname(__file__), "..", "..", "tests", "data", "real")
CENTRE = (200, 40, 90)  # the large photos' centre colour


def photo(name, w, h_, quality=90):
    """A camera-size JPEG: smooth fields, fine noise, a solid centre."""
    path = MEDIA / name
    if not path.exists():
        MEDIA.mkdir(parents=True, exist_ok=True)
        fields = [Image.linear_gradient("L").resize((w, h_)), Image.radial_gradient("L").resize((w, h_)),
                  Image.effect_noise((w // 4, h_ // 4), 60).resize((w, h_))]
        img = Image.merge("RGB", fields)
        img.paste(CENTRE, (w // 2 - w // 6, h_ // 2 - h_ // 6, w // 2 + w // 6, h_ // 2 + h_ // 6))
        img.save(path, quality=quality)
    return h.to_windows_path(path)


def small(name, colour=(30, 160, 220)):
    path = MEDIA / name
    MEDIA.mkdir(parents=True, exist_ok=True)
    Image.new("RGB", (320, 240), colour).save(path)
    return h.to_windows_path(path)


def broken(name, data):
    path = MEDIA / name
    MEDIA.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    return h.to_windows_path(path)


def theme(images, **keys):
    t = {"Title": 0, "BGM": 0, "MidiCount": 0, "ImageOrdRandom": 0, "FromLastImage": 0,
         "LastImageNumber": 987, "ImageFit": 1, "ImagePosRandom": 0, "BackGround": 0, "BackColor": 0,
         "ImageNormalOn": 1, "ImageNormalOff": 1, "FirstDelay": 100, "ImageOnDelay": 300,
         "ImageOffDelay": 100, "ImageCount": len(images)}
    for i, name in enumerate(images):
        t[f"Image{i}"] = name
        t[f"Wave{i}"] = ""
    t.update(keys)
    h.write_ini_sections({"Main": {"ThemeNumber": 0, "CloseMouseMove": 200}, "Theme0": t})


def start():
    return subprocess.Popen(["wine", str(h.SCR), "/s"], env=h.wine_env(), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def stop(proc):
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    h.kill_all()
    time.sleep(0.5)


def probe():
    out = subprocess.run(["wine", PROBE, "Glimora.scr"], env=h.wine_env(), capture_output=True, text=True).stdout
    return {k: int(v) for k, v in re.findall(r"(\w+)=(\d+)", out)}


def centre_pixel():
    out = subprocess.run(["import", "-window", "root", "-crop", "1x1+512+384", "-depth", "8", "rgb:-"],
                         capture_output=True).stdout
    return tuple(out[:3])


def near(a, b, tol=24):
    return len(a) == 3 and all(abs(x - y) <= tol for x, y in zip(a, b))


def one_press(images, wait_range):
    """Starts the saver, presses a key after a while, and returns the ms from
    the press to the resume numbers appearing in the settings file. The file
    is written afresh first: Wine leaves it untouched when a key is written
    with the value it already holds."""
    theme(images)
    proc = start()
    time.sleep(random.uniform(*wait_range))
    before = h.INI.read_bytes()
    t0 = time.perf_counter()
    subprocess.run(["xdotool", "key", "a"], check=True)
    reaction = None
    while time.perf_counter() - t0 < 60:
        if h.INI.read_bytes() != before:
            reaction = (time.perf_counter() - t0) * 1000
            break
        time.sleep(0.001)
    stop(proc)
    return reaction


def keys(presses=6):
    presses = max(5, presses)
    for label, images, wait_range in (
            ("idle (one small picture)", [small("small.bmp")], (2.0, 3.0)),
            ("while 48-megapixel photos load", [photo("p48a.jpg", 8000, 6000), photo("p48b.jpg", 8000, 6000)],
             (2.0, 6.0))):
        figures = []
        for i in range(presses):
            r = one_press(images, wait_range)
            figures.append(r)
            print(f"  {label}: press {i + 1}: " + ("no reaction within 60 s" if r is None else f"{r:.0f} ms"),
                  flush=True)
        seen = [f for f in figures if f is not None]
        if seen:
            print(f"key-to-reaction {label}: worst {max(seen):.0f} ms, median {statistics.median(seen):.0f} ms"
                  f" over {len(seen)} presses", flush=True)


def huge(runs=2):
    """From the saver's start to the photo's centre on the screen, for the
    108-megapixel JPEG and for a 1024 x 768 one of the same look; the
    process's peak resident memory (Linux VmHWM of the Wine process: Wine's
    own peak private figure only follows the current one)."""
    big, ref = photo("p108.jpg", 12000, 9000, quality=85), photo("p1024.jpg", 1024, 768)
    for label, image in (("1024 x 768 JPEG", ref), ("12000 x 9000 JPEG", big)):
        for run in range(runs):
            theme([image], FirstDelay=0, ImageOnDelay=60000)
            t0 = time.perf_counter()
            proc = start()
            shown = None
            while time.perf_counter() - t0 < 60:
                if near(centre_pixel(), CENTRE):
                    shown = time.perf_counter() - t0
                    break
            counts = probe()
            hwm = vm_hwm()
            proc.kill()
            stop(proc)
            print(f"{label}: run {run + 1}: " + ("never shown" if shown is None else f"start to shown {shown * 1000:.0f} ms")
                  + f", private bytes then {counts.get('private', 0) / 2**20:.0f} MiB,"
                  f" peak resident (VmHWM, the true peak) {hwm} MiB",
                  flush=True)


def vm_hwm():
    """Peak resident set of the Wine process running Glimora.scr, in MiB."""
    for pid in h._our_processes(r"Glimora\.scr"):
        try:
            with open(f"/proc/{pid}/status") as f:
                for line in f:
                    if line.startswith("VmHWM:"):
                        return int(line.split()[1]) // 1024
        except OSError:
            continue
    return 0


def soak(minutes=5.0):
    real = MEDIA / "camera.jpg"
    MEDIA.mkdir(parents=True, exist_ok=True)
    real.write_bytes(open(os.path.join(REAL, "Landscape_5.jpg"), "rb").read())
    head = (MEDIA / "p48a.jpg").read_bytes()[:4000] if (MEDIA / "p48a.jpg").exists() else b"\xff\xd8\xff"
    images = [photo("p48a.jpg", 8000, 6000), small("small.bmp"), h.to_windows_path(real),
              broken("cut.jpg", head), broken("cut.bmp", b"BM" + b"\0" * 40), "C:\\bench_media\\missing.jpg",
              photo("p12.jpg", 4000, 3000), broken("junk.p2", os.urandom(20000))]
    kinds = ["Normal", "Blind", "Scroll", "Stretch", "Slide", "HalfSlide", "Mesh", "Fade"]
    fast = {f"Image{k}On": 1 for k in kinds}
    fast.update({f"Image{k}Off": 1 for k in kinds})
    fast.update({"ImageFadeInSpeed": 400, "ImageFadeOutSpeed": 400, "FirstDelay": 0, "ImageOnDelay": 0,
                 "ImageOffDelay": 0, "ImageOrdRandom": 1})
    theme(images, **fast)
    proc = start()
    # Past start-up and the first load of each plug-in: Wine keeps one kernel
    # handle per fresh LoadLibrary, and the loader keeps its plug-ins loaded.
    time.sleep(float(os.environ.get("SOAK_WARMUP", 90)))
    first = probe()
    t0 = time.perf_counter()
    print(f"soak start: {fmt(first)}", flush=True)
    while time.perf_counter() - t0 < minutes * 60:
        time.sleep(min(60, max(1, minutes * 60 - (time.perf_counter() - t0))))
        if proc.poll() is not None:
            print(f"soak: the saver ended after {(time.perf_counter() - t0) / 60:.1f} min (exit {proc.returncode})")
            return
        print(f"soak {(time.perf_counter() - t0) / 60:5.1f} min: {fmt(probe())}", flush=True)
    last = probe()
    print(f"soak end after {(time.perf_counter() - t0) / 60:.1f} min: {fmt(last)}", flush=True)
    proc.kill()
    stop(proc)


def fmt(c):
    # Wine's peak private figure follows the current one, so it is left out.
    return f"GDI objects {c.get('gdi')}, handles {c.get('handles')}, private {c.get('private', 0) / 2**20:.1f} MiB"


if __name__ == "__main__":
    what = sys.argv[1] if len(sys.argv) > 1 else "keys"
    arg = sys.argv[2] if len(sys.argv) > 2 else None
    if what == "keys":
        keys(int(arg or 6))
    elif what == "huge":
        huge(int(arg or 2))
    elif what == "soak":
        soak(float(arg or 5))
    else:
        sys.exit(__doc__)
