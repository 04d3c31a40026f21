// The order-file loader and the custom order on random files and keys.
//
// Input: byte 0 chooses the case. Bit 0 reads the keys in the compact
// encoding, where a byte of 0xC0 or more stands for a unit of the file;
// bit 1 loads twice without a release in between. The high four bits:
// 0xA makes one of the allocations after the file buffer's fail, 0xB the
// file buffer's, 0xC names a file that does not exist, 0xD leaves the path
// empty, 0xE and 0xF pad the file with zeros to one byte below and to
// exactly 4 MiB; anything else loads the file as it is. Bytes 1 and 2 are
// the file's length (little-endian), then the file, then up to eight keys
// separated by NUL.
//
// Checked: the loader's outcome and message against the reference loader,
// every file closed and nothing left allocated after the release; with a
// table loaded, the rank of every key position and every table position,
// and for every pair of keys the sign of the custom order and of the record
// comparison the sort uses.
#include "engine/sort_orders.h"
#include "engine/platform_native.h"
#include "tests/support/keyed_records.h"
#include "fuzz_support.h"

enum { MAX_KEYS = 8, ORDER_LIMIT = 0x400000, SCAN_CHECK_LIMIT = 512 };

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    MakeScratch();
    return 0;
}

static std::vector<RefUnits> TakeKeys(FuzzInput *in, bool compact, const uint8_t *file, size_t fileBytes)
{
    std::vector<RefUnits> keys(1);
    size_t fileUnits = fileBytes / 2;
    while (in->left && keys.size() <= MAX_KEYS) {
        Unit16 u;
        if (compact) {
            uint8_t b = TakeByte(in);
            if (b >= 0xC0 && fileUnits) {
                size_t i = (b - 0xC0) % fileUnits;
                u = (Unit16)(file[2 * i] | file[2 * i + 1] << 8);
            } else {
                u = CompactUnit(b);
            }
        } else {
            RefUnits one = TakeUnits(in, false, 1);
            if (one.empty())
                break;
            u = one[0];
        }
        if (u == 0)
            keys.push_back(RefUnits());
        else
            keys.back().push_back(u);
    }
    if (keys.size() > MAX_KEYS)
        keys.resize(MAX_KEYS);
    for (RefUnits &k : keys)
        k.push_back(0);
    return keys;
}

static void CheckLoad(bool loaded, const RefOrderLoad &want, bool laterAllocationFails)
{
    if (laterAllocationFails && want.loads && !loaded) {
        // Memory for the look-up ran out after the file was read.
        REQUIRE(NativeMessageCount() == 1);
        REQUIRE(strcmp(NativeMessage(0), REF_ORDER_NO_MEMORY) == 0);
        return;
    }
    REQUIRE(loaded == want.loads);
    REQUIRE(NativeMessageCount() == (*want.message ? 1 : 0));
    if (*want.message)
        REQUIRE(strcmp(NativeMessage(0), want.message) == 0);
}

static void CheckOrder(const OrderFile *f, const RefUnits &table, const std::vector<RefUnits> &keys)
{
    auto rank = [&table](const Unit16 *at) { return RefRank(table, at); };
    for (const RefUnits &k : keys)
        for (size_t i = 0; k[i]; i++)
            REQUIRE(OrderRank(f, &k[i]) == rank(&k[i]));
    if (table.size() <= SCAN_CHECK_LIMIT) {
        RefUnits t = table;
        t.push_back(0);
        for (size_t i = 0; i < table.size(); i++)
            REQUIRE(OrderRank(f, &t[i]) == rank(&t[i]));
    }

    for (const RefUnits &a : keys)
        for (const RefUnits &b : keys) {
            int32_t want = RefCustom(a.data(), b.data(), rank);
            REQUIRE(Sign(CustomFrom(f, a.data(), b.data())) == want);
            KeyedRecords k = RecordsOf({a.data(), b.data()}, true, ORDER_CUSTOM, f);
            REQUIRE(Sign(CompareCustomRecords(f, k.Keys(), &k.records[0], &k.records[1])) == want);
        }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size};
    uint8_t mode = TakeByte(&in);
    bool compact = mode & 1, twice = mode & 2;
    int kind = mode >> 4;
    size_t fileBytes = TakeByte(&in);
    fileBytes |= (size_t)TakeByte(&in) << 8;
    if (fileBytes > in.left)
        fileBytes = in.left;
    const uint8_t *file = in.p;
    in.p += fileBytes;
    in.left -= fileBytes;
    std::vector<RefUnits> keys = TakeKeys(&in, compact, file, fileBytes);

    size_t fileSize = kind == 0xE ? ORDER_LIMIT - 1 : kind == 0xF ? ORDER_LIMIT : fileBytes;
    if (fileSize < fileBytes)
        fileSize = fileBytes;
    WriteScratch(file, fileBytes, fileSize);

    OrderFile orderFile;
    memset(&orderFile, 0, sizeof orderFile);
    RefOrderLoad want;
    if (kind == 0xC || kind == 0xD) {
        snprintf(orderFile.path, sizeof orderFile.path, "%s", kind == 0xC ? "/nonexistent/order.txt" : "");
        want = {false, REF_ORDER_OPEN_FAILED, RefUnits()};
    } else {
        snprintf(orderFile.path, sizeof orderFile.path, "%s", scratchFile);
        std::vector<uint8_t> bytes(file, file + fileBytes);
        bytes.resize(fileSize < ORDER_LIMIT ? fileSize : 0);
        want = RefLoadOrder(bytes.data(), fileSize, kind == 0xB);
    }

    long live = NativeLiveAllocations();
    long open = NativeOpenFiles();
    bool laterFails = kind == 0xA;
    for (int pass = 0; pass < (twice ? 2 : 1); pass++) {
        NativeClearMessages();
        if (kind == 0xB)
            NativeFailAllocation(1);
        if (laterFails)
            NativeFailAllocation(2 + (mode >> 2 & 3));
        bool loaded = LoadOrderTable(&orderFile, ORDER_INDEXED);
        NativeFailAllocation(0);
        REQUIRE(NativeOpenFiles() == open);
        CheckLoad(loaded, want, laterFails);
        if (loaded)
            CheckOrder(&orderFile, want.table, keys);
    }
    ReleaseOrderTable(&orderFile);
    ReleaseOrderTable(&orderFile);
    REQUIRE(NativeLiveAllocations() == live);
    return 0;
}
