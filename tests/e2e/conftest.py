import pytest

import harness


@pytest.fixture(autouse=True)
def clean_state():
    """Every test starts with no Glimora running and no settings file."""
    harness.kill_all()
    harness.remove_ini()
    yield
    harness.kill_all()
