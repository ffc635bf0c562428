"""Benchmarks of loading pictures in the saver (Glimora.scr /s under Wine).
Each prints figures and asserts nothing.

  keys [presses]       key-to-reaction while 48-megapixel photos load, and idle
  backkey [presses]    key-to-reaction for a key in the first second, with a
                       6000 x 4000 JPEG as the background picture, and idle
  close [runs]         closing a test run from the settings dialog while a
                       12000 x 9000 JPEG decodes: when the worker has stopped
                       and the settings process's memory is back
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
    reaction = key_to_resume_write(60)
    stop(proc)
    return reaction


def key_to_resume_write(limit):
    """Presses a key and returns the ms until the settings file changes (the
    resume numbers written on closing), or None after `limit` seconds."""
    before = h.INI.read_bytes()
    t0 = time.perf_counter()
    subprocess.run(["xdotool", "key", "a"], check=True)
    while time.perf_counter() - t0 < limit:
        if h.INI.read_bytes() != before:
            return (time.perf_counter() - t0) * 1000
        time.sleep(0.001)
    return None


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


def press_after_window(wait_range, **keys_):
    """Starts the saver on a theme without pictures, presses a key a random
    time after its window exists, and returns the ms to the resume number
    being written."""
    t = {"Title": 0, "BGM": 0, "ImageCount": 0, "LastImageNumber": 987}
    t.update(keys_)
    h.write_ini_sections({"Main": {"ThemeNumber": 0, "CloseMouseMove": 200}, "Theme0": t})
    proc = start()
    h.wait_window("TMainForm", timeout=60)
    time.sleep(random.uniform(*wait_range))
    reaction = key_to_resume_write(20)
    stop(proc)
    return reaction


def backkey(presses=8):
    """A key pressed in the first second after the window appears, with a
    camera photo as the background picture (decoded on the worker) and with
    a plain colour; the target is 3 x idle + 50 ms."""
    presses = max(3, presses)
    results = {}
    back = photo("back24.jpg", 6000, 4000)
    for label, keys_ in (("idle (colour background)", {"BackGround": 0, "BackColor": 2}),
                         ("6000 x 4000 JPEG background", {"BackGround": 1, "BackFileName": back, "BackColor": 2})):
        seen = []
        for i in range(presses):
            r = press_after_window((0.0, 1.0), **keys_)
            print(f"  {label}: press {i + 1}: " + ("key lost (no reaction within 20 s)" if r is None else f"{r:.0f} ms"),
                  flush=True)
            if r is not None:
                seen.append(r)
        results[label] = seen
        if seen:
            print(f"key-to-reaction {label}: worst {max(seen):.0f} ms, median {statistics.median(seen):.0f} ms,"
                  f" {presses - len(seen)} lost of {presses}", flush=True)
    idle = results["idle (colour background)"]
    if idle:
        print(f"target for the background photo: 3 x idle median + 50 = {3 * statistics.median(idle) + 50:.0f} ms",
              flush=True)


def linux_status(pid):
    """Anonymous resident memory (MiB) and thread count of a Wine process."""
    rss = 0.0
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("RssAnon:"):
                    rss = int(line.split()[1]) / 1024
        threads = len(os.listdir(f"/proc/{pid}/task"))
    except OSError:
        return None, None
    return rss, threads


def close(runs=3):
    """The settings dialog's test run on a theme whose picture is a
    12000 x 9000 JPEG: the run is closed by a key while the photo decodes.
    From the key: how long until the settings process has one thread fewer
    than during the run (its picture worker ended) and its anonymous memory
    is back within 16 MiB of what it was before the run. Read from Linux
    (/proc) every 5 ms, since each Wine probe start takes longer than the
    figure itself."""
    from dialog_helpers import Dialog  # noqa: E402  (tests/e2e)
    big = photo("p108.jpg", 12000, 9000, quality=85)
    for run in range(runs):
        theme([big], FirstDelay=0, ImageOnDelay=60000)
        proc = subprocess.Popen(["wine", str(h.SCR), "/c"], env=h.wine_env(), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        main = Dialog("TMainDialog")
        pids = h._our_processes(r"Glimora\.scr")
        pid = pids[0] if pids else None
        time.sleep(1.0)
        base_rss, _ = linux_status(pid)
        main.click("Button1")
        h.wait_window("TMainForm", timeout=60)
        time.sleep(2.0)  # the title-less start pause, then the decode is under way
        run_rss, run_threads = linux_status(pid)
        t0 = time.perf_counter()
        subprocess.run(["xdotool", "key", "a"], check=True)
        worker_gone = memory_back = None
        while time.perf_counter() - t0 < 30 and (worker_gone is None or memory_back is None):
            rss, threads = linux_status(pid)
            now = (time.perf_counter() - t0) * 1000
            if worker_gone is None and threads is not None and threads < run_threads:
                worker_gone = now
            if memory_back is None and rss is not None and rss <= base_rss + 16:
                memory_back = now
            time.sleep(0.005)
        print(f"close {run + 1}: memory before the run {base_rss:.0f} MiB, while decoding {run_rss:.0f} MiB;"
              f" from the key: a thread fewer after " + ("never" if worker_gone is None else f"{worker_gone:.0f} ms")
              + ", memory back after " + ("never (30 s)" if memory_back is None else f"{memory_back:.0f} ms"),
              flush=True)
        proc.kill()
        stop(proc)


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
    elif what == "backkey":
        backkey(int(arg or 8))
    elif what == "close":
        close(int(arg or 3))
    elif what == "huge":
        huge(int(arg or 2))
    elif what == "soak":
        soak(float(arg or 5))
    else:
        sys.exit(__doc__)
