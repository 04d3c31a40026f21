#!/usr/bin/env python3
"""Writes data/Gojuon.txt: kana in the order of the syllabary (五十音順).

The file lists, in this order, the way Japanese indexes go (digits, Latin
letters, kana, kanji):

1. the digits, ASCII and full-width side by side: 0 ０ 1 １ … 9 ９;
2. the Latin letters, each upper then lower case, ASCII then full-width:
   A Ａ a ａ B Ｂ b ｂ … z ｚ;
3. the kana by sound, in the order あいうえお かきくけこ … やゆよ らりるれろ
   わゐゑをん. Within one sound: the small form, the plain form, the voiced
   form, the semi-voiced form; within each of those hiragana, katakana,
   half-width katakana. For example ぁ ァ ｧ あ ア ｱ, and か… is ゕ ヵ か カ ｶ
   が ガ, and は… is ㇵ は ハ ﾊ ば バ ぱ パ;
4. the iteration and long-sound marks ゝ ゞ ヽ ヾ ー ｰ, then the voicing
   marks, each as the combining mark, the spacing one, the half-width one:
   U+3099 ゛ ﾞ U+309A ゜ ﾟ;
5. the kanji, in the order of data/BushuKakusuu.txt (radical, strokes).

Everything else (spaces, punctuation, symbols) is not listed and so sorts
before all of these, by code unit.

The places of the kana that are not plain modern syllables:
- ゐ ヰ (wi) and ゑ ヱ (we) are sounds of their own between わ and を, as in
  the syllabary; ヸ ヹ are their voiced forms, ヷ and ヺ those of ワ and ヲ,
  ゔ ヴ that of う;
- every small kana is the small form of its sound: ゕ ヵ of か, ゖ ヶ of け,
  っ ッ ｯ of つ, ゎ ヮ of わ; so are the small katakana of the Katakana
  Phonetic Extensions block (ㇰ of ク … ㇿ of ロ) and of the Small Kana
  Extension block (𛄲 𛅕 of こ, 𛅐 𛅤 of ゐ, 𛅑 𛅥 of ゑ, 𛅒 𛅦 of を, 𛅧 of ん);
- the digraphs ゟ (より) and ヿ (コト) follow all forms of よ and of こ, where
  a word written with them would stand among words written in full;
- the punctuation of the blocks (゠ ・ ｡ ｢ ｣ ､ ･) is not listed;
- not listed either: the hentaigana, the archaic letters of the Kana
  Supplement and Kana Extended-A blocks (𛀀 𛀁 𛄟 … 𛄢, of sounds the modern
  syllabary has no place for) and the Minnan tone letters of Kana
  Extended-B.

Every letter and mark of the Hiragana, Katakana, Katakana Phonetic
Extensions and Small Kana Extension blocks and of the half-width katakana
(U+FF61 to U+FF9F) is listed; the generator stops if one has no place.
Which sound a kana has, and whether it is small, voiced or semi-voiced,
comes from its name and decomposition in UnicodeData.txt; the kanji from
Unihan (tools/make_bushu_order.py). Read from Debian's unicode-data package,
Unicode 15.0.0 (Debian 12's unicode-data 15.0.0-1).

The file is UTF-16LE with a byte-order mark, one character per line, CR LF,
supplementary characters as surrogate pairs.
"""
import os
import re
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_bushu_order as bushu  # noqa: E402

# The syllables as UnicodeData.txt names them, in the order of the syllabary.
SOUNDS = ("A I U E O KA KI KU KE KO SA SI SU SE SO TA TI TU TE TO NA NI NU NE NO "
          "HA HI HU HE HO MA MI MU ME MO YA YU YO RA RI RU RE RO WA WI WE WO N").split()

SMALL, PLAIN, VOICED, SEMI_VOICED, DIGRAPH = range(5)
HIRAGANA, KATAKANA, HALF_WIDTH = range(3)

# The ranges whose kana have a place; every letter and mark in them must.
KANA_RANGES = ((0x3040, 0x309F), (0x30A0, 0x30FF), (0x31F0, 0x31FF), (0xFF61, 0xFF9F),
               (0x1B130, 0x1B16F))

# Digraphs: the sound whose forms they follow.
DIGRAPHS = {0x309F: ("YO", HIRAGANA), 0x30FF: ("KO", KATAKANA)}

# After the kana, in this order.
MARKS = [0x309D, 0x309E, 0x30FD, 0x30FE, 0x30FC, 0xFF70,
         0x3099, 0x309B, 0xFF9E, 0x309A, 0x309C, 0xFF9F]

LETTER = re.compile(r"(HIRAGANA|KATAKANA|HALFWIDTH KATAKANA) LETTER (SMALL )?([A-Z]+)")
SCRIPTS = {"HIRAGANA": HIRAGANA, "KATAKANA": KATAKANA, "HALFWIDTH KATAKANA": HALF_WIDTH}


def read_unicode_data():
    """{code point: (name, general category, decomposition)}."""
    chars = {}
    with open(os.path.join(bushu.UNICODE, "UnicodeData.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.split(";")
            chars[int(fields[0], 16)] = (fields[1], fields[2], fields[5])
    return chars


def in_kana_ranges(c):
    return any(lo <= c <= hi for lo, hi in KANA_RANGES)


def kana_place(c, chars):
    """(sound, form, script) of a kana letter, or None for anything else."""
    name, _, decomposition = chars[c]
    m = LETTER.fullmatch(name)
    if not m:
        return None
    script = SCRIPTS[m.group(1)]
    parts = decomposition.split()
    if parts[:1] == ["<narrow>"]:
        sound, form, _ = kana_place(int(parts[1], 16), chars)
        return sound, form, script
    if len(parts) == 2 and parts[1] in ("3099", "309A"):
        sound, _, _ = kana_place(int(parts[0], 16), chars)
        return sound, VOICED if parts[1] == "3099" else SEMI_VOICED, script
    if parts:
        sys.exit("U+%04X %s: unexpected decomposition %s" % (c, name, decomposition))
    if m.group(3) not in SOUNDS:
        sys.exit("U+%04X %s: a sound the syllabary has no place for" % (c, name))
    return m.group(3), SMALL if m.group(2) else PLAIN, script


def kana_order(chars):
    """The kana of KANA_RANGES in syllabary order, then MARKS."""
    places = {}
    for c in chars:
        if not in_kana_ranges(c):
            continue
        place = kana_place(c, chars)
        if c in DIGRAPHS:
            sound, script = DIGRAPHS[c]
            place = sound, DIGRAPH, script
        if place is None:
            continue
        if place in places.values():
            sys.exit("U+%04X shares its place %r" % (c, place))
        places[c] = place
    kana = sorted(places, key=lambda c: (SOUNDS.index(places[c][0]),) + places[c][1:])
    listed = set(kana) | set(MARKS)
    for c in chars:
        if in_kana_ranges(c) and chars[c][1][0] in "LM" and c not in listed:
            sys.exit("U+%04X %s has no place" % (c, chars[c][0]))
    return kana + MARKS


def digits_and_letters():
    order = []
    for i in range(10):
        order += [0x30 + i, 0xFF10 + i]
    for i in range(26):
        order += [0x41 + i, 0xFF21 + i, 0x61 + i, 0xFF41 + i]
    return order


def main():
    order = digits_and_letters() + kana_order(read_unicode_data()) + bushu.radical_stroke_order()
    if len(set(order)) != len(order):
        sys.exit("a character is listed twice")
    print("Unicode %s" % bushu.unihan_version())
    bushu.write_order_file(bushu.output_path(sys.argv, "Gojuon.txt"), order)


if __name__ == "__main__":
    main()
