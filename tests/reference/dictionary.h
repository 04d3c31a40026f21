// The reference dictionary order (JIS X 4061 simple collation), written
// straight from its statement for the tests to hold the engine's version
// to. Slow on purpose: each comparison reads both keys afresh into their
// elements and each element's five weights. Never linked into the module.
//
// RefLoadDictionary reads groups.txt; false if it cannot be read or does
// not parse. RefDictionaryCompare gives -1, 0 or +1 for two NUL-terminated
// UTF-16 keys (blanks already collapsed where that option is on): the
// sequences of level-1 weights compare element by element, a key that ends
// first the smaller; where they are equal, level 2 decides, then 3, 4, 5.
// Lexicographic comparison of weight sequences makes it a total preorder on
// any keys. Descending is the comparison with its operands exchanged.
// Keys whose a-z were folded to A-Z compare as the unfolded keys do when
// ignoreCase is on, as case then counts nowhere.
//
// Level 1 is the class and the group within it; level 2 the voicing of
// kana, level 3 the case of Latin letters or the form of kana, level 4 the
// script of kana, level 5 the width. Levels 2 to 5 come from the
// characters themselves, not from their places in a line of groups.txt.
#ifndef TALLORIX_TESTS_REFERENCE_DICTIONARY_H
#define TALLORIX_TESTS_REFERENCE_DICTIONARY_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "tests/reference/cp932.h"
#include "tests/reference/rules.h"

enum {
    REF_DICT_CONTROL = 0,
    REF_DICT_SPACE = 1,
    REF_DICT_DESCRIPTIVE = 2,
    REF_DICT_BRACKETS = 3,
    REF_DICT_TECHNICAL = 4,
    REF_DICT_GENERAL = 5,
    REF_DICT_UNITS = 6,
    REF_DICT_DIGITS = 7,
    REF_DICT_GREEK_CYRILLIC = 8,
    REF_DICT_LATIN = 9,
    REF_DICT_KANA = 10,
    REF_DICT_KANJI = 11,  // the kanji-like characters, then the kanji
    REF_DICT_OTHER = 12,
    REF_DICT_GETA = 13,
};

// Level 2: voicing. Level 3: the form of kana, or for Latin letters the
// case (0 lower, 1 upper). Level 4: script.
enum { REF_DICT_UNVOICED = 0, REF_DICT_VOICED = 1, REF_DICT_SEMI_VOICED = 2 };
enum { REF_DICT_LONG = 0, REF_DICT_SMALL = 1, REF_DICT_ITERATION = 2, REF_DICT_ORDINARY = 3 };
enum { REF_DICT_HIRAGANA = 0, REF_DICT_KATAKANA = 1 };

struct RefDictGroup {
    int cls;
    std::vector<RefUnits> elements;  // as the line lists them
    int vowel;        // the group ー after this group's kana reads as (its vowel's); -1: no group of kana
    bool voicedHira;  // holds a voiced hiragana (ゞ is replaced after its kana)
    bool voicedKata;  // holds a voiced katakana (ヾ is replaced after its kana)
};

// groups.txt as loaded: the groups in file order, and each element's group.
struct RefDictionary {
    std::vector<RefDictGroup> groups;
    std::map<RefUnits, int> groupOf;
};

// ranks: the order file's ranks, used only with unicode on; NULL for none.
struct RefDictOptions {
    bool ignoreCase, numeric, unicode;
    const RefRanks *ranks;
};

// One element's weights. Level 1 compares cls, sub, key, tie, then value
// (shorter first, then digit by digit).
struct RefDictWeights {
    int cls;
    int sub;       // kanji class: 0 the kanji-like characters, 1 the kanji
    uint32_t key;  // listed: the group's index; kanji: RefDictKanjiKey; else the code point
    uint32_t tie;  // kanji: the code point
    std::vector<uint8_t> value;  // digit run: its digits past the leading zeros
    int voicing, form, script;
    std::vector<uint8_t> width;  // each character's (a digit run's every digit's): 1 in U+FF00-U+FFEF
};

static inline bool RefDictIn(const char16_t *set, uint32_t c)
{
    for (; *set; set++)
        if (*set == c)
            return true;
    return false;
}

static inline uint8_t RefDictWidth(uint32_t c)
{
    return c >= 0xFF00 && c <= 0xFFEF;
}

