// Dictionary order in the engine, held to the reference
// (tests/reference/dictionary.h): the standard's conformance data through
// the whole sort, hand-picked keys pair by pair in every setting, random
// pairs and triples, and the guarded sort's permutation on tables full of
// equal keys.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/quicksort.h"
#include "engine/sort_phases.h"
#include "helpers.h"
#include "tests/support/keyed_records.h"

namespace {

const DictionaryKanji kanjiOrders[] = {DICT_KANJI_CP932, DICT_KANJI_CODE_POINT, DICT_KANJI_RANKED};

// Every dictionary order: numbers by value, case ignored, and the kanji's
// order, each way.
std::vector<KeyOrder> EveryDictionaryOrder()
{
    std::vector<KeyOrder> orders;
    for (DictionaryKanji kanji : kanjiOrders)
        for (int flags = 0; flags < 4; flags++)
            orders.push_back(DictionaryKeyOrder(flags & 1, flags & 2, kanji));
    return orders;
}

std::string Name(KeyOrder order)
{
    const char *kanji[] = {"cp932", "code point", "ranked"};
    return std::string(kanji[order >> 2 & 3]) + (order & 1 ? " numeric" : "") + (order & 2 ? " ignore-case" : "");
}

// An order file that ranks a few kanji, one of them supplementary, against
// their code order, and lists kana, letters and digits, which dictionary
// order does not let it move.
const std::string &RankFile()
{
    static std::string path = WriteFile(Utf16File(u"\u6C34\r\n\U00020B9F\r\n\u5C71\r\nあ\r\nZ\r\n9\r\n\u4E00\r\n"));
    return path;
}

// The file's table, as the engine and the reference load it; each test
// loads its own and releases it, leaving no allocation behind.
struct RankTable {
    OrderFile file;
    RefRanks ranks;
};

RankTable *theRanks;

void LoadRanks(RankTable *t)
{
    t->file = OrderFileAt(RankFile());
    EXPECT_TRUE(LoadOrderTable(&t->file, ORDER_INDEXED));
    t->ranks = ReferenceRanks(RankFile().c_str());
    theRanks = t;
}

const RankTable &Ranks()
{
    return *theRanks;
}

class DictionarySort : public testing::Test {
  protected:
    void SetUp() override { LoadRanks(&table); }
    void TearDown() override { ReleaseOrderTable(&table.file); }
    RankTable table;
};

// The engine's comparison of two keys as records, prefixes packed, against
// the reference's, both ways round.
void ExpectAgrees(KeyOrder order, const std::u16string &a, const std::u16string &b)
{
    Units x = ToUnits(a), y = ToUnits(b);
    KeyedRecords k = RecordsOf({x.data(), y.data()}, true, order, &Ranks().file);
    int want = Sign(ReferenceCompare(order, x.data(), y.data(), &Ranks().ranks));
    ASSERT_EQ(Sign(CompareRecords(&k.records[0], &k.records[1], order, k.Keys(), &Ranks().file)), want)
        << Show(a) << " vs " << Show(b) << " " << Name(order);
    ASSERT_EQ(Sign(CompareRecords(&k.records[1], &k.records[0], order, k.Keys(), &Ranks().file)), -want)
        << Show(b) << " vs " << Show(a) << " " << Name(order);
}

std::u16string Joined(const std::vector<std::u16string> &lines)
{
    std::u16string s;
    for (const std::u16string &l : lines)
        s += l + u"\n";
    return s;
}

// The standard's 108 lines from shuffles, through the whole sort, in every
// mode that leaves them in order: ascending and, reversed, descending.
TEST_F(DictionarySort, ConformanceDataSortsExactly)
{
    std::vector<std::u16string> lines = ConformanceLines();
    ASSERT_EQ(lines.size(), 108u);
    std::vector<std::u16string> reversed(lines.rbegin(), lines.rend());
    std::mt19937 random(4061);
    for (const char *mode : {"0000001", "0001001", "0000101", "0001101", "0100001", "0000111"}) {
        for (int round = 0; round < 4; round++) {
            std::vector<std::u16string> s = lines;
            std::shuffle(s.begin(), s.end(), random);
            SCOPED_TRACE(std::string(mode) + " round " + std::to_string(round));
            EXPECT_TRUE(SortText(Joined(s), Options(mode), RankFile()) == Joined(lines));
            std::string down = std::string("1") + (mode + 1);
            EXPECT_TRUE(SortText(Joined(s), Options(down.c_str()), RankFile()) == Joined(reversed));
        }
    }
}

// Keys chosen for what the reading must get right, compared pair by pair
// in every setting.
const std::u16string picked[] = {
    u"", u"a", u"A", u"ａ", u"Ａ", u"aa", u"ab", u"ab\r", u"ab ", u"\t", u"\x01", u"\x7F", u"\x9F", u" ",
    // Kana, voicing, size, script and width.
    u"は", u"ば", u"ぱ", u"ハ", u"ﾊ", u"ﾊﾞ", u"ﾊﾟ", u"か", u"カ", u"ｶ", u"ｶﾞ", u"が", u"ガ", u"きゃく", u"きやく",
    u"シャーレ", u"シャイ", u"シヤィ", u"シャレ", u"ちょこ", u"ちよこ", u"チョコレート", u"カード", u"カアド",
    u"う", u"ゔ", u"ヴ", u"ｳﾞ", u"ヵ", u"ゕ", u"ㇰ", u"く",
    // Marks at the start, after kanji, after kana without a voiced form,
    // after marks replaced and not.
    u"ー", u"ｰ", u"ゝ", u"ゞ", u"ヽ", u"ヾ", u"ーあ", u"ゝか", u"漢ー", u"漢あ", u"漢ゝ", u"アヾ", u"アン",
    u"わゞ", u"わヾ", u"わヷ", u"ンー", u"ンン", u"カーー", u"カアア", u"かゝゝ", u"かかか", u"ぱゞ", u"ぱば",
    u"ばヽ", u"ばハ", u"ｶｰ", u"ｶア", u"あーー", u"あ゛ー", u"ん", u"〃", u"仝", u"々", u"〆", u"〇", u"〓",
    // Combining and half-width voicing marks.
    u"か\u3099", u"ｶ\u3099", u"ゝ\u3099", u"かゝ\u3099", u"は\u309A", u"ﾊ\u309A", u"ア\u3099", u"\u3099",
    u"\u309A", u"゛", u"ﾞ", u"ﾟ", u"かﾞ", u"ｦﾞ", u"ｶﾞｰ", u"ｶ\u3099ー",
    // Digits: runs of mixed width, leading zeros, long runs.
    u"7", u"07", u"007", u"７", u"０７", u"0", u"00", u"第3回", u"第１２回", u"第20回", u"7ｶ", u"07カ",
    u"1２3", u"123", u"１２３", u"99999999999999999999", u"100000000000000000000", u"0001a", u"1b",
    // Kanji in each order, and the order file's.
    u"一", u"丁", u"山", u"水", u"亜", u"\u3400", u"\u9FFF", u"\uF900", u"\uFA30", u"\uFA2D",
    u"\U00020000", u"\U00020B9F", u"\U00030000", u"漢字", u"漢", u"─",
    // Other characters, and surrogates alone.
    u"é", u"①", u"№", u"\u00A0", u"\xD83D", u"\xDE00", u"\xE000", u"\xD83D\xDE00", u"\xD83D" u"a",
    u"~", u"‾", u"￣", u"\\", u"¥", u"￥", u"-", u"−", u"－", u"ω", u"Ω", u"я", u"А",
};

TEST_F(DictionarySort, PickedPairsAgreeWithReference)
{
    for (KeyOrder order : EveryDictionaryOrder())
        for (const std::u16string &a : picked)
            for (const std::u16string &b : picked)
                ExpectAgrees(order, a, b);
}

// Keys whose level-1 codes end inside the prefix, fill it or pass it by
// one, and differ there or only at a later level.
TEST_F(DictionarySort, KeysAroundThePrefixEnd)
{
    const std::u16string stems[] = {u"あいうえおか", u"あいうえおかき", u"あいうえおかきく", u"ab1234",
                                    u"漢字\U00020000\U00020B9F", u"x12345"};
    const std::u16string tails[] = {u"", u"あ", u"ア", u"ｱ", u"ぁ", u"ー", u"ゝ", u"ヾ", u"が", u"\u3099",
                                    u"0", u"０", u"9", u"a", u"A", u"\U00020000", u"山", u"aa", u"ああ"};
    for (KeyOrder order : EveryDictionaryOrder())
        for (const std::u16string &s : stems)
            for (const std::u16string &t : tails)
                for (const std::u16string &u : tails)
                    ExpectAgrees(order, s + t, s + u);
}

// Random keys rich in what the order reads specially.
std::u16string RandomKey(std::mt19937 &rng)
{
    static const std::u16string pieces[] = {
        u"あ", u"か", u"が", u"ぱ", u"は", u"ゃ", u"や", u"っ", u"ん", u"わ", u"ゐ", u"う", u"ゔ", u"ゕ",
        u"ア", u"カ", u"ガ", u"パ", u"ャ", u"ヤ", u"ッ", u"ン", u"ワ", u"ヷ", u"ヲ", u"ヴ", u"ヵ", u"ㇰ",
        u"ｱ", u"ｶ", u"ﾊ", u"ｬ", u"ﾝ", u"ﾜ", u"ｦ", u"ｰ", u"ﾞ", u"ﾟ", u"ー", u"ー", u"ゝ", u"ゞ", u"ヽ", u"ヾ",
        u"\u3099", u"\u309A", u"゛", u"゜", u"a", u"A", u"z", u"ａ", u"Ａ", u"0", u"1", u"9", u"０", u"１",
        u"９", u"00", u" ", u"\t", u"\x01", u"\x85", u"漢", u"一", u"山", u"水", u"\u3400", u"\uF900",
        u"\uFA30", u"\U00020B9F", u"\U00020000", u"〃", u"々", u"〓", u"é", u"①", u"\xD83D", u"\xDE00",
        u"\U0001F600", u"~", u"‾", u"¥", u"\\", u"！", u"、", u"ω", u"Ω"};
    std::u16string k;
    for (int n = rng() % (rng() % 4 == 0 ? 16 : 7); n > 0; n--)
        k += pieces[rng() % (sizeof pieces / sizeof *pieces)];
    return k;
}

// Key a with a piece or two changed for one that often reads alike at
// level 1 or beyond.
std::u16string Variant(std::mt19937 &rng, const std::u16string &a)
{
    std::u16string b = a;
    static const std::u16string swaps[][2] = {{u"あ", u"ア"}, {u"か", u"が"}, {u"ー", u"あ"}, {u"ゃ", u"や"},
                                              {u"a", u"A"},   {u"0", u"０"}, {u"ｶ", u"カ"}, {u"ゝ", u"か"},
                                              {u"1", u"01"},  {u"が", u"か\u3099"}};
    for (int n = 1 + rng() % 2; n > 0; n--) {
        const std::u16string *s = swaps[rng() % (sizeof swaps / sizeof *swaps)];
        size_t at = b.find(s[0]);
        if (at != std::u16string::npos)
            b.replace(at, s[0].size(), s[1]);
    }
    return b;
}

// A random pair, the second often a variant of the first, so that pairs
// equal at level 1 and beyond are common.
void RandomPair(std::mt19937 &rng, std::u16string *a, std::u16string *b)
{
    *a = RandomKey(rng);
    *b = rng() % 2 ? RandomKey(rng) : Variant(rng, *a);
}

// Fewer under the sanitizers and qemu-i386, where each costs tens of times
// more; TALLORIX_DICTIONARY_PAIRS sets the count.
size_t PairCount()
{
    const char *n = getenv("TALLORIX_DICTIONARY_PAIRS");
    return n ? (size_t)strtoul(n, NULL, 10) : 1000000;
}

TEST_F(DictionarySort, RandomPairsAgreeWithReference)
{
    std::vector<KeyOrder> orders = EveryDictionaryOrder();
    std::mt19937 rng(7);
    std::u16string a, b;
    for (size_t i = 0, n = PairCount(); i < n; i++) {
        RandomPair(rng, &a, &b);
        ExpectAgrees(orders[i % orders.size()], a, b);
    }
}

// Antisymmetric and transitive on random triples, through the engine alone.
TEST_F(DictionarySort, RandomTriplesArePreordered)
{
    std::vector<KeyOrder> orders = EveryDictionaryOrder();
    std::mt19937 rng(11);
    for (int t = 0; t < 100000; t++) {
        std::u16string s[3];
        RandomPair(rng, &s[0], &s[1]);
        s[2] = rng() % 2 ? RandomKey(rng) : s[rng() % 2];
        Units x = ToUnits(s[0]), y = ToUnits(s[1]), z = ToUnits(s[2]);
        KeyOrder order = orders[t % orders.size()];
        KeyedRecords k = RecordsOf({x.data(), y.data(), z.data()}, true, order, &Ranks().file);
        int c[3][3];
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
                c[i][j] = Sign(CompareRecords(&k.records[i], &k.records[j], order, k.Keys(), &Ranks().file));
        SCOPED_TRACE(Show(s[0]) + " | " + Show(s[1]) + " | " + Show(s[2]) + " " + Name(order));
        for (int i = 0; i < 3; i++) {
            ASSERT_EQ(c[i][i], 0);
            for (int j = 0; j < 3; j++) {
                ASSERT_EQ(c[i][j], -c[j][i]);
                for (int l = 0; l < 3; l++)
                    if (c[i][j] <= 0 && c[j][l] <= 0) {
                        ASSERT_LE(c[i][l], 0) << i << j << l;
                    }
            }
        }
    }
}

// The guarded sort leaves every line where the reference procedure with
// the reference rule does, on tables drawn from a few keys that are equal
// at level 1 or at all levels: the finish taken at once, midway and never.
TEST_F(DictionarySort, GuardedSortMatchesProcedure)
{
    const char *const modes[] = {"0000001", "0010001", "0001001", "0000101", "0001111", "0100001"};
    std::mt19937 rng(17);
    int finished = 0;
    for (int t = 0; t < 500; t++) {
        std::vector<std::u16string> keys(1 + rng() % 5);
        for (size_t i = 0; i < keys.size(); i++)
            keys[i] = i > 0 && rng() % 2 ? Variant(rng, keys[i - 1]) : RandomKey(rng);
        size_t lines = rng() % 4 == 0 ? 2 + rng() % 1500 : 2 + rng() % 100;
        std::u16string s;
        for (size_t i = 0; i < lines; i++)
            s += keys[rng() % keys.size()] + u"\n";
        const char *mode = modes[rng() % (sizeof modes / sizeof *modes)];
        bool descending = rng() % 2;
        char options[8];
        snprintf(options, sizeof options, "%s", mode);
        options[0] = descending ? '1' : '0';
        int64_t budget = rng() % 3 == 0 ? 0 : rng() % 3 == 0 ? GUARD_OFF : (int64_t)(rng() % (4 * lines));
        SCOPED_TRACE(std::string(options) + " " + Show(s) + " budget " + std::to_string(budget));

        Units text = ToUnits(s);
        OrderFile orderFile = OrderFileAt(RankFile());
        SortWork w;
        ASSERT_TRUE(BeginSort(&w, NULL, text.data(), Options(options), &orderFile));
        MakeKeys(&w);
        ASSERT_TRUE(MakeLineTable(&w));
        std::vector<LineEntry> entries;
        for (size_t i = 0; i < w.lines; i++)
            entries.push_back({(const Unit16 *)w.key + w.table[i].key, w.text + w.table[i].line});
        unsigned long finishes = exactFinishCount;
        guardBudget = budget;
        SortLineTable(&w);
        guardBudget = -1;
        finished += exactFinishCount != finishes;
        ReferenceSort(entries, ChooseKeyOrder(w.options), descending, orderFile.path);
        for (size_t i = 0; i < w.lines; i++)
            ASSERT_EQ(w.text + w.table[i].line, entries[i].line) << "line " << i;
        PlatformBlockFree(WriteOutput(&w));
        ReleaseOrderTable(&orderFile);
    }
    EXPECT_GT(finished, 50);
}

}  // namespace
