#include "dictionary_order.h"

#include "key_compare.h"

#include "dictionary_table.inc"

// One element of a key, as ReadDictElement reads it.
struct DictElement {
    Unit16 code[2];  // level-1 codes; code[1] is 0 for a one-code element
    uint8_t voicing, form, script, width;  // levels 2 to 5
    // A digit run: all its digits, and those past its leading zeros.
    // run is null for every other element.
    const Unit16 *run, *significant;
    size_t runLength, significantLength;
};

// Where a reading of a key stands: the next unit, and the group of the
// element before when that is a kana element (a replaced mark counts as
// the kana it became), which a mark after it reads; -1 otherwise.
struct DictReader {
    const Unit16 *at;
    int32_t kanaGroup;
};

enum {
    WEIGHT_CODE = 0xFFFF,
    WEIGHT_VOICING_SHIFT = 16,
    WEIGHT_FORM_SHIFT = 18,
    WEIGHT_KATAKANA = 1 << 20,
    WEIGHT_HALF = 1 << 21,
    WEIGHT_KANA = 1 << 22,
    WEIGHT_LATIN = 1 << 23,
    WEIGHT_JOINS_VOICED = 1 << 24,
    WEIGHT_JOINS_SEMI_VOICED = 1 << 25,
    WEIGHT_MARK_SHIFT = 26,
};

enum { MARK_LONG = 1, MARK_ITERATION = 2, MARK_VOICED_ITERATION = 3 };
enum { FORM_LONG = 0, FORM_ITERATION = 2 };

enum {
    CODE_GROUPS = 0x0100,
    CODE_KANJI = 0x1000,
    CODE_KANJI_COMPATIBILITY = 0x7C00,  // code point order: U+F900-U+FAFF
    CODE_KANJI_BY_CODE_POINT = 0x9000,
    CODE_KANJI_BY_RANK = 0x9800,
    CODE_OTHER = 0xA000,
};

static inline uint32_t WeightsOf(uint32_t u)
{
    return dictionaryWeights[dictionaryPageOf[u >> 8]][u & 0xFF];
}

static inline bool IsDictDigit(uint32_t u)
{
    return u - '0' < 10 || u - 0xFF10 < 10;
}

static inline uint32_t DigitValue(uint32_t u)
{
    return u < 0x100 ? u - '0' : u - 0xFF10;
}

