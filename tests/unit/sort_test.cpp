// Sort end to end: UTF-16 text in, sorted UTF-16 text out.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/order_file.h"
#include "engine/platform_native.h"
#include "engine/sort_orders.h"
#include "engine/sort.h"
#include "engine/sizes.h"
#include "engine/sort_phases.h"
#include "helpers.h"

namespace {

struct Case {
    const char *options;  // descending, blanks, case, numeric, unicode, order file
    std::u16string in, out;
};

// Rows that hold in both key modes: the first four flags, the rest added.
const Case bothModes[] = {
    {"0000", u"", u""},
    {"0000", u"abc", u"abc"},
    {"0000", u"abc\n", u"abc\n"},
    {"1000", u"\n", u"\n"},
    {"0000", u"b\na", u"a\nb\n"},
    {"0000", u"a\n\nb", u"\na\nb\n"},
    {"1000", u"a\nc\nb", u"c\nb\na\n"},
    // Equal keys: two exchange places, three come out second, third, first.
    {"0010", u"x\nX", u"X\nx\n"},
    {"0010", u"X\nx", u"x\nX\n"},
    {"1010", u"x\nX", u"X\nx\n"},
    {"1010", u"X\nx", u"x\nX\n"},
    {"0001", u"a7\na07\na007", u"a07\na007\na7\n"},
    {"0010", u"\uFF27\n\uFF47", u"\uFF27\n\uFF47\n"},  // full-width G, g not folded
    // Blanks: runs of TAB and SPACE compare as one SPACE; lines keep their own.
    {"0100", u"ab\na b\na\tb\na   b", u"a b\na\tb\na   b\nab\n"},
    {"0100", u"a\n \t b", u" \t b\na\n"},  // a leading run stays a SPACE
    {"0000", u"a b\na\tb", u"a\tb\na b\n"},
    {"0100", u"a\u3000\u3000b\na\u3000c", u"a\u3000c\na\u3000\u3000b\n"},
    {"0100", u"a b\na\u3000b", u"a b\na\u3000b\n"},  // U+3000 is no blank
    // CR is part of its line; a last line gains a bare LF.
    {"0000", u"b\r\na\r\n", u"a\r\nb\r\n"},
    {"0000", u"b\r\nb", u"b\nb\r\n"},
    {"0001", u"a10\na9", u"a9\na10\n"},
    {"1001", u"a9\na10", u"a10\na9\n"},
    {"0000", u"a10\na9", u"a10\na9\n"},
    {"0001", u"x\uFF11\uFF10\nx\uFF19", u"x\uFF11\uFF10\nx\uFF19\n"},  // full-width digits
    {"0111", u"B 02\nb\t1\nA  3", u"A  3\nb\t1\nB 02\n"},
};

// Rows whose result depends on the key mode.
const Case oneMode[] = {
    // Greek alpha U+03B1 is 83 BF in code page 932, hiragana a U+3042 is 82 A0.
    {"000000", u"\u03B1\n\u3042", u"\u3042\n\u03B1\n"},
    {"000010", u"\u3042\n\u03B1", u"\u03B1\n\u3042\n"},
    // Trail bytes are not folded: small i 83 42 and small tsu 83 62.
    {"001000", u"\u30A3\n\u30C3", u"\u30A3\n\u30C3\n"},
    // ... but a letter after a double-byte character is: me is 83 81.
    {"001000", u"\u30E1B\n\u30E1a", u"\u30E1a\n\u30E1B\n"},
    // e acute U+00E9 has no code page 932 form of its own: best fit makes it 'e'.
    {"000000", u"f\n\u00E9\nd", u"d\n\u00E9\nf\n"},
    {"000010", u"\u00E9\nf\nd", u"d\nf\n\u00E9\n"},
    // Thai ko kai has no code page 932 form and compares as '?'.
    {"000000", u"A@\nA\u0E01\nA>", u"A>\nA\u0E01\nA@\n"},
    {"000000", u"A?\nA\u0E01", u"A\u0E01\nA?\n"},
    {"000010", u"A?\nA\u0E01", u"A?\nA\u0E01\n"},
};

void Check(const char *options, const std::u16string &in, const std::u16string &out)
{
    SCOPED_TRACE(std::string(options) + " " + Show(in));
    EXPECT_EQ(Show(SortText(in, Options(options))), Show(out));
}

TEST(Sort, SortsLines)
{
    for (const Case &c : bothModes)
        for (const char *mode : {"0", "1"})
            Check((std::string(c.options) + mode + "0").c_str(), c.in, c.out);
    for (const Case &c : oneMode)
        Check(c.options, c.in, c.out);
}

TEST(Sort, OutOfMemory)
{
    const struct {
        std::u16string text;
        long failing;  // 1 key block, 2 line table (of prefixed records)
        size_t size;
    } cases[] = {
        {u"", 1, 4},
        {u"b\na\nc", 1, 14},
        {u"b\na\nc", 2, 3 * sizeof(SortRecord)},
    };
    WindowHandle owner = (WindowHandle)0x4711;
    for (const auto &c : cases) {
        for (const char *options : {"000000", "000010", "111110"}) {
            SCOPED_TRACE(Show(c.text) + " failing " + std::to_string(c.failing) + " " + options);
            Units in = ToUnits(c.text);
            long live = NativeLiveAllocations();
            NativeClearMessages();
            NativeFailAllocation(c.failing);
            OrderFile orderFile = OrderFileAt("");
            BlockHandle block = Sort(owner, in.data(), Options(options), &orderFile);
            NativeFailAllocation(0);
            ReleaseOrderTable(&orderFile);
            EXPECT_TRUE(block == NULL);
            EXPECT_EQ(NativeLiveAllocations(), live);
            ASSERT_EQ(NativeMessageCount(), 1);
            EXPECT_EQ(std::string(NativeMessage(0)), "VlfSort.vlf: Not enough memory, size=" +
                                                         std::to_string(c.size) + " error-code=8");
            EXPECT_EQ(NativeMessageOwner(0), owner);
        }
    }
    NativeClearMessages();
}

// Sizes computed from the line count are checked before they are used. The
// 32-bit module's table of 24-byte records wraps from 178,956,971 lines; a
// wrapped size would have been a tiny block that the table fill overran.
TEST(Sort, TableSizeThatWrapsEndsAsOutOfMemory)
{
    uint32_t bytes = 0;
    EXPECT_FALSE(SizeProduct<uint32_t>(178956971u, 24u, &bytes));
    EXPECT_TRUE(SizeProduct<uint32_t>(178956970u, 24u, &bytes));
    EXPECT_EQ(bytes, 4294967280u);
    size_t wide = 0;
    EXPECT_FALSE(SizeProduct<size_t>(SIZE_MAX / sizeof(SortRecord) + 1, sizeof(SortRecord), &wide));

    // The table of a line count whose size wraps here: the memory message,
    // the key block freed, nothing allocated or written.
    Units in = ToUnits(u"b\na\n");
    long live = NativeLiveAllocations();
    NativeClearMessages();
    OrderFile orderFile = OrderFileAt("");
    SortWork w;
    ASSERT_TRUE(BeginSort(&w, (WindowHandle)0x4711, in.data(), Options("000010"), &orderFile));
    MakeKeys(&w);
    w.lines = SIZE_MAX / sizeof(SortRecord) + 1;
    EXPECT_FALSE(MakeLineTable(&w));
    EXPECT_EQ(NativeLiveAllocations(), live);
    ASSERT_EQ(NativeMessageCount(), 1);
    // No allocation was made, so the error code is whatever came before.
    EXPECT_EQ(std::string(NativeMessage(0)).rfind("VlfSort.vlf: Not enough memory, size=4294967295 error-code=", 0), 0u);
    NativeClearMessages();
}

// Lines of a text as the result has them: split at LF, a final LF ending
// the last line rather than starting an empty one.
std::vector<std::u16string> Lines(const std::u16string &s)
{
    std::vector<std::u16string> lines;
    size_t start = 0;
    while (start < s.size()) {
        size_t lf = s.find(u'\n', start);
        if (lf == std::u16string::npos)
            lf = s.size();
        lines.push_back(s.substr(start, lf - start));
        start = lf + 1;
    }
    return lines;
}

TEST(Sort, ResultIsPermutationOfLines)
{
    const char16_t alphabet[] = u"aAbZ019 \t\r\n\n\u3000\u3042\u03B1\uFF71\u0E01\U0001F600\u30FC\u3099\uFF10\u6F22";
    const size_t letters = sizeof alphabet / sizeof alphabet[0] - 1;
    std::mt19937 rng(7);
    for (int t = 0; t < 60; t++) {
        std::u16string text;
        size_t length = t == 0 ? 0 : rng() % (t < 20 ? 12 : 160);
        for (size_t i = 0; i < length; i++)
            text.push_back(alphabet[rng() % letters]);
        std::vector<std::u16string> want = Lines(text);
        std::sort(want.begin(), want.end());
        for (int bits = 0; bits < 128; bits++) {
            char options[8] = {};
            for (int f = 0; f < 7; f++)
                options[f] = (char)('0' + (bits >> f & 1));
            SCOPED_TRACE(std::string(options) + " " + Show(text));
            NativeClearMessages();
            // No order file: with orderFile on, loading fails.
            std::u16string out = SortText(text, Options(options));
            // The failed load is reported first, whatever the text.
            ASSERT_EQ(NativeMessageCount(), options[5] == '1');
            if (want.size() < 2) {
                ASSERT_EQ(out, text);
                continue;
            }
            ASSERT_EQ(out.back(), u'\n');
            std::vector<std::u16string> got = Lines(out);
            // Plain code-unit order (bits 16 and 17 with descending) is the
            // lexicographic order of the lines.
            if (bits == 16) {
                ASSERT_TRUE(std::is_sorted(got.begin(), got.end()));
            } else if (bits == 17) {
                ASSERT_TRUE(std::is_sorted(got.rbegin(), got.rend()));
            }
            std::sort(got.begin(), got.end());
            ASSERT_EQ(got, want);
        }
    }
}

}  // namespace
