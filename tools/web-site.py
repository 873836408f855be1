#!/usr/bin/python3
"""Writes the site as it is served: web-site.py STAGE SITE.

Every file of STAGE goes into SITE (emptied first) under a name that carries its content's
hash (tolvane.js as tolvane.1a2b3c4d5e.js), but for the page, its manifest, the service worker
and the fonts' licence texts, whose names are fixed; every mention of a file in the text files
is rewritten to its served name. A server may keep the hashed files for a year. The service
worker gets the list of files to keep and the build's own hash, which names its cache."""
import hashlib, json, re, shutil, sys
from pathlib import Path

stage, site = Path(sys.argv[1]), Path(sys.argv[2])
FIXED = ("index.html", "manifest.webmanifest", "sw.js")
TEXT = (".css", ".js", ".html", ".webmanifest")
files = sorted(p.relative_to(stage).as_posix() for p in stage.rglob("*") if p.is_file())
hashed = [f for f in files if f not in FIXED and not f.endswith(".txt")]
served = {}  # a file's name in STAGE: its name in SITE
digest = lambda data, n=10: hashlib.sha256(data).hexdigest()[:n]


def mention(name):  # the name whole, not as part of a longer one
    return re.compile(rf"(?<![\w./-]){re.escape(name)}(?![\w.-])")


def content(name):
    data = (stage / name).read_bytes()
    if not name.endswith(TEXT):
        return data
    text = data.decode()
    for old, new in served.items():
        text = mention(old).sub(new, text)
    return text.encode()


# A file is named once every file it mentions is: the fonts before the style sheet that
# mentions them, the WebAssembly before the glue that loads it.
shutil.rmtree(site, ignore_errors=True)
pending = list(hashed)
while pending:
    ready = [f for f in pending if not (f.endswith(TEXT) and any(
        o != f and o not in served and mention(o).search((stage / f).read_text()) for o in hashed))]
    if not ready:
        sys.exit(f"web-site: files that mention each other: {pending}")
    for f in ready:
        data, path = content(f), Path(f)
        served[f] = path.with_name(f"{path.stem}.{digest(data)}{path.suffix}").as_posix()
        (site / served[f]).parent.mkdir(parents=True, exist_ok=True)
        (site / served[f]).write_bytes(data)
        pending.remove(f)

fixed = {f: content(f) for f in files if f not in hashed and f != "sw.js"}
version = digest(b"".join(fixed.values()) + " ".join(sorted(served.values())).encode(), 16)
fixed["sw.js"] = content("sw.js").replace(b"@VERSION@", version.encode()).replace(
    b"@FILES@", ", ".join(json.dumps(n) for n in sorted(served.values())).encode())
for f, data in fixed.items():
    (site / f).parent.mkdir(parents=True, exist_ok=True)
    (site / f).write_bytes(data)
