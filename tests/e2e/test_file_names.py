"""Pictures whose names the ANSI code page (Shift-JIS here) cannot hold: a
folder entry shows every one of them, opened by the wide name (our own BMP
reader) or handed to the plug-ins in memory (PNG, JPEG), in subfolders too;
the settings file stays Shift-JIS."""
import time

from PIL import Image

import harness as h
import saver_kit as k
import theme_helpers as th

# name -> colour; é, an emoji and Hangul are not in Shift-JIS, 写真 is.
NAMED = {"Café.bmp": (220, 30, 30), "写真😀.png": (20, 200, 90), "한글.jpg": (30, 40, 220),
         "사진/여름.bmp": (240, 200, 0), "写真.bmp": (200, 0, 200)}


def named_folder(name="names"):
    """The folder of NAMED, each a 160 x 120 picture of its colour."""
    folder = k.media_path(name)
    for relative, colour in NAMED.items():
        path = folder / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        Image.new("RGB", (160, 120), colour).save(path, quality=98)
    return folder


def colours_shown(seconds, want):
    """The NAMED colours seen centred on the screen within `seconds`."""
    seen = set()
    end = time.time() + seconds
    while time.time() < end and len(seen) < len(want):
        pixel = h.pixel(512, 384)
        seen |= {c for c in want if k.close(pixel, c, 6)}
        time.sleep(0.1)
    return seen


def test_a_folder_of_latin_japanese_korean_and_emoji_names_shows_every_picture():
    folder = named_folder()
    k.write_theme(ImageCount=1, Image0=h.to_windows_path(folder) + "\\", BackColor=10, ImageOnDelay=900,
                  ImageOffDelay=100, FromLastImage=1)
    before = h.read_ini_bytes()
    with h.Scr("/s") as scr:
        h.wait_window("TMainForm", timeout=60)
        seen = colours_shown(40, set(NAMED.values()))
        h.screenshot("file-names-show")
        assert not h.message_boxes()
        h.key("a")
        assert scr.wait(15) == 0  # closed by itself, having written its settings
    assert seen == set(NAMED.values()), {n for n, c in NAMED.items() if c not in seen}
    assert h.read_ini_bytes() != before
    h.read_ini_bytes().decode("cp932")  # strict: still Shift-JIS


def test_a_single_file_the_code_page_cannot_name_is_stored_by_its_short_name_or_refused():
    folder = k.media_path("pick")
    folder.mkdir(parents=True, exist_ok=True)
    Image.new("RGB", (40, 30), (1, 2, 3)).save(folder / "한글.bmp")
    Image.new("RGB", (40, 30), (1, 2, 3)).save(folder / "plain.bmp")
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {"ImageCount": 0}})
    with h.Scr() as scr:
        d = th.open_theme_dialog(scr)
        d.click("ImageAddBtn")
        dlg = th.file_dialog()
        parts = h.tree(dlg)
        name_box = next(w for w in parts if w.cls == "Edit")
        open_btn = next(w for w in parts if w.cls == "Button" and w.text.startswith("開く"))
        h.wintool("settext", name_box.hwnd, h.to_windows_path(folder) + "\\")
        h.wintool("click", open_btn.hwnd)
        time.sleep(1)
        # Both names in the list, chosen with the mouse: the first, then Shift and the second.
        left, top = h.tree(dlg)[0].rect[:2]
        files = next(w for w in h.tree(dlg) if w.cls == "SysListView32")
        h.click(files.rect[0] + 40, files.rect[1] + 10)
        h.xdotool("keydown", "shift", "mousemove", files.rect[0] + 40, files.rect[1] + 27, "click", 1, "keyup", "shift")
        time.sleep(0.3)
        h.wintool("click", open_btn.hwnd)
        time.sleep(1)
        h.screenshot("file-names-pick")
        boxes = h.message_boxes()
        items = d.texts("ImageListBox")
        for b in boxes:
            h.press_box_button(b, "OK")
    plain = h.to_windows_path(folder / "plain.bmp")
    assert plain in items
    other = [i for i in items if i != plain]
    if other:  # the volume gave a short name: ANSI, and it opens
        assert len(other) == 1 and "?" not in other[0] and "~" in other[0], items
        assert not boxes
    else:
        assert any("フォルダごと追加してください" in t for b in boxes for t in b["texts"]), boxes


def test_the_test_display_names_such_a_picture_as_the_file_system_spells_it():
    folder = k.media_path("shown")
    folder.mkdir(parents=True, exist_ok=True)
    Image.new("RGB", (60, 40), (0, 0, 200)).save(folder / "사진😀.bmp")
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": {"ImageCount": 1,
                                                               "Image0": h.to_windows_path(folder) + "\\"}})
    with h.Scr() as scr:
        d = th.open_theme_dialog(scr)
        h.wait_until(lambda: "(1枚)" in d.texts("ImageListBox")[0], timeout=20, message="the count")
        d.click_item("ImageListBox", 0)
        d.click("ImageShowBtn")
        w = h.wait_window("TImageTestForm", timeout=20)
        caption = bytes.fromhex(h.wintool("widetext", w)).decode("utf-16-be")
        h.screenshot("file-names-test-display")
        assert not h.message_boxes()
        assert caption == "Glimora(ﾃｽﾄ表示): " + h.to_windows_path(folder) + "\\사진😀.bmp"
        assert h.pixel(*h.control(w, "TestImage").center) == (0, 0, 200)
