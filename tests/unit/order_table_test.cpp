// The order-file loader, the rank index and the custom order.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "engine/order_file.h"
#include "engine/platform_native.h"
#include "engine/sort.h"
#include "helpers.h"
#include "res/messages.h"

namespace {

// Loads a file of these bytes into *f, with its index, returning the
// loader's result; the message it showed, if any, goes to *message.
bool Load(OrderFile *f, const std::string &bytes, std::string *message)
{
    std::string path = WriteFile(bytes);
    snprintf(f->path, ORDER_PATH_SIZE, "%s", path.c_str());
    NativeClearMessages();
    bool ok = LoadOrderTable(f, ORDER_INDEXED);
    *message = NativeMessageCount() ? NativeMessage(0) : "";
    EXPECT_LE(NativeMessageCount(), 1);
    EXPECT_EQ(NativeOpenFiles(), 0) << "the file is closed after every load";
    unlink(path.c_str());
    return ok;
}

int32_t Compare(const OrderFile *f, const std::u16string &a, const std::u16string &b)
{
    return CustomFrom(f, (const Unit16 *)a.c_str(), (const Unit16 *)b.c_str());
}

int32_t RankOf(const OrderFile *f, const std::u16string &s)
{
    return OrderRank(f, (const Unit16 *)s.c_str());
}

}  // namespace

TEST(OrderFile, LoaderOutcomes)
{
    struct Case {
        const char *what;
        std::string bytes;
        bool loads;
        const char *message;
    } cases[] = {
        {"A C B", Utf16File(u"A\r\nC\r\nB\r\n"), true, ""},
        {"no mark", Utf16File(u"ACB", false), false, MSG_ORDER_NOT_UTF16},
        {"UTF-8", "\xEF\xBB\xBF" "ACB", false, MSG_ORDER_NOT_UTF16},
        {"big-endian mark", "\xFE\xFF\x00" "A", false, MSG_ORDER_NOT_UTF16},
        {"one byte", "\xFF", false, MSG_ORDER_NOT_UTF16},
        {"empty", "", false, ""},
        {"mark and line breaks only", Utf16File(u"\r\n \t\r\n"), false, ""},
        {"final odd byte ignored", Utf16File(u"A") + "B", true, ""},
        {"largest accepted", Utf16File(std::u16string(0x1FFFFE, u'x')) + "x", true, ""},
        {"too large", Utf16File(std::u16string(0x1FFFFE, u'x')) + "xy", false, MSG_ORDER_TOO_LARGE},
    };
    OrderFile f = OrderFileAt("");
    for (const Case &c : cases) {
        std::string message;
        EXPECT_EQ(Load(&f, c.bytes, &message), c.loads) << c.what;
        EXPECT_EQ(message, c.message) << c.what;
        ReleaseOrderTable(&f);
    }
    EXPECT_EQ(NativeLiveAllocations(), 0);
}

TEST(OrderFile, MissingFileAndEmptyPath)
{
    for (const char *path : {"/nonexistent/order.txt", ""}) {
        OrderFile f = OrderFileAt(path);
        NativeClearMessages();
        EXPECT_FALSE(LoadOrderTable(&f, ORDER_INDEXED)) << path;
        ASSERT_EQ(NativeMessageCount(), 1) << path;
        EXPECT_STREQ(NativeMessage(0), MSG_ORDER_OPEN_FAILED);
        ReleaseOrderTable(&f);
    }
    EXPECT_EQ(NativeLiveAllocations(), 0);
}

