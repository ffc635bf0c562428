"""Hand-edited and hostile settings files against the real Glimora.scr: the
save that cannot finish leaves the old file whole and says so, huge counts
and long values open at once and come back whole, and numbers out of range
neither stall the show, nor keep it from ending, nor write into stray sections."""
import resource
import signal
import subprocess
import time

import pytest

import harness as h
import saver_kit as k
import theme_helpers as th
from saver_kit import Saver, clean_state  # noqa: F401  (autouse: ends only our savers)
from theme_helpers import ThemeDialog, open_theme_dialog, theme_lines

WRITE_ERROR = "C:\\windows\\Glimora.ini に書き込めません."
SIZE_CAP = 6 * 1024  # bytes a capped program may write to any one file
LB_GETCOUNT = 0x018B


started = []


@pytest.fixture(autouse=True)
def end_capped():
    """Ends the capped programs this module started, by their own id."""
    yield
    for scr in started:
        scr.kill()
    started.clear()


class CappedScr(h.Scr):
    """Glimora.scr whose writes past SIZE_CAP bytes of a file fail, as on a
    full disk: the size limit of the process, with the signal ignored so a
    failed write returns an error instead of ending the program."""

    def __init__(self):
        def cap():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (SIZE_CAP, SIZE_CAP))
        self.args = []
        self.proc = subprocess.Popen(["wine", str(h.SCR)], env=h.wine_env(), preexec_fn=cap,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def settings_program(capped=False):
    # The server and the desktop come up uncapped: only the program's own writes are limited.
    subprocess.run(["wineserver", "-p"], env=h.wine_env(), check=False)
    k.desktop_up()
    scr = CappedScr() if capped else h.Scr()
    started.append(scr)
    return scr


def temp_files():
    return sorted(p.name for p in h.WINDOWS.glob("gli*.tmp"))


def big_file(images=60):
    """Theme 0 with many images, and other themes that make the file larger
    than a capped program may write."""
    long_dir = th.FILES_WIN + "\\" + "写真フォルダ" * 4
    theme0 = {"ImageCount": images}
    theme0.update({f"Image{i}": f"{long_dir}\\photo{i:03}.jpg" for i in range(images)})
    theme0.update({f"Wave{i}": "なし" for i in range(images)})
    sections = {"Main": {"ThemeNumber": 0, "ThemeName0": "旅行", "CloseMouseMove": 4}, "Theme0": theme0}
    for n in (1, 2):
        sections[f"Theme{n}"] = {"ImageCount": 20, **{f"Image{i}": f"{long_dir}\\other{n}_{i}.bmp" for i in range(20)}}
    h.write_ini_sections(sections)
    data = h.read_ini_bytes()
    assert len(data) > SIZE_CAP
    return data


# ---- the all-or-nothing save ------------------------------------------------

def test_a_theme_saved_on_a_full_disk_keeps_the_old_file_and_reports_it():
    before = big_file(60)
    scr = settings_program(capped=True)
    d = open_theme_dialog(scr)
    assert len(d.texts("ImageListBox")) == 60
    d.page(3)
    d.set_text("FirstDelayEdit", "1234")
    d.ok()
    box = h.wait_message_box()
    assert box["caption"] == "Glimora" and box["icon"]
    assert box["texts"] == [WRITE_ERROR]
    assert h.read_ini_bytes() == before
    assert temp_files() == []
    h.press_box_button(box, "OK")
    time.sleep(0.5)
    assert h.find_window("TSetDialog") == d.hwnd  # the dialog stays, the work is not lost


def test_the_theme_selection_ok_on_a_full_disk_keeps_the_old_file_and_reports_it():
    before = big_file(60)
    settings_program(capped=True)
    main = h.wait_window("TMainDialog", timeout=30)
    h.click(*h.control(main, "ThemeRBtn3").center)
    time.sleep(0.3)
    h.click(*h.control(main, "OKBtn").center)
    box = h.wait_message_box()
    assert box["texts"] == [WRITE_ERROR]
    assert h.read_ini_bytes() == before
    assert temp_files() == []


def test_a_save_within_the_limit_replaces_the_file_and_the_program_reads_the_new_one():
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {"FirstDelay": 10, "ImageCount": 0},
                          "Theme1": {"Title": 0, "手書き": "そのまま"}})
    other = th_section("Theme1")
    scr = settings_program(capped=True)
    d = open_theme_dialog(scr)
    d.page(3)
    d.set_text("FirstDelayEdit", "222")
    d.ok()
    assert d.closed()
    assert "FirstDelay=222" in theme_lines()
    assert th_section("Theme1") == other
    assert temp_files() == []
    # The same program reads the file it has just replaced, not a cached copy.
    d = open_theme_dialog(scr)
    d.page(3)
    assert d.text("FirstDelayEdit") == "222"


