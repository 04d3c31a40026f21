#!/usr/bin/env python3
"""The order files in data/, each whole file against what it is meant to be.

All three: UTF-16LE with a mark, below 4 MiB, one character per line ended
by CR LF, every character once, none the loader would drop.
Kakusuu.txt: the characters of BushuKakusuu.txt; the Japanese total stroke
count never decreases, and within one count BushuKakusuu.txt's order holds.
Gojuon.txt: digits, Latin letters, kana, marks, then BushuKakusuu.txt; each
sound's forms stand together, small, plain, voiced, semi-voiced, each as
hiragana, katakana, half-width; no letter or mark of the kana blocks is
missing. The kana's sounds come from the tables written out below, not from
the generator's reading of the character names.

Reads Unicode's data from Debian's unicode-data package. Takes the files
from data/, or from the folder given as its argument. Prints one line per
failure and a summary; exits 1 on any failure.
"""
import bz2
import os
import re
import sys

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
UNICODE = "/usr/share/unicode"
failures = []
passed = 0


def check(what, ok, detail=""):
    global passed
    if ok:
        passed += 1
    else:
        failures.append("failed: %s%s" % (what, ": " + detail if detail else ""))


def read_order_file(name):
    """The characters of data/NAME, after checking its layout."""
    with open(os.path.join(DATA, name), "rb") as f:
        data = f.read()
    check(name + ": below 4 MiB", len(data) < 4194304, "%d bytes" % len(data))
    check(name + ": byte-order mark", data[:2] == b"\xff\xfe")
    try:
        text = data[2:].decode("utf-16-le")  # strict: a lone surrogate fails
    except UnicodeDecodeError as e:
        check(name + ": valid UTF-16LE", False, str(e))
        return []
    lines = text.split("\r\n")
    check(name + ": ends with CR LF", lines[-1] == "")
    chars = lines[:-1]
    bad = [c for c in chars if len(c) != 1 or c <= " " or c == "\ufeff"]
    check(name + ": one character per line, none the loader drops", not bad, repr(bad[:5]))
    seen, twice = set(), []
    for c in chars:
        if c in seen:
            twice.append(c)
        seen.add(c)
    check(name + ": every character once", not twice, "twice: %s" % " ".join(twice[:10]))
    return chars


def unihan_field(file_name, field):
    values = {}
    with bz2.open(os.path.join(UNICODE, file_name), "rt", encoding="utf-8") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if len(parts) == 3 and parts[1] == field:
                values[chr(int(parts[0][2:], 16))] = parts[2]
    return values


def japanese_strokes(adobe, total):
    """The first C+ entry of kRSAdobe_Japan1_6 (radical form's strokes plus
    residual strokes), else the last value of kTotalStrokes."""
    for entry in (adobe or "").split():
        m = re.fullmatch(r"C\+\d+\+\d+\.(\d+)\.(\d+)", entry)
        if m:
            return int(m.group(1)) + int(m.group(2))
    return int(total.split()[-1])


def test_kakusuu(bushu):
    chars = read_order_file("Kakusuu.txt")
    check("Kakusuu.txt: the characters of BushuKakusuu.txt", set(chars) == set(bushu),
          "%d against %d" % (len(chars), len(bushu)))
    adobe = unihan_field("Unihan_RadicalStrokeCounts.txt.bz2", "kRSAdobe_Japan1_6")
    total = unihan_field("Unihan_IRGSources.txt.bz2", "kTotalStrokes")
    place = {c: i for i, c in enumerate(bushu)}
    keys = [(japanese_strokes(adobe.get(c), total[c]), place.get(c, -1)) for c in chars]
    wrong = [i for i in range(1, len(keys)) if keys[i - 1] >= keys[i]]
    check("Kakusuu.txt: stroke counts never decrease, radical order within one",
          not wrong, " ".join("%s%s" % (chars[i - 1], chars[i]) for i in wrong[:10]))

    # Counts as a Japanese dictionary gives them, beside the sources.
    strokes = {c: k[0] for c, k in zip(chars, keys)}
    for c, n in {"一": 1, "乙": 1, "山": 3, "川": 3, "木": 4,
                 "以": 5,    # kTotalStrokes has 4, the Chinese count
                 "侮": 8,    # kTotalStrokes has 9, with 毋
                 "叱": 5, "\U00020B9F": 5, "崎": 11, "\uFA11": 12, "斉": 8, "齋": 17,
                 "鬱": 29,
                 "\U00029E3D": 18,  # 𩸽, 魚 and 花; kTotalStrokes has 19
                 }.items():
        check("Kakusuu.txt: %s (U+%04X) has %d strokes" % (c, ord(c), n), strokes.get(c) == n,
              str(strokes.get(c)))


