#!/usr/bin/env python3
"""Writes engine/dictionary_table.inc, the dictionary order's tables, from
data/dictionary/groups.txt, the names Unicode gives the characters and
engine/cp932_table.inc (the codes that order the kanji outside Unicode mode).

    tools/make_dictionary_table.py [GROUPS_TXT] > engine/dictionary_table.inc

Each listed character gets its level-1 code (its group's place) and the
properties that decide levels 2 to 5 and the reading of marks, in the bit
layout of engine/dictionary_order.h, which this file must follow:

    bits  0-15  level-1 code: 0x0100 + the group's ordinal in the file;
                0xB000 for the geta mark, which follows every class
    bits 16-17  voicing: 0 unvoiced, 1 voiced, 2 semi-voiced
    bits 18-19  form (kana): 0 replaced long-sound mark, 1 small,
                2 iteration mark, 3 ordinary; case (Latin): 0 lower, 1 upper
    bit  20     katakana (half-width katakana included)
    bit  21     a form of the U+FF00-U+FFEF block
    bit  22     a kana element, that a long-sound or iteration mark after
                it reads
    bit  23     a Latin letter, whose case ASCII case ignored drops
    bit  24     U+3099 (ﾞ for half-width) after it makes its voiced form
    bit  25     U+309A (ﾟ for half-width) after it makes its semi-voiced form
    bits 26-28  mark: 1 ー ｰ, 2 ゝ ヽ, 3 ゞ ヾ, 4 U+3099, 5 U+309A,
                6 ﾞ, 7 ﾟ

The weights are held in pages of 256 units, only for the pages that list a
unit. A group's entry holds the level-1 code of its vowel's group (あ い う え お,
or ん for ん), for the long-sound mark, and whether it has a voiced
hiragana or katakana member, for ゞ and ヾ.

The properties come from each character's Unicode name and decomposition,
not from its place in its line; the script checks that they give every
line in its listed order, and fails otherwise.
"""
import os
import sys
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

MARKS = {'ー': 1, 'ｰ': 1, 'ゝ': 2, 'ヽ': 2, 'ゞ': 3, 'ヾ': 3,
         '\u3099': 4, '\u309A': 5, 'ﾞ': 6, 'ﾟ': 7}
VOWELS = 'あいうえお'
GETA_CODE = 0xB000


def read_groups(path):
    """[(class, [element, ...]), ...] in file order."""
    groups, cls = [], None
    with open(path, encoding='utf-8') as f:
        for line in f.read().split('\n'):
            if line.startswith('## '):
                cls = line[3:]
            elif line == ' ':
                groups.append((cls, [' ']))
            elif line:
                groups.append((cls, line.split(' ')))
    return groups


def is_half(c):
    return 0xFF00 <= ord(c) <= 0xFFEF


def kana_base(c):
    """The full-width kana a half-width one stands for, else c."""
    d = unicodedata.decomposition(c)
    if d.startswith('<narrow> '):
        return chr(int(d.split()[1], 16))
    return c


def is_kana(c):
    """A kana letter, iteration mark or long-sound mark: what levels 2 to 4
    concern besides Latin case. The voicing marks are symbols."""
    name = unicodedata.name(c, '')
    return any(k in name for k in ('HIRAGANA LETTER', 'KATAKANA LETTER', 'ITERATION MARK',
                                     'PROLONGED SOUND MARK'))


def properties(element):
    """(voicing, form or case, katakana, half) of one element."""
    c = element[0]
    name = unicodedata.name(c, '')
    half = 1 if is_half(c) else 0
    if not is_kana(c):
        upper = 'LATIN' in name and unicodedata.category(c) == 'Lu'
        return 0, 1 if upper else 0, 0, half
    voicing = 0
    if len(element) == 2:
        voicing = {'ﾞ': 1, 'ﾟ': 2}[element[1]]
    else:
        d = unicodedata.decomposition(c).split()  # canonical only: not <narrow>
        if len(d) == 2 and d[1] == '3099':
            voicing = 1
        elif len(d) == 2 and d[1] == '309A':
            voicing = 2
    if c in 'ーｰ':
        form = 0
    elif 'ITERATION MARK' in name:
        form = 2
    elif 'SMALL' in name:
        form = 1
    else:
        form = 3
    katakana = 1 if 'KATAKANA' in name and 'HIRAGANA' not in name or c in 'ーｰ' else 0
    return voicing, form, katakana, half


