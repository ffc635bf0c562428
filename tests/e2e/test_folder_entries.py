"""Folder entries of a theme's image list, through the real program: the
フォルダ追加 button with the system's folder picker, files and folders
dropped from Explorer (the probe posts the same WM_DROPFILES Explorer
sends), the background count beside each folder, what the settings file
holds afterwards, and the show passing over a folder entry without a box."""
import re
import subprocess
import time

import pytest
from PIL import Image

import harness as h
import saver_kit as k
import theme_helpers as th
from theme_helpers import open_theme_dialog, theme_lines

PICS = th.FILES / "pics"
PICS_WIN = f"{th.FILES_WIN}\\pics"


@pytest.fixture(autouse=True)
def clean_state():
    """No settings file and a fresh picture folder at the start; only the
    processes these tests start are ended (by their own id), also when a
    test fails, so that its show does not stand over the next test."""
    h.remove_ini()
    subprocess.run(["rm", "-rf", str(PICS)], check=True)
    yield
    k.stop_all()


@pytest.fixture(scope="module", autouse=True)
def desktop():
    subprocess.run(["wineserver", "-p"], env=h.wine_env(), check=False)
    holder = th.StandIn("GlimoraFolderTestKeepAlive", -20, -20, -19, -19)
    yield
    holder.close()


@pytest.fixture
def program():
    started = []

    def start():
        scr = h.Scr()
        started.append(scr)
        return open_theme_dialog(scr)

    yield start
    for scr in started:
        scr.kill()
    k.stop_all()


def picture(rel, colour=(0, 160, 0), size=(24, 18)):
    path = PICS / rel
    path.parent.mkdir(parents=True, exist_ok=True)
    Image.new("RGB", size, colour).save(path, "BMP")
    return f"{PICS_WIN}\\" + rel.replace("/", "\\")


def other_file(rel, data=b"x"):
    path = PICS / rel
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    return f"{PICS_WIN}\\" + rel.replace("/", "\\")


def empty_theme():
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {"ImageCount": 0}})


def counted(d, name="ImageListBox", timeout=15):
    """The list's items once it has some and no folder is still being counted."""
    h.wait_until(lambda: (lambda texts: texts and "数えています" not in "".join(texts))(d.texts(name)),
                 timeout=timeout, message="the folder counts")
    return d.items(name)


def settles_on(read, expected, timeout=10):
    """Waits until read() gives expected (what a drop or a click leads to);
    fails with what it gave last."""
    end = time.time() + timeout
    while (value := read()) != expected and time.time() < end:
        time.sleep(0.1)
    assert value == expected


def answered(d):
    """Returns once the dialog's thread has finished what it was doing: a
    sent message waits until its message loop runs again."""
    h.wintool("send", d.hwnd, 0, 0, 0)  # WM_NULL


def drop(d, name, *paths):
    h.wintool("drop", d.ctl(name).hwnd, *paths)


def box_text(box):
    return " ".join(box["texts"])


def choose_folder(folder):
    """Types the folder into the picker's name box and presses 開く, as a
    user who pastes a path does."""
    dlg = h.wait_until(lambda: next((w.hwnd for w in h.top_windows()
                                     if w.cls == "#32770" and w.text == "追加するフォルダ"), None),
                       timeout=15, message="the folder picker")
    parts = h.tree(dlg)
    name_box = next(w for w in parts if w.cls == "Edit")
    open_btn = next(w for w in parts if w.cls == "Button" and w.text.startswith("開く"))
    h.wintool("settext", name_box.hwnd, folder)
    h.wintool("click", open_btn.hwnd)
    h.wait_until(lambda: all(w.hwnd != dlg for w in h.top_windows()), timeout=10,
                 message="the picker to close")


# ---- the button and the picker ----------------------------------------------