# The syllabary, one plain hiragana per sound.
SOUNDS = ("あいうえお かきくけこ さしすせそ たちつてと なにぬねの はひふへほ "
          "まみむめも やゆよ らりるれろ わゐゑを ん").replace(" ", "")

# Small kana and the plain hiragana of their sound.
SMALL = dict(zip(
    "ぁぃぅぇぉゕゖっゃゅょゎ"
    "ァィゥェォヵヶッャュョヮ"
    "ｧｨｩｪｫｯｬｭｮ"
    "ㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
    "\U0001B132\U0001B150\U0001B151\U0001B152"
    "\U0001B155\U0001B164\U0001B165\U0001B166\U0001B167",
    "あいうえおかけつやゆよわ"
    "あいうえおかけつやゆよわ"
    "あいうえおつやゆよ"
    "くしすとぬはひふへほむらりるれろ"
    "こゐゑを"
    "こゐゑをん"))

# Plain katakana and half-width katakana, with their hiragana.
PLAIN_KATAKANA = dict(zip(
    "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヰヱヲン"
    "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ",
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわゐゑをん"
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"))

# Voiced and semi-voiced kana, with their plain form.
VOICED = dict(zip("がぎぐげござじずぜぞだぢづでどばびぶべぼゔ"
                  "ガギグゲゴザジズゼゾダヂヅデドバビブベボヴヷヸヹヺ",
                  "かきくけこさしすせそたちつてとはひふへほう"
                  "カキクケコサシスセソタチツテトハヒフヘホウワヰヱヲ"))
SEMI_VOICED = dict(zip("ぱぴぷぺぽパピプペポ", "はひふへほハヒフヘホ"))

MARKS = "ゝゞヽヾーｰ\u3099゛ﾞ\u309a゜ﾟ"


def script(c):
    if "\u3041" <= c <= "\u309f" or c in "\U0001B132\U0001B150\U0001B151\U0001B152":
        return 0
    if "\uff61" <= c <= "\uff9f":
        return 2
    return 1


def plain_hiragana(c):
    """The plain hiragana of a plain kana, or None."""
    if c in SOUNDS:
        return c
    return PLAIN_KATAKANA.get(c)


def kana_key(c):
    """(sound, form, script): form 0 small, 1 plain, 2 voiced, 3 semi-voiced."""
    if c in SMALL:
        return SOUNDS.index(SMALL[c]), 0, script(c)
    if c in VOICED:
        return SOUNDS.index(plain_hiragana(VOICED[c])), 2, script(c)
    if c in SEMI_VOICED:
        return SOUNDS.index(plain_hiragana(SEMI_VOICED[c])), 3, script(c)
    if plain_hiragana(c):
        return SOUNDS.index(plain_hiragana(c)), 1, script(c)
    return None


def kana_block_letters_and_marks():
    """Letters and marks (general category L or M) of the kana blocks."""
    ranges = []
    with open(os.path.join(UNICODE, "Blocks.txt"), encoding="utf-8") as f:
        for line in f:
            m = re.fullmatch(r"([0-9A-F]+)\.\.([0-9A-F]+); (.*)", line.strip())
            if m and m.group(3) in ("Hiragana", "Katakana", "Katakana Phonetic Extensions",
                                    "Small Kana Extension"):
                ranges.append((int(m.group(1), 16), int(m.group(2), 16)))
    check("Blocks.txt: four kana blocks", len(ranges) == 4)
    ranges.append((0xFF61, 0xFF9F))  # the half-width katakana
    found = []
    with open(os.path.join(UNICODE, "UnicodeData.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.split(";")
            code = int(fields[0], 16)
            if fields[2][0] in "LM" and any(lo <= code <= hi for lo, hi in ranges):
                found.append(chr(code))
    return found


def test_gojuon(bushu):
    chars = read_order_file("Gojuon.txt")
    digits = "".join(d + chr(ord(d) + 0xFEE0) for d in "0123456789")
    latin = "".join(u + chr(ord(u) + 0xFEE0) + u.lower() + chr(ord(u.lower()) + 0xFEE0)
                    for u in "ABCDEFGHIJKLMNOPQRSTUVWXYZ")
    head = digits + latin
    check("Gojuon.txt: digits, then Latin letters", "".join(chars[:len(head)]) == head,
          "".join(chars[:len(head)]))
    check("Gojuon.txt: 0 ０ 1 １ and A Ａ a ａ B", head.startswith("0０1１") and "9９AＡaａBＢ" in head)

    start = len(head)
    end = len(chars) - len(bushu)
    check("Gojuon.txt: kanji last, in the order of BushuKakusuu.txt", chars[end:] == bushu)
    kana = chars[start:end]
    check("Gojuon.txt: the marks after the kana", "".join(kana[-len(MARKS):]) == MARKS,
          " ".join(kana[-len(MARKS):]))
    kana = kana[:-len(MARKS)]

    # The digraphs follow the last form of their sound: ゟ that of よ, ヿ that of こ.
    for digraph, sound in (("ゟ", "よ"), ("ヿ", "こ")):
        i = kana.index(digraph) if digraph in kana else -1
        before = kana_key(kana[i - 1]) if i > 0 else None
        after = kana_key(kana[i + 1]) if 0 <= i < len(kana) - 1 else None
        check("Gojuon.txt: %s after the forms of %s" % (digraph, sound),
              before is not None and before[0] == SOUNDS.index(sound) and
              after is not None and after[0] == SOUNDS.index(sound) + 1,
              " ".join(kana[max(i - 2, 0):i + 3]))
    kana = [c for c in kana if c not in "ゟヿ"]

    unknown = [c for c in kana if kana_key(c) is None]
    check("Gojuon.txt: only kana between the letters and the marks", not unknown, " ".join(unknown))
    keys = [kana_key(c) for c in kana if c not in unknown]
    ordered = [c for c in kana if c not in unknown]
    wrong = [i for i in range(1, len(keys)) if keys[i - 1] >= keys[i]]
    check("Gojuon.txt: each sound's forms together, small, plain, voiced, semi-voiced, "
          "each hiragana, katakana, half-width", not wrong,
          " ".join("%s%s" % (ordered[i - 1], ordered[i]) for i in wrong[:10]))
    check("Gojuon.txt: every sound", sorted({k[0] for k in keys}) == list(range(len(SOUNDS))))
    check("Gojuon.txt: the sounds あ か … ん from the tables",
          "".join(c for c in ordered if c in SOUNDS) == SOUNDS)

    listed = set(chars)
    missing = [c for c in kana_block_letters_and_marks() if c not in listed]
    check("Gojuon.txt: every letter and mark of the kana blocks", not missing,
          " ".join("U+%04X" % ord(c) for c in missing))
    stray = [c for c in "゠・｡｢｣､･ 　、。" if c in listed]
    check("Gojuon.txt: no punctuation", not stray, " ".join(stray))


def cjk_ideographs():
    """The code points UnicodeData.txt names CJK ideographs, ranges included."""
    codes, first = set(), None
    with open(os.path.join(UNICODE, "UnicodeData.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.split(";")
            code, name = int(fields[0], 16), fields[1]
            if not re.match(r"<?CJK (COMPATIBILITY )?IDEOGRAPH", name, re.I):
                continue
            if name.endswith(", First>"):
                first = code
            elif name.endswith(", Last>"):
                codes.update(range(first, code + 1))
            else:
                codes.add(code)
    return codes


def test_bushu():
    bushu = read_order_file("BushuKakusuu.txt")
    ideographs = cjk_ideographs()
    other = [c for c in bushu if ord(c) not in ideographs]
    check("BushuKakusuu.txt: CJK ideographs only", not other, " ".join(other[:10]))
    return bushu


def main():
    global DATA
    if len(sys.argv) > 1:
        DATA = sys.argv[1]
    if not os.path.isdir(UNICODE):
        print("%s is missing: tools/setup installs unicode-data" % UNICODE, file=sys.stderr)
        return 1
    bushu = test_bushu()
    test_kakusuu(bushu)
    test_gojuon(bushu)
    for f in failures:
        print(f, file=sys.stderr)
    print("%d passed, %d failed" % (passed, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
