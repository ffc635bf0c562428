"""The help pages as a user's browser shows them: Debian's chromium, headless,
loads every page that ships beside Glimora.scr; every link and anchor between
the pages resolves; the pages are plain (no script, nothing from outside),
share one style sheet and fit a narrow window and 200 % zoom without
sideways scrolling. Screenshots of every page at 1280 x 800, 400 x 800 and at
200 % zoom are kept in the test output (artifacts/help/)."""
import html
import json
import pathlib
import re
import subprocess
import tempfile
from urllib.parse import urldefrag

import pytest
from PIL import Image

import harness as h

HELP = h.BIN / "help"
# Each page's own part (its title and <main>); the build sets it in the shared frame.
SOURCE = pathlib.Path(__file__).resolve().parents[2] / "docs" / "help"
SHOTS = h.ARTIFACTS / "help"
# The pages the dialogs' help contexts open, as the program lists them.
CONTEXT_PAGES = re.findall(r'"(\w+\.html)"', re.search(
    r"kHelpTopicPages\[\] = \{(.*?)\};",
    (SOURCE.parents[1] / "src" / "app" / "HelpTopics.h").read_text(encoding="utf-8"), re.S).group(1))
PAGE_BACKGROUND = "rgb(251, 250, 247)"   # body of style.css: proves the sheet was applied
HEADER = (45, 74, 107)                    # the title bar of every page
# Widths in CSS pixels a page must fit: a narrow window, and 1280 at 200 % zoom.
NARROW_WIDTHS = [400, 640]


def pages():
    return sorted(p.name for p in HELP.glob("*.html"))


def chromium(*args, timeout=120):
    with tempfile.TemporaryDirectory() as profile:
        return subprocess.run(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
             "--no-first-run", "--mute-audio", f"--user-data-dir={profile}", *args],
            capture_output=True, timeout=timeout, cwd=profile)


# The browser's own view of every page at every width, gathered in one run:
# a survey page of our own (never shipped) frames each page and reads, after
# everything has loaded, what the browser made of it.
SURVEY_SCRIPT = """
window.onload = function () {
  var out = [];
  document.querySelectorAll('iframe').forEach(function (f) {
    var r = {page: f.dataset.page, width: Number(f.dataset.width)};
    var d = f.contentDocument;
    r.loaded = !!(d && d.body && d.body.children.length);
    if (r.loaded) {
      var root = d.documentElement;
      r.title = d.title;
      r.h1 = Array.from(d.querySelectorAll('h1')).map(function (e) { return e.textContent; });
      r.background = getComputedStyle(d.body).backgroundColor;
      r.overflow = root.scrollWidth - root.clientWidth;
      r.links = Array.from(d.querySelectorAll('a[href]')).map(function (a) { return a.getAttribute('href'); });
      r.ids = Array.from(d.querySelectorAll('[id]')).map(function (e) { return e.id; });
      r.scripts = d.querySelectorAll('script, iframe, object, embed').length;
      r.sources = Array.from(d.querySelectorAll('[src], link[href]')).map(function (e) {
        return e.getAttribute('src') || e.getAttribute('href'); });
      r.current = Array.from(d.querySelectorAll('nav a[aria-current=page]')).map(function (a) {
        return a.getAttribute('href'); });
    }
    out.push(r);
  });
  document.getElementById('out').textContent = JSON.stringify(out);
};
"""


@pytest.fixture(scope="module")
def survey():
    frames = "\n".join(
        f'<iframe data-page="{p}" data-width="{w}" src="{(HELP / p).as_uri()}" '
        f'style="width:{w}px;height:800px;border:0"></iframe>'
        for p in pages() for w in [1280] + NARROW_WIDTHS)
    with tempfile.TemporaryDirectory() as tmp:
        page = pathlib.Path(tmp) / "survey.html"
        page.write_text(f'<!DOCTYPE html><meta charset="utf-8"><pre id="out"></pre>{frames}'
                        f'<script>{SURVEY_SCRIPT}</script>', encoding="utf-8")
        r = chromium("--allow-file-access-from-files", "--virtual-time-budget=10000", "--dump-dom",
                     page.as_uri())
    dom = r.stdout.decode("utf-8", "replace")
    start, end = dom.find('<pre id="out">'), dom.find("</pre>")
    assert start >= 0 and end > start, f"the survey page did not run:\n{r.stderr.decode()[-2000:]}"
    rows = json.loads(html.unescape(dom[start + len('<pre id="out">'):end]))
    return {(row["page"], row["width"]): row for row in rows}