def test_folder_button_sits_under_the_list_buttons_and_adds_a_counted_entry(program):
    for rel in ("a1.bmp", "a2.bmp", "2024/05/b.bmp", "2024/06/c.bmp"):
        picture(rel)
    other_file("notes.txt")
    empty_theme()
    d = program()
    c = d.controls()
    left, top = c["ImageListBox"].rect[:2]  # at 16, 40 on the page
    place = lambda n: (c[n].rect[0] - left + 16, c[n].rect[1] - top + 40,
                       c[n].rect[2] - c[n].rect[0], c[n].rect[3] - c[n].rect[1])
    assert d.text("FolderAddBtn") == "フォルダ追加"
    assert place("FolderAddBtn") == (448, 200, 121, 33)
    # Nothing moved: the column above and the controls around keep their places.
    assert place("ImageAddBtn") == (448, 40, 121, 33)
    assert place("ImageShowBtn") == (448, 160, 121, 33)
    assert place("WavPlayEdit")[:2] == (144, 256)
    d.click("FolderAddBtn")
    choose_folder(PICS_WIN)
    assert counted(d) == [(True, f"{PICS_WIN}\\\t(4枚)")]
    assert d.texts("WavListBox") == ["なし"]
    h.screenshot("folder_entry_counted")
    d.ok()
    assert d.closed()
    lines = theme_lines()
    i = lines.index("ImageCount=1")
    assert lines[i + 1:i + 3] == [f"Image0={PICS_WIN}\\", "Wave0=なし"]


def test_a_cancelled_picker_adds_nothing(program):
    empty_theme()
    d = program()
    d.click("FolderAddBtn")
    dlg = h.wait_until(lambda: next((w for w in h.top_windows() if w.text == "追加するフォルダ"), None),
                       timeout=15, message="the folder picker")
    cancel = next(w for w in h.tree(dlg.hwnd) if w.cls == "Button" and w.text == "キャンセル")
    h.wintool("click", cancel.hwnd)
    h.wait_until(lambda: all(w.hwnd != dlg.hwnd for w in h.top_windows()), timeout=10,
                 message="the picker to close")
    answered(d)
    assert d.items("ImageListBox") == []
    assert not h.message_boxes()


def test_a_stored_folder_entry_is_counted_and_saved_back_as_it_was(program):
    for rel in ("x.bmp", "y.jpg", "deep/er/z.png"):
        picture(rel)
    other_file("\ud55c\uae00.bmp")          # a name Shift-JIS cannot hold: shown by its wide name
    other_file("写真.bmp")                   # a Japanese name: shown
    other_file("empty.bmp", b"")             # an empty file is still a picture file here
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {
        "ImageCount": 3, "Image0": f"{PICS_WIN}\\", "Image1": "C:\\no\\such\\folder\\",
        "Image2": "C:\\", "Wave0": "C:\\w.wav", "Wave1": "なし", "Wave2": "なし"}})
    d = program()
    # The drive root may take long (the prefix links into the home folder):
    # it is still being counted while the dialog answers and saves.
    h.wait_until(lambda: "数えています" not in "".join(d.texts("ImageListBox")[:2]), timeout=30,
                 message="the folder counts")
    texts = d.texts("ImageListBox")
    assert texts[:2] == [f"{PICS_WIN}\\\t(6枚)", "C:\\no\\such\\folder\\\t(読めません)"]
    assert re.fullmatch(r"C:\\\t\(\d+枚(・表示できない\d+枚)?( 数えています)?\)", texts[2]), texts[2]
    d.click_item("ImageListBox", 0)
    assert d.text("WavPlayEdit") == "C:\\w.wav"
    d.ok()
    assert d.closed()
    lines = theme_lines()
    i = lines.index("ImageCount=3")
    assert lines[i + 1:i + 4] == [f"Image0={PICS_WIN}\\", "Image1=C:\\no\\such\\folder\\", "Image2=C:\\"]


# ---- drag and drop -----------------------------------------------------------

def test_a_drop_of_files_and_a_folder_adds_them_and_names_the_rest_once(program):
    a = picture("a.bmp")
    sub = picture("sub/s1.bmp") and f"{PICS_WIN}\\sub"
    picture("sub/s2.bmp")
    notes = other_file("notes.txt")
    song = other_file("song.mid")
    empty_theme()
    d = program()
    drop(d, "ImageListBox", a, sub, notes, song)
    box = h.wait_message_box()
    text = box_text(box)
    assert "notes.txt" in text and "song.mid" in text and "追加しませんでした" in text
    h.screenshot("folder_drop_message")
    h.press_box_button(box, "OK")
    assert counted(d) == [(True, a), (True, f"{sub}\\\t(2枚)")]
    assert not h.message_boxes()
    d.ok()
    assert d.closed()
    lines = theme_lines()
    i = lines.index("ImageCount=2")
    assert lines[i + 1:i + 5] == [f"Image0={a}", f"Image1={sub}\\", "Wave0=なし", "Wave1=なし"]


