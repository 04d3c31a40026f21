// Code-unit and numeric-aware order on hand-picked pairs: the reference
// and the engine's record comparison each give the exact result (the sign
// in plain order, the wrapped difference in numeric order).
#include <gtest/gtest.h>

#include <string>

#include "engine/key_order.h"
#include "helpers.h"
#include "tests/reference/rules.h"

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

// The pair in one order, by the reference and by the engine's records.
template <typename U>
void CheckPair(const Pair &p, KeyOrder order, bool numeric, const U *a, const U *b)
{
    SCOPED_TRACE(std::string(sizeof(U) == 1 ? "bytes" : "units") + (numeric ? ", numeric: " : ": ") +
                 Show(p.a) + " vs " + Show(p.b));
    int32_t want = numeric ? p.numeric : p.plain;
    EXPECT_EQ(numeric ? RefNumeric(a, b) : RefPlain(a, b), want);
    SortRecord x = {PackKey(a, order), {a, NULL}}, y = {PackKey(b, order), {b, NULL}};
    EXPECT_EQ(CompareRecords(&x, &y, order), want);
}

TEST(Comparators, ExactResults)
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