static inline bool IsKanji(uint32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// Two codes hi + (c >> 15), 1 + the low 15 bits: any value below 2^27 in
// its order, after every one-code element below hi.
static inline void PutWide(DictElement *e, uint32_t hi, uint32_t c)
{
    e->code[0] = (Unit16)(hi + (c >> 15));
    e->code[1] = (Unit16)(1 + (c & 0x7FFF));
}

// The kanji c (in the kanji ranges, not listed); at is where it starts.
static void PutKanji(const DictionarySettings *s, DictElement *e, uint32_t c, const Unit16 *at)
{
    if (s->kanji == DICT_KANJI_RANKED) {
        const OrderFile *f = s->file;
        uint32_t rank = 0;  // rank + 1; 0 when not listed
        if (c < 0x10000) {
            rank = f->firstUnit[c];
        } else if (const uint32_t *block = f->firstPair[at[0] - 0xD800]) {
            rank = block[at[1] - 0xDC00];
        }
        if (rank) {
            PutWide(e, CODE_KANJI_BY_RANK, rank - 1);
            return;
        }
    } else if (s->kanji == DICT_KANJI_CP932) {
        uint32_t code = 0;
        if (c >= DICT_CP932_UNIFIED_FIRST && c <= DICT_CP932_UNIFIED_LAST)
            code = dictionaryCp932Unified[c - DICT_CP932_UNIFIED_FIRST];
        else if (c >= DICT_CP932_COMPATIBILITY_FIRST && c <= DICT_CP932_COMPATIBILITY_LAST)
            code = dictionaryCp932Compatibility[c - DICT_CP932_COMPATIBILITY_FIRST];
        if (code)
            e->code[0] = (Unit16)(CODE_KANJI + code);
        else
            PutWide(e, CODE_KANJI_BY_CODE_POINT, c);
        return;
    }
    // By code point: the basic plane's blocks in one code each, packed
    // together (U+3400-U+9FFF, then U+F900-U+FAFF), the rest after them.
    if (c <= 0x9FFF)
        e->code[0] = (Unit16)(CODE_KANJI + (c - 0x3400));
    else if (c <= 0xFAFF)
        e->code[0] = (Unit16)(CODE_KANJI_COMPATIBILITY + (c - 0xF900));
    else
        PutWide(e, CODE_KANJI_BY_CODE_POINT, c);
}

// The voiced form of a full-width kana that U+3099 joins.
static inline uint32_t VoicedKana(uint32_t c)
{
    if (c == 0x3046)  // う
        return 0x3094;
    if (c == 0x30A6)  // ウ
        return 0x30F4;
    if (c >= 0x30EF && c <= 0x30F2)  // ワ ヰ ヱ ヲ
        return c + 8;
    return c + 1;  // か が, ゝ ゞ, ...
}

// The weights of the listed unit c followed by next, joined with next
// where next is a voicing mark that makes its voiced or semi-voiced form;
// *joined says whether it was.
static inline uint32_t JoinedWeights(uint32_t c, uint32_t w, uint32_t next, bool *joined)
{
    bool half = (w & WEIGHT_HALF) != 0;
    *joined = true;
    if ((w & WEIGHT_JOINS_VOICED) && (next == 0x3099 || (half && next == 0xFF9E)))
        return half ? (w & ~(3u << WEIGHT_VOICING_SHIFT)) | 1u << WEIGHT_VOICING_SHIFT : WeightsOf(VoicedKana(c));
    if ((w & WEIGHT_JOINS_SEMI_VOICED) && (next == 0x309A || (half && next == 0xFF9F)))
        return half ? (w & ~(3u << WEIGHT_VOICING_SHIFT)) | 2u << WEIGHT_VOICING_SHIFT : WeightsOf(c + 2);
    *joined = false;
    return w;
}

static inline void PutKana(DictElement *e, uint32_t code, uint32_t voicing, uint32_t form, bool katakana,
                           bool half)
{
    e->code[0] = (Unit16)code;
    e->voicing = (uint8_t)voicing;
    e->form = (uint8_t)form;
    e->script = katakana;
    e->width = half;
}

// A digit run from its first digit.
static inline void ReadRun(DictElement *e, const Unit16 *p, const Unit16 **end)
{
    e->code[0] = DICT_DIGIT_CODE;
    e->run = p;
    while (*p == '0' || *p == 0xFF10)
        p++;
    e->significant = p;
    while (IsDictDigit(*p))
        p++;
    e->runLength = (size_t)(p - e->run);
    e->significantLength = (size_t)(p - e->significant);
    *end = p;
}

// ReadDictElement for all elements but the plain ones that
// ReadDictElement reads itself.
static bool ReadElementSlowly(const DictionarySettings *s, DictReader *r, DictElement *e)
{
    const Unit16 *p = r->at;
    uint32_t c = *p;
    if (!c)
        return false;
    int32_t kanaBefore = r->kanaGroup;
    *e = DictElement();
    r->kanaGroup = -1;
    if (s->numeric && IsDictDigit(c)) {
        ReadRun(e, p, &r->at);
        return true;
    }
    if (IsHighSurrogate(c) && IsLowSurrogate(p[1])) {
        uint32_t cp = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00u);
        if (IsKanji(cp))
            PutKanji(s, e, cp, p);
        else
            PutWide(e, CODE_OTHER, cp);
        r->at = p + 2;
        return true;
    }
    uint32_t w = WeightsOf(c);
    r->at = p + 1;
    if (!w) {
        if (c <= 0x1F)
            e->code[0] = (Unit16)c;
        else if (c >= 0x7F && c <= 0x9F)
            e->code[0] = (Unit16)(c - 0x7F + 0x20);
        else if (IsKanji(c))
            PutKanji(s, e, c, p);
        else
            PutWide(e, CODE_OTHER, c);
        return true;
    }
    bool joined;
    w = JoinedWeights(c, w, p[1], &joined);
    r->at += joined;
    uint32_t mark = w >> WEIGHT_MARK_SHIFT & 7;
    bool katakana = (w & WEIGHT_KATAKANA) != 0;
    if (kanaBefore >= 0 && mark == MARK_LONG) {
        // ー ｰ: the vowel of the kana before.
        PutKana(e, dictionaryGroups[kanaBefore].vowel, 0, FORM_LONG, true, (w & WEIGHT_HALF) != 0);
    } else if (kanaBefore >= 0 && mark == MARK_ITERATION) {
        PutKana(e, CODE_GROUPS + kanaBefore, 0, FORM_ITERATION, katakana, false);
    } else if (kanaBefore >= 0 && mark == MARK_VOICED_ITERATION &&
               (katakana ? dictionaryGroups[kanaBefore].voicedKatakana
                         : dictionaryGroups[kanaBefore].voicedHiragana)) {
        PutKana(e, CODE_GROUPS + kanaBefore, 1, FORM_ITERATION, katakana, false);
    } else {
        e->code[0] = (Unit16)(w & WEIGHT_CODE);
        e->voicing = (uint8_t)(w >> WEIGHT_VOICING_SHIFT & 3);
        e->form = (s->ignoreCase && (w & WEIGHT_LATIN)) ? 0 : (uint8_t)(w >> WEIGHT_FORM_SHIFT & 3);
        e->script = katakana;
        e->width = (w & WEIGHT_HALF) != 0;
        if (!(w & WEIGHT_KANA))
            return true;
    }
    // A kana element, or a mark read as one: the group a mark after it
    // reads, where the group is one of kana.
    uint32_t group = (uint32_t)e->code[0] - CODE_GROUPS;
    if (group < DICT_GROUPS && dictionaryGroups[group].vowel)
        r->kanaGroup = (int32_t)group;
    return true;
}

