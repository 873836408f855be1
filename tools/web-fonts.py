#!/usr/bin/python3
"""Cuts the two Gothic faces down to the characters of the program's own texts
and writes them as WOFF2 for the site, renamed as the font licence asks of a
derived font. Usage: web-fonts.py OUTDIR SOURCE...

Every character outside ASCII in the sources (the texts, the layouts' family
names, the page) is kept, written as itself or as an escape, with printable
ASCII in full for the Latin credits and error reports, and the full-width
digits, which the item numbers are computed from."""
import re
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

FACES = {  # what the layouts name, the face standing in, the derived name
    "gothic": ("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", "tolvane Gothic"),
    "pgothic": ("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", "tolvane P Gothic"),
}


def main():
    out, sources = Path(sys.argv[1]), sys.argv[2:]
    text = {chr(c) for c in [*range(0x20, 0x7F), *range(0xFF10, 0xFF1A)]}
    for source in sources:
        code = Path(source).read_text(encoding="utf-8")
        # What the page tells search engines and link previews is never drawn.
        code = re.sub(r"<meta [^>]*>", "", code)
        text |= {c for c in code if ord(c) > 0x7F}
        text |= {chr(int(h, 16)) for h in re.findall(r"\\u([0-9A-Fa-f]{4})", code)}
    out.mkdir(parents=True, exist_ok=True)
    for stem, (path, name) in FACES.items():
        options = subset.Options()
        options.flavor = "woff2"
        options.hinting = False
        options.name_IDs = [0, 1, 2, 3, 4, 5, 6]
        options.name_languages = ["*"]
        font = TTFont(path)
        subsetter = subset.Subsetter(options)
        subsetter.populate(text="".join(sorted(text)))
        subsetter.subset(font)
        for record in font["name"].names:
            if record.nameID in (1, 3, 4, 6):
                plain = name.replace(" ", "") if record.nameID == 6 else name
                record.string = plain
        font.flavor = "woff2"
        font.save(out / f"{stem}.woff2")


if __name__ == "__main__":
    main()
