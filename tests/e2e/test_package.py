"""The package a Windows user takes: dist/Glimora-<version>.zip as
scripts/build writes it, the read-me at the top and each width in the folder
of its Windows (Windows-32bit: Glimora.scr and *.spi; Windows-64bit:
Glimora.scr and *.sph). Its name, both programs and every plug-in carry the
one version of the CMake project; the read-me is Japanese in Shift-JIS with
CRLF lines and says which to use, how to install and how to remove.
Unpacked into a folder of a fresh Wine prefix, the 32-bit Glimora.scr /s
from there shows a JPEG and a MAG picture through the plug-ins beside it,
and /c opens the settings (the 64-bit one: test_x64_saver.py)."""
import pathlib
import re
import shutil
import struct
import subprocess
import time
import zipfile

import pytest
from PIL import Image

import harness as h
import saver_kit as k

ROOT = pathlib.Path(__file__).resolve().parents[2]
PLUGIN_NAMES = ("jpeg", "gif", "tiff", "png", "pic", "pic2", "mag", "xld4", "pi")
PLUGINS = {f"if{n}.spi" for n in PLUGIN_NAMES}
BIN64 = ROOT / "build64" / "bin"
# Each width's folder in the zip: its build's products.
WIDTHS = {"Windows-32bit": (h.BIN, {"Glimora.scr"} | PLUGINS),
          "Windows-64bit": (BIN64, {"Glimora.scr"} | {f"if{n}.sph" for n in PLUGIN_NAMES})}


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(Glimora VERSION ([0-9.]+)", text).group(1)


VERSION = project_version()
ZIP = ROOT / "dist" / f"Glimora-{VERSION}.zip"


@pytest.fixture(scope="module")
def package():
    if not ZIP.exists():
        pytest.fail(f"{ZIP} is missing: scripts/build writes it")
    with zipfile.ZipFile(ZIP) as z:
        yield z


# ---- what the zip holds ------------------------------------------------------

def test_the_build_and_the_zip_name_carry_the_projects_version(package):
    assert (h.BIN.parent / "VERSION").read_text().strip() == VERSION
    assert [p.name for p in ZIP.parent.glob("Glimora-*.zip")] == [ZIP.name]


def test_the_zip_holds_both_programs_their_plugins_the_help_and_the_readme(package):
    # The help as the build sets it out from docs/help, page by page.
    pages = {"help/" + p.name for p in (h.BIN / "help").iterdir()}
    assert {"help/index.html", "help/themes.html", "help/style.css"} <= pages
    expected = {"README.txt"}
    for folder, (bin_dir, products) in WIDTHS.items():
        expected |= {f"{folder}/{name}" for name in products | pages}
        for name in products | pages:
            assert package.read(f"{folder}/{name}") == (bin_dir / name).read_bytes(), f"{folder}/{name} is not the one built"
    assert set(package.namelist()) == expected
    # Each program of its own width: i386 and x86-64 in the PE header.
    for folder, machine in (("Windows-32bit", 0x14C), ("Windows-64bit", 0x8664)):
        data = package.read(f"{folder}/Glimora.scr")
        at = struct.unpack_from("<I", data, 0x3C)[0]
        assert struct.unpack_from("<H", data, at + 4)[0] == machine, folder


def version_resource(data):
    """(file version, product version) of the fixed part and the FileVersion,
    ProductVersion and OriginalFilename strings of a PE file's version resource."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    assert at > 0, "no version resource"
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", data, at + 8)

    def parts(ms, ls):
        return ".".join(str(v) for v in (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))

    def string(key):
        i = data.find(key.encode("utf-16-le") + b"\0\0")
        assert i > 0, f"no {key}"
        i += len(key) * 2 + 2
        while data[i:i + 2] == b"\0\0":  # padding to the value
            i += 2
        end = i
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[i:end].decode("utf-16-le")

    return (parts(file_ms, file_ls), parts(product_ms, product_ls),
            string("FileVersion"), string("ProductVersion"), string("OriginalFilename"))


def test_the_program_and_every_plugin_carry_the_version(package):
    four = ".".join((VERSION.split(".") + ["0"] * 4)[:4])
    for folder, (_, products) in WIDTHS.items():
        for name in products:
            assert version_resource(package.read(f"{folder}/{name}")) == (four, four, VERSION, VERSION, name), name


def test_the_readme_is_japanese_shift_jis_with_crlf_and_tells_install_and_removal(package):
    data = package.read("README.txt")
    text = data.decode("cp932")  # strict: every byte is Shift-JIS
    assert data.count(b"\n") == data.count(b"\r\n") > 20
    assert data.count(b"\r") == data.count(b"\r\n")
    assert f"バージョン {VERSION}" in text.splitlines()[0]
    assert "@VERSION@" not in text
    for words in ["右クリック", "「インストール」", r"C:\Windows\System32", r"C:\Windows\SysWOW64",
                  "Windows-64bit", "Windows-32bit", "64 ビット版の Windows では Windows-64bit",
                  "■ アンインストール", "Glimora.ini", "help"]:
        assert words in text, words


# ---- the unpacked folder in a fresh Windows ------------------------------------

def mag_picture(path, size, left, right):
    """A 16-colour MAG file, left half one colour, right half another, coded
    with literal pixel units only (every flag 0, so flag B is empty)."""
    w, hgt = size
    assert w % 8 == 0
    comment = b"MAKI02  " + b"PC98" + b"Glimora test".ljust(18) + b"\x1a"
    palette = bytearray(48)
    for index, (r, g, b) in ((1, left), (2, right)):
        palette[index * 3:index * 3 + 3] = bytes((g, r, b))
    flag_a = bytes((w // 8 * hgt + 7) // 8)
    row = bytes([0x11] * (w // 4) + [0x22] * (w // 4))
    pixels = row * hgt
    flag_a_at = 32 + len(palette)
    pixel_at = flag_a_at + len(flag_a)
    header = struct.pack("<4B4H5I", 0, 0, 0, 0, 0, 0, w - 1, hgt - 1,
                         flag_a_at, pixel_at, 0, pixel_at, len(pixels))
    path.write_bytes(comment + header + bytes(palette) + flag_a + pixels)


def jpeg_picture(path, size, left, right):
    img = Image.new("RGB", size, left)
    img.paste(right, (size[0] // 2, 0, size[0], size[1]))
    img.save(path, "JPEG", quality=95)


@pytest.fixture(scope="module")
def unpacked(package):
    """A new Wine prefix with the zip unpacked into C:\\ダウンロード\\Glimora-<version>;
    the harness works on that prefix while the module runs."""
    prefix = h.BIN.parent / "package-prefix"
    env = h.wine_env(WINEPREFIX=str(prefix))
    subprocess.run(["wineserver", "-k"], env=env, stderr=subprocess.DEVNULL)
    shutil.rmtree(prefix, ignore_errors=True)
    subprocess.run(["wineboot", "-i"], env=env, timeout=600,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env, timeout=300)
    patch = pytest.MonkeyPatch()
    patch.setattr(h, "PREFIX", prefix)
    patch.setattr(h, "WINDOWS", prefix / "drive_c" / "windows")
    patch.setattr(h, "SYSTEM32", prefix / "drive_c" / "windows" / "system32")
    patch.setattr(h, "INI", prefix / "drive_c" / "windows" / "Glimora.ini")
    # A crash ends the program instead of waiting for a debugger.
    k.reg("add", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug", "/v", "Debugger", "/d", "", "/f")
    folder = prefix / "drive_c" / "ダウンロード" / f"Glimora-{VERSION}"
    package.extractall(folder)
    yield folder
    h.kill_all()
    subprocess.run(["wineserver", "-k"], env=env, stderr=subprocess.DEVNULL)
    patch.undo()
    shutil.rmtree(prefix, ignore_errors=True)


def windows_exe(folder):
    return h.to_windows_path(folder / "Windows-32bit" / "Glimora.scr")


def test_unpacked_the_saver_shows_a_jpeg_and_a_mag_through_the_plugins_beside_it(unpacked):
    assert not list(h.SYSTEM32.glob("if*.spi")), "a fresh prefix has no plug-ins of its own"
    photos = h.PREFIX / "drive_c" / "写真"
    photos.mkdir(exist_ok=True)
    jpeg_picture(photos / "海.jpg", (200, 150), (220, 60, 30), (30, 60, 220))
    mag_picture(photos / "山.mag", (160, 100), (240, 240, 0), (0, 160, 80))
    h.write_ini_sections({"Main": {"ThemeNumber": 0}, "Theme0": dict(
        k.BASE_THEME, ImageCount=2, Image0=h.to_windows_path(photos / "海.jpg"),
        Image1=h.to_windows_path(photos / "山.mag"), ImageOnDelay=2500)})
    with h.Scr("/s", exe=windows_exe(unpacked)):
        h.wait_window("TMainForm", timeout=60)
        # Centred on the 1024 x 768 screen: the JPEG 200 x 150, the MAG 160 x 100.
        h.wait_until(lambda: k.close(h.pixel(462, 384), (220, 60, 30), 12) and
                     k.close(h.pixel(562, 384), (30, 60, 220), 12), timeout=30, message="the JPEG")
        h.screenshot("package-saver-jpeg")
        h.wait_until(lambda: h.pixel(472, 384) == (240, 240, 0) and h.pixel(552, 384) == (0, 160, 80),
                     timeout=30, message="the MAG")
        img = h.screenshot("package-saver-mag")
        assert k.bbox_of(img, (240, 240, 0)) == (432, 334, 512, 434)
        assert k.bbox_of(img, (0, 160, 80)) == (512, 334, 592, 434)


def test_unpacked_c_opens_the_settings(unpacked):
    with h.Scr("/c", exe=windows_exe(unpacked)) as scr:
        hwnd = h.wait_window("TMainDialog", timeout=60)
        assert h.tree(hwnd)[0].text == "Glimoraの設定"
        time.sleep(0.5)
        h.screenshot("package-settings")
        h.wintool("close", hwnd)
        assert scr.wait(30) == 0
