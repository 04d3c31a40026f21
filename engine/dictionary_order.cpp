#include "dictionary_order.h"

#include "key_compare.h"

#include "dictionary_table.inc"

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

bool ReadDictElement(const DictionarySettings *s, DictReader *r, DictElement *e)
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

KeyPrefix PackDictionaryKey(const DictionarySettings *s, const Unit16 *key)
{
    PrefixSlots slots = {{0, 0}, 0};
    DictReader r = {key, -1};
    DictElement e;
    while (ReadDictElement(s, &r, &e) && PutCodes(&slots, &e)) {
    }
    return slots.p;
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

// One pass over both keys: level 1 element by element, and on the way the
// first difference at each of levels 2 to 5, which decide in turn when
// level 1 does not. Keys of the same units are equal without it.
int32_t DictionaryFrom(const DictionarySettings *s, const Unit16 *a, const Unit16 *b)
{
    size_t i = 0;
    while (a[i] == b[i] && a[i])
        i++;
    if (a[i] == b[i])
        return 0;
    int32_t later[4] = {0, 0, 0, 0};  // levels 2 to 5
    DictReader x = {a, -1}, y = {b, -1};
    DictElement e, f;
    for (;;) {
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
