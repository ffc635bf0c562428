"""Builds the help pages from their parts: every page shares one frame (head,
title bar, page list, footer); docs/help/<name>.part.html holds only what is
the page's own, a first line <title>…</title> (also its entry in the page
list) and its <main> element.

usage: help_pages.py SOURCE_DIR OUT_DIR HELP_TOPICS_H"""
import pathlib
import re
import shutil
import sys

# The page list, in the order a reader meets the pages.
ORDER = ["index", "themes", "images", "music", "effects",
         "other", "display", "names", "formats", "file", "trouble"]

FRAME = """<!DOCTYPE html>
<html lang="ja">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title} - Glimora ヘルプ</title>
<link rel="stylesheet" href="style.css">
</head>
<body>
<header class="site"><a href="index.html">Glimora ヘルプ</a></header>
<nav class="pages" aria-label="ヘルプのページ">
<ul>
{nav}</ul>
</nav>
{main}<footer>Glimora スライドショー・スクリーンセーバー</footer>
</body>
</html>
"""


def read_part(path):
    text = path.read_text(encoding="utf-8")
    first, main = text.split("\n", 1)
    title = re.fullmatch(r"<title>(.+)</title>", first)
    if not title or not main.startswith("<main>"):
        sys.exit(f"{path}: wants a <title> line, then the <main> element")
    return title.group(1), main


def nav(titles, current):
    items = []
    for name in ORDER:
        mark = ' aria-current="page"' if name == current else ""
        items.append(f'<li><a href="{name}.html"{mark}>{titles[name]}</a></li>\n')
    return "".join(items)


def topic_pages(header):
    """The pages the program's help contexts open (kHelpTopicPages)."""
    text = header.read_text(encoding="utf-8")
    block = re.search(r"kHelpTopicPages\[\] = \{(.*?)\};", text, re.S)
    if not block:
        sys.exit(f"{header}: no kHelpTopicPages list")
    return re.findall(r'"(\w+)\.html"', block.group(1))


def main(source, out, topics):
    parts = {p.name[:-len(".part.html")]: read_part(p) for p in source.glob("*.part.html")}
    if sorted(parts) != sorted(ORDER):
        sys.exit(f"help pages {sorted(parts)} differ from the page list {sorted(ORDER)}")
    missing = [name for name in topic_pages(topics) if name not in parts]
    if missing:
        sys.exit(f"{topics}: help contexts open pages that do not exist: {missing}")
    titles = {name: title for name, (title, _) in parts.items()}
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    shutil.copyfile(source / "style.css", out / "style.css")
    for name, (title, body) in parts.items():
        page = FRAME.format(title=title, nav=nav(titles, name), main=body)
        (out / f"{name}.html").write_bytes(page.encode("utf-8"))


if __name__ == "__main__":
    main(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]))
