"""Every suite runs on a station of its own (see station.py): its displays and
a fresh copy of the template Wine prefix, opened before the test modules are
imported (harness reads WINEPREFIX and DISPLAY when it is imported) and
closed when the suite ends. GLIMORA_OWN_STATION=0 runs on the DISPLAY and
WINEPREFIX given instead, e.g. to watch a suite on your own screen."""
import os
import pathlib

import pytest

import probe
import station

BIN = pathlib.Path(os.environ.get("GLIMORA_BIN", pathlib.Path(__file__).resolve().parents[2] / "build" / "bin"))
BUILD = BIN.parent
# The probe: beside the program, or (for the 64-bit suites) the 32-bit build's.
TOOLS = pathlib.Path(os.environ.get("GLIMORA_TOOLS", BIN))


def _suite_name(config):
    files = [pathlib.Path(a.split("::")[0]) for a in config.args]
    stems = sorted({f.stem.removeprefix("test_") for f in files if f.suffix == ".py"})
    return "-".join(stems) if stems else "all"


def pytest_configure(config):
    config.addinivalue_line("markers", "managed_windows: the test runs with Wine's windows managed "
                            "(see station.managed_windows)")
    if os.environ.get("GLIMORA_OWN_STATION", "1") == "0":
        return
    template = os.environ.get("WINEPREFIX", str(BUILD / "wineprefix"))
    station.open_station(_suite_name(config), BUILD / "e2e", template, TOOLS / "wintool.exe")


def pytest_sessionfinish(session, exitstatus):
    # A failed suite leaves its prefix behind (build/e2e/<suite>/prefix) to be looked at.
    probe.stop()
    station.close_station(keep_prefix=exitstatus != 0)


@pytest.fixture(autouse=True)
def clean_state():
    """Every test starts with no Glimora running and no settings file."""
    import harness  # after pytest_configure: it reads the station's prefix on import
    harness.kill_all()
    harness.remove_ini()
    yield
    harness.kill_all()


@pytest.fixture(autouse=True)
def window_management(request):
    if request.node.get_closest_marker("managed_windows") and station.current:
        with station.managed_windows():
            yield
    else:
        yield
