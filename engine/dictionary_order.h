// Dictionary order: lines compared as a Japanese dictionary orders them
// (the simple collation of JIS X 4061), over unit keys.
//
// A key is read from the left as elements (a character; a kana joined
// with the voicing mark after it; with numbers by value, a run of digits),
// and each element has a weight at five levels: 1 its group, 2 voicing,
// 3 the form of kana or the case of Latin letters, 4 script, 5 width. Keys
// compare by their level-1 sequences, then level 2's, and so on; each
// comparison is lexicographic, the end first.
//
// Level 1 is held as a string of 16-bit codes, one or more per element,
// chosen so that no element's codes begin another's and that codes
// compare as the elements' groups do. Comparing two such strings unit by
// unit then compares the keys at level 1, and the record prefix is the
// string's first 8 units, packed as the plain prefix packs units
// (prefix.h); a key of a few elements has its levels 2 to 5 packed behind
// them (PackDictionaryKey):
//
//   codes            element
//   ---------------  ------------------------------------------------------
//   0x0001-0x001F    control character U+0001-U+001F, by code
//   0x0020-0x0040    control character U+007F-U+009F, by code
//   0x0100-0x0258    a listed group: 0x0100 + its ordinal in the data
//   R, L..., D...    a digit run (numbers by value): R = DICT_DIGIT_CODE;
//                    L = its digits past the leading zeros, plus 1, or for
//                    0xFFFE digits and more 0xFFFF and that count in three
//                    15-bit chunks, each plus 1; D = each such digit plus 1
//   0x1000-0x8FFF    a kanji of the basic plane: 0x1000 + its code page
//                    932 code - 0x8100 (Unicode off), or its code point
//                    packed (dictionary_order.cpp)
//   0x9000+h, 1+l    any other kanji by code point c: h = c >> 15, l the
//                    low 15 bits
//   0x9800+h, 1+l    a kanji that the order file lists, by rank, likewise
//   0xA000+h, 1+l    any other character (class 12) by code point, a lone
//                    surrogate by its unit's value, likewise
//   0xB000           the geta mark 〓 (DICT_GETA_CODE)
//
// Levels 2 to 5 are read only when two keys are equal at level 1, and then
// in one pass over both keys.
//
// The weights of every listed unit (dictionary_table.inc, made by
// tools/make_dictionary_table.py from the data), one 32-bit word each:
//
//   bits   holds
//   -----  -----------------------------------------------------------------
//   0-15   level-1 code
//   16-17  voicing: 0 unvoiced, 1 voiced, 2 semi-voiced
//   18-19  form of kana: 0 replaced long-sound mark, 1 small, 2 iteration
//          mark, 3 ordinary; case of a Latin letter: 0 lower, 1 upper
//   20     katakana (half-width katakana included)
//   21     a form of the U+FF00-U+FFEF block
//   22     a kana element, that a long-sound or iteration mark after it reads
//   23     a Latin letter, whose case "ASCII case ignored" drops
//   24     U+3099 (or ﾞ after a half-width kana) joins it: its voiced form
//   25     U+309A (or ﾟ after a half-width kana) joins it: its semi-voiced
//          form
//   26-28  mark: 1 ー ｰ, 2 ゝ ヽ, 3 ゞ ヾ, 4 U+3099, 5 U+309A, 6 ﾞ, 7 ﾟ
#ifndef TALLORIX_ENGINE_DICTIONARY_ORDER_H
#define TALLORIX_ENGINE_DICTIONARY_ORDER_H

#include "order_file.h"
#include "prefix.h"

struct DictionaryGroup {
    uint16_t vowel;  // level-1 code of the group ー reads as after this one's kana; 0: no kana
    uint8_t voicedHiragana, voicedKatakana;  // ゞ, ヾ read as this group after its kana
};

// How the kanji are ordered at level 1.
enum DictionaryKanji {
    DICT_KANJI_CP932,       // Unicode off: by code page 932, the rest by code point
    DICT_KANJI_CODE_POINT,  // Unicode on: by code point
    DICT_KANJI_RANKED,      // Unicode and the order file: listed ones by rank, after the rest
};

// What the order reads of the options.
struct DictionarySettings {
    bool numeric;     // digit runs by value
    bool ignoreCase;  // Latin case does not count
    uint8_t kanji;    // DictionaryKanji
    const OrderFile *file;  // loaded with its index, for DICT_KANJI_RANKED
};

// The record prefix of a NUL-terminated key: the first 8 level-1 codes,
// zero after the end; behind the end of a short key its levels 2 to 5
// (dictionary_order.cpp).
KeyPrefix PackDictionaryKey(const DictionarySettings *s, const Unit16 *key);

// Whether a prefix holds its key whole, levels 2 to 5 included.
bool DictionaryPrefixIsWhole(KeyPrefix p);

// Dictionary order on two whole keys: -1, 0 or 1.
int32_t DictionaryFrom(const DictionarySettings *s, const Unit16 *a, const Unit16 *b);

// The record comparison. Different prefixes decide as the keys do; equal
// ones are equal keys when they hold them whole, and otherwise send the
// comparison to the keys.
static inline int32_t CompareDictionaryRecords(const DictionarySettings *s, const void *keys, const SortRecord *a,
                                               const SortRecord *b)
{
    if (a->prefix.hi != b->prefix.hi)
        return a->prefix.hi < b->prefix.hi ? -1 : 1;
    if (a->prefix.lo != b->prefix.lo)
        return a->prefix.lo < b->prefix.lo ? -1 : 1;
    if (DictionaryPrefixIsWhole(a->prefix))
        return 0;
    return DictionaryFrom(s, KeyOf<Unit16>(keys, a), KeyOf<Unit16>(keys, b));
}

#endif