TEST(OrderFile, RanksAndComparisons)
{
    // U+20400, U+20001, U+20000 as pairs, then D, then U+3000, then A twice.
    std::u16string file = u"A\r\nC\r\nB\r\n\U00020400\n\U00020001\n\U00020000\nE\n\u3000\nA\n";
    OrderFile f = OrderFileAt("");
    std::string message;
    ASSERT_TRUE(Load(&f, Utf16File(file), &message));

    EXPECT_EQ(RankOf(&f, u"\uFEFF"), 0);
    EXPECT_EQ(RankOf(&f, u"A"), 1);
    EXPECT_EQ(RankOf(&f, u"C"), 2);
    EXPECT_EQ(RankOf(&f, u"B"), 3);
    EXPECT_EQ(RankOf(&f, u"\U00020400"), 4);  // at its high surrogate
    EXPECT_EQ(RankOf(&f, u"\U00020001"), 6);
    EXPECT_EQ(RankOf(&f, u"E"), 10);          // two higher after each pair
    EXPECT_EQ(RankOf(&f, u"\u3000"), 11);     // not ignored: above SPACE
    EXPECT_EQ(RankOf(&f, u"D"), -1);
    EXPECT_EQ(RankOf(&f, u"\U00020002"), -1);

    // Table: FEFF A C B D841 DC00 D840 DC01 D840 DC00 E 3000 A.
    std::vector<unsigned char> bytes;
    for (char c : Utf16File(file))
        bytes.push_back((unsigned char)c);
    RefUnits table = RefLoadOrder(bytes.data(), bytes.size()).table;
    auto rank = [&table](const Unit16 *at) { return RefRank(table, at); };
    struct {
        std::u16string a, b;
        int sign;
    } cases[] = {
        {u"A", u"C", -1}, {u"C", u"B", -1}, {u"D", u"A", -1},
        {u"D", u"F", -1},                        // unlisted: by unit
        {u"AB", u"A", 1},  {u"A", u"AB", -1},    // shorter first
        {u"xA", u"xA", 0},
        {u"\uFEFF", u"Z", 1}, {u"\uFEFF", u"A", -1},  // mark between unlisted and listed
        {u"\uFEFF", u"\xD843", 1}, {u"\uFEFF", u"\U00020400", -1},
        // Pairs of one high surrogate by their own ranks: the file's order.
        {u"\U00020001", u"\U00020000", -1},
        {u"\U00020000A", u"\U00020001", 1},
        {u"\U00020400", u"\U00020001", -1},
        {u"\U00020400", u"\U00020000", -1},
        {u"A", u"\U00020400", -1},
        {u"\U00020401", u"\U00020400", -1},      // unlisted before listed
        {u"\U00020002", u"\U00020000", -1},
        {u"\U00020002", u"\U00020003", -1},      // both unlisted: by units
        {u"x\U00020001y", u"x\U00020000", -1},
        // Lone halves are characters of their own; at equal ranks a single
        // unit sorts before a pair that begins with it.
        {u"\xD840", u"\U00020001", -1},          // both rank 6
        {u"\xD840" u"E", u"\U00020001", -1},
        {u"\xD843" u"E", u"\U00020C00", -1},     // both unlisted
        {u"\U00020C00", u"\xD843\xD843", 1},
        {u"\xDC01", u"\U00020000", -1},          // 7 against 8
        {u"\xDC00\xD840", u"\xDC00\xD840", 0},
        {u"\xDC00\xD840", u"\xDC00\U00020001", -1},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(Show(c.a) + " vs " + Show(c.b));
        const Unit16 *a = (const Unit16 *)c.a.c_str(), *b = (const Unit16 *)c.b.c_str();
        EXPECT_EQ(Sign(Compare(&f, c.a, c.b)), c.sign);
        EXPECT_EQ(Sign(Compare(&f, c.b, c.a)), -c.sign);
        EXPECT_EQ(RefCustom(a, b, rank), c.sign);
        EXPECT_EQ(RefCustom(b, a, rank), -c.sign);
    }
    ReleaseOrderTable(&f);
    EXPECT_EQ(RankOf(&f, u"A"), -1) << "no table after release";
    EXPECT_EQ(NativeLiveAllocations(), 0);
}

