// The reference dictionary order (tests/reference/dictionary.h) held to
// its note: the standard's conformance data, the note's examples, the
// three kanji orders, the weights it gives each element of groups.txt
// against the order the file lists them in, and the laws of a total
// preorder on random keys.
#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "helpers.h"
#include "tests/reference/cp932.h"
#include "tests/reference/dictionary.h"

namespace {

const char GROUPS[] = TALLORIX_SOURCE_DIR "/data/dictionary/groups.txt";

const RefDictionary &Dictionary()
{
    static RefDictionary d;
    static bool loaded = RefLoadDictionary(GROUPS, &d);
    EXPECT_TRUE(loaded) << GROUPS;
    return d;
}

// Options by letter: i ASCII case ignored, n numbers by value, u Unicode.
RefDictOptions Options(const char *flags, const RefRanks *ranks = NULL)
{
    RefDictOptions o = {strchr(flags, 'i') != NULL, strchr(flags, 'n') != NULL, strchr(flags, 'u') != NULL, ranks};
    return o;
}

Units Key(const RefUnits &text)
{
    Units k(text);
    k.push_back(0);
    return k;
}

int Compare(const std::u16string &a, const std::u16string &b, const RefDictOptions &o, int levels = 5)
{
    Units x = ToUnits(a), y = ToUnits(b);
    return Sign(RefDictionaryCompareLevels(Dictionary(), x.data(), y.data(), o, levels));
}

// a against b: equal at the levels below level, and at level and after
// it sign; level 0: equal at all five.
struct Case {
    std::u16string a, b;
    const char *flags;
    int level, sign;
};

void Check(const Case &c, const RefRanks *ranks = NULL)
{
    SCOPED_TRACE(Show(c.a) + " vs " + Show(c.b) + " [" + c.flags + "]");
    RefDictOptions o = Options(c.flags, ranks);
    for (int level = 1; level <= 5; level++) {
        int want = c.level == 0 || level < c.level ? 0 : c.sign;
        EXPECT_EQ(Compare(c.a, c.b, o, level), want) << "levels 1 to " << level;
        EXPECT_EQ(Compare(c.b, c.a, o, level), -want) << "levels 1 to " << level;
    }
}

// Keys each smaller than the next, so each smaller than every later one.
struct Chain {
    const char *flags;
    std::vector<std::u16string> keys;
};

void Check(const Chain &c, const RefRanks *ranks = NULL)
{
    RefDictOptions o = Options(c.flags, ranks);
    for (size_t i = 0; i < c.keys.size(); i++)
        for (size_t j = i + 1; j < c.keys.size(); j++) {
            SCOPED_TRACE(Show(c.keys[i]) + " < " + Show(c.keys[j]) + " [" + c.flags + "]");
            EXPECT_EQ(Compare(c.keys[i], c.keys[j], o), -1);
            EXPECT_EQ(Compare(c.keys[j], c.keys[i], o), 1);
        }
}

TEST(DictionaryReference, ConformanceDataInItsOrder)
{
    std::vector<std::u16string> lines = ConformanceLines();
    ASSERT_EQ(lines.size(), 108u);
    std::mt19937 random(4061);
    for (const char *flags : {"", "u", "n", "nu"}) {
        RefDictOptions o = Options(flags);
        for (size_t i = 0; i + 1 < lines.size(); i++) {
            SCOPED_TRACE(testing::Message() << "line " << i + 1 << " [" << flags << "]");
            EXPECT_EQ(Compare(lines[i], lines[i + 1], o), -1);
        }
        for (int round = 0; round < 3; round++) {
            std::vector<std::u16string> s = lines;
            std::shuffle(s.begin(), s.end(), random);
            std::stable_sort(s.begin(), s.end(), [&](const std::u16string &a, const std::u16string &b) {
                return Compare(a, b, o) < 0;
            });
            EXPECT_TRUE(s == lines) << "[" << flags << "]";
        }
    }
}

// The note's examples, element by element.
const Case examples[] = {
    // Voicing marks joining the kana before them, or standing alone.
    {u"か\u3099", u"が", "", 0, 0},
    {u"ワ\u3099", u"ヷ", "", 0, 0},
    {u"ヲ\u3099", u"ヺ", "", 0, 0},
    {u"う\u3099", u"ゔ", "", 0, 0},
    {u"ｶ\u3099", u"ｶﾞ", "", 0, 0},
    {u"ｳ\u3099", u"ｳﾞ", "", 0, 0},
    {u"ゝ\u3099", u"ゞ", "", 0, 0},
    {u"ヽ\u3099", u"ヾ", "", 0, 0},
    {u"かゝ\u3099", u"かゞ", "", 0, 0},
    {u"は\u309A", u"ぱ", "", 0, 0},
    {u"ﾊ\u309A", u"ﾊﾟ", "", 0, 0},
    {u"ｶﾞ", u"ガ", "", 5, 1},
    {u"ﾊﾟ", u"パ", "", 5, 1},
    {u"ア\u3099", u"ア゛", "", 0, 0},
    {u"わ\u3099", u"わ゛", "", 0, 0},
    {u"ゐ\u3099", u"ゐ゛", "", 0, 0},
    {u"ゑ\u3099", u"ゑ゛", "", 0, 0},
    {u"を\u3099", u"を゛", "", 0, 0},
    {u"ん\u3099", u"ん゛", "", 0, 0},
    {u"が\u3099", u"が゛", "", 0, 0},
    {u"ぱ\u309A", u"ぱ゜", "", 0, 0},
    {u"ゕ\u3099", u"ゕ゛", "", 0, 0},
    {u"っ\u3099", u"っ゛", "", 0, 0},
    {u"か\u309A", u"か゜", "", 0, 0},
    {u"ｶ\u309A", u"ｶ゜", "", 0, 0},
    {u"ｦﾞ", u"ｦ゛", "", 5, 1},  // groups.txt lists no ｦﾞ
    {u"ｦﾞ", u"ヺ", "", 1, 1},
    {u"かﾞ", u"が", "", 1, 1},  // ﾞ joins half-width katakana only
    {u"\u3099", u"゛", "", 0, 0},
    {u"\u309A", u"゜", "", 0, 0},
    {u"゛", u"ﾞ", "", 5, -1},
    {u"！", u"゛", "", 1, -1},
    {u"゛", u"゜", "", 1, -1},
    {u"ﾟ", u"´", "", 1, -1},
    // Surrogates: a pair is one character, any other one by itself.
    {u"\xD83D", u"\xE000", "", 1, -1},
    {u"\xE000", u"\xD83D\xDE00", "", 1, -1},
    {u"\xDE00", u"\xD83D", "", 1, 1},
    {u"\xD83D" u"a", u"\xD83D\xDE00", "", 1, -1},
    {u"\xDE00\xD83D", u"\xDE00", "", 1, 1},

    // Levels 2 to 5.
    {u"は", u"ば", "", 2, -1},
    {u"ば", u"ぱ", "", 2, -1},
    {u"か", u"カ", "", 4, -1},
    {u"カ", u"ｶ", "", 5, -1},
    {u"う", u"ゔ", "", 2, -1},
    {u"ゔ", u"ヴ", "", 4, -1},
    {u"ヴ", u"ｳﾞ", "", 5, -1},
    {u"ヵ", u"か", "", 3, -1},
    {u"ゕ", u"ヵ", "", 4, -1},
    {u"ァ", u"ｧ", "", 5, -1},
    {u"ｧ", u"あ", "", 3, -1},
    {u"ㇰ", u"く", "", 3, -1},
    {u"ㇵ", u"は", "", 3, -1},
    {u"a", u"A", "", 3, -1},
    {u"a", u"ａ", "", 5, -1},
    {u"ａ", u"A", "", 3, -1},
    {u"A", u"Ａ", "", 5, -1},
    {u"ωb", u"Ωa", "", 1, -1},
    {u"я", u"А", "", 1, -1},
    {u"~", u"‾", "", 0, 0},
    {u"‾", u"￣", "", 5, -1},
    {u"~", u"～", "", 1, -1},
    {u"\\", u"¥", "", 0, 0},
    {u"¥", u"￥", "", 5, -1},
    {u"‖", u"∥", "", 0, 0},
    {u"−", u"－", "", 5, -1},
    {u"-", u"−", "", 1, -1},
    {u"¢", u"￠", "", 5, -1},
    {u"〜", u"～", "", 5, -1},
    // ASCII case ignored: Latin case only, width still counts.
    {u"a", u"A", "i", 0, 0},
    {u"ａ", u"Ａ", "i", 0, 0},
    {u"a", u"ａ", "i", 5, -1},
    {u"Ａ", u"a", "i", 5, 1},
    {u"Ab", u"aB", "i", 0, 0},
    {u"α", u"Α", "i", 1, -1},
    {u"ω", u"Α", "i", 1, -1},
    {u"я", u"А", "i", 1, -1},
    {u"か", u"カ", "i", 4, -1},

    // Classes.
    {u"\t", u"\r", "", 1, -1},
    {u"\x1F", u"\x7F", "", 1, -1},
    {u"\x9F", u" ", "", 1, -1},
    {u"ab", u"ab\r", "", 1, -1},
    {u"ab\r", u"ab ", "", 1, -1},
    {u" ", u"　", "", 1, -1},
    {u"　", u"、", "", 1, -1},
    {u"‥", u"‘", "", 1, -1},
    {u"】", u"+", "", 1, -1},
    {u"＼", u"\\", "", 1, -1},
    {u"♀", u"#", "", 1, -1},
    {u"♪", u"°", "", 1, -1},
    {u"\u212B", u"0", "", 1, -1},  // Å: the ANGSTROM SIGN
    {u"９", u"α", "", 1, -1},
    {u"Я", u"a", "", 1, -1},
    {u"Ｚ", u"ぁ", "", 1, -1},
    {u"'", u"＇", "", 1, -1},
    {u"\u00A0", u"é", "", 1, -1},
    {u"№", u"①", "", 1, -1},
    {u"一", u"─", "", 1, -1},
    {u"◯", u"〓", "", 1, -1},
    {u"\xD83D\xDE00", u"〓", "", 1, -1},

    // The long-sound mark and the iteration marks.
    {u"カー", u"カア", "", 3, -1},
    {u"カーー", u"カアア", "", 3, -1},
    {u"カーー", u"カアー", "", 3, -1},
    {u"かゝゝ", u"かかか", "", 3, -1},
    {u"かゝゝ", u"かゝか", "", 3, -1},
    {u"ンー", u"ンン", "", 3, -1},
    {u"ばヽ", u"ばハ", "", 3, -1},
    {u"ぱゝ", u"ぱは", "", 3, -1},
    {u"はゞ", u"はば", "", 3, -1},
    {u"ぱゞ", u"ぱば", "", 3, -1},
    {u"ぱゞ", u"ぱぱ", "", 2, -1},
    {u"ウヾ", u"ウヴ", "", 3, -1},
    {u"うゞ", u"うゔ", "", 3, -1},
    {u"わヾ", u"わヷ", "", 3, -1},
    {u"わヾ", u"わわ", "", 2, 1},
    {u"わヾ", u"わゞ", "", 1, -1},
    {u"わゞ", u"わん", "", 1, 1},
    {u"あゞ", u"あん", "", 1, 1},
    {u"アヾ", u"アン", "", 1, 1},
    {u"アヾ", u"アゝ", "", 1, 1},
    {u"かゝ", u"かヽ", "", 4, -1},
    {u"かゞ", u"かヾ", "", 4, -1},
    {u"カー", u"カｰ", "", 5, -1},
    {u"ｶｰ", u"ｶｱ", "", 3, -1},
    {u"ｶｰ", u"カー", "", 5, 1},
    {u"ｶヽ", u"ｶｶ", "", 3, -1},
    {u"かー", u"カー", "", 4, -1},
    {u"きゃー", u"きやあ", "", 3, -1},
    {u"きゅー", u"きゆう", "", 3, -1},
    {u"きょー", u"きよお", "", 3, -1},
    {u"っー", u"っう", "", 3, -1},
    {u"ヴー", u"ヴウ", "", 3, -1},
    {u"わー", u"わあ", "", 3, -1},
    {u"ゐー", u"ゐい", "", 3, -1},
    {u"ゑー", u"ゑえ", "", 3, -1},
    {u"をー", u"をお", "", 3, -1},
    {u"ㇰー", u"ㇰう", "", 3, -1},
    {u"ゕゞ", u"ゕが", "", 3, -1},
    // A replaced mark counts as the kana it became.
    {u"カーゝ", u"カアア", "", 3, -1},
    {u"かゝー", u"かかあ", "", 3, -1},
    {u"はゞゞ", u"はばば", "", 3, -1},
    {u"ぱゝゞ", u"ぱはば", "", 3, -1},
    // Not replaced: at the start, after no kana, after a voicing mark
    // alone, after a mark not replaced.
    {u"ゝ", u"ん", "", 1, 1},
    {u"ヾ", u"ゝ", "", 2, 1},
    {u"ー", u"ゝ", "", 1, 1},
    {u"ー", u"ｰ", "", 5, -1},
    {u"ー", u"〃", "", 1, -1},
    {u"漢ー", u"漢ん", "", 1, 1},
    {u"aー", u"aん", "", 1, 1},
    {u"ゟー", u"ゟん", "", 1, 1},  // ゟ is not in groups.txt: no kana
    {u"か゛ゝ", u"か゛ん", "", 1, 1},
    {u"ア\u3099ー", u"ア゛ー", "", 0, 0},
    {u"ア\u3099ー", u"ア\u3099ん", "", 1, 1},
    {u"ゝゝ", u"ゝん", "", 1, 1},
    {u"ーー", u"ーん", "", 1, 1},
    {u"アヾー", u"アヾん", "", 1, 1},

    // Numbers by value.
    {u"7", u"07", "n", 5, -1},
    {u"07", u"007", "n", 5, -1},
    {u"007", u"７", "n", 5, -1},
    {u"７", u"０７", "n", 5, -1},
    {u"7ｶ", u"07カ", "n", 5, -1},
    {u"２", u"2", "n", 5, 1},
    {u"0", u"00", "n", 5, -1},
    {u"00", u"０", "n", 5, -1},
    {u"1２3", u"123", "n", 5, 1},
    {u"1２3", u"124", "n", 1, -1},
    {u"10", u"9", "n", 1, 1},
    {u"10", u"9", "", 1, -1},
    {u"7", u"07", "", 1, 1},
    {u"99999999999999999999", u"100000000000000000000", "n", 1, -1},
    {u"000000000000000000001", u"2", "n", 1, -1},
    {u"第3回", u"第１２回", "n", 1, -1},
    {u"第3回", u"第１２回", "", 1, 1},
    {u"a1b", u"a01b", "n", 5, -1},
    {u"a1c", u"a01b", "n", 1, 1},
    {u"a1b", u"a1-", "n", 1, 1},
};

const Chain exampleChains[] = {
    {"", {u"あー", u"あぁ", u"あゝ", u"ああ"}},
    {"", {u"は", u"ば", u"ぱ"}},
    {"", {u"か", u"カ", u"ｶ"}},
    {"", {u"シャーレ", u"シャイ", u"シヤィ", u"シャレ"}},
    {"", {u"ちょこ", u"ちよこ", u"チョコレート"}},
    {"", {u"きゃく", u"きやく"}},
    {"", {u"〃", u"仝", u"々", u"〆", u"〇", u"一", u"〓"}},
    {"u", {u"〃", u"仝", u"々", u"〆", u"〇", u"一", u"〓"}},
    {"", {u"a", u"aa"}},
    {"", {u"a", u"ａ", u"A", u"Ａ"}},
    {"", {u"ん", u"ゝ", u"ー", u"〃"}},
    {"", {u"漢あ", u"漢ー"}},
    {"", {u"ab", u"ab\r", u"abc"}},
    {"n", {u"第3回", u"第１２回", u"第20回"}},
    {"n", {u"7", u"07", u"007", u"７", u"０７"}},
    {"", {u"\xD83D", u"\xE000", u"\xD83D\xDE00"}},
    {"", {u"ゝ", u"ヽ", u"ゞ", u"ヾ"}},
};

TEST(DictionaryReference, TheNotesExamples)
{
    for (const Case &c : examples)
        Check(c);
    for (const Chain &c : exampleChains)
        Check(c);
}

// The order file's table, the mark first: 唖 亜 𠮟 丂, then characters
// that are no kanji, in orders of their own.
RefRanks OrderRanks()
{
    static const char16_t table[] = u"\xFEFF唖亜\xD842\xDF9F丂〆々ンアZA91";
    RefRanks r;
    RefMakeRanks(RefUnits(table, table + sizeof table / 2 - 1), &r);
    return r;
}

TEST(DictionaryReference, Kanji)
{
    // Code page 932 order: level 1 (亜 889F, 唖 88A0, 腕 9872), level 2
    // (弌 989F), the IBM extensions (纊 FA5C, 﨑 FAB1, 髙 FBFC); then
    // the ideographs it does not encode, by code point, U+3FFFF the last
    // kanji before U+40000, which is none.
    Check(Chain{"", {u"〇", u"亜", u"唖", u"一", u"腕", u"弌", u"纊", u"﨑", u"髙", u"㐀", u"丂", u"\uF900",
                     u"\uFAFF", u"\xD840\xDC00", u"\xD842\xDF9F", u"\xD8BF\xDFFF", u"\xD8C0\xDC00", u"〓"}});
    Check(Chain{"u", {u"〇", u"㐀", u"一", u"丂", u"亜", u"唖", u"弌", u"纊", u"腕", u"髙", u"\uF900", u"﨑",
                      u"\uFAFF", u"\xD840\xDC00", u"\xD842\xDF9F", u"\xD8BF\xDFFF", u"\xD8C0\xDC00", u"〓"}});
    Check(Chain{"n", {u"亜1", u"亜２", u"唖"}});

    // The order file: the listed ideographs by rank, after the others,
    // which go by code point (U+FAFF before U+20000). Everything else
    // keeps its order, and without Unicode the file orders nothing.
    RefRanks ranks = OrderRanks();
    Check(Chain{"u", {u"〇", u"一", u"腕", u"\uFAFF", u"\xD840\xDC00", u"唖", u"亜", u"\xD842\xDF9F", u"丂",
                      u"\xD8C0\xDC00"}},
          &ranks);
    Check(Chain{"nu", {u"唖1", u"唖２", u"亜"}}, &ranks);
    Check(Chain{"u", {u"々", u"〆"}}, &ranks);
    Check(Chain{"u", {u"ア", u"ン"}}, &ranks);
    Check(Chain{"u", {u"A", u"Z"}}, &ranks);
    Check(Chain{"nu", {u"1", u"9"}}, &ranks);
    Check(Chain{"", {u"亜", u"唖", u"丂"}}, &ranks);

    // Each ideograph that code page 932 encodes has a code of its own: no
    // best fit ranks one as another.
    std::set<uint16_t> codes;
    size_t encoded = 0;
    for (uint32_t c = 0x3400; c <= 0xFAFF; c++) {
        uint16_t code = RefCp932Unit((uint16_t)c);
        if (RefDictIsKanji(c) && code != '?') {
            encoded++;
            codes.insert(code);
            EXPECT_GE(code, 0x8140) << std::hex << c;
        }
    }
    EXPECT_EQ(codes.size(), encoded);
}

// Every element of groups.txt as a key by itself: those of a line in their
// listed order (equal ones side by side), each line's before the next's.
// This holds the weights of levels 2 to 5 to the file's combined order.
TEST(DictionaryReference, GroupsInTheirListedOrder)
{
    const RefDictionary &d = Dictionary();
    ASSERT_EQ(d.groups.size(), 345u);
    for (const char *flags : {"", "n", "u", "nu"}) {
        RefDictOptions o = Options(flags);
        for (size_t g = 0; g < d.groups.size(); g++) {
            const std::vector<RefUnits> &line = d.groups[g].elements;
            for (size_t i = 0; i + 1 < line.size(); i++) {
                Units x = Key(line[i]), y = Key(line[i + 1]);
                EXPECT_LE(RefDictionaryCompare(d, x.data(), y.data(), o), 0)
                    << "group " << g << ", element " << i << " [" << flags << "]";
            }
            if (g + 1 == d.groups.size())
                continue;
            for (const RefUnits &a : line)
                for (const RefUnits &b : d.groups[g + 1].elements) {
                    Units x = Key(a), y = Key(b);
                    EXPECT_EQ(Sign(RefDictionaryCompare(d, x.data(), y.data(), o)), -1)
                        << "groups " << g << " and " << g + 1 << " [" << flags << "]";
                }
        }
    }
}

// Random short keys, each triple drawn from a few pieces of two families
// of forms of one sound or letter, often with two spellings of one
// element among them, so that many pairs differ only past level 1 or not
// at all: the comparison is reflexive, antisymmetric and transitive, for
// ties as for strict order.
TEST(DictionaryReference, TotalPreorderOnRandomKeys)
{
    static const std::vector<std::u16string> families[] = {
        {u"か", u"カ", u"ｶ", u"が", u"ガ", u"ｶﾞ", u"ゕ", u"ヵ", u"か\u3099", u"ｶ\u3099"},
        {u"は", u"ば", u"ぱ", u"ハ", u"ﾊ", u"ﾊﾞ", u"ﾊﾟ", u"は\u309A", u"ﾊ\u309A", u"ㇵ"},
        {u"う", u"ゔ", u"ヴ", u"ｳ", u"ｳﾞ", u"う\u3099", u"ぅ"},
        {u"わ", u"ワ", u"ヷ", u"ゎ", u"ワ\u3099", u"ﾜ", u"ん", u"ン", u"ﾝ"},
        {u"あ", u"ア", u"ぁ", u"ｱ", u"ｧ", u"ゃ", u"や", u"ャ", u"ﾔ"},
        {u"ゝ", u"ゞ", u"ヽ", u"ヾ", u"ゝ\u3099", u"ー", u"ｰ"},
        {u"\u3099", u"\u309A", u"ﾞ", u"ﾟ", u"゛", u"゜"},
        {u"0", u"7", u"０", u"７", u"07", u"1"},
        {u"a", u"A", u"ａ", u"Ａ", u"α", u"Α"},
        {u"~", u"‾", u"￣", u"～", u"〜"},
        {u"亜", u"唖", u"一", u"㐀", u"\xD842\xDF9F", u"仝", u"々", u"〓"},
        {u"\x01", u"\r", u"\x7F", u"\xD83D", u"\xDE00", u"①", u" "},
    };
    const size_t FAMILIES = sizeof families / sizeof families[0];
    // Two spellings of one element, in half the triples.
    static const std::u16string twins[][2] = {
        {u"か\u3099", u"が"}, {u"ｶ\u3099", u"ｶﾞ"}, {u"は\u309A", u"ぱ"}, {u"ﾊ\u309A", u"ﾊﾟ"},
        {u"ゝ\u3099", u"ゞ"}, {u"\u3099", u"゛"},    {u"~", u"‾"},          {u"a", u"A"},
        {u"ｶ", u"ｶ\u3099"},   {u"か", u"カ"},          {u"0", u"０"},          {u"ー", u"ア"},
    };
    const size_t TWINS = sizeof twins / sizeof twins[0];
    const char *flagSets[] = {"", "i", "n", "u", "inu", "nu"};
    RefRanks ranks = OrderRanks();
    std::mt19937 random(20240501);
    int equal = 0, deeper = 0, strict = 0;  // pairs of different keys: equal, differing past level 1, at it
    for (int t = 0; t < 3000; t++) {
        RefDictOptions o = Options(flagSets[t % 6], t % 12 == 11 ? &ranks : NULL);
        const std::vector<std::u16string> *two[2] = {&families[random() % FAMILIES], &families[random() % FAMILIES]};
        std::u16string alphabet[4];
        for (std::u16string &p : alphabet) {
            const std::vector<std::u16string> &f = *two[random() % 2];
            p = f[random() % f.size()];
        }
        if (random() % 2) {
            const std::u16string *twin = twins[random() % TWINS];
            alphabet[0] = twin[0];
            alphabet[1] = twin[1];
        }
        std::u16string k[3];
        unsigned length = random() % 5;  // of most keys of the triple
        for (std::u16string &key : k)
            for (unsigned n = random() % 3 ? length : random() % 5; n > 0; n--)
                key += alphabet[random() % 4];
        int m[3][3];
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
                m[i][j] = Compare(k[i], k[j], o);
        SCOPED_TRACE(Show(k[0]) + " | " + Show(k[1]) + " | " + Show(k[2]) + " [" + flagSets[t % 6] + "]");
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(m[i][i], 0);
            for (int j = 0; j < 3; j++) {
                EXPECT_EQ(m[i][j], -m[j][i]);
                if (i < j && k[i] != k[j])
                    (m[i][j] == 0 ? equal : Compare(k[i], k[j], o, 1) == 0 ? deeper : strict)++;
                for (int l = 0; l < 3; l++) {
                    if (m[i][j] <= 0 && m[j][l] <= 0) {
                        EXPECT_EQ(m[i][l], std::min(m[i][j], m[j][l]));
                    }
                }
            }
        }
    }
    // The families yield pairs of each kind in number.
    EXPECT_GT(equal, 50);
    EXPECT_GT(deeper, 200);
    EXPECT_GT(strict, 1000);
}

}  // namespace
