// The sort's prefixed record comparisons against the reference rules: on
// many random keys the signs agree, and every order is a total preorder.
// Keys are drawn so that they often share long starts, end inside or just
// past the packed prefix, and hold there digit runs of any length (leading
// zeros, values about 2^31, 2^32 and 2^64), supplementary characters of one
// block and lone surrogates.
#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "engine/sort_orders.h"
#include "engine/order_file.h"
#include "helpers.h"
#include "tests/support/keyed_records.h"

namespace {

// ---- Random keys ------------------------------------------------------------

const unsigned char byteAlphabet[] = {'a', 'b', 'A', ' ', '0', '1', '9', 0x81, 0x9F, 0xE0, 0xFF, 0x01, 0x7F};
const Unit16 unitAlphabet[] = {'a',    'b',    '0',    '1',    '9',    0x20,   0x7F,   0x80,   0xFF,
                               0x100,  0x7FF,  0x800,  0x4E00, 0x4E01, 0x3000, 0xD800, 0xD801, 0xDBFF,
                               0xDC00, 0xDC01, 0xDFFF, 0xD842, 0xDF9F, 0xDFB7, 0xFEFF, 0xFF10, 0xFFFF};

// Runs about the values where a fixed-width reading would go wrong.
const char *const boundaryRuns[] = {
    "2147483647", "2147483648", "2147483649", "4294967295", "4294967296", "4294967297", "3000000000",
    "18446744073709551615", "18446744073709551616", "18446744073709551617", "0000", "0",
};
// Supplementary characters, most of them of the block of D842 (𠮟 and 𠮷
// among them), listed and unlisted.
const Unit16 supplementary[][2] = {
    {0xD842, 0xDF9F}, {0xD842, 0xDFB7}, {0xD842, 0xDC00}, {0xD842, 0xDFFF}, {0xD840, 0xDC00}, {0xD840, 0xDC01},
};

template <typename U>
void PutRun(std::vector<U> &k, std::mt19937 &rng)
{
    if (rng() % 2) {
        for (const char *r = boundaryRuns[rng() % (sizeof boundaryRuns / sizeof *boundaryRuns)]; *r; r++)
            k.push_back((U)*r);
        return;
    }
    // Leading zeros, then up to 40 digits, often the same few.
    for (int z = rng() % 4 == 0 ? rng() % 25 : 0; z > 0; z--)
        k.push_back((U)'0');
    size_t digits = 1 + rng() % 40;
    for (size_t i = 0; i < digits; i++)
        k.push_back((U)('0' + (rng() % 3 == 0 ? rng() % 10 : 9)));
}

template <typename U>
std::vector<U> RandomKey(std::mt19937 &rng)
{
    std::vector<U> k;
    size_t length = rng() % 16;
    for (size_t i = 0; i < length; i++) {
        if (rng() % 6 == 0) {
            PutRun(k, rng);
        } else if (sizeof(U) == 1) {
            k.push_back((U)byteAlphabet[rng() % sizeof byteAlphabet]);
        } else if (rng() % 5 == 0) {
            const Unit16 *c = supplementary[rng() % (sizeof supplementary / sizeof *supplementary)];
            k.push_back((U)c[0]);
            k.push_back((U)c[1]);
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

std::string WriteOrderFile()
{
    // Listed: kanji, a pair and one of its surrogates alone, a digit, the
    // letter a, the mark again, another pair of the same block; 𠮟's low
    // surrogate alone, then 𠮷 before 𠮟 and U+20000 before U+20001, so
    // that pairs of one block rank otherwise than their low surrogates.
    const Unit16 units[] = {0xFEFF, 0x4E01, '\n',   0xD800, 0xDC01, '\n',   0xDC00, '9',    'a',    0xFEFF, 0xD800,
                            0xDFFF, 0xDBFF, 0x4E00, 0xDF9F, 0xD842, 0xDFB7, 0xD842, 0xDF9F, 0xD840, 0xDC00, 0xD840,
                            0xDC01, 0xD842};
    std::string bytes;
    for (Unit16 u : units) {
        bytes += (char)(u & 0xFF);
        bytes += (char)(u >> 8);
    }
    return WriteFile(bytes);
}

// A tenth as many under the sanitizers, where each pair costs tenfold; the
// plain build takes the full million.
#ifdef __SANITIZE_ADDRESS__
const int PAIRS = 100000;
#else
const int PAIRS = 1000000;
#endif

void CheckOrder(KeyOrder order, const OrderFile *f, const RefRanks &ranks)
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
        KeyedRecords k = RecordsOf({a, b}, units, order, f);
        ASSERT_EQ(Sign(CompareRecords(&k.records[0], &k.records[1], order, k.Keys(), f)),
                  RefCompare(order, a, b, &ranks))
            << "pair " << n;
    }
}

// check(order, f, ranks) for each order, with the test's order file loaded
// into f.
template <typename Check>
void ForEachOrder(Check check)
{
    std::string path = WriteOrderFile();
    OrderFile f = OrderFileAt(path);
    ASSERT_TRUE(LoadOrderTable(&f, ORDER_INDEXED));
    RefRanks ranks = ReferenceRanks(f.path);
    for (KeyOrder order : {ORDER_BYTES, ORDER_UNITS, ORDER_NUMERIC_BYTES, ORDER_NUMERIC_UNITS, ORDER_CUSTOM}) {
        SCOPED_TRACE("order " + std::to_string(order));
        check(order, &f, ranks);
    }
    ReleaseOrderTable(&f);
    unlink(path.c_str());
}

TEST(RecordCompare, AgreesWithReference)
{
    ForEachOrder(CheckOrder);
}

// Signs of cmp over every ordered pair of three keys form a total
// preorder: cmp(x, x) is 0, cmp(y, x) is -cmp(x, y), and x <= y <= z gives
// x <= z. The transpose, the descending order, then is one too.
template <typename Cmp>
bool TotalPreorder(Cmp cmp)
{
    int s[3][3];
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            s[i][j] = Sign(cmp(i, j));
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) {
            if (s[i][j] != -s[j][i] || (i == j && s[i][j]))
                return false;
            for (int l = 0; l < 3; l++)
                if (s[i][j] <= 0 && s[j][l] <= 0 && s[i][l] > 0)
                    return false;
        }
    return true;
}

#ifdef __SANITIZE_ADDRESS__
const int TRIPLES = 20000;
#else
const int TRIPLES = 100000;
#endif

// Every order, by the engine's record comparison and by the reference, on
// random triples of keys that share starts.
TEST(RecordCompare, OrdersAreTotalPreorders)
{
    ForEachOrder([](KeyOrder order, const OrderFile *f, const RefRanks &ranks) {
        std::mt19937 rng(order + 31);
        bool units = order == ORDER_UNITS || order == ORDER_NUMERIC_UNITS || order == ORDER_CUSTOM;
        for (int n = 0; n < TRIPLES; n++) {
            std::vector<Unit16> u[3];
            std::vector<unsigned char> b[3];
            const void *key[3];
            for (int i = 0; i < 3; i++) {
                if (units) {
                    u[i] = i == 0 ? RandomKey<Unit16>(rng) : Variant(u[rng() % i], rng);
                    key[i] = u[i].data();
                } else {
                    b[i] = i == 0 ? RandomKey<unsigned char>(rng) : Variant(b[rng() % i], rng);
                    key[i] = b[i].data();
                }
            }
            KeyedRecords k = RecordsOf({key[0], key[1], key[2]}, units, order, f);
            const SortRecord *r = k.records.data();
            ASSERT_TRUE(
                TotalPreorder([&](int i, int j) { return CompareRecords(&r[i], &r[j], order, k.Keys(), f); }))
                << "engine, triple " << n;
            ASSERT_TRUE(TotalPreorder([&](int i, int j) { return RefCompare(order, key[i], key[j], &ranks); }))
                << "reference, triple " << n;
        }
    });
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
    std::string path = WriteOrderFile();
    OrderFile f = OrderFileAt(path);
    ASSERT_TRUE(LoadOrderTable(&f, ORDER_INDEXED));

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
            std::vector<const void *> keys;
            std::vector<LineEntry> entries;
            static const Unit16 ids[5000] = {};
            for (int i = 0; i < 5000; i++) {
                size_t k = rng() % 20;
                const void *key = o.units ? (const void *)units[k].data() : (const void *)bytes[k].data();
                keys.push_back(key);
                entries.push_back({key, ids + i});
            }
            KeyedRecords k = RecordsOf(keys, o.units, o.order, &f);
            SortRecords(k.records.data(), k.records.size(), o.order, k.Keys(), &f, descending);
            ReferenceSort(entries, o.order, descending, f.path);
            for (size_t i = 0; i < entries.size(); i++)
                ASSERT_EQ(k.records[i].line, (uint32_t)(entries[i].line - ids))
                    << "order " << o.order << (descending ? " descending" : "") << " at " << i;
        }
    }
    ReleaseOrderTable(&f);
    unlink(path.c_str());
}

}  // namespace
