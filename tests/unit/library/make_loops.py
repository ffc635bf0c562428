"""Makes the link-loop tree for the library tests: symbolic links on the
host are what Wine shows as folder links (junctions). Usage: make_loops.py DIR"""
import os
import shutil
import sys

root = sys.argv[1]
shutil.rmtree(root, ignore_errors=True)
os.makedirs(os.path.join(root, "a", "b"))
for rel in ("top.bmp", "a/one.bmp", "a/b/two.bmp"):
    with open(os.path.join(root, rel), "wb") as f:
        f.write(b"BM")
os.symlink("..", os.path.join(root, "a", "b", "back-to-a"))   # a loop to the parent
os.symlink(".", os.path.join(root, "a", "self"))              # a loop to itself
os.symlink("a/b", os.path.join(root, "twin"))                 # a second way to a folder
os.symlink("/nonexistent-glimora-target", os.path.join(root, "dangling"))
