// The native conversion to code page 932 against the reference's reading
// of the committed table: every unit, surrogates alone and in pairs, each
// way the conversion goes (room for two bytes a unit, or only for the
// result), and a buffer one byte short.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "engine/platform.h"
#include "tests/reference/cp932.h"

namespace {

const unsigned char CANARY = 0xA5;

// PlatformToCp932 of s into room bytes, which must hold the result or
// fail with 0, and leave every byte past the result as it was.
void Check(const std::vector<Unit16> &s, const std::vector<uint8_t> &want, int room)
{
    std::vector<unsigned char> out(room + 1, CANARY);
    int n = PlatformToCp932(s.data(), (int)s.size(), (char *)out.data(), room);
    if (room < (int)want.size()) {
        EXPECT_EQ(n, 0);
        return;
    }
    ASSERT_EQ(n, (int)want.size());
    EXPECT_EQ(memcmp(out.data(), want.data(), n), 0);
    for (int i = n; i <= room; i++)
        ASSERT_EQ(out[i], CANARY) << "byte " << i << " of " << room;
}

void CheckEveryRoom(const std::vector<Unit16> &s)
{
    std::vector<uint8_t> want = RefToCp932(s.data(), s.size());
    SCOPED_TRACE(testing::Message() << s.size() << " units, " << want.size() << " bytes");
    for (int room : {(int)(2 * s.size()), (int)want.size(), (int)want.size() - 1})
        Check(s, want, room);
}

TEST(Cp932, EveryUnitAsTheTable)
{
    std::vector<Unit16> all;
    for (uint32_t u = 0; u < 65536; u++)
        all.push_back((Unit16)u);
    CheckEveryRoom(all);
    for (uint32_t u = 0; u < 65536; u++)
        CheckEveryRoom({(Unit16)u});
}

TEST(Cp932, SurrogatesAloneAndInPairs)
{
    // Each high surrogate in a pair, alone before text and before another
    // high; each low after text and before a high.
    std::vector<Unit16> s;
    for (Unit16 hi = 0xD800, lo = 0xDC00; hi <= 0xDBFF; hi++, lo++) {
        for (Unit16 u : {hi, lo, (Unit16)'a', hi, (Unit16)0x3042, lo, hi, hi, (Unit16)0xE9})
            s.push_back(u);
    }
    CheckEveryRoom(s);
}

}  // namespace