def th_section(name):
    data = h.read_ini_bytes()
    start = data.find(b"[" + name.encode() + b"]")
    end = data.find(b"\r\n[", start + 1)
    return data[start:] if end < 0 else data[start:end + 2]


# ---- huge counts and long values ---------------------------------------------

@pytest.mark.parametrize("count,present", [(2147483647, 3), (20000, 20000)])
def test_huge_image_counts_open_at_once_and_list_what_is_there(count, present):
    keys = {"ImageCount": count}
    keys.update({f"Image{i}": f"C:\\p\\{i}.bmp" for i in range(present)})
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": keys})
    scr = settings_program()
    main = h.wait_window("TMainDialog", timeout=30)
    h.click(*h.control(main, "SetDlgBtn").center)
    t0 = time.time()
    hwnd = h.wait_window("TSetDialog", timeout=60)
    figure = (f"ImageCount={count} with {present} entries: dialog found {time.time() - t0:.2f} s after the click "
              "(the window probe's own start-up included)\n")
    print(figure)
    h.ARTIFACTS.mkdir(parents=True, exist_ok=True)
    with open(h.ARTIFACTS / "settings_open_times.txt", "a", encoding="utf-8") as out:
        out.write(figure)
    d = ThemeDialog(scr, hwnd)
    assert d.send("ImageListBox", LB_GETCOUNT) == present
    if present < 100:
        assert d.texts("ImageListBox") == [f"C:\\p\\{i}.bmp" for i in range(present)]


def test_values_of_more_than_1023_bytes_are_listed_and_written_whole():
    # Over 1023 bytes in Shift-JIS, under 1024 characters (what the list probe reads).
    path = "C:\\" + "\\".join(f"フォルダ{i:03}" for i in range(100)) + "\\x.bmp"
    assert len(path.encode("cp932")) > 1100 and len(path) < 1000
    h.write_ini_sections({"Main": {"ThemeNumber": 0},
                          "Theme0": {"ImageCount": 1, "Image0": path, "TitleText0": "長" * 700}})
    d = open_theme_dialog(settings_program())
    assert d.texts("ImageListBox") == [path]
    d.ok()
    assert d.closed()
    lines = theme_lines()
    assert "Image0=" + path in lines and "TitleText0=" + "長" * 700 in lines


# ---- numbers out of range in the saver -------------------------------------------

def start_saver():
    s = Saver()
    s.wait_window()
    return s


def burst(n, rate_gap=0.001):
    """n small mouse moves in one xdotool run, a few milliseconds apart."""
    args = []
    for i in range(n):
        args += ["mousemove", 200 + (i % 50) * 3, 300 + (i % 7), "sleep", str(rate_gap)]
    h.xdotool(*args)


def test_a_negative_close_mouse_move_ends_the_show_on_the_second_move():
    k.write_theme(close_mouse_move=-1)
    s = start_saver()
    h.xdotool("mousemove", 100, 100)
    time.sleep(1.3)
    # Both moves in one xdotool run, so that the one-second count cannot run
    # out between them on a loaded machine; apart by a moment, so that they
    # reach the saver as two messages (moves still waiting in the queue are
    # merged into one).
    h.xdotool("mousemove", 140, 120, "sleep", "0.2", "mousemove", 180, 160)
    assert s.wait_exit(timeout=5) == 0


def test_close_mouse_move_255_can_still_be_ended_by_moving():
    k.write_theme(close_mouse_move=255)
    s = start_saver()
    burst(20)
    time.sleep(0.5)
    assert s.alive()
    burst(1500)
    assert s.wait_exit(timeout=5) == 0


def test_a_huge_negative_first_delay_does_not_stall_the_show():
    red = k.solid_bmp("hostile_red.bmp", (255, 0, 0))
    k.write_theme(FirstDelay=-2147483648, ImageCount=1, Image0=red, ImageOnDelay=60000)
    start_saver()
    k.wait_colour((512, 384), (255, 0, 0), timeout=8)


def test_a_theme_number_outside_0_to_9_shows_its_section_but_writes_nothing():
    red = k.solid_bmp("hostile_red99.bmp", (255, 0, 0))
    theme = dict(k.BASE_THEME, ImageCount=1, Image0=red, ImageOnDelay=60000, FromLastImage=1)
    h.write_ini_sections({"Main": {"ThemeNumber": 99}, "Theme99": theme})
    before = h.read_ini_bytes()
    s = start_saver()
    k.wait_colour((512, 384), (255, 0, 0), timeout=8)
    h.key("a")
    assert s.wait_exit() == 0
    assert h.read_ini_bytes() == before