// The properties of a kana element of groups.txt, from its characters: a
// half-width katakana with ﾞ or ﾟ, or one kana.
struct RefDictKana {
    int voicing, form, script;
};

static inline RefDictKana RefDictKanaOf(const RefUnits &t)
{
    static const char16_t voiced[] =
        u"がぎぐげござじずぜぞだぢづでどばびぶべぼゔゞ"
        u"ガギグゲゴザジズゼゾダヂヅデドバビブベボヴヷヸヹヺヾ";
    static const char16_t semiVoiced[] = u"ぱぴぷぺぽパピプペポ";
    static const char16_t small[] =
        u"ぁぃぅぇぉっゃゅょゎゕゖ"
        u"ァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
        u"ｧｨｩｪｫｯｬｭｮ";
    uint32_t c = t[0];
    RefDictKana k;
    if (t.size() == 2)
        k.voicing = t[1] == 0xFF9E ? REF_DICT_VOICED : REF_DICT_SEMI_VOICED;
    else
        k.voicing = RefDictIn(voiced, c) ? REF_DICT_VOICED
                  : RefDictIn(semiVoiced, c) ? REF_DICT_SEMI_VOICED : REF_DICT_UNVOICED;
    k.form = RefDictIn(u"ーｰ", c) ? REF_DICT_LONG
           : RefDictIn(small, c) ? REF_DICT_SMALL
           : RefDictIn(u"ゝゞヽヾ", c) ? REF_DICT_ITERATION : REF_DICT_ORDINARY;
    // The kana class holds the Hiragana block's characters and katakana
    // (Katakana, its Phonetic Extensions and the half-width forms).
    k.script = c >= 0x3040 && c <= 0x309F ? REF_DICT_HIRAGANA : REF_DICT_KATAKANA;
    return k;
}

// The vowel of an ordinary hiragana, which ー after any kana of its group
// takes; 0 for none.
static inline uint32_t RefDictVowel(uint32_t c)
{
    static const struct {
        const char16_t *kana;
        char16_t vowel;
    } rows[] = {
        {u"あかさたなはまやらわ", u'あ'}, {u"いきしちにひみりゐ", u'い'},
        {u"うくすつぬふむゆる", u'う'},   {u"えけせてねへめれゑ", u'え'},
        {u"おこそとのほもよろを", u'お'}, {u"ん", u'ん'},
    };
    for (const auto &r : rows)
        if (RefDictIn(r.kana, c))
            return r.vowel;
    return 0;
}

