// Each allocation of a sort failed in turn: the order file's buffer and
// index leave the sort to go on without the order, the key block and the
// line table end it with the memory message (the output reuses the key
// block), and the quicksort's exact finish, without its memory, leaves the
// procedure to go on directly to the same result, silently; nothing leaks.
#include <stdio.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/quicksort.h"
#include "engine/sort_orders.h"
#include "helpers.h"
#include "res/messages.h"

namespace {

enum Kind { ORDER, KEY, TABLE, FINISH };

std::u16string BlockText(BlockHandle block)
{
    const Unit16 *p = (const Unit16 *)PlatformBlockLock(block);
    std::u16string s;
    for (size_t i = 0; p[i]; i++)
        s.push_back((char16_t)p[i]);
    PlatformBlockUnlock(block);
    return s;
}

std::string MemoryMessage(size_t bytes)
{
    char text[256];
    PlatformFormat(text, MSG_OUT_OF_MEMORY, (uint32_t)bytes, 8);
    return text;
}

TEST(FailureInjection, EachAllocationOfASort)
{
    const std::u16string pairs = u"\u3044\u3042b\U00020000a", plain = u"zyx";
    const struct {
        const char *options;
        std::u16string order;  // empty: no order file
        std::u16string text;
        std::vector<Kind> allocations;  // in the order the sort makes them
        int64_t budget = -1;            // of the quicksort's guard: 0 hands over at once
    } cases[] = {
        {"000000", u"", u"b\r\na\nc", {KEY, TABLE}},
        {"000010", u"", u"b\na\nc\n", {KEY, TABLE}},
        {"111110", u"", u"B 2\nb  10\na", {KEY, TABLE}},
        {"000000", u"", u"one line", {KEY}},
        // File buffer, unit index, pair index, pair blocks, unit weights.
        {"000011", pairs, u"a\n\U00020000\n\u3042\nb\n\u3044", {ORDER, ORDER, ORDER, ORDER, ORDER, KEY, TABLE}},
        {"100011", pairs, u"a\n\u3042", {ORDER, ORDER, ORDER, ORDER, ORDER, KEY, TABLE}},
        {"000011", plain, u"x\ny\nz", {ORDER, ORDER, ORDER, ORDER, KEY, TABLE}},
        {"000011", plain, u"x", {ORDER, ORDER, ORDER, ORDER, KEY}},
        // Outside Unicode mode the file is read and checked, but no index
        // is built for an order that is not used.
        {"000001", plain, u"x\ny\nz", {ORDER, KEY, TABLE}},
        {"100101", pairs, u"a\n\u3042\nb", {ORDER, KEY, TABLE}},
        {"000110", u"", u"b\na\nb\na\nb\na\nb\na\nb\na", {KEY, TABLE, FINISH}, 0},
        {"000011", plain, u"x\ny\nx\ny\nz\nx\ny\nx\ny", {ORDER, ORDER, ORDER, ORDER, KEY, TABLE, FINISH}, 0},
    };
    WindowHandle owner = (WindowHandle)0x4711;
    for (const auto &c : cases) {
        std::string path;
        if (!c.order.empty())
            path = WriteFile(Utf16File(c.order));
        SortOptions options = Options(c.options), withoutOrder = options;
        withoutOrder.orderFile = false;
        const std::u16string sorted = SortText(c.text, options, path);
        const std::u16string unordered = SortText(c.text, withoutOrder, path);
        size_t lines = 0;
        for (char16_t u : c.text)
            lines += u == u'\n';
        lines += c.text.back() != u'\n';

        // One past the last allocation: nothing fails.
        for (size_t k = 1; k <= c.allocations.size() + 1; k++) {
            SCOPED_TRACE(std::string(c.options) + " " + Show(c.text) + " failing " + std::to_string(k));
            Units in = ToUnits(c.text);
            long live = NativeLiveAllocations();
            NativeClearMessages();
            NativeFailAllocation((long)k);
            guardBudget = c.budget;
            OrderFile orderFile = OrderFileAt(path);
            BlockHandle block = Sort(owner, in.data(), options, &orderFile);
            guardBudget = -1;
            NativeFailAllocation(0);
            ReleaseOrderTable(&orderFile);

            if (k > c.allocations.size() || c.allocations[k - 1] == FINISH) {
                ASSERT_TRUE(block != NULL);
                EXPECT_EQ(BlockText(block), sorted);
                EXPECT_EQ(NativeMessageCount(), 0);
            } else if (c.allocations[k - 1] == ORDER) {
                ASSERT_TRUE(block != NULL);
                EXPECT_EQ(BlockText(block), unordered);
                ASSERT_EQ(NativeMessageCount(), 1);
                EXPECT_STREQ(NativeMessage(0), MSG_ORDER_NO_MEMORY);
            } else {
                EXPECT_TRUE(block == NULL);
                size_t bytes = c.allocations[k - 1] == TABLE ? lines * sizeof(SortRecord)
                                                              : 2 * c.text.size() + 4;
                ASSERT_EQ(NativeMessageCount(), 1);
                EXPECT_EQ(NativeMessage(0), MemoryMessage(bytes));
                EXPECT_EQ(NativeMessageOwner(0), owner);
            }
            if (block) {
                EXPECT_EQ(NativeBlockSize(block), 2 * c.text.size() + 4);
                PlatformBlockFree(block);
            }
            EXPECT_EQ(NativeLiveAllocations(), live);
        }
        if (!path.empty())
            unlink(path.c_str());
    }
    NativeClearMessages();
}

}  // namespace