static inline bool IsVoicingMark(uint32_t u)
{
    return u == 0x3099 || u == 0x309A || u == 0xFF9E || u == 0xFF9F;
}

// Most units of most keys make an element of their own whatever stands
// around them: a listed unit that is no mark, no digit of a run and joins
// no voicing mark after it, and a kanji of the unified block outside
// ranked order. PlainElement reads such a unit in a few steps: its level-1
// code into *code, or its two codes into *code and *code2 (*code2 is
// otherwise 0), and its weights into *w (0 for a kanji, which levels 2 to
// 5 do not concern). False for anything else, or anything in doubt, which
// ReadElementSlowly reads. After a plain element the kana before the next
// is its group if it is a kana (PlainKana).
static inline bool PlainElement(const DictionarySettings *s, const Unit16 *p, uint32_t *code, uint32_t *code2,
                                uint32_t *w)
{
    enum { MARKS = 7u << WEIGHT_MARK_SHIFT, JOINS = WEIGHT_JOINS_VOICED | WEIGHT_JOINS_SEMI_VOICED };
    uint32_t c = *p, v = WeightsOf(c);
    *w = v;
    *code2 = 0;
    if (v)
        return (*code = v & WEIGHT_CODE, !(v & MARKS) && !(s->numeric && IsDictDigit(c)) &&
                                             (!(v & JOINS) || !IsVoicingMark(p[1])));
    if (c < 0x4E00 || c > 0x9FFF || s->kanji == DICT_KANJI_RANKED)
        return false;
    uint32_t k = s->kanji == DICT_KANJI_CODE_POINT ? c - 0x3400
                 : c <= DICT_CP932_UNIFIED_LAST  ? dictionaryCp932Unified[c - DICT_CP932_UNIFIED_FIRST]
                                                 : 0;
    if (k) {
        *code = CODE_KANJI + k;
    } else {  // not in code page 932: after its kanji, by code point
        *code = CODE_KANJI_BY_CODE_POINT + (c >> 15);
        *code2 = 1 + (c & 0x7FFF);
    }
    return true;
}

static inline int32_t PlainKana(uint32_t code, uint32_t w)
{
    // The groups of kana elements are groups of kana.
    return (w & WEIGHT_KANA) ? (int32_t)(code - CODE_GROUPS) : -1;
}