// UTF-8 text as UTF-16 units; false for a malformed sequence.
static inline bool RefDictUtf16(const std::vector<unsigned char> &s, RefUnits *out)
{
    for (size_t i = 0; i < s.size();) {
        uint32_t c = s[i], n = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 9;
        if (n == 9 || i + n >= s.size())
            return false;
        if (n)
            c &= 0x3F >> n;
        for (uint32_t k = 1; k <= n; k++) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            c = c << 6 | (s[i + k] & 0x3F);
        }
        i += n + 1;
        if (c >= 0x10000) {
            out->push_back((Unit16)(0xD800 + ((c - 0x10000) >> 10)));
            out->push_back((Unit16)(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out->push_back((Unit16)c);
        }
    }
    return true;
}

static inline bool RefLoadDictionary(const char *groupsPath, RefDictionary *d)
{
    static const struct {
        const char *name;
        int cls;
    } classes[] = {
        {"space", REF_DICT_SPACE},     {"descriptive", REF_DICT_DESCRIPTIVE},
        {"brackets", REF_DICT_BRACKETS}, {"technical", REF_DICT_TECHNICAL},
        {"general", REF_DICT_GENERAL}, {"units", REF_DICT_UNITS},
        {"digits", REF_DICT_DIGITS},   {"greek-cyrillic", REF_DICT_GREEK_CYRILLIC},
        {"latin", REF_DICT_LATIN},     {"kana", REF_DICT_KANA},
        {"kanji-like", REF_DICT_KANJI}, {"geta", REF_DICT_GETA},
    };
    std::vector<unsigned char> bytes = RefFileBytes(groupsPath);
    d->groups.clear();
    d->groupOf.clear();
    if (bytes.empty())
        return false;
    int cls = -1;
    std::string text(bytes.begin(), bytes.end());
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.empty())
            continue;
        if (line.compare(0, 3, "## ") == 0) {
            cls = -1;
            for (const auto &c : classes)
                if (line.substr(3) == c.name)
                    cls = c.cls;
            if (cls < 0)
                return false;
            continue;
        }
        if (cls < 0)
            return false;
        RefDictGroup g = {cls, std::vector<RefUnits>(), -1, false, false};
        // The line of one SPACE is U+0020's group; elsewhere SPACE separates.
        for (size_t from = 0; from < line.size();) {
            size_t to = line == " " ? 1 : line.find(' ', from);
            if (to == std::string::npos)
                to = line.size();
            RefUnits e;
            if (to == from || !RefDictUtf16(std::vector<unsigned char>(line.begin() + from, line.begin() + to), &e))
                return false;
            if (d->groupOf.count(e))
                return false;
            d->groupOf[e] = (int)d->groups.size();
            g.elements.push_back(e);
            from = to + 1;
        }
        d->groups.push_back(g);
    }
    // A group of kana holds an ordinary unvoiced hiragana, whose vowel ー
    // takes; the groups of the marks ゝヽゞヾ and ーｰ hold none.
    for (RefDictGroup &g : d->groups) {
        if (g.cls != REF_DICT_KANA)
            continue;
        for (const RefUnits &e : g.elements) {
            RefDictKana k = RefDictKanaOf(e);
            if (k.voicing == REF_DICT_VOICED) {
                g.voicedHira |= k.script == REF_DICT_HIRAGANA;
                g.voicedKata |= k.script == REF_DICT_KATAKANA;
            }
            if (e.size() == 1 && k.voicing == REF_DICT_UNVOICED && k.form == REF_DICT_ORDINARY &&
                k.script == REF_DICT_HIRAGANA && RefDictVowel(e[0])) {
                auto v = d->groupOf.find(RefUnits(1, (Unit16)RefDictVowel(e[0])));
                if (v == d->groupOf.end())
                    return false;
                g.vowel = v->second;
            }
        }
    }
    return true;
}

// The element that kana c and the voicing mark m after it make, or none
// (empty). U+3099 makes the voiced form of c, U+309A the semi-voiced form
// of a kana of the は column, of the same script and width; for a
// half-width katakana that is c with ﾞ or ﾟ, as is c followed by ﾞ or ﾟ
// itself, where groups.txt lists the pair (only the は column has one
// with ﾟ).
static inline RefUnits RefDictJoin(const RefDictionary &d, uint32_t c, uint32_t m)
{
    static const char16_t plain[] =
        u"かきくけこさしすせそたちつてとはひふへほうゝ"
        u"カキクケコサシスセソタチツテトハヒフヘホウワヰヱヲヽ";
    static const char16_t voiced[] =
        u"がぎぐげござじずぜぞだぢづでどばびぶべぼゔゞ"
        u"ガギグゲゴザジズゼゾダヂヅデドバビブベボヴヷヸヹヺヾ";
    static const char16_t semiPlain[] = u"はひふへほハヒフヘホ";
    static const char16_t semiVoiced[] = u"ぱぴぷぺぽパピプペポ";
    if (c >= 0xFF66 && c <= 0xFF9D) {
        Unit16 half = m == 0x3099 || m == 0xFF9E ? 0xFF9E : m == 0x309A || m == 0xFF9F ? 0xFF9F : 0;
        RefUnits pair = {(Unit16)c, half};
        return half && d.groupOf.count(pair) ? pair : RefUnits();
    }
    const char16_t *from = m == 0x3099 ? plain : m == 0x309A ? semiPlain : NULL;
    const char16_t *to = m == 0x3099 ? voiced : semiVoiced;
    for (size_t i = 0; from && from[i]; i++)
        if (from[i] == c)
            return RefUnits(1, to[i]);
    return RefUnits();
}

// An element as read from the key: its characters (a digit run: its
// digits), and whether it is a run of digits.
struct RefDictElement {
    RefUnits text;
    bool run;
};

static inline int RefDictDigit(uint32_t c)
{
    if (c >= 0x30 && c <= 0x39)
        return (int)(c - 0x30);
    if (c >= 0xFF10 && c <= 0xFF19)
        return (int)(c - 0xFF10);
    return -1;
}

