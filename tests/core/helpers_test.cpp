// The core's building blocks: loop stack, cell table, text searches, random source.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "core/cellmemory.h"
#include "core/fastrandom.h"
#include "core/loopstack.h"
#include "core/textsearch.h"

namespace {

TEST(LoopStack, OldestEntryFirstNewEntriesBehind)
{
    TLoopStack stack;
    const std::int32_t slot = stack.Slot(0, 1);
    EXPECT_EQ(stack.First(slot), nullptr);
    stack.Push(slot, 3);
    --*stack.First(slot);
    stack.Push(slot, 3);
    stack.Push(slot, -1);
    EXPECT_EQ(*stack.First(slot), 2);
    stack.DropFirst(slot);
    EXPECT_EQ(*stack.First(slot), 3);
    stack.DropFirst(slot);
    EXPECT_EQ(*stack.First(slot), -1);
    stack.DropFirst(slot);
    EXPECT_EQ(stack.First(slot), nullptr);
    EXPECT_EQ(stack.Entries(), 0U);
}

TEST(LoopStack, KeysAreLineAndColumn)
{
    TLoopStack stack;
    const std::int32_t a = stack.Slot(1, 11);
    const std::int32_t b = stack.Slot(11, 1);
    EXPECT_NE(a, b);
    EXPECT_EQ(stack.Slot(1, 11), a);
    stack.Push(a, 4);
    EXPECT_EQ(stack.First(b), nullptr);
    EXPECT_EQ(*stack.First(stack.Slot(1, 11)), 4);
}

TEST(LoopStack, RepeatedHeadsKeepMemoryBounded)
{
    TLoopStack stack;
    const std::int32_t endless = stack.Slot(0, 5);
    const std::int32_t counted = stack.Slot(0, 1);
    for (int pass = 0; pass < 1000000; ++pass) {
        stack.Push(endless, -1);
        stack.Push(counted, 9);
    }
    EXPECT_EQ(stack.Entries(), 2000000U);
    EXPECT_LE(stack.Runs(), 4U);
    stack.Clear();
    EXPECT_EQ(stack.Entries(), 0U);
}

// The view lists entries in the order they were added, equal neighbours of
// one key as one entry with a count, and follows the dropping of the oldest.
TEST(LoopStack, ViewIsInAdditionOrder)
{
    TLoopStack stack;
    const std::int32_t outer = stack.Slot(2, 7);
    const std::int32_t inner = stack.Slot(0, 1);
    stack.Push(outer, 5);
    for (int pass = 0; pass < 3; ++pass)
        stack.Push(inner, -1);
    stack.Push(outer, 4);
    using TView = TLoopStack::TView;
    const auto view = stack.View();
    ASSERT_EQ(view.size(), 4U);
    const auto same = [](const TView& a, const TView& b) {
        return a.line == b.line && a.column == b.column && a.step == b.step && a.count == b.count;
    };
    EXPECT_TRUE(same(view[0], TView{2, 7, 5, 1}));
    EXPECT_TRUE(same(view[1], TView{0, 1, -1, 1}));
    EXPECT_TRUE(same(view[2], TView{0, 1, -1, 2}));
    EXPECT_TRUE(same(view[3], TView{2, 7, 4, 1}));
    stack.DropFirst(outer);
    const auto after = stack.View();
    ASSERT_EQ(after.size(), 3U);
    EXPECT_TRUE(same(after.back(), TView{2, 7, 4, 1}));
}

TEST(CellMemory, LookupIgnoresLetterCaseAndFollowsRemoval)
{
    TCellMemory cells;
    EXPECT_EQ(TCellMemory::CodeOf(u"00ff"), TCellMemory::CodeOf(u"00FF"));
    EXPECT_EQ(TCellMemory::CodeOf(u"00f"), -1);
    EXPECT_EQ(TCellMemory::CodeOf(u"00fg"), -1);
    EXPECT_EQ(cells.Add(u"00ff", TCellMemory::CodeOf(u"00ff")), 0);
    EXPECT_EQ(cells.Add(u"0001", 1), 1);
    EXPECT_EQ(cells.Add(u"ABCD", 0xABCD), 2);
    EXPECT_EQ(cells.Find(0x00FF), 0);
    EXPECT_EQ(cells.Find(-1), -1);
    cells.Remove(0);
    EXPECT_EQ(cells.Find(0x00FF), -1);
    EXPECT_FALSE(cells.Valid(0));
    EXPECT_EQ(cells.OrderOf(cells.Find(1)), 0);
    EXPECT_EQ(cells.OrderOf(cells.Find(0xABCD)), 1);
    EXPECT_EQ(cells.Names(), (std::vector<std::u16string>{u"0001", u"ABCD"}));
    EXPECT_EQ(cells.Values().size(), 2U);
    cells.Clear();
    EXPECT_EQ(cells.Find(0xABCD), -1);
    EXPECT_EQ(cells.Count(), 0);
    EXPECT_FALSE(cells.Valid(0));
}

TEST(CellMemory, HoldsEveryAddress)
{
    TCellMemory cells;
    for (std::int32_t code = 0; code < 65536; ++code)
        ASSERT_EQ(cells.Add(u"0000", code), code);
    EXPECT_EQ(cells.Find(65535), 65535);
    cells.Remove(100);
    EXPECT_EQ(cells.OrderOf(cells.Find(65535)), 65534);
    EXPECT_EQ(cells.Count(), 65535);
}

// Destroying and making cells anew squeezes the holes out now and then: the
// cells stay in creation order and a kept slot follows its cell.
TEST(CellMemory, CompactionKeepsOrderAndFollowsTheKeptCell)
{
    TCellMemory cells;
    for (std::int32_t code = 0; code < 3000; ++code)
        cells.Add(u"0000", code);
    cells.Value(cells.Find(2999)) = 7;
    std::int32_t kept = cells.Find(2999);
    for (std::int32_t code = 0; code < 2000; ++code)
        cells.Remove(cells.Find(code));
    ASSERT_TRUE(cells.WantsCompaction());
    kept = cells.Compact(kept);
    EXPECT_FALSE(cells.WantsCompaction());
    EXPECT_EQ(cells.Value(kept), 7);
    EXPECT_EQ(kept, cells.Find(2999));
    EXPECT_EQ(cells.OrderOf(kept), 999);
    EXPECT_EQ(cells.Find(0), -1);
    EXPECT_EQ(cells.OrderOf(cells.Find(2000)), 0);
    EXPECT_EQ(cells.Add(u"0001", 1), 1000);
    EXPECT_EQ(cells.Values().size(), 1001U);
}

TEST(TextSearch, WalksAcrossEmptyLines)
{
    const std::vector<std::u16string> lines{u"?01(", u"", u"+01:", u"", u"+02:+03)", u"(:)"};
    TTextSearch search(lines);
    EXPECT_EQ(search.FindBlockEnd(1, 0, true), (TTextPos{8, 4}));
    EXPECT_EQ(search.FindBranch(1, 0, 1), (TTextPos{4, 2}));
    EXPECT_EQ(search.FindBranch(1, 0, 2), (TTextPos{4, 4}));
    EXPECT_EQ(search.FindBlockEnd(4, 2, false), (TTextPos{8, 4}));
    EXPECT_FALSE(search.FindBlockEnd(3, 5, true).Found());
}

TEST(TextSearch, BranchSearchStopsAtItsBlockEnd)
{
    const std::vector<std::u16string> lines{u"?05(+01:+02)(+03:+04)"};
    TTextSearch search(lines);
    EXPECT_EQ(search.FindBranch(1, 0, 1), (TTextPos{8, 0}));
    EXPECT_EQ(search.FindBranch(1, 0, 2), TTextPos{});
    // a `:` of a counted loop head directly in the block is a separator
    const std::vector<std::u16string> loop{u"?01([02:+01]:+05)"};
    TTextSearch loopSearch(loop);
    EXPECT_EQ(loopSearch.FindBranch(1, 0, 1), (TTextPos{8, 0}));
    EXPECT_EQ(loopSearch.FindBranch(1, 0, 2), (TTextPos{13, 0}));
}

TEST(TextSearch, SeesChangedText)
{
    std::vector<std::u16string> lines{u"[+01]"};
    TTextSearch search(lines);
    EXPECT_EQ(search.FindLoopStart(5, 0), (TTextPos{1, 0}));
    lines = {u"", u"+[[]]"};
    EXPECT_EQ(search.FindLoopStart(5, 1), (TTextPos{2, 1}));
    EXPECT_FALSE(search.FindLoopStart(2, 1).Found());
}

TEST(FastRandom, StaysInRangeAndCoversItEvenly)
{
    TFastRandom random(42);
    std::array<int, 30> counts{};
    for (int i = 0; i < 300000; ++i) {
        const std::int32_t value = random.Next(30);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 30);
        ++counts[static_cast<std::size_t>(value)];
    }
    for (const int count : counts) {
        EXPECT_GT(count, 9000);
        EXPECT_LT(count, 11000);
    }
    EXPECT_EQ(random.Next(1), 0);
}

TEST(FastRandom, DifferentSeedsDifferentSequences)
{
    TFastRandom first(1);
    TFastRandom second(2);
    int same = 0;
    for (int i = 0; i < 100; ++i)
        same += first.Next(1000) == second.Next(1000) ? 1 : 0;
    EXPECT_LT(same, 10);
}

} // namespace