// Levels 2 to 5 of a plain element, as the bits of its weights; the case
// of a Latin letter dropped when case is ignored.
static inline uint32_t PlainLevels(const DictionarySettings *s, uint32_t w)
{
    uint32_t levels = w & (3u << WEIGHT_VOICING_SHIFT | 3u << WEIGHT_FORM_SHIFT | WEIGHT_KATAKANA | WEIGHT_HALF);
    if (s->ignoreCase && (w & WEIGHT_LATIN))
        levels &= ~(3u << WEIGHT_FORM_SHIFT);
    return levels;
}

// Reads the element at r->at into *e and moves past it; false at the key's
// NUL.
static bool ReadDictElement(const DictionarySettings *s, DictReader *r, DictElement *e)
{
    uint32_t code, code2, w;
    if (!PlainElement(s, r->at, &code, &code2, &w))
        return ReadElementSlowly(s, r, e);
    uint32_t levels = PlainLevels(s, w);
    e->code[0] = (Unit16)code;
    e->code[1] = (Unit16)code2;
    e->voicing = (uint8_t)(levels >> WEIGHT_VOICING_SHIFT & 3);
    e->form = (uint8_t)(levels >> WEIGHT_FORM_SHIFT & 3);
    e->script = (levels & WEIGHT_KATAKANA) != 0;
    e->width = (levels & WEIGHT_HALF) != 0;
    e->run = NULL;
    r->at++;
    r->kanaGroup = PlainKana(code, w);
    return true;
}

// ---- Level 1 as codes -------------------------------------------------------

struct PrefixSlots {
    KeyPrefix p;
    int used;
};

static inline bool Put(PrefixSlots *s, uint32_t code)
{
    SetUnit<Unit16>(&s->p, s->used, code);
    return ++s->used < Packing<Unit16>::UNITS;
}

// Puts the element's level-1 codes in the slots left; false when they are
// full.
static bool PutCodes(PrefixSlots *s, const DictElement *e)
{
    if (!Put(s, e->code[0]))
        return false;
    if (!e->run)
        return !e->code[1] || Put(s, e->code[1]);
    size_t n = e->significantLength;
    if (n + 1 < 0xFFFF) {
        if (!Put(s, (uint32_t)(n + 1)))
            return false;
    } else {
        uint64_t big = n;
        if (!Put(s, 0xFFFF) || !Put(s, (uint32_t)(big >> 30 & 0x7FFF) + 1) ||
            !Put(s, (uint32_t)(big >> 15 & 0x7FFF) + 1) || !Put(s, (uint32_t)(big & 0x7FFF) + 1))
            return false;
    }
    for (size_t i = 0; i < n; i++)
        if (!Put(s, DigitValue(e->significant[i]) + 1))
            return false;
    return true;
}

// The levels of a short key in its prefix. Behind the level-1 codes of a
// key of at most PACKED_ELEMENTS elements in at most PACKED_CODES codes,
// none a digit run, and the zero slot that ends them, the two slots after
// hold a 1 and then its levels 2 to 5:
//
//   bits (from the slot after the zero, down)   holds
//   -----------------------------------------   ----------------------------
//   1                                           1: the levels follow
//   2n                                          each element's voicing
//   2n                                          each element's form or case
//   n                                           each element's script
//   n                                           each element's width
//
// for n elements, left to right. Two keys whose prefixes are equal up to
// that point have the same codes, so the same elements (no element's codes
// begin another's), and the bits compare as
// their levels 2 to 5 do, level by level: the prefixes decide such keys
// whole, equal keys included, without reading them. Other keys have zeros
// there.
enum { PACKED_ELEMENTS = 5, PACKED_CODES = 5 };