static inline uint32_t RefDictCode(const RefUnits &t)
{
    return t.size() == 2 && RefIsHigh(t[0]) && RefIsLow(t[1]) ? 0x10000 + ((t[0] - 0xD800u) << 10) + (t[1] - 0xDC00u)
                                                              : t[0];
}

// The key's elements, from the left: a surrogate pair is one character,
// any other surrogate one by itself; a kana joins the voicing mark after
// it where RefDictJoin says; U+3099 and U+309A left alone read as ゛ and
// ゜; with numeric on, a run of digits (ASCII and full-width mixed) is one
// element.
static inline std::vector<RefDictElement> RefDictElements(const RefDictionary &d, const Unit16 *s, bool numeric)
{
    std::vector<RefDictElement> out;
    for (size_t i = 0; s[i];) {
        RefDictElement e = {RefUnits(), false};
        if (numeric && RefDictDigit(s[i]) >= 0) {
            while (RefDictDigit(s[i]) >= 0)
                e.text.push_back(s[i++]);
            e.run = true;
            out.push_back(e);
            continue;
        }
        size_t n = RefCharUnits(s + i);
        if (n == 1 && s[i + 1] != 0)
            e.text = RefDictJoin(d, s[i], s[i + 1]);
        if (!e.text.empty()) {
            i += 2;
        } else {
            e.text.assign(s + i, s + i + n);
            i += n;
            if (e.text[0] == 0x3099)
                e.text[0] = 0x309B;
            else if (e.text[0] == 0x309A)
                e.text[0] = 0x309C;
        }
        out.push_back(e);
    }
    return out;
}

