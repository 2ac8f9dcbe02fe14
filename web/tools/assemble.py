#!/usr/bin/env python3
"""Puts the site together beside the compiled model: the page's own files,
the vendored uPlot, the icons, and the service worker with the list of
every file and a version that changes whenever one of them does.
    assemble.py PAGE_DIR UPLOT_DIST ICON_XPM SITE_DIR"""
import hashlib
import json
import os
import shutil
import sys

import icons

VENDORED = ("uPlot.esm.js", "uPlot.min.css")


def main():
    page, uplot, xpm, site = sys.argv[1:5]
    for name in os.listdir(page):
        if name != "sw.js":
            shutil.copyfile(os.path.join(page, name), os.path.join(site, name))
    for name in VENDORED:
        shutil.copyfile(os.path.join(uplot, name), os.path.join(site, name))
    _, pixels = icons.read_xpm(xpm)
    for size in (32, 192, 512):
        with open(os.path.join(site, f"icone-{size}.png"), "wb") as out:
            out.write(icons.png(pixels, size))
    files = sorted(n for n in os.listdir(site) if n != "sw.js")
    digest = hashlib.sha256()
    for name in files:
        with open(os.path.join(site, name), "rb") as f:
            digest.update(name.encode() + f.read())
    worker = open(os.path.join(page, "sw.js"), encoding="utf-8").read()
    worker = worker.replace("@VERSION@", digest.hexdigest()[:12])
    worker = worker.replace("@FILES@", json.dumps(["./"] + files))
    with open(os.path.join(site, "sw.js"), "w", encoding="utf-8") as out:
        out.write(worker)


if __name__ == "__main__":
    main()
