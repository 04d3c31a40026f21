#include "patterns.h"

#include <stdio.h>
#include <string.h>

#include "bench_data.h"
#include "killer.h"

const BenchPattern benchPatterns[] = {
    {"two-values", -1, NULL},     // 済 and 未 at random
    {"prefectures", -1, NULL},    // the 47 prefecture names at random
    {"case-variants", 2, NULL},   // ok, OK, Ok, oK at random, case ignored
    {"leading-zeros", -1, NULL},  // item7, item07, item007 ... of four numbers
    {"sawtooth-16", -1, NULL},    // 16 values rising, again and again
    {"organ-pipe", -1, NULL},     // distinct values rising, then falling
    {"sorted", -1, NULL},
    {"reversed", -1, NULL},
    {"all-equal", -1, NULL},
    {"killer", -1, NULL},         // the order that drives the procedure quadratic
    // Runs of 2^31 and more, and two characters of one block of 1,024.
    {"jan-codes", -1, "numeric-cp932"},      // two 13-digit JAN codes at random
    {"phone-numbers", -1, "numeric-cp932"},  // five phone numbers of 10 and 11 digits at random
    {"one-big-run", -1, "numeric-unicode"},  // a and b at random, one line tel 3000000000
    {"shikaru-yoshi", -1, "custom"},         // 𠮟 and 𠮷 at random
    // Ordinary Japanese lines, for dictionary order beside code-unit order.
    {"japanese-words", -1, "unicode dictionary"},  // the bench's Japanese words alone
    {"kana-names", -1, "unicode dictionary"},      // names in kana of every form, with marks
};
const int benchPatternCount = sizeof benchPatterns / sizeof *benchPatterns;

const char *const benchPatternModes[] = {"cp932",      "unicode",      "numeric-unicode",
                                         "custom",     "dictionary",   "numeric-cp932"};
const int benchPatternModeCount = sizeof benchPatternModes / sizeof *benchPatternModes;
enum { EVERY_PATTERN_MODES = 5 };  // the first ones above

bool PatternRunsIn(int p, const char *mode)
{
    if (const char *modes = benchPatterns[p].mode) {
        size_t n = strlen(mode);
        for (const char *at = modes; (at = strstr(at, mode)) != NULL; at += n)
            if ((at == modes || at[-1] == ' ') && (at[n] == 0 || at[n] == ' '))
                return true;
        return false;
    }
    for (int m = 0; m < EVERY_PATTERN_MODES; m++)
        if (!strcmp(benchPatternModes[m], mode))
            return true;
    return false;
}

static const char16_t *const prefectures[47] = {
    u"北海道", u"青森県", u"岩手県", u"宮城県", u"秋田県", u"山形県", u"福島県", u"茨城県",
    u"栃木県", u"群馬県", u"埼玉県", u"千葉県", u"東京都", u"神奈川県", u"新潟県", u"富山県",
    u"石川県", u"福井県", u"山梨県", u"長野県", u"岐阜県", u"静岡県", u"愛知県", u"三重県",
    u"滋賀県", u"京都府", u"大阪府", u"兵庫県", u"奈良県", u"和歌山県", u"鳥取県", u"島根県",
    u"岡山県", u"広島県", u"山口県", u"徳島県", u"香川県", u"愛媛県", u"高知県", u"福岡県",
    u"佐賀県", u"長崎県", u"熊本県", u"大分県", u"宮崎県", u"鹿児島県", u"沖縄県",
};

static void Put(std::vector<uint16_t> &t, const char16_t *s)
{
    while (*s)
        t.push_back((uint16_t)*s++);
}

static void PutAscii(std::vector<uint16_t> &t, const char *s)
{
    while (*s)
        t.push_back((uint8_t)*s++);
}

// A word of two to five kanji, hiragana or katakana, as the bench's
// ordinary lines hold them.
static void PutJapaneseWord(std::vector<uint16_t> &t, uint64_t *state)
{
    uint32_t kind = SplitMix(state, 4), length = 2 + SplitMix(state, 4);
    for (uint32_t i = 0; i < length; i++) {
        if (kind < 2)
            t.push_back((uint16_t)(0x4E00 + SplitMix(state, 0x51A6)));
        else if (kind == 2)
            t.push_back((uint16_t)(0x3042 + SplitMix(state, 0x50)));
        else
            t.push_back((uint16_t)(0x30A2 + SplitMix(state, 0x50)));
    }
}