def test_the_shipped_pages_are_built_from_the_sources_and_cover_every_help_context():
    assert pages(), f"no help pages in {HELP}"
    assert set(pages()) >= {"index.html", *CONTEXT_PAGES}
    parts = {f.name[:-len(".part.html")] + ".html": f for f in SOURCE.glob("*.part.html")}
    assert sorted(parts) == pages()
    assert sorted(f.name for f in HELP.iterdir()) == sorted([*pages(), "style.css"])
    assert (HELP / "style.css").read_bytes() == (SOURCE / "style.css").read_bytes()
    for name, part in parts.items():
        title, main = part.read_text(encoding="utf-8").split("\n", 1)
        page = (HELP / name).read_text(encoding="utf-8")
        assert title.replace("</title>", " - Glimora ヘルプ</title>") in page, name
        assert main in page, name


def test_every_page_loads_with_the_common_style(survey):
    for p in pages():
        row = survey[(p, 1280)]
        assert row["loaded"], p
        assert row["title"].endswith("Glimora ヘルプ"), p
        assert len(row["h1"]) == 1 and row["h1"][0].strip(), p
        assert row["background"] == PAGE_BACKGROUND, f"{p}: style.css not applied"
        assert row["current"] == [p], f"{p}: the page list does not mark this page"


def test_pages_are_plain_and_need_nothing_from_outside(survey):
    for p in pages():
        row = survey[(p, 1280)]
        assert row["scripts"] == 0, p
        assert row["sources"] == ["style.css"], p
        assert "<script" not in (HELP / p).read_text(encoding="utf-8").lower(), p


def test_every_link_and_anchor_between_the_pages_resolves(survey):
    ids = {p: set(survey[(p, 1280)]["ids"]) for p in pages()}
    reachable, queue = {"index.html"}, ["index.html"]
    for p in pages():
        row = survey[(p, 1280)]
        assert len(row["ids"]) == len(ids[p]), f"{p}: an id is used twice"
        for href in row["links"]:
            target, anchor = urldefrag(href)
            assert ":" not in target and not target.startswith("/"), f"{p}: link out of the help: {href}"
            target = target or p
            assert target in ids, f"{p}: link to a missing page: {href}"
            if anchor:
                assert anchor in ids[target], f"{p}: link to a missing anchor: {href}"
    while queue:  # every page can be reached from the start page
        for href in survey[(queue.pop(), 1280)]["links"]:
            target = urldefrag(href)[0]
            if target and target not in reachable:
                reachable.add(target)
                queue.append(target)
    assert reachable == set(pages())


def test_pages_fit_a_narrow_window_and_200_percent_zoom(survey):
    for p in pages():
        for w in NARROW_WIDTHS:
            row = survey[(p, w)]
            assert row["loaded"], (p, w)
            assert row["overflow"] <= 0, f"{p} scrolls sideways by {row['overflow']} px at {w} px"


def dark_pixels(img, box):
    """Pixels of text colour (near black) inside box."""
    return sum(1 for px in img.crop(box).getdata() if max(px) < 70)


@pytest.mark.parametrize("page", pages())
def test_screenshots_show_the_page(page):
    SHOTS.mkdir(parents=True, exist_ok=True)
    stem = page[:-len(".html")]
    views = [("1280x800", ["--window-size=1280,800"]),
             ("400x800", ["--window-size=400,800"]),
             ("zoom200", ["--window-size=640,400", "--force-device-scale-factor=2"])]
    for name, args in views:
        shot = SHOTS / f"{stem}-{name}.png"
        shot.unlink(missing_ok=True)
        chromium(*args, f"--screenshot={shot}", (HELP / page).as_uri())
        assert shot.exists(), f"no screenshot of {page} at {name}"
        img = Image.open(shot).convert("RGB")
        w, hgt = img.size
        assert (w, hgt) == ((400, 800) if name == "400x800" else (1280, 800))
        assert img.getpixel((4, 4)) == HEADER, f"{page} {name}: no title bar"
        assert dark_pixels(img, (0, hgt // 4, w, hgt)) > 500, f"{page} {name}: no text"
        # Nothing is cut at the right edge: no text in the last columns.
        assert dark_pixels(img, (w - 4, 0, w, hgt)) == 0, f"{page} {name}: text runs off the right edge"