// The index answers as a scan of the table from its start would.
TEST(OrderFile, IndexMatchesScan)
{
    std::mt19937 rng(7);
    // Few distinct units, surrogates among them, so that pairs overlap,
    // start at odd places and share their halves with lone surrogates.
    const char16_t alphabet[] = {u'a', u'b', 0xD800, 0xD801, 0xDBFF, 0xDC00, 0xDC01, 0xDFFF, 0x3042, 0xFEFF};
    // One order file for all rounds: each load replaces the table before.
    OrderFile f = OrderFileAt("");
    for (int round = 0; round < 200; round++) {
        std::u16string body;
        size_t length = rng() % 64 + 1;
        for (size_t i = 0; i < length; i++)
            body += alphabet[rng() % (sizeof alphabet / sizeof *alphabet)];
        std::string message;
        ASSERT_TRUE(Load(&f, Utf16File(body), &message));
        std::u16string table = u"\uFEFF" + body;

        for (char16_t u : alphabet)
            for (char16_t v : alphabet) {
                std::u16string key = {u, v};
                int32_t expected = -1;
                bool pair = u >= 0xD800 && u <= 0xDBFF && v >= 0xDC00 && v <= 0xDFFF;
                for (size_t i = 0; i < table.size() && expected < 0; i++)
                    if (pair ? i + 1 < table.size() && table[i] == u && table[i + 1] == v : table[i] == u)
                        expected = (int32_t)i;
                EXPECT_EQ(RankOf(&f, key), expected) << "round " << round;
            }
    }
    ReleaseOrderTable(&f);
    EXPECT_EQ(NativeLiveAllocations(), 0);
}

TEST(OrderFile, SortUsesOrderOnlyInUnicodeMode)
{
    std::string path = WriteFile(Utf16File(u"C\nB\nA\n"));
    struct {
        SortOptions options;
        std::u16string expected;
    } cases[] = {
        {{false, false, false, false, true, true, false}, u"D\nC\nB\nA\n"},
        {{true, false, false, false, true, true, false}, u"A\nB\nC\nD\n"},
        {{false, false, false, false, false, true, false}, u"A\nB\nC\nD\n"},  // loaded, not used
        {{false, false, true, false, true, true, false}, u"D\nC\nB\nA\n"},
    };
    for (auto &c : cases) {
        OrderFile f = OrderFileAt(path);
        BlockHandle block = Sort(nullptr, (const Unit16 *)u"B\nA\nD\nC", c.options, &f);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(std::u16string((const char16_t *)PlatformBlockLock(block)), c.expected);
        PlatformBlockUnlock(block);
        PlatformBlockFree(block);
        ReleaseOrderTable(&f);
    }
    unlink(path.c_str());
    EXPECT_EQ(NativeLiveAllocations(), 0);
}

TEST(OrderFile, ShippedRadicalStrokeOrder)
{
    OrderFile f = OrderFileAt(TALLORIX_SOURCE_DIR "/data/BushuKakusuu.txt");
    ASSERT_TRUE(LoadOrderTable(&f, ORDER_INDEXED));
    // Radical 1 with no further strokes, U+2A6D9 among them, comes before
    // 丁 (radical 1, one stroke); the simplified radical 讠 follows every
    // character of the traditional 言, 讋 included.
    EXPECT_LT(Compare(&f, u"一", u"\U0002A6D9"), 0);
    EXPECT_LT(Compare(&f, u"\U0002A6D9", u"丁"), 0);
    EXPECT_LT(Compare(&f, u"言", u"讋"), 0);
    EXPECT_LT(Compare(&f, u"讋", u"讠"), 0);
    // 𠮟 (D842 DF9F) is listed before 𠮷 (D842 DFB7).
    EXPECT_LT(Compare(&f, u"\U00020B9F", u"\U00020BB7"), 0);
    EXPECT_GT(Compare(&f, u"\U00020BB7", u"\U00020B9F"), 0);
    ReleaseOrderTable(&f);
}
