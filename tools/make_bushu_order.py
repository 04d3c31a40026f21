#!/usr/bin/env python3
"""Writes data/BushuKakusuu.txt: the CJK ideographs in radical-stroke order.

Source: Unihan's kRSUnicode field from Debian's unicode-data package. Each
character sorts by its first value: the Kangxi radical number, then the
traditional form of the radical before its simplified forms (one apostrophe
or more), then the residual stroke count, then the code point. A
compatibility ideograph without a value of its own takes that of the
unified ideograph it decomposes to.

The file is UTF-16LE with a byte-order mark, one character per line, CR LF.
make_stroke_order.py and make_gojuon_order.py take their kanji order and
the writer from here.
"""
import bz2
import os
import re
import sys

UNICODE = "/usr/share/unicode"


def read_radical_strokes():
    rs = {}
    with bz2.open(os.path.join(UNICODE, "Unihan_IRGSources.txt.bz2"), "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or "\tkRSUnicode\t" not in line:
                continue
            code, _, value = line.rstrip("\n").split("\t")
            m = re.fullmatch(r"(\d+)('*)\.(-?\d+)", value.split(" ")[0])
            if not m:
                sys.exit("unexpected kRSUnicode value %r for %s" % (value, code))
            rs[int(code[2:], 16)] = (int(m.group(1)), len(m.group(2)), int(m.group(3)))
    return rs


def unihan_version(name="Unihan_IRGSources.txt.bz2"):
    """The Unicode version named in the header of a Unihan file."""
    with bz2.open(os.path.join(UNICODE, name), "rt", encoding="utf-8") as f:
        for line in f:
            if not line.startswith("#"):
                break
            if line.startswith("# Unicode version:"):
                return line.split(":", 1)[1].strip()
    sys.exit("no Unicode version in %s" % name)


def add_compatibility_ideographs(rs):
    with open(os.path.join(UNICODE, "UnicodeData.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.split(";")
            code, name, decomposition = int(fields[0], 16), fields[1], fields[5]
            if name.startswith("CJK COMPATIBILITY IDEOGRAPH") and code not in rs:
                target = int(decomposition.split()[0], 16) if decomposition else None
                if target in rs:
                    rs[code] = rs[target]


def radical_stroke_order():
    """The code points of the file, in its order."""
    rs = read_radical_strokes()
    add_compatibility_ideographs(rs)
    return sorted(rs, key=lambda c: (rs[c], c))


def output_path(argv, name):
    """argv[1] if given, else data/NAME beside this folder."""
    return argv[1] if len(argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data", name)


def write_order_file(out, order):
    """Writes the code points ORDER as an order file: UTF-16LE with a mark,
    one character per line, CR LF; supplementary ones as surrogate pairs."""
    text = "\ufeff" + "".join(chr(c) + "\r\n" for c in order)
    data = text.encode("utf-16-le")
    with open(out, "wb") as f:
        f.write(data)
    print("%s: %d characters, %d bytes" % (out, len(order), len(data)))


def main():
    write_order_file(output_path(sys.argv, "BushuKakusuu.txt"), radical_stroke_order())


if __name__ == "__main__":
    main()
