// The whole sort on random text and options.
//
// Input: byte 0 holds the options, one bit each: descending, collapse
// blanks, ignore case, numeric, Unicode, order file (bits 0 to 5, as in the
// option string); bit 6 takes data/BushuKakusuu.txt as the order file,
// bit 7 reads the text in the compact encoding. Byte 1's bit 0 is the
// seventh option, dictionary order. Without bit 6, byte 2 describes a
// small order file built from the next units: its low 6 bits the count of
// units, bit 6 leaves out the mark, bit 7 names a file that does not
// exist. The rest is the text, taken up to its first NUL.
//
// Checked on every input: no line lost, doubled or altered, every line
// followed by LF (or the text as it was, for fewer than two lines); a
// block of 2n + 4 bytes; the input untouched; the loader's message; nothing
// left allocated or open. The whole result is compared with the reference
// quicksort run with the reference comparator, on keys converted to code
// page 932 by the reference (so the native conversion is checked too) or,
// in dictionary order, weighed by the reference dictionary order, and
// every neighbouring pair is checked to be in order, each order being a
// total preorder. The
// quicksort's guard gets a budget of a few dozen positions, so that its
// exact finish takes over on every text of more than a few lines, at the
// start or after some partitions. In the compact encoding bytes of 0xE0 and
// up stand for long digit runs and surrogates (fuzz_support.h).
#include <algorithm>

#include "engine/platform_native.h"
#include "engine/quicksort.h"
#include "engine/sort.h"
#include "filter/options.h"
#include "fuzz_support.h"
#include "tests/reference/cp932.h"
#include "tests/reference/dictionary.h"
#include "tests/reference/procedure.h"

typedef std::vector<uint8_t> Bytes;

enum RefOrder { REF_BYTES, REF_UNITS, REF_NUMERIC_BYTES, REF_NUMERIC_UNITS, REF_CUSTOM };

static char bushuPath[ORDER_PATH_SIZE];
static RefOrderLoad bushuLoad;
static RefRanks bushuRanks;
static RefDictionary dictionary;

// The reference conversion of every unit, looked up once: RefCp932Unit
// searches the table on each call.
static uint16_t refCp932Of[65536];

// The bytes of the scratch order file as last written.
static Bytes scratchBytes;
static bool scratchWritten;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    MakeScratch();
    for (uint32_t u = 0; u < 65536; u++)
        refCp932Of[u] = RefCp932Unit((uint16_t)u);
    snprintf(bushuPath, sizeof bushuPath, "%s/data/BushuKakusuu.txt", TALLORIX_SOURCE_DIR);
    Bytes bytes = ReadWholeFile(bushuPath);
    bushuLoad = RefLoadOrder(bytes.data(), bytes.size());
    REQUIRE(bushuLoad.loads);
    RefMakeRanks(bushuLoad.table, &bushuRanks);
    char groups[ORDER_PATH_SIZE];
    snprintf(groups, sizeof groups, "%s/data/dictionary/groups.txt", TALLORIX_SOURCE_DIR);
    REQUIRE(RefLoadDictionary(groups, &dictionary));
    return 0;
}

// The keys of the lines as the options make them.
struct RefKeys {
    std::vector<Bytes> bytes;
    std::vector<RefUnits> units;
};

static RefKeys MakeRefKeys(const Unit16 *text, size_t n, SortOptions o)
{
    RefKeys k;
    if (o.unicode || o.dictionary) {
        RefUnits buf(text, text + n);
        if (o.collapseBlanks)
            RefCollapseBlanks(buf);
        if (o.ignoreCase)
            RefFoldCase(buf, false);
        k.units = RefSplitKeys(buf);
        return k;
    }
    // RefToCp932, with each unit's bytes from the table.
    Bytes buf;
    buf.reserve(2 * n);
    for (size_t i = 0; i < n; i++) {
        uint16_t v = refCp932Of[text[i]];
        if (v > 0xFF)
            buf.push_back((uint8_t)(v >> 8));
        buf.push_back((uint8_t)v);
    }
    if (o.collapseBlanks)
        RefCollapseBlanks(buf);
    if (o.ignoreCase)
        RefFoldCase(buf, true);
    k.bytes = RefSplitKeys(buf);
    return k;
}

