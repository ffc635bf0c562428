"""The settings dialogs on a system of 144 and 192 DPI: every dialog opens at
its table's size times dpi / 96, controls stand at their scaled places, the
font grows with them, and a screenshot of every dialog and page is kept in
the test output (dpi<n>_<dialog>.png) to be looked at for clipped text."""
import time

import pytest

import dialog_helpers as dh
import harness as h
import monitors
import theme_helpers as th

ESCAPE_CLOSES = "Escape"
# Centres of the four tabs at 96 DPI, relative to the page control.
TAB_CENTRES = th.TAB_CENTRES


@pytest.fixture(scope="module", params=[144, 192])
def system(request):
    with monitors.ScaledSystem(request.param) as scaled:
        yield scaled


@pytest.fixture(autouse=True)
def clean_state(system):
    h.kill_all()
    h.remove_ini()
    yield
    h.kill_all()


def client_size(hwnd):
    return tuple(int(v) for v in h.wintool("client", hwnd).split(","))


def shoot(dialog, system, name):
    size = client_size(dialog.hwnd)
    dialog.refresh().screenshot(f"dpi{system.dpi}_{name}", size)
    return size


def place_in_client(dialog, name):
    """(left, top, width, height) of a control in its dialog's client area."""
    dialog.refresh()
    size = client_size(dialog.hwnd)
    l, t, r, b = dialog.window.rect
    border = ((r - l) - size[0]) // 2
    left, top = l + border, b - border - size[1]
    cl, ct, cr, cb = dialog[name].rect
    return cl - left, ct - top, cr - cl, cb - ct


def test_the_system_runs_at_the_dpi_asked_for(system):
    assert int(h.wintool("dpi")) == system.dpi


def test_theme_selection_dialog_scales(system):
    scr, main = dh.start_settings(dh.names_ini(["花", "鳥", "風", "月"]))
    with scr:
        size = shoot(main, system, "main")
        assert size == (system.scaled(465), system.scaled(233))
        if system.dpi == 144:
            assert size == (698, 350)
        # "Ｏ   Ｋ" at (280, 200, 177 x 25) in the table.
        assert place_in_client(main, "OKBtn") == tuple(system.scaled(v) for v in (280, 200, 177, 25))
        # The theme buttons inside the group box keep their scaled places.
        l, t, _, _ = main["ThemeGroupBox"].rect
        rl, rt, _, _ = main["ThemeRBtn5"].rect
        assert (rl - l, rt - t) == (system.scaled(232), system.scaled(24))


def test_rename_and_other_settings_dialogs_scale_with_their_font(system):
    scr, main = dh.start_settings(dh.names_ini(["花"]))
    with scr:
        main.click("NameDlgBtn")
        rename = dh.Dialog("TThemeNameDlg", timeout=20)
        assert shoot(rename, system, "rename") == (system.scaled(225), system.scaled(90))
        # The label sizes itself to its caption in the dialog's font: 12 pixels at 96 DPI.
        label_height = rename["Label1"].rect[3] - rename["Label1"].rect[1]
        assert system.scaled(12) <= label_height <= system.scaled(17)
        h.key(ESCAPE_CLOSES)
        assert rename.gone()

        main.click("OtherSetBtn")
        other = dh.Dialog("TOtherSetDlg", timeout=20)
        assert shoot(other, system, "other") == (system.scaled(273), system.scaled(105))
        assert place_in_client(other, "MouseMoveBar") == tuple(system.scaled(v) for v in (32, 32, 208, 35))
        label = other["Label1"].rect
        assert system.scaled(12) <= label[3] - label[1] <= system.scaled(17)
        # The long caption is measured in the scaled font: wider than at 96 DPI.
        assert label[2] - label[0] >= system.scaled(200)
        h.key(ESCAPE_CLOSES)
        assert other.gone()


def test_theme_settings_dialog_and_its_pages_scale(system):
    th.make_bmp("p0.bmp")
    h.write_ini(dh.names_ini(["花"]) + "[Theme0]\nImageCount=1\nImage0=C:\\gt\\p0.bmp\nMonitors=2\n")
    with h.Scr() as scr:
        d = th.open_theme_dialog(scr)
        dialog = dh.Dialog("TSetDialog")
        assert client_size(d.hwnd) == (system.scaled(593), system.scaled(414))
        assert place_in_client(dialog, "SetPageControl") == tuple(system.scaled(v) for v in (0, 0, 593, 377))
        assert place_in_client(dialog, "OKBtn") == tuple(system.scaled(v) for v in (136, 382, 153, 29))
        pages = dialog["SetPageControl"].rect
        for index, name in enumerate(["images", "music", "effects", "other", "display"]):
            x, y = TAB_CENTRES[index]
            h.click(pages[0] + system.scaled(x), pages[1] + system.scaled(y))
            time.sleep(0.6)
            shoot(dialog, system, f"theme_{name}")
            sheet = ["ImageSheet", "BGMSheet", "EffectSheet", "EtcSheet", "DisplaySheet"][index]
            assert d.ctl(sheet).visible, f"page {name} did not open"
        # The monitors choice shows what the file says, inside its panel.
        assert d.checked("MonitorsRBtn2")
        box, panel = d.ctl("MonitorsBox").rect, d.ctl("Panel1").rect
        assert panel[0] < box[0] and box[2] < panel[2] and panel[1] < box[1] and box[3] < panel[3]
        h.key(ESCAPE_CLOSES)
        assert d.closed()