// A name of two to six syllables, as a list of readings holds them: in
// hiragana, katakana or half-width katakana, with voiced and small kana,
// the long-sound mark and now and then an iteration mark.
static void PutKanaName(std::vector<uint16_t> &t, uint64_t *state)
{
    static const char16_t *const syllables[] = {
        u"あ", u"い", u"う", u"え", u"お", u"か", u"き", u"く", u"け", u"こ", u"が", u"ぎ", u"ぐ", u"げ", u"ご",
        u"さ", u"し", u"す", u"せ", u"そ", u"ざ", u"じ", u"ず", u"ぜ", u"ぞ", u"た", u"ち", u"つ", u"て", u"と",
        u"だ", u"で", u"ど", u"な", u"に", u"ぬ", u"ね", u"の", u"は", u"ひ", u"ふ", u"へ", u"ほ", u"ば", u"び",
        u"ぶ", u"ぼ", u"ぱ", u"ぴ", u"ぷ", u"ま", u"み", u"む", u"め", u"も", u"や", u"ゆ", u"よ", u"ら", u"り",
        u"る", u"れ", u"ろ", u"わ", u"を", u"ん", u"きゃ", u"しゅ", u"ちょ", u"りょ", u"じゅ", u"っ", u"ー"};
    static const char16_t half[] = u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝｬｭｮｯｰ";
    uint32_t script = SplitMix(state, 10), length = 2 + SplitMix(state, 5);
    for (uint32_t i = 0; i < length; i++) {
        if (script == 9) {
            t.push_back(half[SplitMix(state, sizeof half / sizeof *half - 1)]);
            if (SplitMix(state, 6) == 0)
                t.push_back(0xFF9E);  // ﾞ
            continue;
        }
        const char16_t *s = syllables[SplitMix(state, sizeof syllables / sizeof *syllables)];
        for (; *s; s++)  // katakana lies 0x60 above hiragana
            t.push_back((uint16_t)(script >= 5 && *s != u'ー' ? *s + 0x60 : *s));
        if (SplitMix(state, 40) == 0)
            t.push_back(script >= 5 ? 0x30FD : 0x309D);  // ヽ ゝ
    }
}

// A number zero-padded to the width of the largest, so that every order
// of the modes sorts the values alike.
static void PutValue(std::vector<uint16_t> &t, size_t v, size_t lines)
{
    char b[32];
    snprintf(b, sizeof b, "v%0*zu", snprintf(NULL, 0, "%zu", lines), v);
    PutAscii(t, b);
}

std::vector<uint16_t> MakePatternText(int p, size_t lines, uint64_t seed)
{
    const char *name = benchPatterns[p].name;
    if (!strcmp(name, "killer"))
        return MakeKillerText(lines);
    static const char *const cases[4] = {"ok", "OK", "Ok", "oK"};
    static const char *const jan[2] = {"4547691689979", "4901234567890"};
    static const char *const phones[5] = {"07000001111", "08011112222", "0312345678", "09012345678", "0451234567"};
    uint64_t state = seed;
    std::vector<uint16_t> t;
    t.reserve(lines * 14 + 1);
    for (size_t i = 0; i < lines; i++) {
        if (!strcmp(name, "two-values")) {
            Put(t, SplitMix(&state, 2) ? u"済" : u"未");
        } else if (!strcmp(name, "prefectures")) {
            Put(t, prefectures[SplitMix(&state, 47)]);
        } else if (!strcmp(name, "case-variants")) {
            PutAscii(t, cases[SplitMix(&state, 4)]);
        } else if (!strcmp(name, "leading-zeros")) {
            PutAscii(t, "item");
            for (uint32_t z = SplitMix(&state, 4); z > 0; z--)
                t.push_back('0');
            t.push_back((uint16_t)('1' + SplitMix(&state, 4)));
        } else if (!strcmp(name, "sawtooth-16")) {
            PutValue(t, i % 16, 16);
        } else if (!strcmp(name, "organ-pipe")) {
            PutValue(t, i < lines / 2 ? i : lines - 1 - i, lines);
        } else if (!strcmp(name, "jan-codes")) {
            PutAscii(t, jan[SplitMix(&state, 2)]);
        } else if (!strcmp(name, "phone-numbers")) {
            PutAscii(t, phones[SplitMix(&state, 5)]);
        } else if (!strcmp(name, "one-big-run")) {
            PutAscii(t, i == lines / 2 ? "tel 3000000000" : SplitMix(&state, 2) ? "a" : "b");
        } else if (!strcmp(name, "shikaru-yoshi")) {
            Put(t, SplitMix(&state, 2) ? u"\U00020B9F" : u"\U00020BB7");
        } else if (!strcmp(name, "japanese-words")) {
            PutJapaneseWord(t, &state);
        } else if (!strcmp(name, "kana-names")) {
            PutKanaName(t, &state);
        } else if (!strcmp(name, "sorted")) {
            PutValue(t, i, lines);
        } else if (!strcmp(name, "reversed")) {
            PutValue(t, lines - 1 - i, lines);
        } else {  // all-equal
            Put(t, u"同じ行");
        }
        t.push_back('\n');
    }
    t.push_back(0);
    return t;
}

void PatternOptions(int p, const char *mode, char out[8])
{
    snprintf(out, 8, "%s", mode);
    if (benchPatterns[p].option >= 0)
        out[benchPatterns[p].option] = '1';
}
