#!/usr/bin/env python3
"""Writes data/Kakusuu.txt: the CJK ideographs by total stroke count.

The order of a dictionary's total-stroke index (総画索引). It lists the
characters of data/BushuKakusuu.txt, ordered by

1. the total stroke count as Japanese writing counts it. Where Unihan's
   kRSAdobe_Japan1_6 has a C+ entry (a glyph of the Adobe-Japan1 set, whose
   shapes are the Japanese ones) the first such entry gives it: the strokes
   of the radical's form plus the residual strokes. Otherwise kTotalStrokes
   gives it, its last value where it has two: the first is for simplified
   forms;
2. then the radical and residual strokes, as data/BushuKakusuu.txt orders
   them (tools/make_bushu_order.py);
3. then the code point (already the last key of 2).

Read from Debian's unicode-data package: Unihan_RadicalStrokeCounts.txt
(kRSAdobe_Japan1_6), Unihan_IRGSources.txt (kTotalStrokes, kRSUnicode) and
UnicodeData.txt, of Unicode 15.0.0 (Debian 12's unicode-data 15.0.0-1).
Of its 98,060 characters, 13,457 take their count from kRSAdobe_Japan1_6
and 84,603 from kTotalStrokes; one of those, U+2A060 𪁠, from a second
value (17, not 18). The two other characters with two kTotalStrokes values,
U+8303 范 and U+9AA8 骨, have kRSAdobe_Japan1_6 entries. The counts run from
1 to 84. The generator prints these figures, so a newer Unihan shows what
changed.

The file is UTF-16LE with a byte-order mark, one character per line, CR LF,
supplementary characters as surrogate pairs.
"""
import bz2
import os
import re
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_bushu_order as bushu  # noqa: E402


def read_field(file_name, field):
    """{code point: value} of one Unihan field."""
    values = {}
    tab = "\t%s\t" % field
    with bz2.open(os.path.join(bushu.UNICODE, file_name), "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or tab not in line:
                continue
            code, _, value = line.rstrip("\n").split("\t")
            values[int(code[2:], 16)] = value
    return values


def adobe_japan1_strokes(value):
    """The total of the first C+ entry of a kRSAdobe_Japan1_6 value, or None."""
    for entry in value.split(" "):
        m = re.fullmatch(r"([CV])\+\d+\+\d+\.(\d+)\.(\d+)", entry)
        if not m:
            sys.exit("unexpected kRSAdobe_Japan1_6 entry %r" % entry)
        if m.group(1) == "C":
            return int(m.group(2)) + int(m.group(3))
    return None


def total_strokes(value):
    """The last of the one or two counts of a kTotalStrokes value."""
    counts = value.split(" ")
    if not 1 <= len(counts) <= 2 or not all(c.isdigit() for c in counts):
        sys.exit("unexpected kTotalStrokes value %r" % value)
    return int(counts[-1])


def stroke_counts(chars):
    """{code point: total strokes} for CHARS, and how many came from where."""
    adobe = read_field("Unihan_RadicalStrokeCounts.txt.bz2", "kRSAdobe_Japan1_6")
    total = read_field("Unihan_IRGSources.txt.bz2", "kTotalStrokes")
    strokes = {}
    sources = {"kRSAdobe_Japan1_6": 0, "kTotalStrokes": 0, "kTotalStrokes, second value": 0}
    for c in chars:
        n = adobe_japan1_strokes(adobe[c]) if c in adobe else None
        if n is not None:
            sources["kRSAdobe_Japan1_6"] += 1
        elif c in total:
            n = total_strokes(total[c])
            sources["kTotalStrokes"] += 1
            if " " in total[c]:
                sources["kTotalStrokes, second value"] += 1
        else:
            sys.exit("U+%04X has no stroke count" % c)
        strokes[c] = n
    return strokes, sources


def main():
    radical_order = bushu.radical_stroke_order()
    place = {c: i for i, c in enumerate(radical_order)}
    strokes, sources = stroke_counts(radical_order)
    order = sorted(radical_order, key=lambda c: (strokes[c], place[c]))
    print("Unihan %s; stroke counts %d to %d; %s" % (
        bushu.unihan_version(), min(strokes.values()), max(strokes.values()),
        ", ".join("%s: %d" % kv for kv in sources.items())))
    bushu.write_order_file(bushu.output_path(sys.argv, "Kakusuu.txt"), order)


if __name__ == "__main__":
    main()
