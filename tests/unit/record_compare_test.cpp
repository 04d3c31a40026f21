// The sort's prefixed record comparisons against the reference rules: on
// many random keys the signs agree, and numeric order gives the same
// values. Keys are drawn so that they often share long starts, end inside
// or just past the packed prefix, and hold digit runs and surrogates there.
#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "engine/key_order.h"
#include "engine/order.h"
#include "helpers.h"

namespace {

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
    std::string bytes;
    for (Unit16 u : units) {
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

void CheckOrder(KeyOrder order, const RefRanks &ranks)
{
    std::mt19937 rng(order + 1);
    bool units = order == ORDER_UNITS || order == ORDER_NUMERIC_UNITS || order == ORDER_CUSTOM;
    for (int n = 0; n < PAIRS; n++) {
        std::vector<Unit16> ua, ub;
        std::vector<unsigned char> ba, bb;
        if (units) {
            ua = RandomKey<Unit16>(rng);
            ub = Variant(ua, rng);
        } else {
            ba = RandomKey<unsigned char>(rng);
            bb = Variant(ba, rng);
        }
        const void *a = units ? (const void *)ua.data() : ba.data(), *b = units ? (const void *)ub.data() : bb.data();
        SortRecord x = {PackKey(a, order), {a, nullptr}};
        SortRecord y = {PackKey(b, order), {b, nullptr}};
        int32_t want = RefCompare(order, a, b, &ranks);
        int32_t got = CompareRecords(&x, &y, order);
        // Numeric order's value is exact; the others give the sign.
        if (order == ORDER_NUMERIC_BYTES || order == ORDER_NUMERIC_UNITS)
            ASSERT_EQ(got, want) << "pair " << n;
        else
            ASSERT_EQ(Sign(got), Sign(want)) << "pair " << n;
    }
}

TEST(RecordCompare, AgreesWithReference)
{
    std::string path = OrderFile();
    snprintf(orderFilePath, ORDER_PATH_SIZE, "%s", path.c_str());
    ASSERT_TRUE(LoadOrderTable());
    RefRanks ranks = ReferenceRanks();
    for (KeyOrder order : {ORDER_BYTES, ORDER_UNITS, ORDER_NUMERIC_BYTES, ORDER_NUMERIC_UNITS, ORDER_CUSTOM}) {
        SCOPED_TRACE("order " + std::to_string(order));
        CheckOrder(order, ranks);
    }
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
// where the reference procedure with the reference rule leaves it.
TEST(RecordCompare, SortMatchesReference)
{
    std::string path = OrderFile();
    snprintf(orderFilePath, ORDER_PATH_SIZE, "%s", path.c_str());
    ASSERT_TRUE(LoadOrderTable());

    const struct {
        KeyOrder order;
        bool units;
    } orders[] = {
        {ORDER_BYTES, false},         {ORDER_UNITS, true},         {ORDER_NUMERIC_BYTES, false},
        {ORDER_NUMERIC_UNITS, true}, {ORDER_CUSTOM, true},
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
            ReferenceSort(entries, o.order, descending);
            for (size_t i = 0; i < entries.size(); i++)
                ASSERT_EQ(records[i].entry.line, entries[i].line)
                    << "order " << o.order << (descending ? " descending" : "") << " at " << i;
        }
    }
    ReleaseOrderTable();
    unlink(path.c_str());
}

}  // namespace
