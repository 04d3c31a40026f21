// The eight code-order and numeric-aware comparators.
#include <gtest/gtest.h>

#include <string>

#include "engine/compare.h"
#include "helpers.h"

namespace {

struct Pair {
    std::u16string a, b;
    int32_t plain;    // byte and code-unit order
    int32_t numeric;  // numeric-aware order, exact value
};

// Every unit here is below 0x100, so each row serves as a byte key and,
// widened unit by unit, as a UTF-16 key with the same expected results.
const Pair narrowPairs[] = {
    {u"", u"", 0, 0},
    {u"", u"a", -1, -1},
    {u"a", u"", 1, 1},
    {u"a", u"z", -1, 'a' - 'z'},
    {u"z", u"a", 1, 'z' - 'a'},
    {u"ab", u"a", 1, 1},
    {u"abc", u"abc", 0, 0},
    {u"\x81\x40", u"z", 1, 0x81 - 'z'},         // lead byte after ASCII
    {u"\xFF", u"\x01", 1, 0xFF - 1},
    {u"\x82\x50\x82\x4F", u"\x82\x58", -1, -8},  // full-width 10 vs 9
    {u"ABC20", u"ABC100", 1, 20 - 100},
    {u"ABC100", u"ABC100x", -1, -1},
    {u"10a", u"9z", -1, 1},
    {u"a1b2", u"a1b10", 1, 2 - 10},
    {u"007", u"7", -1, 0},
    {u"x007y", u"x7y", -1, 0},
    {u"x007y", u"x7z", -1, 'y' - 'z'},  // goes on after equal numbers
    {u"a0", u"a00", -1, 0},
    {u"a", u"a0", -1, -1},
    {u"a00", u"a", 1, 1},
    {u"a5", u"ab", -1, '5' - 'b'},
    {u"12a", u"12", 1, 1},
    {u"4294967296", u"0", 1, 0},
    {u"4294967297x", u"1y", 1, 'x' - 'y'},
    {u"3000000000", u"1", 1, (int32_t)(3000000000u - 1u)},
    {u"2147483648", u"0", 1, INT32_MIN},
    {u"0", u"2147483648", -1, INT32_MIN},
};

// UTF-16 only: units above 0xFF, compared unsigned.
const Pair widePairs[] = {
    {u"\uFF21", u"A", 1, 0xFF21 - 'A'},
    {u"\u8000", u"\u7FFF", 1, 1},
    {u"\u3042", u"a", 1, 0x3042 - 'a'},
    {u"\uFFFF", u"\uFFFE", 1, 1},
    {u"\uFF11\uFF10", u"\uFF19", -1, -8},  // full-width digits
    {u"\uFF11", u"1", 1, 0xFF11 - '1'},
    {u"\u3042" u"10", u"\u3042" u"9", -1, 1},
};

std::string Bytes(const std::u16string &s)
{
    return std::string(s.begin(), s.end());
}

int32_t Run(Comparator cmp, const void *a, const void *b)
{
    LineEntry x = {a, NULL}, y = {b, NULL};
    return cmp(&x, &y);
}

int Sign(int32_t v)
{
    return (v > 0) - (v < 0);
}

struct Family {
    Comparator asc, desc;
    bool numeric;
};

void CheckPair(const Pair &p, const Family &f, const void *a, const void *b, const char *name)
{
    SCOPED_TRACE(std::string(name) + ": " + Show(p.a) + " vs " + Show(p.b));
    int32_t want = f.numeric ? p.numeric : p.plain;
    EXPECT_EQ(Run(f.asc, a, b), want);
    EXPECT_EQ(Run(f.desc, b, a), want);
    EXPECT_EQ(Run(f.desc, a, b), Run(f.asc, b, a));
    if (want != INT32_MIN)
        EXPECT_EQ(Sign(Run(f.desc, a, b)), -Sign(want));
    else
        EXPECT_LT(Run(f.desc, a, b), 0);
}

TEST(Comparators, ExactResultsAndDescendingTwins)
{
    const Family bytes[] = {{CompareBytes, CompareBytesDescending, false},
                            {CompareNumericBytes, CompareNumericBytesDescending, true}};
    const Family units[] = {{CompareUnits, CompareUnitsDescending, false},
                            {CompareNumericUnits, CompareNumericUnitsDescending, true}};
    for (const Pair &p : narrowPairs) {
        std::string a = Bytes(p.a), b = Bytes(p.b);
        Units ua = ToUnits(p.a), ub = ToUnits(p.b);
        for (const Family &f : bytes)
            CheckPair(p, f, a.c_str(), b.c_str(), f.numeric ? "numeric bytes" : "bytes");
        for (const Family &f : units)
            CheckPair(p, f, ua.data(), ub.data(), f.numeric ? "numeric units" : "units");
    }
    for (const Pair &p : widePairs) {
        Units ua = ToUnits(p.a), ub = ToUnits(p.b);
        for (const Family &f : units)
            CheckPair(p, f, ua.data(), ub.data(), f.numeric ? "numeric units" : "units");
    }
}

}  // namespace
