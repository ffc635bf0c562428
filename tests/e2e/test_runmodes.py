"""The four run modes of Glimora.scr, the single-instance rule and the preview placement."""
import shutil
import subprocess
import time

import pytest

import harness as h


def settings_dialog_shows(*args):
    with h.Scr(*args) as scr:
        hwnd = h.wait_window("TMainDialog")
        assert h.tree(hwnd)[0].text == "Glimoraの設定"
        assert h.find_window("TMainForm") is None
        h.wintool("close", hwnd)
        assert scr.wait() == 0


@pytest.mark.parametrize("args", [(), ("/c",), ("/C",), ("-c",), ("-C",), ("/c:1234",), ("/x",), ("/s:1",), ("-sx",)])
def test_settings_mode_arguments(args):
    settings_dialog_shows(*args)


@pytest.mark.parametrize("args", [("/s",), ("-S",), ("/S", "extra", "args"), ("-s", "123")])
def test_saver_mode_covers_the_screen(args):
    with h.Scr(*args):
        hwnd = h.wait_window("TMainForm")
        w = h.tree(hwnd)[0]
        assert w.rect == (0, 0, 1024, 768)
        assert w.text == "Glimora"
        assert not w.style & 0x00C00000  # no caption, no border
        assert h.find_window("TMainDialog") is None


def test_second_copy_exits_at_once_while_settings_are_open():
    with h.Scr():
        h.wait_window("TMainDialog")
        start = time.time()
        assert h.run_scr("/s", timeout=30) == 0
        assert time.time() - start < 15
        assert h.find_window("TMainForm") is None
        assert h.run_scr("/c", timeout=30) == 0
        assert len([w for w in h.top_windows() if w.cls == "TMainDialog"]) == 1


@pytest.fixture
def mpr_standin():
    """The program's MPR.DLL replaced by a stand-in that logs its call."""
    target = h.SYSTEM32 / "mpr.dll"
    backup = h.SYSTEM32 / "mpr.dll.glimora-orig"
    log = h.PREFIX / "drive_c" / "glimora-pwdchange.log"
    shutil.copy(target, backup)
    shutil.copy(h.BIN / "mpr_standin.dll", target)
    log.unlink(missing_ok=True)
    env = h.wine_env(WINEDLLOVERRIDES="mscoree,mshtml=;mpr=n")
    yield env, log
    shutil.move(backup, target)
    log.unlink(missing_ok=True)


def test_password_change_calls_the_system_service(mpr_standin):
    env, log = mpr_standin
    assert h.run_scr("/a", "4242", env=env) == 0
    assert log.read_text().splitlines() == ["SCRSAVE|4242|0|0"]


def test_password_change_without_owner_passes_zero(mpr_standin):
    env, log = mpr_standin
    assert h.run_scr("-A", env=env) == 0
    assert h.run_scr("/a", "notanumber", env=env) == 0
    assert log.read_text().splitlines() == ["SCRSAVE|0|0|0", "SCRSAVE|0|0|0"]


def test_password_change_runs_beside_the_settings_dialog(mpr_standin):
    env, log = mpr_standin
    with h.Scr():
        h.wait_window("TMainDialog")
        assert h.run_scr("/a", "77", env=env) == 0
    assert log.read_text().splitlines() == ["SCRSAVE|77|0|0"]


def test_password_change_without_the_service_does_nothing():
    # Wine's own MPR.DLL has no PwdChangePasswordA: the call is skipped silently.
    assert h.run_scr("/a", "1") == 0
    assert not h.message_boxes()


@pytest.fixture
def host_window():
    proc = subprocess.Popen(["wine", str(h.WINTOOL), "parent", "200", "150"], env=h.wine_env(),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    hwnd = int(proc.stdout.readline().decode().strip())
    yield hwnd
    proc.kill()
    proc.wait()


def test_preview_becomes_a_borderless_child_of_the_given_window(host_window):
    with h.Scr("/p", str(host_window)):
        h.wait_until(lambda: any(w.cls == "TMainForm" for w in h.tree(host_window)), 20, message="preview child")
        parent = h.tree(host_window)[0]
        child = next(w for w in h.tree(host_window) if w.cls == "TMainForm")
        assert child.rect == parent.rect          # at (0, 0) of the parent, its size
        assert child.style & 0x40000000           # WS_CHILD
        assert not child.style & 0x80000000       # not WS_POPUP
        assert not child.style & 0x00C00000       # no caption or border
        assert h.find_window("TMainForm") is None  # no top-level saver window


def test_preview_is_refused_while_a_saver_window_exists(host_window):
    fake = subprocess.Popen(["wine", str(h.WINTOOL), "parent", "50", "50", "TMainForm"], env=h.wine_env(),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        fake.stdout.readline()
        assert h.run_scr("/p", str(host_window)) == 0
        assert not any(w.cls == "TMainForm" for w in h.tree(host_window))
    finally:
        fake.kill()
        fake.wait()


@pytest.mark.parametrize("args", [("/p",), ("/P", ""), ("-p", "abc")])
def test_preview_without_a_usable_window_ends_at_once(args):
    assert h.run_scr(*args, timeout=30) == 0
    assert h.find_window("TMainForm") is None
