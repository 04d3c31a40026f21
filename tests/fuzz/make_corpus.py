#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into tests/fuzz/corpus/.

The files are committed; run this again only to change the seeds. Input
layouts are described at the top of each target's source.
"""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
CORPUS = os.path.join(HERE, "corpus")

# The compact encoding's units for bytes 0x80 and up, as in fuzz_support.h.
COMPACT = [
    0x3000, 0xFEFF, 0xFFFE, 0xFFFF, 0x0080, 0x00A0, 0x00A5, 0x00E9, 0x0100, 0x0660, 0x2015,
    0x2225, 0x20AC, 0x2460, 0x301C, 0xFF5E, 0xFF10, 0xFF11, 0xFF19, 0xFF21, 0xFF22, 0xFF41,
    0xFF42, 0xFF5A, 0xFF61, 0xFF71, 0xFF9F, 0x3042, 0x3044, 0x3046, 0x30A2, 0x30F3, 0x30BA,
    0x30D3, 0x4E00, 0x4E01, 0x4E02, 0x4E03, 0x4E04, 0x4E05, 0x4E06, 0x4E85, 0x4E9C, 0x5B57,
    0x6F22, 0x9ED2, 0x9FA0, 0x0410, 0x03B1, 0x2500, 0xE000, 0xF8F0, 0xD840, 0xDC00, 0xDC01,
    0xD869, 0xDED9, 0xD800, 0xDBFF, 0xDFFF, 0xD840, 0xDC00, 0xD840, 0xDC01, 0xD869, 0xDED9,
    0x30FC, 0xFF70, 0x309D, 0x309E, 0x30FD, 0x30FE, 0x3099, 0x309A, 0xFF9E, 0x309B, 0x309C,
    0x304B, 0x304C, 0x306F, 0x3071, 0x3083, 0x3084, 0x3063, 0x3093, 0x308F, 0x3094, 0x30AB,
    0x30F5, 0x30EF, 0x30F7, 0xFF76, 0xFF8A, 0xFF6C, 0x3003, 0x3013,
]

# Compact bytes of 0xE0 and up stand for these pieces in text, as in
# fuzz_support.h.
PIECES = [
    "2147483647", "2147483648", "4294967295", "4294967296", "4294967297", "3000000000",
    "18446744073709551615", "18446744073709551616", "18446744073709551617", "00000000000000000000",
    "99999999999999999999", "100000000000000000000", "0000000000000000000000000000001",
    "123456789012345678901234567890", "4547691689979", "4901234567890", "08011112222", "0312345678",
    "\U00020B9F", "\U00020BB7", "\U00020B80", "\U00020BFF", "\U00020000", "\U00020001", "\U00020400",
    "\ud842", "\udf9f", "\udfb7", "\udfb7\ud842", "\ud842\ud842\udf9f",
]


def piece(s):
    """The compact byte that stands for the piece s."""
    return bytes([0xE0 + PIECES.index(s)])


DESC, BLANKS, CASE, NUMERIC, UNICODE, ORDER, BUSHU, COMPACT_TEXT = (1 << i for i in range(8))


def units(s):
    """UTF-16 code units of s; lone surrogates may be given as \\ud800 etc."""
    b = s.encode("utf-16-le", "surrogatepass")
    return list(struct.unpack("<%dH" % (len(b) // 2), b))


def compact(s):
    out = bytearray()
    for u in units(s):
        out.append(u if u < 0x80 else 0x80 + COMPACT.index(u))
    return bytes(out)


def wide(s):
    return s.encode("utf-16-le", "surrogatepass")


def write(target, name, data):
    d = os.path.join(CORPUS, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


DICTIONARY = 1 << 8  # the second byte's bit 0


def sort_seed(name, options, text, table=None, table_flags=0, table_units=None):
    """options without BUSHU get a table byte: table_flags | len(table).
    Compact text and tables may be given as bytes, pieces among them; a
    table so given comes with its count of units."""
    enc = compact if options & COMPACT_TEXT else wide
    data = bytearray([options & 0xFF, options >> 8])
    if not options & BUSHU:
        t = table or ""
        if isinstance(t, bytes):
            data.append(table_flags | table_units)
            data += t
        else:
            data.append(table_flags | len(units(t)))
            data += enc(t)
    data += text if isinstance(text, bytes) else enc(text)
    write("fuzz_sort", name, bytes(data))


def sort_seeds():
    C = COMPACT_TEXT
    words = "\n".join(["pear", "apple", "Apple", "fig", "apple", "kiwi", "Fig", "date", "plum",
                       "lime", "a7", "a07", "b10", "b9", "", "pear", "APPLE", "x 1", "x\t1",
                       "x  1", "melon", "a7", "z", "Z", "zz"])
    sort_seed("plain_two", C, "b\na")
    sort_seed("descending", C | DESC, "b\na\nc\n")
    sort_seed("empty_middle", C, "a\n\nb")
    sort_seed("only_lfs", C, "\n\n\n")
    sort_seed("empty", C, "")
    sort_seed("one_line", C, "abc")
    sort_seed("nul_inside", C, "b\na\0c\nd")
    sort_seed("blanks", C | BLANKS, "ab\na b\na\tb\na   b")
    sort_seed("blanks_ideographic", C | BLANKS | UNICODE, "a\u3000\u3000b\na b\na\t \tb\n  lead\ntrail \t")
    sort_seed("case", C | CASE, "x\nX\nabc\nABC\naBc\n\uff41\n\uff21")
    # ビ is 83 72 and ズ 83 59 in code page 932: a folded trail byte would swap them.
    sort_seed("case_trail_bytes", C | CASE, "\u30d3\n\u30ba\nbr\nBR\n")
    sort_seed("numeric", C | NUMERIC,
              "ABC100\nABC20\nABC100x\n10a\n9z\na1b10\na1b2\n007\n7\nx007y\nx7y\na0\na00\n")
    sort_seed("numeric_wrap", C | NUMERIC,
              "4294967296\n0\n3000000000\n1\n2147483648\n0\n99999999999999999999999999\n"
              "18446744073709551616\n4294967295\n")
    sort_seed("numeric_units_wrap", C | NUMERIC | UNICODE | DESC,
              "2147483648\n0\n4294967296\n3000000000\n1\n\uff11\uff10\n12345678901234567890x\n")
    sort_seed("crlf", C, "b\r\na\r\nb")
    sort_seed("crlf_unicode", C | UNICODE, "b\r\na\r\nb\nc\r\r\n")
    sort_seed("many_lines", C, words)
    sort_seed("many_lines_all", C | DESC | BLANKS | CASE | NUMERIC, words)
    sort_seed("kanji_cp932", C, "\u6f22\u5b57\n\u3042\u3044\n\uff71\n\u00e9\n\u20ac\n\u4e00\na\n")
    sort_seed("surrogates", C | UNICODE,
              "\ud840\udc01\n\ud840\udc00\n\ud800\n\udc00\n\ud869\uded9\n\udfff\ud800\nz\n")
    sort_seed("surrogates_cp932", C | CASE, "\ud840\udc00\n?\n\ud800a\n\udc00b\n")
    sort_seed("order_small", C | UNICODE | ORDER, "B\nC\nA\nD\n", "ACB")
    sort_seed("order_mark_in_key", C | UNICODE | ORDER, "\ufeffx\nA\nz\nB", "AB")
    sort_seed("order_pairs", C | UNICODE | ORDER,
              "\ud840\udc00\n\ud840\udc01\n\ud869\uded9\nA\n\ud840\udc00A\n",
              "\ud869\uded9\ud840\udc01\ud840\udc00A")
    sort_seed("order_no_mark", C | UNICODE | ORDER, "b\na", "ACB", 0x40)
    sort_seed("order_missing", C | UNICODE | ORDER, "b\na", "", 0x80)
    sort_seed("order_missing_empty_text", C | UNICODE | ORDER, "", "", 0x80)
    sort_seed("order_mark_only", C | UNICODE | ORDER, "b\na", "\r\n")
    sort_seed("order_cp932", C | ORDER, "B\nC\nA", "ACB")
    sort_seed("order_all_options", C | 0x3F, "a  b\nA\tB\nb10\nB9\n\ud840\udc00\n", "BA\ud840\udc00")
    sort_seed("bushu", C | UNICODE | ORDER | BUSHU,
              "\u4e02\n\u4e00\n\ud869\uded9\n\u4e01\n\ud840\udc00\n\u6f22\u5b57\n\u3042\nA\n")
    sort_seed("bushu_cp932", C | ORDER | BUSHU, "\u4e02\n\u4e00\n\u4e01\n")
    phones = "07000001111 Kato\n08011112222 Sato\n0312345678 Suzuki\n09012345678 Tanaka\n" \
             "0451234567 Yamada\n09099998888 Ito\n"
    sort_seed("numeric_phones", C | NUMERIC, phones * 3)
    sort_seed("numeric_jan", C | NUMERIC | UNICODE,
              "4547691689979\n45\n4901234567890\n4987654321098\n4902000000001\n" * 3)
    sort_seed("numeric_pieces", C | NUMERIC | DESC,
              b"\n".join(piece(p) + b"x" for p in PIECES[:18]) * 2 + b"\ntel " + piece("3000000000"))
    sort_seed("numeric_one_big_run", C | NUMERIC | CASE, "a\nb\nB\n" * 10 + "tel 3000000000\n")
    sort_seed("bushu_shikaru_yoshi", C | UNICODE | ORDER | BUSHU,
              b"\n".join([piece("\U00020B9F"), piece("\U00020BB7")] * 20 + [piece("\ud842"), piece("\udfb7")]))
    sort_seed("order_one_block", C | UNICODE | ORDER,
              b"\n".join([piece("\U00020000"), piece("\U00020001"), piece("\U00020400"), piece("\ud842"),
                          b"A", piece("\ud842\ud842\udf9f")] * 4),
              piece("\U00020400") + piece("\U00020001") + piece("\U00020000"), table_units=6)
    sort_seed("wide_cp932", 0, "b\r\n\u6f22\u5b57\r\na\r\n\u00a5\u203e\n")
    sort_seed("wide_unicode", UNICODE | BLANKS, "b\n\u6f22\t\u5b57\n\U00020000\n\ud800\n\uffff\n")
    with open(os.path.join(ROOT, "data", "dictionary", "conformance.txt"), encoding="utf-8") as f:
        conformance = f.read()
    sort_seed("dictionary_conformance", DICTIONARY, "\n".join(reversed(conformance.split("\n")[:-1])))
    sort_seed("dictionary_conformance_numeric", DICTIONARY | NUMERIC | UNICODE | DESC, conformance)
    kana = "カード\nカアド\nきゃく\nきやく\nかゝ\nかか\nか\u3099\nが\nｶﾞ\nｶ\u3099\nわゞ\nわヾ\nー\nゝ\n" \
           "〃\n〓\nは\u309a\nぱ\nﾊﾟ\nンー\nンン\nａ\nA\na\n第3回\n第１２回\n7\n07\n７\n"
    sort_seed("dictionary_kana", DICTIONARY | NUMERIC, kana)
    sort_seed("dictionary_kana_case", DICTIONARY | CASE | BLANKS, kana * 2)
    sort_seed("dictionary_ranked", DICTIONARY | UNICODE | ORDER | NUMERIC, "山\n一\n漢\n\U00020B9F\nあ\n9\n10\n" * 3,
              "漢\U00020B9F山")
    sort_seed("dictionary_bushu", DICTIONARY | UNICODE | ORDER | BUSHU, "丂\n一\n丁\nか\nー\n" * 4)
    sort_seed("dictionary_wide", DICTIONARY, "ｶｰ\nカア\n\ud83d\n\ue000\n\U0001F600\n\u3099\n\t\n\x7f\n")


def order_seed(name, mode, file, keys):
    data = bytearray([mode]) + struct.pack("<H", len(file)) + file + keys
    write("fuzz_order", name, bytes(data))


def order_seeds():
    bom = b"\xff\xfe"
    acb = bom + wide("A\r\nC\r\nB\r\n")
    keys = compact("A\0C\0B\0D\0AB\0AC\0\0")
    order_seed("acb", 0x01, acb, keys)
    order_seed("acb_twice", 0x03, acb, keys)
    order_seed("acb_wide_keys", 0x00, acb, wide("A\0B\0a\0\u3000\0\ufeff"))
    order_seed("no_mark", 0x01, wide("A\r\nC\r\nB\r\n"), keys)
    order_seed("empty_file", 0x01, b"", keys)
    order_seed("one_byte", 0x01, b"\xff", keys)
    order_seed("mark_byte_odd", 0x01, bom + wide("AB") + b"C", keys)
    order_seed("big_endian", 0x01, b"\xfe\xff" + "ACB".encode("utf-16-be"), keys)
    order_seed("mark_and_breaks", 0x01, bom + wide("\r\n \t\r\n"), keys)
    # U+20400, U+20001, U+20000; keys pick file units: 0xC0 + unit index.
    pairs = bom + wide("\U00020400\n\U00020001\n\U00020000\nX\n")
    pick = bytes([0xC1, 0xC2, 0, 0xC4, 0xC5, 0, 0xC7, 0xC8, 0, 0xC1, 0xC8, 0, 0xC2, 0, 0xCA, 0, 0xC8])
    order_seed("pairs", 0x01, pairs, pick)
    order_seed("twice_listed", 0x01, bom + wide("B\nA\nB\n\u3000\n\ufeff\n"),
               compact("A\0B\0\u3000\0\ufeff\0C\0 \0"))
    order_seed("limit_below", 0xE1, acb, keys)
    order_seed("limit", 0xF1, acb, keys)
    order_seed("missing", 0xC1, acb, keys)
    order_seed("empty_path", 0xD1, acb, keys)
    order_seed("no_memory_buffer", 0xB1, acb, keys)
    order_seed("no_memory_index", 0xA1, pairs, pick)
    with open(os.path.join(ROOT, "data", "BushuKakusuu.txt"), "rb") as f:
        head = f.read(240)
    order_seed("bushu_head", 0x01, head, bytes([0xC1, 0, 0xC4, 0xC5, 0, 0xD0, 0, 0xD3, 0xD4, 0, 0xA0, 0, 0x41]))


def numeric_seeds():
    pairs = [
        ("abc20", "ABC20\0ABC100"),
        ("abc100x", "ABC100\0ABC100x"),
        ("a1b2", "a1b2\0a1b10"),
        ("zeros", "007\x007"),
        ("a0_a00", "a0\0a00"),
        ("empty", "\0a"),
        ("wrap_2_32", "4294967296\x000"),
        ("wrap_3e9", "3000000000\x001"),
        ("wrap_2_31", "2147483648\x000"),
        ("long_runs", "x" + "9" * 60 + "y\0x" + "1" + "0" * 59 + "y"),
        ("prefix_digit", "abcdefg1\0abcdefg2"),
        ("prefix_digit_long", "abcdefgh12\0abcdefgh012"),
        ("lead_bytes", "\x82\xa0a\0a\x82\xa0"),
        ("high_bytes", "\xff\xfe1\0\x80\x7f"),
    ]
    for name, s in pairs:
        write("fuzz_numeric", name, s.encode("latin-1"))
    write("fuzz_numeric", "units_digits", wide("A20\0A100"))
    write("fuzz_numeric", "units_wrap", wide("4294967296x\x000x"))
    write("fuzz_numeric", "units_high", wide("\uffff1\0\ud800\udc00"))
    write("fuzz_numeric", "compact_mix", compact("\u6f2210\0\u6f229"))
    for name, s in [("jan_45", "45\x004547691689979"), ("phone_mobile", "0312345678\x0008011112222"),
                    ("run_2_64", "18446744073709551616x\x000x"), ("run_21_digits", "99999999999999999999\x00100000000000000000000"),
                    ("zeros_long", "0" * 30 + "7a\x007b")]:
        write("fuzz_numeric", name, s.encode("latin-1"))
    write("fuzz_numeric", "compact_pieces", piece("4294967296") + b"a" + piece("\U00020B9F") + b"\0" +
          piece("0000000000000000000000000000001") + b"a" + piece("\ud842"))


def main():
    if os.path.isdir(CORPUS):
        shutil.rmtree(CORPUS)
    sort_seeds()
    order_seeds()
    numeric_seeds()


if __name__ == "__main__":
    main()