def test_a_drop_goes_before_the_current_entry_like_adding(program):
    keep = [picture(f"k{i}.bmp") for i in range(3)]
    new = picture("new/n.bmp")
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {
        "ImageCount": 3, **{f"Image{i}": p for i, p in enumerate(keep)},
        **{f"Wave{i}": "なし" for i in range(3)}}})
    d = program()
    d.click_item("ImageListBox", 1)
    drop(d, "ImageListBox", new)
    settles_on(lambda: d.texts("ImageListBox"), [keep[0], new, keep[1], keep[2]])
    answered(d)
    assert not h.message_boxes()


def test_a_wav_on_the_wav_field_and_midi_files_on_the_music_list(program):
    img = picture("a.bmp")
    wav = other_file("tone.wav", b"RIFF")
    mids = [other_file("one.mid"), other_file("two.RMI")]
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {"ImageCount": 1, "Image0": img, "Wave0": "なし"}})
    d = program()
    d.click_item("ImageListBox", 0)
    drop(d, "WavPlayEdit", wav)
    settles_on(lambda: d.text("WavPlayEdit"), wav)
    assert d.texts("WavListBox") == [wav]
    drop(d, "WavPlayEdit", img)                     # not a sound: named, nothing changes
    box = h.wait_message_box()
    assert "a.bmp" in box_text(box)
    h.press_box_button(box, "OK")
    assert d.texts("WavListBox") == [wav]
    d.page(1)
    drop(d, "MidiListBox", *mids, img)
    box = h.wait_message_box()
    assert "a.bmp" in box_text(box) and "one.mid" not in box_text(box)
    h.press_box_button(box, "OK")
    assert d.texts("MidiListBox") == mids
    d.ok()
    assert d.closed()
    lines = theme_lines()
    assert "Wave0=" + wav in lines
    i = lines.index("MidiCount=2")
    assert lines[i + 1:i + 3] == [f"Midi0={mids[0]}", f"Midi1={mids[1]}"]


# ---- the show ------------------------------------------------------------------

COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255), (255, 0, 255)]


def shown_in_turn(count, timeout=40):
    """The first `count` pictures the show puts at the centre, by colour
    index (a picture counts once however long it stands)."""
    seen = []

    def look():
        c = h.pixel(512, 384)
        if c in COLOURS and (not seen or seen[-1] != COLOURS.index(c)):
            seen.append(COLOURS.index(c))
        return len(seen) >= count

    h.wait_until(look, timeout=timeout, interval=0.05, message=f"{count} pictures")
    return seen[:count]


def coloured(rel, index):
    return picture(rel, COLOURS[index], (120, 90))


def show(**keys):
    k.write_theme(**{"ImageOnDelay": 700, "ImageOffDelay": 250, **keys})
    s = k.Saver()
    s.wait_window()
    return s


def test_a_folder_entry_shows_its_pictures_through_nested_subfolders_in_explorers_order():
    coloured("img10.bmp", 1)
    coloured("img9.bmp", 0)
    coloured("2024/05/z.bmp", 2)
    coloured("2024/extra.bmp", 3)
    other_file("2024/notes.txt")
    s = show(ImageCount=1, Image0=f"{PICS_WIN}\\")
    assert shown_in_turn(6) == [0, 1, 3, 2, 0, 1]
    assert not h.message_boxes()
    h.key("Escape")
    assert s.wait_exit() == 0


def test_a_mixed_list_of_files_and_folders_shows_both():
    first = coloured("single/first.bmp", 0)
    coloured("album/a.bmp", 1)
    coloured("album/sub/b.bmp", 2)
    last = coloured("single/last.bmp", 3)
    s = show(ImageCount=3, Image0=first, Image1=f"{PICS_WIN}\\album\\", Image2=last)
    assert shown_in_turn(5) == [0, 1, 2, 3, 0]
    h.key("Escape")
    assert s.wait_exit() == 0


def test_random_order_shows_each_picture_of_a_folder_once_before_any_repeats():
    for i in range(5):
        coloured(f"r/{i}.bmp" if i % 2 else f"r/deep/{i}.bmp", i)
    s = show(ImageCount=1, Image0=f"{PICS_WIN}\\r\\", ImageOrdRandom=1, ImageOnDelay=500, ImageOffDelay=150)
    seen = shown_in_turn(10, timeout=60)
    assert sorted(seen[:5]) == [0, 1, 2, 3, 4], seen
    assert sorted(seen[5:]) == [0, 1, 2, 3, 4], seen
    h.key("Escape")
    assert s.wait_exit() == 0


