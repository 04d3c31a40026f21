// The quicksort's guard and exact finish. Whatever the budget, the engine's
// sort must leave every line where the reference procedure with the
// reference rule leaves it: on the benchmark's patterns, on random tables
// full of equal keys, and on tables of long digit runs and of
// supplementary characters of one block, which every order hands over.
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "bench/patterns.h"
#include "engine/quicksort.h"
#include "engine/sort_phases.h"
#include "helpers.h"

namespace {

// Option strings, ascending; descending sets the first digit.
const char *const modes[] = {"000000", "011000", "000010", "011010", "000100",
                             "000110", "011110", "000011", "001011", "0001001"};

struct Orders {
    std::vector<const Unit16 *> guarded, direct;  // each line's start, in sorted order
    bool finished;                                // the guarded sort ended on ranks
};

// Sorts the line table of text twice, with the order file at orderPath:
// through the engine with the guard's budget, and by the reference.
Orders SortBothWays(const Units &text, const char *options, bool descending, int64_t budget,
                    const std::string &orderPath)
{
    char o[8];
    snprintf(o, sizeof o, "%s", options);
    o[0] = descending ? '1' : '0';
    Orders r = {};
    OrderFile orderFile = OrderFileAt(orderPath);
    SortWork w;
    EXPECT_TRUE(BeginSort(&w, NULL, text.data(), Options(o), &orderFile));
    MakeKeys(&w);
    if (w.lines < 2) {
        PlatformBlockFree(ReturnText(&w));
        ReleaseOrderTable(&orderFile);
        return r;
    }
    EXPECT_TRUE(MakeLineTable(&w));
    std::vector<LineEntry> entries;
    size_t unit = KeysAreUnits(w.options) ? 2 : 1;
    for (size_t i = 0; i < w.lines; i++)
        entries.push_back({(const unsigned char *)w.key + unit * w.table[i].key, w.text + w.table[i].line});

    unsigned long finishes = exactFinishCount;
    guardBudget = budget;
    SortLineTable(&w);
    guardBudget = -1;
    r.finished = exactFinishCount != finishes;
    ReferenceSort(entries, ChooseKeyOrder(w.options), descending, orderFile.path);

    for (size_t i = 0; i < w.lines; i++) {
        r.guarded.push_back(w.text + w.table[i].line);
        r.direct.push_back(entries[i].line);
    }
    PlatformBlockFree(WriteOutput(&w));
    ReleaseOrderTable(&orderFile);
    return r;
}

// An order file of these units (each on a line of its own); its path.
std::string WriteOrderFile(const std::u16string &units)
{
    std::u16string lines;
    for (char16_t u : units) {
        lines += u;
        if ((u & 0xFC00) != 0xD800)
            lines += u"\r\n";
    }
    return WriteFile(Utf16File(lines));
}

Units FromPattern(int p, size_t lines, uint64_t seed)
{
    std::vector<uint16_t> t = MakePatternText(p, lines, seed);
    return Units(t.begin(), t.end());
}

// Every pattern in every mode and direction: handed over at the start,
// after a few partitions, and never.
TEST(ExactFinish, PatternsMatchProcedure)
{
    std::string path = WriteOrderFile(u"未済ok9876543210v\U00020000\u5317\U00020BB7\U00020B9F");
    const size_t lines = 1500;
    const int64_t budgets[] = {0, 3 * (int64_t)lines, 10 * (int64_t)lines, GUARD_OFF};
    for (int p = 0; p < benchPatternCount; p++) {
        Units text = FromPattern(p, lines, 5);
        for (const char *mode : modes) {
            char options[8];
            PatternOptions(p, mode, options);
            for (bool descending : {false, true}) {
                for (int64_t budget : budgets) {
                    SCOPED_TRACE(std::string(benchPatterns[p].name) + " " + options +
                                 (descending ? " descending" : "") + " budget " + std::to_string(budget));
                    Orders r = SortBothWays(text, options, descending, budget, path);
                    ASSERT_EQ(r.guarded, r.direct);
                    if (budget == 0) {
                        EXPECT_TRUE(r.finished);
                    } else if (budget == GUARD_OFF) {
                        EXPECT_FALSE(r.finished);
                    }
                }
            }
        }
    }
    unlink(path.c_str());
}

// Random tables of up to 2,000 lines drawn from a few keys each: case and
// blank variants, leading zeros, digit runs short and long, listed and
// unlisted kanji, supplementary characters of one block and lone halves,
// so that equal keys abound in every mode.
TEST(ExactFinish, RandomTablesMatchProcedure)
{
    // 𠮟's low surrogate alone, then 𠮷 before 𠮟.
    std::string path = WriteOrderFile(u"\xDF9F\u5C71\u6728b\U00020BB7\U00020B9F9A");
    const std::u16string pieces[] = {u"a",
                                     u"A",
                                     u"b",
                                     u" ",
                                     u"\t",
                                     u"  ",
                                     u"0",
                                     u"00",
                                     u"7",
                                     u"12",
                                     u"2147483648",
                                     u"4294967296",
                                     u"18446744073709551617",
                                     u"000000000000000000000000004547691689979",
                                     u"\u5C71",
                                     u"\u6728",
                                     u"\u6C34",
                                     u"\U00020B9F",
                                     u"\U00020BB7",
                                     u"\U00020B80",
                                     u"\xD842",
                                     u"\xDFB7",
                                     u"x",
                                     u"\r"};
    std::mt19937 rng(13);
    int finished = 0;
    for (int t = 0; t < 1000; t++) {
        // A few distinct keys of up to four pieces.
        std::vector<std::u16string> keys(1 + rng() % 6);
        for (std::u16string &k : keys)
            for (int n = rng() % 5; n > 0; n--)
                k += pieces[rng() % (sizeof pieces / sizeof *pieces)];
        size_t lines = rng() % 4 == 0 ? 2 + rng() % 2000 : 2 + rng() % 120;
        std::u16string s;
        for (size_t i = 0; i < lines; i++)
            s += keys[rng() % keys.size()] + u"\n";
        Units text = ToUnits(s);
        const char *mode = modes[rng() % (sizeof modes / sizeof *modes)];
        bool descending = rng() % 2;
        int64_t budget = rng() % 3 == 0 ? 0 : rng() % 3 == 0 ? GUARD_OFF : (int64_t)(rng() % (4 * lines));
        SCOPED_TRACE(std::string(mode) + (descending ? " descending " : " ") + Show(s) + " budget " +
                     std::to_string(budget));
        Orders r = SortBothWays(text, mode, descending, budget, path);
        ASSERT_EQ(r.guarded, r.direct);
        finished += r.finished;
    }
    EXPECT_GT(finished, 200);  // the finish was really tried
    unlink(path.c_str());
}

// Tables that held a run of 2^31 or more, or two characters of one block,
// hand over like any other, in every order, and give the procedure's
// result: runs whose wrapped values once compared in a cycle, JAN codes,
// phone numbers, one big run among letters, 𠮟 and 𠮷 with the pairs of a
// block listed otherwise than their low surrogates.
TEST(ExactFinish, EveryOrderHandsOver)
{
    std::string path = WriteOrderFile(u"\U00021001\U00020000Y\U00020001\U00020BB7\U00020B9F");
    const struct {
        const char *options;
        std::vector<std::u16string> keys;
    } cases[] = {
        {"000100", {u"x0", u"x1073741824", u"x2147483648", u"x3221225472"}},
        {"000110", {u"x0", u"x1073741824", u"x2147483648", u"x3221225472"}},
        {"000110", {u"x4294967296", u"x0", u"x00"}},
        {"000100", {u"4547691689979", u"4901234567890"}},
        {"000100",
         {u"07000001111 Kato", u"08011112222 Sato", u"0312345678 Suzuki", u"09012345678 Tanaka",
          u"0451234567 Yamada", u"09099998888 Ito"}},
        {"001100", {u"a", u"b", u"B", u"tel 3000000000", u"tel 18446744073709551616"}},
        {"000011", {u"\U00020000", u"Y", u"\U00020001"}},
        {"000011", {u"a\U00020000", u"a\U00020001", u"b"}},
        {"000011", {u"\U00020B9F", u"\U00020BB7"}},
        {"000011", {u"\xD840x", u"\U00020000", u"\xD840", u"\xDC00", u"Y"}},
        {"000010", {u"\U00020000", u"Y", u"\U00020001", u"\xD840"}},
    };
    std::mt19937 rng(5);
    for (const auto &c : cases) {
        std::u16string s;
        for (int i = 0; i < 600; i++)
            s += c.keys[rng() % c.keys.size()] + u"\n";
        Units text = ToUnits(s);
        for (bool descending : {false, true}) {
            for (int64_t budget : {(int64_t)0, (int64_t)1200, GUARD_OFF}) {
                SCOPED_TRACE(std::string(c.options) + (descending ? " descending " : " ") + Show(c.keys[0]) +
                             " budget " + std::to_string(budget));
                Orders r = SortBothWays(text, c.options, descending, budget, path);
                EXPECT_EQ(r.finished, budget != GUARD_OFF);
                ASSERT_EQ(r.guarded, r.direct);
            }
        }
    }
    unlink(path.c_str());
}

}  // namespace
