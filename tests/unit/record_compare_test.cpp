// The sort's prefixed record comparators, and the family's comparators,
// against plain unit-by-unit versions written from the rules: on many
// random keys the signs agree, and the numeric results and the family's
// custom results are the same values. Keys are drawn so that they often share long starts, end
// inside or just past the packed prefix, and hold digit runs and
// surrogates there.
#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "engine/compare.h"
#include "engine/order.h"
#include "engine/quicksort.h"
#include "engine/records.h"

namespace {

// ---- Plain versions ---------------------------------------------------------

template <typename U>
int32_t PlainReference(const U *p, const U *q)
{
    for (size_t i = 0;; i++) {
        uint32_t c = p[i], d = q[i];
        if (c != d)
            return c < d ? -1 : 1;
        if (c == 0)
            return 0;
    }
}

bool Digit(uint32_t c)
{
    return c >= '0' && c <= '9';
}

template <typename U>
int32_t NumericReference(const U *p, const U *q)
{
    size_t i = 0, j = 0;
    for (;;) {
        uint32_t c = p[i], d = q[j];
        if (c == 0)
            return d ? -1 : 0;
        if (d == 0)
            return 1;
        if (Digit(c) && Digit(d)) {
            uint32_t x = 0, y = 0;
            while (Digit(p[i]))
                x = x * 10u + (p[i++] - '0');
            while (Digit(q[j]))
                y = y * 10u + (q[j++] - '0');
            if (x != y)
                return (int32_t)(x - y);
            continue;
        }
        if (c != d)
            return (int32_t)(c - d);
        i++;
        j++;
    }
}

std::vector<Unit16> table;  // the order file's kept units, mark first

int32_t ScanRank(const Unit16 *at)
{
    bool pair = at[0] >= 0xD800 && at[0] <= 0xDBFF && at[1] >= 0xDC00 && at[1] <= 0xDFFF;
    for (size_t i = 0; i < table.size(); i++)
        if (table[i] == at[0] && (!pair || (i + 1 < table.size() && table[i + 1] == at[1])))
            return (int32_t)i;
    return -1;
}

int32_t CustomReference(const Unit16 *p, const Unit16 *q)
{
    size_t i = 0;
    while (p[i] == q[i]) {
        if (!p[i])
            return 0;
        i++;
    }
    if (p[i] && q[i]) {
        int32_t r = ScanRank(p + i), s = ScanRank(q + i);
        if (r != s)
            return r - s;
    }
    return (int32_t)p[i] - (int32_t)q[i];
}

int Sign(int32_t v)
{
    return (v > 0) - (v < 0);
}

// ---- Random keys ------------------------------------------------------------

const unsigned char byteAlphabet[] = {'a', 'b', 'A', ' ', '0', '1', '9', 0x81, 0x9F, 0xE0, 0xFF, 0x01, 0x7F};
const Unit16 unitAlphabet[] = {'a', 'b', '0', '1', '9', 0x20, 0x7F, 0x80, 0xFF, 0x100, 0x7FF, 0x800, 0x4E00, 0x4E01, 0x3000,
                               0xD800, 0xD801, 0xDBFF, 0xDC00, 0xDC01, 0xDFFF, 0xFEFF, 0xFFFF};

template <typename U>
std::vector<U> RandomKey(std::mt19937 &rng)
{
    std::vector<U> k;
    size_t length = rng() % 21;
    for (size_t i = 0; i < length; i++) {
        if (rng() % 8 == 0) {  // a long digit run, wrapping past 2^32
            const char *runs[] = {"4294967296", "4294967295", "2147483648", "0000", "3000000000"};
            for (const char *r = runs[rng() % 5]; *r; r++)
                k.push_back((U)*r);
        } else if (sizeof(U) == 1) {
            k.push_back((U)byteAlphabet[rng() % sizeof byteAlphabet]);
        } else {
            k.push_back((U)unitAlphabet[rng() % (sizeof unitAlphabet / sizeof *unitAlphabet)]);
        }
    }
    k.push_back(0);
    return k;
}

// The second key of a pair: usually the first with one unit changed, cut
// or extended, so that the two share a start of any length.
template <typename U>
std::vector<U> Variant(const std::vector<U> &a, std::mt19937 &rng)
{
    std::vector<U> b(a.begin(), a.end() - 1);
    std::vector<U> fresh = RandomKey<U>(rng);
    switch (rng() % 5) {
    case 0:
        return fresh;
    case 1:
        if (!b.empty())
            b[rng() % b.size()] = fresh.size() > 1 ? fresh[0] : (U)'0';
        break;
    case 2:
        b.resize(b.empty() ? 0 : rng() % b.size());
        break;
    case 3:
        b.insert(b.end(), fresh.begin(), fresh.end() - 1);
        break;
    default:
        break;  // equal keys
    }
    b.push_back(0);
    return b;
}

std::string OrderFile()
{
    // Listed: kanji, a pair and one of its surrogates alone, a digit, the
    // letter a, the mark again, another pair of the same block.
    const Unit16 units[] = {0xFEFF, 0x4E01, '\n', 0xD800, 0xDC01, '\n', 0xDC00, '9', 'a',
                            0xFEFF, 0xD800, 0xDFFF, 0xDBFF, 0x4E00};
    table.clear();
    std::string bytes;
    for (Unit16 u : units) {
        if (u > 0x20)
            table.push_back(u);
        bytes += (char)(u & 0xFF);
        bytes += (char)(u >> 8);
    }
    char path[] = "/tmp/tallorix-records-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    close(fd);
    return path;
}

const int PAIRS = 200000;

template <typename U>
void CheckOrder(KeyOrder order, int32_t (*reference)(const U *, const U *), Comparator family,
                bool exact)
{
    std::mt19937 rng(order + 1);
    for (int n = 0; n < PAIRS; n++) {
        std::vector<U> a = RandomKey<U>(rng), b = Variant(a, rng);
        SortRecord x = {PackKey(a.data(), order), {a.data(), nullptr}};
        SortRecord y = {PackKey(b.data(), order), {b.data(), nullptr}};
        int32_t want = reference(a.data(), b.data());
        int32_t got;
        switch (order) {
        case ORDER_BYTES:
            got = ComparePlainRecords<unsigned char>(&x, &y);
            break;
        case ORDER_UNITS:
            got = ComparePlainRecords<Unit16>(&x, &y);
            break;
        case ORDER_NUMERIC_BYTES:
            got = CompareNumericRecords<unsigned char>(&x, &y);
            break;
        case ORDER_NUMERIC_UNITS:
            got = CompareNumericRecords<Unit16>(&x, &y);
            break;
        default:
            got = CompareCustomRecords(&x, &y);
            break;
        }
        int32_t plain = family(&x.entry, &y.entry);
        // The custom record comparator gives the sign only.
        if (exact && order != ORDER_CUSTOM)
            ASSERT_EQ(got, want) << "pair " << n;
        else
            ASSERT_EQ(Sign(got), Sign(want)) << "pair " << n;
        ASSERT_EQ(plain, exact ? want : Sign(want)) << "pair " << n;
    }
}

TEST(RecordCompare, AgreesWithPlainVersions)
{
    std::string path = OrderFile();
    snprintf(orderFilePath, ORDER_PATH_SIZE, "%s", path.c_str());
    ASSERT_TRUE(LoadOrderTable());

    CheckOrder<unsigned char>(ORDER_BYTES, PlainReference<unsigned char>, CompareBytes, false);
    CheckOrder<Unit16>(ORDER_UNITS, PlainReference<Unit16>, CompareUnits, false);
    CheckOrder<unsigned char>(ORDER_NUMERIC_BYTES, NumericReference<unsigned char>, CompareNumericBytes, true);
    CheckOrder<Unit16>(ORDER_NUMERIC_UNITS, NumericReference<Unit16>, CompareNumericUnits, true);
    CheckOrder<Unit16>(ORDER_CUSTOM, CustomReference, CompareCustomOrder, true);

    ReleaseOrderTable();
    unlink(path.c_str());
}

// The 32-bit build finds the first differing byte of two prefixes one half
// word at a time; both ways find the same byte.
TEST(RecordCompare, HalfWordsFindTheSameByte)
{
    std::mt19937_64 rng(11);
    for (int n = 0; n < 200000; n++) {
        KeyPrefix a = {rng(), 0}, b = a;
        switch (rng() % 3) {
        case 0:
            b.hi ^= 1ull << (rng() % 64);  // one bit anywhere
            break;
        case 1:
            b.hi ^= rng() >> (rng() % 64);  // low bits only
            break;
        default:
            break;  // equal
        }
        uint32_t c1 = 0, d1 = 0, c2 = 0, d2 = 0;
        int halves = FirstDifferentUnits<unsigned char, true>(a, b, &c1, &d1);
        int whole = FirstDifferentUnits<unsigned char, false>(a, b, &c2, &d2);
        ASSERT_EQ(halves, whole) << std::hex << a.hi << " " << b.hi;
        if (whole < 8) {
            ASSERT_EQ(c1, c2);
            ASSERT_EQ(d1, d2);
        }
    }
}

// The sort over prefixed records leaves every line, equal keys included,
// where the procedure over plain entries with the family's comparator
// leaves it.
TEST(RecordCompare, SortMatchesPlainEntries)
{
    std::string path = OrderFile();
    snprintf(orderFilePath, ORDER_PATH_SIZE, "%s", path.c_str());
    ASSERT_TRUE(LoadOrderTable());

    const struct {
        KeyOrder order;
        bool units;
        Comparator ascending, descending;
    } orders[] = {
        {ORDER_BYTES, false, CompareBytes, CompareBytesDescending},
        {ORDER_UNITS, true, CompareUnits, CompareUnitsDescending},
        {ORDER_NUMERIC_BYTES, false, CompareNumericBytes, CompareNumericBytesDescending},
        {ORDER_NUMERIC_UNITS, true, CompareNumericUnits, CompareNumericUnitsDescending},
        {ORDER_CUSTOM, true, CompareCustomOrder, CompareCustomOrderDescending},
    };
    std::mt19937 rng(7);
    for (const auto &o : orders) {
        for (bool descending : {false, true}) {
            // Few distinct keys, so that equal keys are common.
            std::vector<std::vector<Unit16>> units;
            std::vector<std::vector<unsigned char>> bytes;
            for (int i = 0; i < 20; i++) {
                units.push_back(RandomKey<Unit16>(rng));
                bytes.push_back(RandomKey<unsigned char>(rng));
            }
            std::vector<SortRecord> records;
            std::vector<LineEntry> entries;
            static const Unit16 ids[5000] = {};
            for (int i = 0; i < 5000; i++) {
                size_t k = rng() % 20;
                const void *key = o.units ? (const void *)units[k].data() : (const void *)bytes[k].data();
                records.push_back({PackKey(key, o.order), {key, ids + i}});
                entries.push_back({key, ids + i});
            }
            SortRecords(records.data(), records.size(), o.order, descending);
            QuickSortLines(entries.data(), entries.size(), descending ? o.descending : o.ascending);
            for (size_t i = 0; i < entries.size(); i++)
                ASSERT_EQ(records[i].entry.line, entries[i].line)
                    << "order " << o.order << (descending ? " descending" : "") << " at " << i;
        }
    }
    ReleaseOrderTable();
    unlink(path.c_str());
}

}  // namespace
