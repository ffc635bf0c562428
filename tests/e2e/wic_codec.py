"""The test decoder of the imaging component (tests/codec, bin/gtx_codec.dll
of the build of the prefix's width) installed in the suite's prefix, as a
codec package installs one: the DLL in the system folder and its
registration as a decoder. Beside it, a decoder left behind by an uninstall:
registered for ".gone", its DLL missing. And the made-up .gtx pictures it reads."""
import os
import struct
import subprocess
import tempfile

import harness as h

CLSID = "{5B0C4A11-6F1E-4C57-9D2A-3E7A0B1C2D31}"
CONTAINER = "{5B0C4A12-6F1E-4C57-9D2A-3E7A0B1C2D31}"
GONE = "{5B0C4A13-6F1E-4C57-9D2A-3E7A0B1C2D31}"
DECODERS = "{7ED96837-96F0-4812-B211-F13C24117ED3}"
SIGNATURE = b"GLIMGTX1"


def _decoder_keys(clsid, name, extension, dll, pattern):
    root = rf"HKEY_CLASSES_ROOT\CLSID\{clsid}"
    lines = [f"[{root}]", f'@="{name}"', f'"FriendlyName"="{name}"', f'"ContainerFormat"="{CONTAINER if pattern else clsid}"',
             f'"FileExtensions"="{extension}"', '"MimeTypes"="image/x-glimora-test"', '"Author"="Glimora tests"',
             f'"Vendor"="{CONTAINER}"', '"Version"="1.0.0.0"', "",
             rf"[{root}\InprocServer32]", f'@="{dll}"', '"ThreadingModel"="Both"', ""]
    if pattern:
        hexes = ",".join(f"{b:02x}" for b in pattern)
        lines += [rf"[{root}\Patterns\0]", '"Position"=dword:00000000', f'"Length"=dword:{len(pattern):08x}',
                  f'"Pattern"=hex:{hexes}', '"Mask"=hex:' + ",".join("ff" for _ in pattern), ""]
    lines += [rf"[HKEY_CLASSES_ROOT\CLSID\{DECODERS}\Instance\{clsid}]", f'"CLSID"="{clsid}"',
              f'"FriendlyName"="{name}"', ""]
    return lines


def install(bin_dir):
    """The DLL of bin_dir into system32 (the prefix's own width) and both registrations."""
    (h.SYSTEM32 / "gtx_codec.dll").write_bytes((bin_dir / "gtx_codec.dll").read_bytes())
    lines = ["Windows Registry Editor Version 5.00", ""]
    lines += _decoder_keys(CLSID, "Glimora test decoder", ".gtx", r"C:\\windows\\system32\\gtx_codec.dll", SIGNATURE)
    lines += _decoder_keys(GONE, "Uninstalled decoder", ".gone", r"C:\\windows\\system32\\gone_codec.dll", None)
    with tempfile.NamedTemporaryFile("wb", suffix=".reg", dir=h.PREFIX / "drive_c", delete=False) as reg:
        reg.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
    try:
        # In the system's own view: from a 64-bit prefix, plain `wine` runs the
        # 32-bit reg, which would write under Wow6432Node.
        view = ["/reg:64"] if h.WINEARCH == "win64" else []
        subprocess.run(["wine", "reg", "import", h.to_windows_path(reg.name), *view], env=h.wine_env(), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    finally:
        os.unlink(reg.name)


def gtx_picture(path, image, orientation=1, behaviour=b"N", date=b""):
    """A .gtx file of a PIL image: header, then BGR rows top-down, then the
    date taken as the decoder states it ("2019:07:14 10:30:12\\0" on the EXIF
    path, "2019-07-14T10:30:12" on the XMP one, or any bytes)."""
    w, hgt = image.size
    head = SIGNATURE + struct.pack("<II", w, hgt) + bytes([orientation]) + behaviour + b"\0\0"
    path.write_bytes(head + image.convert("RGB").tobytes("raw", "BGR") + date)


def magick(path, size, colour, *options):
    """A one-colour picture written by ImageMagick (TGA, DDS: formats Wine's imaging component decodes)."""
    subprocess.run(["convert", "-size", f"{size[0]}x{size[1]}", f"xc:rgb{colour}", *options, str(path)], check=True)