KeyPrefix PackDictionaryKey(const DictionarySettings *s, const Unit16 *key)
{
    enum { SLOTS = Packing<Unit16>::UNITS };
    Unit16 codes[SLOTS + 1] = {0};  // room for a second code past the last slot
    int used = 0;
    // Levels 2 to 5 of each element, as PlainLevels gives them; elements
    // is PACKED_ELEMENTS + 1 once there are too many, or a digit run,
    // whose width is a sequence.
    uint32_t levelsOf[PACKED_ELEMENTS + 1];
    int elements = 0;
    DictReader r = {key, -1};
    while (used < SLOTS) {
        uint32_t code, code2, w, levels;
        if (PlainElement(s, r.at, &code, &code2, &w)) {
            r.at++;
            r.kanaGroup = PlainKana(code, w);
            levels = PlainLevels(s, w);
            codes[used++] = (Unit16)code;
            if (code2)
                codes[used++] = (Unit16)code2;
        } else {
            DictElement e;
            if (!ReadElementSlowly(s, &r, &e))
                break;
            PrefixSlots slots = {{0, 0}, 0};
            if (e.run) {
                elements = PACKED_ELEMENTS + 1;
                // The element's codes, through PutCodes, into the slots left.
                PutCodes(&slots, &e);
                for (int i = 0; i < slots.used && used < SLOTS; i++)
                    codes[used++] = (Unit16)UnitAt<Unit16>(slots.p, i);
                continue;
            }
            codes[used++] = e.code[0];
            if (e.code[1])
                codes[used++] = e.code[1];
            levels = (uint32_t)e.voicing << WEIGHT_VOICING_SHIFT | (uint32_t)e.form << WEIGHT_FORM_SHIFT |
                     (e.script ? WEIGHT_KATAKANA : 0) | (e.width ? WEIGHT_HALF : 0);
        }
        if (elements <= PACKED_ELEMENTS)
            levelsOf[elements++] = levels;
    }
    // Whole when the key ended with few enough elements and codes: the
    // levels go into the two slots after the zero that ends the codes.
    int n = elements;
    if (n <= PACKED_ELEMENTS && used <= PACKED_CODES && !*r.at) {
        uint32_t voicing = 0, form = 0, script = 0, width = 0;
        for (int i = 0; i < n; i++) {
            uint32_t l = levelsOf[i];
            voicing = voicing << 2 | (l >> WEIGHT_VOICING_SHIFT & 3);
            form = form << 2 | (l >> WEIGHT_FORM_SHIFT & 3);
            script = script << 1 | (l & WEIGHT_KATAKANA ? 1 : 0);
            width = width << 1 | (l & WEIGHT_HALF ? 1 : 0);
        }
        uint32_t bits = 1u << 6 * n | voicing << 4 * n | form << 2 * n | script << n | width;
        bits <<= 31 - 6 * n;  // the 1 at the top
        codes[used + 1] = (Unit16)(bits >> 16);
        codes[used + 2] = (Unit16)bits;
    }
    KeyPrefix p;
    p.hi = (uint64_t)codes[0] << 48 | (uint64_t)codes[1] << 32 | (uint64_t)codes[2] << 16 | codes[3];
    p.lo = (uint64_t)codes[4] << 48 | (uint64_t)codes[5] << 32 | (uint64_t)codes[6] << 16 | codes[7];
    return p;
}

bool DictionaryPrefixIsWhole(KeyPrefix p)
{
    int n = 0;
    while (n <= PACKED_CODES && UnitAt<Unit16>(p, n))
        n++;
    return n <= PACKED_CODES && (UnitAt<Unit16>(p, n + 1) & 0x8000);
}

// ---- Whole keys ---------------------------------------------------------------

static inline int32_t Sign(uint32_t x, uint32_t y)
{
    return (x > y) - (x < y);
}

// Two elements at level 1, as their codes compare: a run's codes begin
// with DICT_DIGIT_CODE, which no other element's do while runs are read.
static int32_t CompareLevel1(const DictElement *e, const DictElement *f)
{
    if (e->run && f->run) {
        if (e->significantLength != f->significantLength)
            return e->significantLength < f->significantLength ? -1 : 1;
        for (size_t i = 0; i < e->significantLength; i++)
            if (int32_t r = Sign(DigitValue(e->significant[i]), DigitValue(f->significant[i])))
                return r;
        return 0;
    }
    if (int32_t r = Sign(e->code[0], f->code[0]))
        return r;
    return Sign(e->code[1], f->code[1]);
}