def test_resume_continues_inside_a_folder_and_closing_stores_the_place():
    for i, name in enumerate(["p1.bmp", "p2.bmp", "p10.bmp", "sub/p3.bmp"]):
        coloured(f"res/{name}", i)
    file_entry = coloured("res-file.bmp", 4)
    s = show(ImageCount=2, Image0=file_entry, Image1=f"{PICS_WIN}\\res\\", FromLastImage=1,
             LastImageNumber=1, LastImageInFolder="p2.bmp", ImageOnDelay=1500)
    assert shown_in_turn(1) == [2]             # p10.bmp: after p2 in Explorer's order
    h.key("space")
    assert s.wait_exit() == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "1"
    assert h.ini_value("Theme0", "LastImageInFolder") == "p10.bmp"
    s = show(ImageCount=2, Image0=file_entry, Image1=f"{PICS_WIN}\\res\\", FromLastImage=1,
             LastImageNumber=1, LastImageInFolder="sub\\p3.bmp", ImageOnDelay=1500)
    assert shown_in_turn(1) == [4]             # the folder's last picture: the next entry follows
    h.key("space")
    assert s.wait_exit() == 0
    assert h.ini_value("Theme0", "LastImageNumber") == "1"
    assert h.ini_value("Theme0", "LastImageInFolder") is None  # no place inside a folder: the key goes, as a saved theme leaves it out


def test_folders_that_cannot_be_shown_are_passed_over_without_a_box():
    """An empty or missing folder, and a picture deleted after the walk
    found it, are passed over like a file that cannot be read."""
    (PICS / "empty").mkdir(parents=True)
    coloured("gone/a.bmp", 2)
    coloured("gone/b.bmp", 3)
    coloured("gone/x.bmp", 1)
    red = k.solid_bmp("red.bmp", (255, 0, 0))
    s = show(ImageCount=4, Image0=f"{PICS_WIN}\\empty\\", Image1="C:\\no\\such\\folder\\",
             Image2=f"{PICS_WIN}\\gone\\", Image3=red)
    # a.bmp on the screen: the walk has listed its folder, x.bmp with it. b.bmp
    # loads while a.bmp stands, and x.bmp only once b.bmp is shown.
    h.wait_until(lambda: h.pixel(512, 384) == COLOURS[2], timeout=40, interval=0.05, message="a.bmp")
    (PICS / "gone" / "x.bmp").unlink()
    assert shown_in_turn(3) == [2, 3, 0]
    h.screenshot("folder_entries_passed_over")
    assert not h.message_boxes()
    assert s.alive()
    h.key("Escape")
    assert s.wait_exit() == 0


def test_the_test_display_steps_through_a_folder_entrys_pictures(program):
    for i, name in enumerate(["s1.bmp", "s2.bmp", "sub/s3.bmp"]):
        picture(f"steps/{name}", COLOURS[i], (200, 150))
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {
        "ImageCount": 1, "Image0": f"{PICS_WIN}\\steps\\", "Wave0": "なし"}})
    d = program()
    counted(d)
    d.click_item("ImageListBox", 0)
    d.click("ImageShowBtn")

    def window_colour():
        """The test display's window and the picture colour at its centre, once it shows one."""
        win = h.wait_until(lambda: next((w for w in h.top_windows() if w.cls == "TImageTestForm"), None),
                           timeout=15, message="the test display")
        colour = h.wait_until(lambda: (c := h.pixel(*win.center)) in COLOURS and c, timeout=15,
                              message="a picture on the test display")
        return win.hwnd, colour

    first, colour = window_colour()
    assert colour == COLOURS[0]
    h.screenshot("folder_test_display_first")
    h.key("space")
    h.wait_until(lambda: all(w.hwnd != first for w in h.top_windows()), timeout=10, message="the next step")
    second, colour = window_colour()
    assert colour == COLOURS[1]
    h.key("Escape")                            # stops: the third picture is not shown
    h.wait_until(lambda: all(w.cls != "TImageTestForm" for w in h.top_windows()), timeout=10,
                 message="the display to close")
    settles_on(lambda: d.text("ImageShowBtn"), "テスト表示")
    answered(d)
    assert all(w.cls != "TImageTestForm" for w in h.top_windows())
