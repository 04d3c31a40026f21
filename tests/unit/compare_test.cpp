// Code-unit and numeric-aware order on hand-picked pairs: the reference
// and the engine's record comparison each give the expected sign, in both
// directions (descending exchanges the operands).
#include <gtest/gtest.h>

#include <string>

#include "engine/sort_orders.h"
#include "helpers.h"
#include "tests/reference/rules.h"
#include "tests/support/keyed_records.h"

namespace {

struct Pair {
    std::u16string a, b;
    int plain;    // byte and code-unit order, sign
    int numeric;  // numeric-aware order, sign
};

// Every unit here is below 0x100, so each row serves as a byte key and,
// widened unit by unit, as a UTF-16 key with the same expected results.
const Pair narrowPairs[] = {
    {u"", u"", 0, 0},
    {u"", u"a", -1, -1},
    {u"a", u"", 1, 1},
    {u"a", u"z", -1, -1},
    {u"ab", u"a", 1, 1},
    {u"abc", u"abc", 0, 0},
    {u"\x81\x40", u"z", 1, 1},                  // lead byte after ASCII
    {u"\xFF", u"\x01", 1, 1},
    {u"\x82\x50\x82\x4F", u"\x82\x58", -1, -1},  // full-width 10 vs 9
    {u"ABC20", u"ABC100", 1, -1},
    {u"ABC100", u"ABC100x", -1, -1},
    {u"10a", u"9z", -1, 1},
    {u"a1b2", u"a1b10", 1, -1},
    {u"a5", u"ab", -1, -1},
    {u"12a", u"12", 1, 1},
    {u"a", u"a0", -1, -1},
    // Equal values go on after both runs.
    {u"007", u"7", -1, 0},
    {u"x007y", u"x7y", -1, 0},
    {u"x007y", u"x7z", -1, -1},
    {u"007b", u"7a", -1, 1},
    {u"a0", u"a00", -1, 0},
    {u"000", u"0", 1, 0},
    {u"a00", u"a", 1, 1},
    // Values of 2^31 and more, at any length.
    {u"3000000000", u"1", 1, 1},
    {u"2147483648", u"0", 1, 1},
    {u"0", u"2147483648", -1, -1},
    {u"2147483647", u"2147483648", -1, -1},
    {u"4294967296", u"0", 1, 1},
    {u"4294967297x", u"1y", 1, 1},
    {u"18446744073709551616", u"0", 1, 1},
    {u"18446744073709551615", u"18446744073709551617", -1, -1},
    {u"0312345678", u"08011112222", -1, -1},  // a fixed line, a mobile
    {u"0451234567", u"09099998888", -1, -1},
    {u"45", u"4547691689979", -1, -1},        // JAN codes
    {u"4901234567890", u"4547691689979", 1, 1},
    {u"12345678901234567890", u"12345678901234567891", -1, -1},
    {u"99999999999999999999", u"100000000000000000000", 1, -1},
    {u"00000000000000000000001", u"2", -1, -1},
    {u"x00000000000000000000123456789012345678901y", u"x123456789012345678901z", -1, -1},
    {u"a98765432109876543210b", u"a98765432109876543209c", 1, 1},
};

// UTF-16 only: units above 0xFF, compared unsigned.
const Pair widePairs[] = {
    {u"\uFF21", u"A", 1, 1},
    {u"\u8000", u"\u7FFF", 1, 1},
    {u"\u3042", u"a", 1, 1},
    {u"\uFFFF", u"\uFFFE", 1, 1},
    {u"\uFF11\uFF10", u"\uFF19", -1, -1},  // full-width digits: no run
    {u"\uFF11", u"1", 1, 1},
    {u"\u3042" u"10", u"\u3042" u"9", -1, 1},
    {u"\u3042" u"08011112222", u"\u3042" u"0312345678", 1, 1},
    {u"\uFF10" u"3000000000", u"\uFF10" u"1", 1, 1},
};

std::string Bytes(const std::u16string &s)
{
    return std::string(s.begin(), s.end());
}

// The pair in one order, both ways round, by the reference and by the
// engine's records.
template <typename U>
void CheckPair(const Pair &p, KeyOrder order, bool numeric, const U *a, const U *b)
{
    SCOPED_TRACE(std::string(sizeof(U) == 1 ? "bytes" : "units") + (numeric ? ", numeric: " : ": ") +
                 Show(p.a) + " vs " + Show(p.b));
    int want = numeric ? p.numeric : p.plain;
    EXPECT_EQ(Sign(numeric ? RefNumeric(a, b) : RefPlain(a, b)), want);
    EXPECT_EQ(Sign(numeric ? RefNumeric(b, a) : RefPlain(b, a)), -want);
    // No custom order here: no order file.
    KeyedRecords k = RecordsOf({a, b}, sizeof(U) == 2, order, NULL);
    const SortRecord *x = &k.records[0], *y = &k.records[1];
    EXPECT_EQ(Sign(CompareRecords(x, y, order, k.Keys(), NULL)), want);
    EXPECT_EQ(Sign(CompareRecords(y, x, order, k.Keys(), NULL)), -want);
}

TEST(Comparators, HandPickedPairs)
{
    for (const Pair &p : narrowPairs) {
        std::string a = Bytes(p.a), b = Bytes(p.b);
        const unsigned char *ba = (const unsigned char *)a.c_str(), *bb = (const unsigned char *)b.c_str();
        Units ua = ToUnits(p.a), ub = ToUnits(p.b);
        CheckPair(p, ORDER_BYTES, false, ba, bb);
        CheckPair(p, ORDER_NUMERIC_BYTES, true, ba, bb);
        CheckPair(p, ORDER_UNITS, false, ua.data(), ub.data());
        CheckPair(p, ORDER_NUMERIC_UNITS, true, ua.data(), ub.data());
    }
    for (const Pair &p : widePairs) {
        Units ua = ToUnits(p.a), ub = ToUnits(p.b);
        CheckPair(p, ORDER_UNITS, false, ua.data(), ub.data());
        CheckPair(p, ORDER_NUMERIC_UNITS, true, ua.data(), ub.data());
    }
}

}  // namespace