// Level 5 of two elements of one group: a run's weight is the sequence of
// its digits' widths, ASCII before full-width, the shorter first.
static int32_t CompareWidths(const DictElement *e, const DictElement *f)
{
    if (!e->run)
        return Sign(e->width, f->width);
    size_t n = e->runLength < f->runLength ? e->runLength : f->runLength;
    for (size_t i = 0; i < n; i++)
        if (int32_t r = Sign(e->run[i] >= 0xFF10, f->run[i] >= 0xFF10))
            return r;
    return Sign((uint32_t)(e->runLength > n), (uint32_t)(f->runLength > n));
}

// Whether the unit u always makes an element of its own that leaves no
// kana behind for a mark: no surrogate, no digit of a run, nothing that
// joins the voicing mark after it or that a kana before it joins, and
// neither kana nor mark. Reading a key from just after such a unit, with
// no kana before, reads the elements that the whole reading reads there.
static inline bool EndsElements(const DictionarySettings *s, uint32_t u)
{
    enum { READ_WITH_NEIGHBOURS = WEIGHT_KANA | WEIGHT_JOINS_VOICED | WEIGHT_JOINS_SEMI_VOICED | 7u << WEIGHT_MARK_SHIFT };
    return (u & 0xF800) != 0xD800 && !(s->numeric && IsDictDigit(u)) && !(WeightsOf(u) & READ_WITH_NEIGHBOURS);
}

// One pass over both keys: level 1 element by element, and on the way the
// first difference at each of levels 2 to 5, which decide in turn when
// level 1 does not. Keys of the same units are equal without it.
//
// The units both keys share make the same elements, bar the last few that
// a unit after them may change (a voicing mark joining a kana, a mark
// read from the kana before, a digit run or a surrogate pair going on).
// So the pass starts after the last shared unit that ends elements
// (EndsElements), or at the start when there is none.
int32_t DictionaryFrom(const DictionarySettings *s, const Unit16 *a, const Unit16 *b)
{
    size_t i = 0;
    while (a[i] == b[i] && a[i])
        i++;
    if (a[i] == b[i])
        return 0;
    while (i > 0 && !EndsElements(s, a[i - 1]))
        i--;
    int32_t later[4] = {0, 0, 0, 0};  // levels 2 to 5
    DictReader x = {a + i, -1}, y = {b + i, -1};
    DictElement e, f;
    for (;;) {
        // Plain elements on both sides, as long as they last.
        uint32_t codeA, codeB, code2A, code2B, wA, wB;
        while (PlainElement(s, x.at, &codeA, &code2A, &wA) && PlainElement(s, y.at, &codeB, &code2B, &wB)) {
            if (codeA != codeB)
                return codeA < codeB ? -1 : 1;
            if (code2A != code2B)
                return code2A < code2B ? -1 : 1;
            uint32_t levelsA = PlainLevels(s, wA), levelsB = PlainLevels(s, wB);
            if (levelsA != levelsB) {
                static const uint32_t masks[4] = {3u << WEIGHT_VOICING_SHIFT, 3u << WEIGHT_FORM_SHIFT,
                                                  WEIGHT_KATAKANA, WEIGHT_HALF};
                for (int level = 0; level < 4; level++)
                    if (!later[level])
                        later[level] = Sign(levelsA & masks[level], levelsB & masks[level]);
            }
            x.at++;
            y.at++;
            x.kanaGroup = PlainKana(codeA, wA);
            y.kanaGroup = PlainKana(codeB, wB);
        }
        bool moreA = ReadDictElement(s, &x, &e), moreB = ReadDictElement(s, &y, &f);
        if (!moreA || !moreB) {
            if (moreA != moreB)
                return moreA ? 1 : -1;
            for (int level = 0; level < 4; level++)
                if (later[level])
                    return later[level];
            return 0;
        }
        if (int32_t r = CompareLevel1(&e, &f))
            return r;
        if (!later[0])
            later[0] = Sign(e.voicing, f.voicing);
        if (!later[1])
            later[1] = Sign(e.form, f.form);
        if (!later[2])
            later[2] = Sign(e.script, f.script);
        if (!later[3])
            later[3] = CompareWidths(&e, &f);
    }
}