def vowel_of(members):
    """The vowel あいうえお of a kana group, 'ん' for ん, from its names."""
    for m in members:
        name = unicodedata.name(kana_base(m[0]))
        if name.endswith('LETTER N'):
            return 'ん'
        last = name.split()[-1]
        return VOWELS['AIUEO'.index(last[-1])]


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'data/dictionary/groups.txt')
    groups = read_groups(path)
    kana_groups = [i for i, (cls, _) in enumerate(groups) if cls == 'kana']
    mark_groups = kana_groups[-2:]  # ゝ ヽ ゞ ヾ, then ー ｰ, unreplaced
    code_of = {}   # element -> level-1 code; the geta mark after every class
    for i, (cls, members) in enumerate(groups):
        for m in members:
            code_of[m] = GETA_CODE if cls == 'geta' else 0x0100 + i

    entries, failures = {}, []
    group_rows = []
    for i, (cls, members) in enumerate(groups):
        kana = cls == 'kana' and i not in mark_groups
        props = [properties(m) for m in members]
        if [p[:2] + (p[2], p[3]) for p in props] != sorted(p[:2] + (p[2], p[3]) for p in props):
            failures.append(' '.join(members))
        vowel = code_of[vowel_of(members)] if kana else 0
        voiced_hira = any(p[0] == 1 and not p[2] for p in props)
        voiced_kata = any(p[0] == 1 and p[2] for p in props)
        group_rows.append((vowel, voiced_hira, voiced_kata, cls))
        for m, p in zip(members, props):
            if len(m) != 1:
                continue  # half-width kana with ﾞ or ﾟ: made by joining
            v = code_of[m] | p[0] << 16 | p[1] << 18 | p[2] << 20 | p[3] << 21
            if kana:
                v |= 1 << 22
            if cls == 'latin':
                v |= 1 << 23
            # Unvoiced kana that are not small, the iteration marks ゝ ヽ among them.
            if cls == 'kana' and p[0] == 0 and p[1] != 1:
                half = is_half(m)
                for mark, bit, wanted in (('\u3099', 24, 1), ('\u309A', 25, 2)):
                    partner = m + {'\u3099': 'ﾞ', '\u309A': 'ﾟ'}[mark] if half else \
                        unicodedata.normalize('NFC', m + mark)
                    if partner != m + mark and partner in members:
                        if properties(partner)[0] == wanted:
                            v |= 1 << bit
            v |= MARKS.get(m, 0) << 26
            entries[ord(m)] = v
    for mark in ('\u3099', '\u309A'):
        # Alone, the combining marks weigh as ゛ and ゜.
        entries[ord(mark)] = entries[ord({'\u3099': '゛', '\u309A': '゜'}[mark])] | MARKS[mark] << 26
    if failures:
        sys.exit('make_dictionary_table: not in the order of levels 2 to 5: ' + '; '.join(failures))

    digit = code_of['0']
    geta = code_of['〓']
    pages = sorted({u >> 8 for u in entries})
    kanji = cp932_kanji()
    out = sys.stdout
    out.write('// Made by tools/make_dictionary_table.py from data/dictionary/groups.txt\n')
    out.write('// and engine/cp932_table.inc; do not edit. The bit layouts are\n')
    out.write('// dictionary_order.h\'s.\n\n')
    out.write('enum { DICT_DIGIT_CODE = 0x%04X, DICT_GETA_CODE = 0x%04X, DICT_GROUPS = %d, DICT_PAGES = %d };\n\n'
              % (digit, geta, len(groups), len(pages) + 1))
    out.write('// The page of dictionaryWeights that holds the units c with c >> 8 == i;\n')
    out.write('// page 0 is all zero, for the pages that list no unit.\n')
    out.write('static const uint8_t dictionaryPageOf[256] = {\n')
    page_of = [pages.index(i) + 1 if i in pages else 0 for i in range(256)]
    for i in range(0, 256, 16):
        out.write('    ' + ' '.join('%d,' % x for x in page_of[i:i + 16]) + '\n')
    out.write('};\n\n')
    out.write('// The weights of every unit, by page and low byte; 0: not listed.\n')
    out.write('static const uint32_t dictionaryWeights[DICT_PAGES][256] = {\n')
    out.write('    {0},\n')
    for page in pages:
        out.write('    {  // U+%02X00\n' % page)
        row = [entries.get(page << 8 | i, 0) for i in range(256)]
        for i in range(0, 256, 8):
            out.write('        ' + ' '.join('0x%08X,' % x for x in row[i:i + 8]) + '\n')
        out.write('    },\n')
    out.write('};\n\n')
    out.write('// {level-1 code of the vowel, voiced hiragana, voiced katakana} of each\n')
    out.write('// group, by ordinal; a vowel of 0 outside the groups of kana.\n')
    out.write('static const DictionaryGroup dictionaryGroups[DICT_GROUPS] = {\n')
    for vowel, vh, vk, cls in group_rows:
        out.write('    {0x%04X, %d, %d},\n' % (vowel, int(vh), int(vk)))
    out.write('};\n\n')
    for name, first, last in (('Unified', 0x4E00, 0x9FFF), ('Compatibility', 0xF900, 0xFAFF)):
        codes = [(u, b) for u, b in kanji if first <= u <= last]
        lo, hi = codes[0][0], codes[-1][0]
        by_unit = dict(codes)
        out.write('// The code page 932 code - 0x8100 of each ideograph from U+%04X to U+%04X;\n' % (lo, hi))
        out.write('// 0: not encoded.\n')
        out.write('enum { DICT_CP932_%s_FIRST = 0x%04X, DICT_CP932_%s_LAST = 0x%04X };\n'
                  % (name.upper(), lo, name.upper(), hi))
        out.write('static const uint16_t dictionaryCp932%s[%d] = {\n' % (name, hi - lo + 1))
        row = [by_unit[u] - 0x8100 if u in by_unit else 0 for u in range(lo, hi + 1)]
        for i in range(0, len(row), 12):
            out.write('    ' + ' '.join('0x%04X,' % x for x in row[i:i + 12]) + '\n')
        out.write('};\n\n')


def cp932_kanji():
    """[(unit, code)] of the ideographs that code page 932 encodes, as
    engine/cp932_table.inc converts them, by unit. The extension A block
    has none."""
    import re
    with open(os.path.join(ROOT, 'engine/cp932_table.inc'), encoding='utf-8') as f:
        pairs = re.findall(r'^\{0x([0-9A-F]{4}), 0x([0-9A-F]+)\},$', f.read(), re.M)
    out = []
    for u, b in pairs:
        u, b = int(u, 16), int(b, 16)
        ideograph = 0x3400 <= u <= 0x4DBF or 0x4E00 <= u <= 0x9FFF or 0xF900 <= u <= 0xFAFF
        if ideograph and b > 0xFF:
            if u < 0x4E00:
                sys.exit('make_dictionary_table: U+%04X: the extension A block is not expected encoded' % u)
            out.append((u, b))
    return sorted(out)

if __name__ == '__main__':
    main()
