"""A Wine prefix of a user who is not root, whose Windows folder belongs to
root: what a program that is not elevated meets on Windows Vista to 11. As
root every write succeeds under Wine, even to a read-only file, so only
another user meets the closed folder. scripts/setup creates that user."""
import os
import pathlib
import pwd
import shutil
import subprocess

import station

USER = "glimora-tester"


def make(name, programs):
    """A fresh prefix of USER (made by that user's own wineboot), with the
    given program files copied to C:\\glimora, where the user can read them
    (the build tree may sit in a folder only root can enter), and the
    Windows folder then handed to root. Returns the started station.Prefix;
    its folder is the user's home's e2e-<name>-prefix."""
    account = pwd.getpwnam(USER)
    path = pathlib.Path(account.pw_dir) / f"e2e-{name}-prefix"
    if path.exists():
        station.Prefix(path, None, USER).run("wineserver", "-k")
        shutil.rmtree(path)
    path.mkdir()
    os.chown(path, account.pw_uid, account.pw_gid)
    bin_dir = path / "drive_c" / "glimora"
    prefix = station.Prefix(path, bin_dir / "wintool.exe", USER)
    prefix.run("wineboot", "-i", check=True)
    prefix.set_value(r"HKCU\Software\Wine\X11 Driver", "Managed", "N")
    prefix.set_value(r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug", "Debugger", "")
    prefix.run("wineserver", "-w")

    bin_dir.mkdir()
    for program in programs:
        shutil.copy(program, bin_dir)
    subprocess.run(["chown", "-R", f"{USER}:", str(bin_dir)], check=True)
    windows = path / "drive_c" / "windows"
    os.chown(windows, 0, 0)
    windows.chmod(0o755)
    prefix.start()
    return prefix


def remove(prefix):
    prefix.stop()
    shutil.rmtree(prefix.path, ignore_errors=True)


def app_data(prefix_path, kind="Roaming"):
    """The user's application data folder in the prefix at prefix_path."""
    return pathlib.Path(prefix_path) / "drive_c" / "users" / USER / "AppData" / kind