// Input lines, without their LFs.
static std::vector<RefUnits> SplitLines(const Unit16 *text, size_t n)
{
    std::vector<RefUnits> lines;
    RefUnits cur;
    for (size_t i = 0; i < n; i++) {
        if (text[i] == 0x0A) {
            lines.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(text[i]);
        }
    }
    if (n > 0 && text[n - 1] != 0x0A)
        lines.push_back(cur);
    return lines;
}

// An output of outUnits units read as lines: none lost, doubled or
// altered, each followed by LF, then the NUL where the text's lines end.
static void CheckLines(const Unit16 *out, size_t outUnits, const Unit16 *text, size_t n,
                       const std::vector<RefUnits> &lines)
{
    std::vector<RefUnits> got;
    size_t i = 0;
    while (i < outUnits && out[i]) {
        RefUnits line;
        for (; i < outUnits && out[i] && out[i] != 0x0A; i++)
            line.push_back(out[i]);
        REQUIRE(i < outUnits && out[i] == 0x0A);
        i++;
        got.push_back(line);
    }
    REQUIRE(i < outUnits && out[i] == 0);
    REQUIRE(i == n + (text[n - 1] != 0x0A));
    std::vector<RefUnits> want = lines;
    std::sort(want.begin(), want.end());
    std::sort(got.begin(), got.end());
    REQUIRE(got == want);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size};
    uint8_t bits = TakeByte(&in);
    char flags[OPTION_STRING_LENGTH + 1];
    for (int i = 0; i < OPTION_FIXED_LENGTH; i++)
        flags[i] = bits >> i & 1 ? '1' : '0';
    flags[OPTION_STRING_LENGTH] = 0;
    flags[6] = TakeByte(&in) & 1 ? '1' : '0';
    SortOptions o = DecodeOptions(flags);
    REQUIRE(o.descending == (bits & 1) && o.collapseBlanks == (bits >> 1 & 1) &&
            o.ignoreCase == (bits >> 2 & 1) && o.numeric == (bits >> 3 & 1) &&
            o.unicode == (bits >> 4 & 1) && o.orderFile == (bits >> 5 & 1) && o.dictionary == (flags[6] == '1'));
    bool bushu = bits & 0x40, compact = bits & 0x80;

    // The order file, and what loading it gives; zero-filled, as a command
    // starts with it.
    OrderFile orderFile;
    memset(&orderFile, 0, sizeof orderFile);
    static const RefOrderLoad noLoad = {false, "", RefUnits()};
    RefOrderLoad small = noLoad;
    const RefOrderLoad *load = &small;
    if (bushu) {
        snprintf(orderFile.path, sizeof orderFile.path, "%s", bushuPath);
        load = &bushuLoad;
    } else {
        uint8_t d = TakeByte(&in);
        RefUnits units = TakeUnits(&in, compact, d & 0x3F);
        Bytes file;
        if (!(d & 0x40))
            file = {0xFF, 0xFE};
        for (Unit16 u : units) {
            file.push_back((uint8_t)u);
            file.push_back((uint8_t)(u >> 8));
        }
        // Written only when it differs from the file already there.
        if (!scratchWritten || file != scratchBytes) {
            WriteScratch(file.data(), file.size(), file.size());
            scratchBytes = file;
            scratchWritten = true;
        }
        if (d & 0x80) {
            snprintf(orderFile.path, sizeof orderFile.path, "%s.missing", scratchFile);
            small.message = REF_ORDER_OPEN_FAILED;
        } else {
            snprintf(orderFile.path, sizeof orderFile.path, "%s", scratchFile);
            small = RefLoadOrder(file.data(), file.size());
        }
    }
    if (!o.orderFile)
        load = &noLoad;

    RefUnits text = TakeUnits(&in, compact, SIZE_MAX);
    text.push_back(0);
    const RefUnits saved = text;
    size_t n = 0;
    while (text[n])
        n++;

    long live = NativeLiveAllocations();
    long open = NativeOpenFiles();
    NativeClearMessages();
    guardBudget = (int64_t)(n % 61);
    BlockHandle block = Sort((WindowHandle)0x10, text.data(), o, &orderFile);
    guardBudget = -1;
    ReleaseOrderTable(&orderFile);

    REQUIRE(block != NULL);
    REQUIRE(text == saved);
    REQUIRE(NativeOpenFiles() == open);
    REQUIRE(NativeMessageCount() == (*load->message ? 1 : 0));
    if (*load->message)
        REQUIRE(strcmp(NativeMessage(0), load->message) == 0);
    REQUIRE(NativeBlockSize(block) == 2 * n + 4);
    const Unit16 *out = (const Unit16 *)PlatformBlockLock(block);

    std::vector<RefUnits> lines = SplitLines(text.data(), n);
    if (lines.size() < 2) {
        REQUIRE(memcmp(out, text.data(), 2 * n + 2) == 0);
    } else {
        // The reference comparator over line numbers.
        RefKeys keys = MakeRefKeys(text.data(), n, o);
        RefOrder order = o.unicode ? (load->loads ? REF_CUSTOM : o.numeric ? REF_NUMERIC_UNITS : REF_UNITS)
                                   : (o.numeric ? REF_NUMERIC_BYTES : REF_BYTES);
        size_t count = o.unicode || o.dictionary ? keys.units.size() : keys.bytes.size();
        REQUIRE(count == lines.size());
        const RefUnits &table = load->table;
        auto rank = [&](const Unit16 *at) {
            return bushu ? RefRankOf(bushuRanks, at) : RefRank(table, at);
        };
        // Dictionary order: each key weighed once; its kanji ranked by the
        // file where Unicode mode loaded one.
        RefRanks smallRanks;
        const RefRanks *ranks = NULL;
        if (o.dictionary && o.unicode && load->loads) {
            if (!bushu)
                RefMakeRanks(table, &smallRanks);
            ranks = bushu ? &bushuRanks : &smallRanks;
        }
        std::vector<std::vector<RefDictWeights>> weights;
        if (o.dictionary) {
            RefDictOptions d = {o.ignoreCase, o.numeric, o.unicode, ranks};
            for (const RefUnits &key : keys.units)
                weights.push_back(RefDictWeigh(dictionary, key.data(), d));
        }
        auto ascending = [&](size_t x, size_t y) -> int32_t {
            if (o.dictionary)
                return RefDictCompareWeighed(weights[x], weights[y]);
            switch (order) {
            case REF_BYTES:
                return RefPlain(keys.bytes[x].data(), keys.bytes[y].data());
            case REF_NUMERIC_BYTES:
                return RefNumeric(keys.bytes[x].data(), keys.bytes[y].data());
            case REF_UNITS:
                return RefPlain(keys.units[x].data(), keys.units[y].data());
            case REF_NUMERIC_UNITS:
                return RefNumeric(keys.units[x].data(), keys.units[y].data());
            default:
                return RefCustom(keys.units[x].data(), keys.units[y].data(), rank);
            }
        };
        auto cmp = [&](size_t x, size_t y) { return o.descending ? ascending(y, x) : ascending(x, y); };

        std::vector<size_t> t(count);
        for (size_t r = 0; r < count; r++)
            t[r] = r;
        RefQuickSort(t, cmp);
        RefUnits expected;
        for (size_t r : t) {
            expected.insert(expected.end(), lines[r].begin(), lines[r].end());
            expected.push_back(0x0A);
        }
        expected.push_back(0);
        // The expected text is the lines in another order, each followed
        // by LF: an output equal to it has lost, doubled or altered none.
        // Only one that differs is taken apart, to tell which it did.
        if (memcmp(out, expected.data(), 2 * expected.size()) != 0)
            CheckLines(out, n + 2, text.data(), n, lines);
        REQUIRE(memcmp(out, expected.data(), 2 * expected.size()) == 0);

        for (size_t r = 0; r + 1 < count; r++)
            REQUIRE(cmp(t[r], t[r + 1]) <= 0);
    }

    PlatformBlockUnlock(block);
    PlatformBlockFree(block);
    REQUIRE(NativeLiveAllocations() == live);
    return 0;
}