static inline bool RefDictIsKanji(uint32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// A kanji's order key, the code point breaking ties. Unicode off: its code
// page 932 code, the ideographs it does not encode after all codes.
// Unicode on: none (code point order). With the order file's ranks: the
// listed ideographs by rank, after the unlisted ones.
static inline uint32_t RefDictKanjiKey(const RefUnits &t, const RefDictOptions &o)
{
    if (!o.unicode) {
        uint16_t code = t.size() == 1 ? RefCp932Unit(t[0]) : '?';
        return code > 0xFF ? code : 0x10000;
    }
    if (!o.ranks)
        return 0;
    Unit16 at[3] = {t[0], t.size() == 2 ? t[1] : (Unit16)0, 0};
    return (uint32_t)(RefRankOf(*o.ranks, at) + 1);
}

// The weights of an element of kana group g.
static inline RefDictWeights RefDictKanaWeights(int g, int voicing, int form, int script, uint8_t w)
{
    RefDictWeights x = {REF_DICT_KANA, 0, (uint32_t)g, 0, std::vector<uint8_t>(), voicing, form, script,
                        std::vector<uint8_t>(1, w)};
    return x;
}

// Each element's weights. The marks ー ｰ ゝ ヽ ゞ ヾ take theirs from the
// kana element before them, ゞ ヾ only where its group has a voiced
// hiragana or katakana: a replaced mark counts as the kana it became; a
// mark not replaced stands in its own group and is no kana for the mark
// after it.
static inline std::vector<RefDictWeights> RefDictWeigh(const RefDictionary &d, const Unit16 *s, const RefDictOptions &o)
{
    std::vector<RefDictWeights> out;
    int kana = -1;  // group of the element before, if that is a kana element
    for (const RefDictElement &e : RefDictElements(d, s, o.numeric)) {
        RefDictWeights x = {0, 0, 0, 0, std::vector<uint8_t>(), 0, 0, 0, std::vector<uint8_t>()};
        uint32_t c = RefDictCode(e.text);
        auto listed = d.groupOf.find(e.text);
        const RefDictGroup *before = kana >= 0 ? &d.groups[kana] : NULL;
        if (e.run) {
            x.cls = REF_DICT_DIGITS;
            size_t first = 0;
            while (first < e.text.size() && RefDictDigit(e.text[first]) == 0)
                first++;
            for (size_t i = 0; i < e.text.size(); i++) {
                if (i >= first)
                    x.value.push_back((uint8_t)RefDictDigit(e.text[i]));
                x.width.push_back(RefDictWidth(e.text[i]));
            }
        } else if (before && (c == 0x30FC || c == 0xFF70)) {
            x = RefDictKanaWeights(before->vowel, REF_DICT_UNVOICED, REF_DICT_LONG, REF_DICT_KATAKANA, RefDictWidth(c));
        } else if (before && (c == 0x309D || c == 0x30FD)) {
            x = RefDictKanaWeights(kana, REF_DICT_UNVOICED, REF_DICT_ITERATION,
                                   c == 0x309D ? REF_DICT_HIRAGANA : REF_DICT_KATAKANA, 0);
        } else if (before && ((c == 0x309E && before->voicedHira) || (c == 0x30FE && before->voicedKata))) {
            x = RefDictKanaWeights(kana, REF_DICT_VOICED, REF_DICT_ITERATION,
                                   c == 0x309E ? REF_DICT_HIRAGANA : REF_DICT_KATAKANA, 0);
        } else if (listed != d.groupOf.end()) {
            const RefDictGroup &g = d.groups[listed->second];
            x.cls = g.cls;
            x.key = (uint32_t)listed->second;
            x.width.push_back(RefDictWidth(c));
            if (g.cls == REF_DICT_KANA) {
                RefDictKana k = RefDictKanaOf(e.text);
                x.voicing = k.voicing;
                x.form = k.form;
                x.script = k.script;
            } else if (g.cls == REF_DICT_LATIN && !o.ignoreCase) {
                x.form = (c >= 'A' && c <= 'Z') || (c >= 0xFF21 && c <= 0xFF3A);
            }
        } else if (RefDictIsKanji(c)) {
            x.cls = REF_DICT_KANJI;
            x.sub = 1;
            x.key = RefDictKanjiKey(e.text, o);
            x.tie = c;
        } else {
            x.cls = c <= 0x1F || (c >= 0x7F && c <= 0x9F) ? REF_DICT_CONTROL : REF_DICT_OTHER;
            x.key = c;
            x.width.push_back(RefDictWidth(c));
        }
        kana = x.cls == REF_DICT_KANA && d.groups[x.key].vowel >= 0 ? (int)x.key : -1;
        out.push_back(x);
    }
    return out;
}

static inline int32_t RefDictOrder(uint32_t x, uint32_t y)
{
    return x < y ? -1 : x > y ? 1 : 0;
}

// Two elements at one level: -1, 0 or +1.
static inline int32_t RefDictCompareAt(const RefDictWeights &x, const RefDictWeights &y, int level)
{
    int32_t r = 0;
    switch (level) {
    case 1:
        if (!(r = RefDictOrder(x.cls, y.cls)) && !(r = RefDictOrder(x.sub, y.sub)) &&
            !(r = RefDictOrder(x.key, y.key)) && !(r = RefDictOrder(x.tie, y.tie)) &&
            !(r = RefDictOrder((uint32_t)x.value.size(), (uint32_t)y.value.size())))
            r = x.value < y.value ? -1 : y.value < x.value ? 1 : 0;
        return r;
    case 2:
        return RefDictOrder(x.voicing, y.voicing);
    case 3:
        return RefDictOrder(x.form, y.form);
    case 4:
        return RefDictOrder(x.script, y.script);
    default:
        return x.width < y.width ? -1 : y.width < x.width ? 1 : 0;
    }
}

// Two keys' weights (RefDictWeigh) compared at levels 1 to levels only:
// -1, 0 or +1.
static inline int32_t RefDictCompareWeighed(const std::vector<RefDictWeights> &x,
                                            const std::vector<RefDictWeights> &y, int levels = 5)
{
    for (int level = 1; level <= levels; level++) {
        for (size_t i = 0; i < x.size() && i < y.size(); i++)
            if (int32_t r = RefDictCompareAt(x[i], y[i], level))
                return r;
        if (x.size() != y.size())
            return x.size() < y.size() ? -1 : 1;
    }
    return 0;
}

// The keys compared at levels 1 to levels only: -1, 0 or +1.
static inline int32_t RefDictionaryCompareLevels(const RefDictionary &d, const Unit16 *a, const Unit16 *b,
                                                 const RefDictOptions &o, int levels)
{
    return RefDictCompareWeighed(RefDictWeigh(d, a, o), RefDictWeigh(d, b, o), levels);
}

static inline int32_t RefDictionaryCompare(const RefDictionary &d, const Unit16 *a, const Unit16 *b,
                                           const RefDictOptions &o)
{
    return RefDictionaryCompareLevels(d, a, b, o, 5);
}

#endif
