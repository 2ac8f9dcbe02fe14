#!/usr/bin/env python3
"""Puts the site together beside the compiled model: the page's own files,
the vendored uPlot, the icons, the French manual as HTML, and the service
worker with the list of every file and a version that changes whenever one
of them does.
    assemble.py PAGE_DIR UPLOT_DIST ICON_XPM SITE_DIR MANUAL_MD CMAKELISTS ENGINE_DIR SCHEMA_JSON
                FORM_HTML FORM_CSS"""
import base64
import hashlib
import json
import os
import re
import shutil
import sys

import markdown

import icons

VENDORED = ("uPlot.esm.js", "uPlot.min.css")
# Asked for by these names (the address, the worker, the version, the
# browser's manifest, the names' map): they keep them and are revalidated.
# Every other file takes the site's fingerprint in its name and may be
# cached for ever.
STABLE = {"index.html", "sw.js", "version.json", "manifest.webmanifest", "fichiers.json"}
TEXT = (".html", ".js", ".css", ".webmanifest", ".json")


def release(cmakelists):
    text = open(cmakelists, encoding="utf-8").read()
    return re.search(r"project\(kelvora VERSION ([0-9.]+)", text).group(1)


def write_manual(manual, site):
    """The manual the desktop shows, for the page's « Aide »."""
    text = open(manual, encoding="utf-8").read()
    html = markdown.markdown(text, extensions=["tables", "fenced_code"])
    with open(os.path.join(site, "manuel.html"), "w", encoding="utf-8") as out:
        out.write(html)


def embed_form(schema, form_html, form_css, site):
    """The calculator's form in the page, before the engine has loaded: its
    description (for the script; "</" escaped so the JSON cannot end its
    element) and its markup drawn at build time; its places at the end of
    the page's stylesheet."""
    data = json.dumps(json.load(open(schema, encoding="utf-8")), ensure_ascii=False)
    index = os.path.join(site, "index.html")
    text = open(index, encoding="utf-8").read()
    text = text.replace("@SCHEMA@", data.replace("</", "<\\/"))
    text = text.replace("@FORMULAIRE@", open(form_html, encoding="utf-8").read())
    with open(index, "w", encoding="utf-8") as out:
        out.write(text)
    with open(os.path.join(site, "style.css"), "a", encoding="utf-8") as out:
        out.write(open(form_css, encoding="utf-8").read())


def inline_boot(site):
    """boot.js into the page, where its tag stands: a script that runs before
    anything is fetched, and that the service worker need not hold apart."""
    index = os.path.join(site, "index.html")
    boot = os.path.join(site, "boot.js")
    script = open(boot, encoding="utf-8").read()
    if "</script" in script.lower():
        sys.exit("boot.js may not contain </script")
    text = open(index, encoding="utf-8").read()
    tag = '<script src="boot.js"></script>'
    if text.count(tag) != 1:
        sys.exit("index.html must load boot.js exactly once")
    with open(index, "w", encoding="utf-8") as out:
        out.write(text.replace(tag, "<script>" + script + "</script>"))
    os.remove(boot)


def allow_inline_scripts(site):
    """The page's policy lets run the inline scripts it holds, by the hash of
    their text as served (file names already fingerprinted), and no other."""
    index = os.path.join(site, "index.html")
    text = open(index, encoding="utf-8").read()
    hashes = ["'sha256-{}'".format(base64.b64encode(hashlib.sha256(body.encode()).digest()).decode())
              for body in re.findall(r"<script>(.*?)</script>", text, re.S)]
    policy = "script-src 'self' 'wasm-unsafe-eval'"
    if text.count(policy + ";") != 1:
        sys.exit("index.html's policy must name script-src once")
    text = text.replace(policy + ";", " ".join([policy] + hashes) + ";")
    with open(index, "w", encoding="utf-8") as out:
        out.write(text)


def fingerprint(site, tag):
    """Renames every file but the stable ones NAME.TAG.EXT and rewrites the
    quoted references to them; the map goes in fichiers.json."""
    names = sorted((n for n in os.listdir(site) if n not in STABLE), key=len, reverse=True)
    renamed = {n: "{0}.{1}{2}".format(*os.path.splitext(n)[:1], tag, os.path.splitext(n)[1])
               for n in names}
    # A name between quotes, a slash or a bracket: never part of a longer name.
    pattern = re.compile(r"(?<=[\"'/(])(" + "|".join(map(re.escape, names)) + r")(?=[\"')?#])")
    for name in os.listdir(site):
        if not name.endswith(TEXT):
            continue
        path = os.path.join(site, name)
        text = open(path, encoding="utf-8").read()
        new = pattern.sub(lambda m: renamed[m.group(1)], text)
        if new != text:
            with open(path, "w", encoding="utf-8") as out:
                out.write(new)
    for old, new in renamed.items():
        os.replace(os.path.join(site, old), os.path.join(site, new))
    with open(os.path.join(site, "fichiers.json"), "w", encoding="utf-8") as out:
        json.dump(renamed, out, sort_keys=True)


def main():
    page, uplot, xpm, site, manual, cmakelists, engine, schema, form_html, form_css = sys.argv[1:11]
    shutil.rmtree(site, ignore_errors=True)  # made anew: no earlier build's names remain
    os.makedirs(site)
    for name in os.listdir(engine):
        if name.endswith((".js", ".wasm")):
            shutil.copyfile(os.path.join(engine, name), os.path.join(site, name))
    write_manual(manual, site)
    for name in os.listdir(page):
        if name != "sw.js":
            shutil.copyfile(os.path.join(page, name), os.path.join(site, name))
    embed_form(schema, form_html, form_css, site)
    inline_boot(site)
    for name in VENDORED:
        shutil.copyfile(os.path.join(uplot, name), os.path.join(site, name))
    _, pixels = icons.read_xpm(xpm)
    for size in (32, 192, 512):
        with open(os.path.join(site, f"icone-{size}.png"), "wb") as out:
            out.write(icons.png(pixels, size))
    # The page's header colour around the drawing; 40 pixels × 12 = 480.
    maskable = icons.padded(pixels, 4, (0x20, 0x30, 0x5A))
    with open(os.path.join(site, "icone-masquable.png"), "wb") as out:
        out.write(icons.png(maskable, 480))
    files = sorted(n for n in os.listdir(site) if n not in ("sw.js", "version.json", "fichiers.json"))
    digest = hashlib.sha256()
    for name in files:
        with open(os.path.join(site, name), "rb") as f:
            digest.update(name.encode() + f.read())
    with open(os.path.join(site, "version.json"), "w", encoding="utf-8") as out:
        json.dump({"version": release(cmakelists), "empreinte": digest.hexdigest()[:12]}, out)
    fingerprint(site, digest.hexdigest()[:8])
    allow_inline_scripts(site)
    files = sorted(n for n in os.listdir(site) if n not in ("sw.js", "version.json"))
    worker = open(os.path.join(page, "sw.js"), encoding="utf-8").read()
    worker = worker.replace("@VERSION@", digest.hexdigest()[:12])
    worker = worker.replace("@FILES@", json.dumps(["./", "version.json"] + files))
    with open(os.path.join(site, "sw.js"), "w", encoding="utf-8") as out:
        out.write(worker)


if __name__ == "__main__":
    main()
