// Watchpoints, conditional and counted breakpoints, stepping by structure, the
// execution profile and cells changed by hand.
#include <gtest/gtest.h>

#include <optional>

#include "tests/core/corefixture.h"

namespace {

using TPauseCause = TVeskCore::TPauseCause;
using TCodePos = TVeskCore::TCodePos;

// Each case runs ticked one step at a time and in batches of steps.
class Observe : public CoreTest, public ::testing::WithParamInterface<bool> {
protected:
    void Go()
    {
        core.Execute();
        if (GetParam()) {
            while (core.IsRun())
                core.RunSteps(1000);
        } else {
            Tick();
        }
    }
    [[nodiscard]] bool Paused() const { return !events.empty() && events.back() == "pause"; }
};

INSTANTIATE_TEST_SUITE_P(TickedAndBatched, Observe, ::testing::Bool());

struct TWatchCase {
    std::vector<std::u16string> lines;
    std::u16string address;
    std::uint8_t kinds;
    std::uint64_t step; // 0: the run finishes without a pause
    TWatchKind what;
    int before;
    int after;
    TCodePos at;
};

TEST_P(Observe, WatchpointsPauseRightAfterTheStepThatHitsThem)
{
    const std::vector<TWatchCase> cases = {
        {{u"$0010+04+01"}, u"0010", wkChange, 2, wkChange, 0, 4, {0, 6}},
        // storing an equal value is a write, not a change
        {{u"$0010+00+01"}, u"0010", wkWrite, 2, wkWrite, 0, 0, {0, 6}},
        {{u"$0010+00"}, u"0010", wkChange, 0, wkChange, 0, 0, {}},
        // the program names the cell in another letter case than the watchpoint
        {{u"$00ab+01"}, u"00AB", wkCreate | wkChange, 1, wkCreate, 0, 0, {0, 1}},
        {{u"$0010+03", u"~0010"}, u"0010", wkDestroy, 4, wkDestroy, 3, 0, {1, 1}},
        // a copy stores into its target: created there, then written
        {{u"$0011+05^0012^0012"}, u"0012", wkWrite, 3, wkWrite, 0, 5, {0, 9}},
        {{u"$0011+05^0012^0012"}, u"0012", wkChange, 0, wkChange, 0, 0, {}},
        {{u"$0011+05^0012"}, u"0012", wkCreate | wkWrite, 3, wkCreate, 0, 5, {0, 9}},
        // +@ stores into the current cell, not into the cell it names
        {{u"$0001$0002+@0001"}, u"0001", wkWrite, 0, wkWrite, 0, 0, {}},
        {{u"$0001+02$0002+@0001"}, u"0002", wkChange, 4, wkChange, 0, 2, {0, 14}},
        {{u"$0001[03:*]"}, u"0001", wkChange, 3, wkChange, 0, 1, {0, 10}},
    };
    for (const TWatchCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.lines[0]) + " watching " + testing::PrintToString(c.address));
        events.clear();
        Load(c.lines);
        core.SetWatchpoints({*TWatchpoint::Make(c.address, c.kinds)});
        Go();
        if (c.step == 0) {
            EXPECT_EQ(events.back(), "stop");
            continue;
        }
        ASSERT_TRUE(Paused());
        EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcWatchpoint);
        EXPECT_EQ(core.Step(), c.step);
        const TWatchHit& hit = core.LastWatchHit();
        EXPECT_EQ(hit.what, c.what);
        EXPECT_EQ(hit.before, c.before);
        EXPECT_EQ(hit.after, c.after);
        EXPECT_EQ((TCodePos{hit.line, hit.column}), c.at);
        EXPECT_EQ(hit.cell, TCellMemory::CodeOf(c.address));
    }
    EXPECT_EQ(TWatchHit{0xab}.CellText(), u"00AB");
    core.SetWatchpoints({});
}

TEST_P(Observe, AWatchpointPauseCountsAndTimesItsStepAndTheRunGoesOn)
{
    Load({u"$0001[04:+01]"});
    core.SetWatchpoints({*TWatchpoint::Make(u"0001", wkChange)});
    std::vector<int> seen;
    for (int i = 0; i < 10; ++i) {
        Go();
        if (!Paused())
            break;
        seen.push_back(Value(u"0001"));
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(events.back(), "stop");
    // the same count as a run without the watchpoint: 1 + 1 + 4 x 2 + advance + end
    EXPECT_EQ(core.Step(), 12U);
    // the fake clock stands still: twelve allowances of the smallest draw
    EXPECT_NEAR(core.EndTime(), 12 * (70 * (1.0 / 4680000.0) / 99), 1e-15);
}

TEST(BreakCondition, ParsesTheLanguagesConditionsOnANamedCell)
{
    using TKind = TBreakCondition::TKind;
    struct TRow {
        std::u16string text;
        std::optional<TKind> kind;
        std::int32_t cell;
        std::int32_t operand;
    };
    const std::vector<TRow> rows = {
        {u"$0010 ?00", TKind::ckEqualByte, 0x10, 0},
        {u"  $00aF?fE ", TKind::ckEqualByte, 0xAF, 0xFE},
        {u"$0010 ?@0011", TKind::ckEqualCell, 0x10, 0x11},
        {u"$0010 ??", TKind::ckOdd, 0x10, 0},
        {u"$BEEF??", TKind::ckOdd, 0xBEEF, 0},
        {u"", std::nullopt, 0, 0},
        {u"0010 ?00", std::nullopt, 0, 0},
        {u"$001 ?00", std::nullopt, 0, 0},
        {u"$0010 ?0", std::nullopt, 0, 0},
        {u"$0010 ?0G", std::nullopt, 0, 0},
        {u"$0010 ?@001", std::nullopt, 0, 0},
        {u"$0010", std::nullopt, 0, 0},
        {u"$0010 ?00 +01", std::nullopt, 0, 0},
        {u"$0010 ???", std::nullopt, 0, 0},
    };
    for (const TRow& row : rows) {
        const auto parsed = TBreakCondition::Parse(row.text);
        SCOPED_TRACE(testing::PrintToString(row.text));
        ASSERT_EQ(parsed.has_value(), row.kind.has_value());
        if (!parsed)
            continue;
        EXPECT_EQ(parsed->kind, *row.kind);
        EXPECT_EQ(parsed->cell, row.cell);
        EXPECT_EQ(parsed->operand, row.operand);
    }
}

TEST_P(Observe, ConditionalBreakpointPausesOnlyWhereItsConditionHolds)
{
    Load({u"$0001$0002+03$0001", u"[06:", u"+01", u"]"});
    core.SetBreakRules({{2, TBreakCondition::Parse(u"$0001 ?@0002"), 0}});
    Go();
    ASSERT_TRUE(Paused());
    EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcBreakpoint);
    EXPECT_EQ(Value(u"0001"), 3);
    EXPECT_EQ(core.NextPosition(), (TCodePos{2, 1}));
    Go();
    EXPECT_EQ(events.back(), "stop");
    EXPECT_EQ(Value(u"0001"), 6);
    EXPECT_EQ(core.BreakRules().Hits(2), 1U);

    // odd values on the 1st, 3rd, 5th arrival: the 2nd such hit pauses, once
    events.clear();
    Load({u"$0001", u"[06:", u"+01", u"]"});
    core.SetBreakRules({{2, TBreakCondition::Parse(u"$0001 ??"), 2}});
    Go();
    ASSERT_TRUE(Paused());
    EXPECT_EQ(Value(u"0001"), 3);
    Go();
    EXPECT_EQ(events.back(), "stop");
    EXPECT_EQ(core.BreakRules().Hits(2), 3U);

    // a hit count alone; Reset starts the count again
    for (int run = 0; run < 2; ++run) {
        events.clear();
        Load({u"$0001", u"[06:", u"+01", u"]"});
        if (run == 0)
            core.SetBreakRules({{2, std::nullopt, 4}});
        Go();
        ASSERT_TRUE(Paused());
        EXPECT_EQ(Value(u"0001"), 3);
    }
    core.SetBreakRules({});
}

TEST_P(Observe, ABreakpointConditionLeavesTheProgramsConditionStatusAlone)
{
    // The second line runs inside a block; a condition evaluated through the
    // program's status would end the branch at its `:` differently.
    const std::vector<std::u16string> lines = {u"$0001?00(+01", u"+02:+04)+08"};
    Load(lines);
    core.SetBreakRules({{1, TBreakCondition::Parse(u"$0001 ?01"), 0}});
    Go();
    ASSERT_TRUE(Paused());
    Go();
    EXPECT_EQ(events.back(), "stop");
    EXPECT_EQ(Value(u"0001"), 11);
    core.SetBreakRules({});
}

TEST_P(Observe, StepOverRunsALoopOrBlockToItsEndStepOutLeavesTheInnermost)
{
    Load({u"$0001[03:+01", u"+01]?06(+10:+20)+05"});
    core.SetRunToLine(0);
    Go();
    ASSERT_TRUE(Paused());
    core.RequestStepStop();
    Go();
    ASSERT_EQ(core.NextPosition(), (TCodePos{0, 6}));
    // over the loop: past its `]`, the condition next
    core.RequestStepOver();
    Go();
    ASSERT_TRUE(Paused());
    EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcStepOver);
    EXPECT_EQ(core.NextPosition(), (TCodePos{1, 5}));
    EXPECT_EQ(Value(u"0001"), 6);
    EXPECT_EQ(core.Step(), 14U);
    // over the condition and its block
    core.RequestStepOver();
    Go();
    EXPECT_EQ(core.NextPosition(), (TCodePos{1, 17}));
    EXPECT_EQ(Value(u"0001"), 22);
    // an operator that opens nothing is one step
    core.RequestStepOver();
    Go();
    EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcStep);
    EXPECT_EQ(Value(u"0001"), 27);

    // out of a loop body, then nothing left to leave
    events.clear();
    Load({u"$0001[03:+01", u"+01]+05"});
    core.SetRunToLine(1);
    Go();
    ASSERT_TRUE(Paused());
    ASSERT_TRUE(core.RequestStepOut());
    Go();
    EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcStepOut);
    EXPECT_EQ(core.NextPosition(), (TCodePos{1, 5}));
    EXPECT_EQ(Value(u"0001"), 6);
    EXPECT_FALSE(core.RequestStepOut());
    Go();
    EXPECT_EQ(events.back(), "stop");
    EXPECT_EQ(Value(u"0001"), 11);
}

TEST_P(Observe, ProfileCountsEveryStepOnItsLineAndEveryStoreIntoACell)
{
    Load({u"$0001[03:+01^0002]", u"", u"$0002~0002"});
    core.SetProfiling(true);
    Go();
    ASSERT_EQ(events.back(), "stop");
    const TRunProfile& profile = core.Profile();
    const auto lines = profile.LineSteps(3);
    // line 0: $, [, 3 x (+, ^, ]), advance; line 1: advance; line 2: $, ~, advance, end
    EXPECT_EQ(lines, (std::vector<std::uint64_t>{12, 1, 4}));
    EXPECT_EQ(profile.Total(), core.Step());
    using TWrites = std::vector<std::pair<std::int32_t, std::uint64_t>>;
    EXPECT_EQ(profile.CellWrites(), (TWrites{{1, 3}, {2, 3}}));
    core.Reset();
    EXPECT_EQ(core.Profile().Total(), 0U);
    core.SetProfiling(false);
}

TEST_P(Observe, CellsChangedByHandWhileHalted)
{
    Load({u"$0001+01", u"+@00aa"});
    core.SetRunToLine(1);
    core.Execute();
    EXPECT_FALSE(core.SetCellByHand(u"0001", 9)); // running
    GetParam() ? void(core.RunSteps(1000)) : void(Tick());
    ASSERT_TRUE(Paused());
    EXPECT_FALSE(core.CellsChangedByHand());
    EXPECT_FALSE(core.SetCellByHand(u"00G0", 1));
    EXPECT_TRUE(core.SetCellByHand(u"0001", 0x40));
    EXPECT_TRUE(core.SetCellByHand(u"00AA", 2)); // added, found by +@00aa
    EXPECT_TRUE(core.CellsChangedByHand());
    Go();
    EXPECT_EQ(events.back(), "stop");
    EXPECT_EQ(core.GetVariables(), (std::vector<std::u16string>{u"0001", u"00AA"}));
    EXPECT_EQ(Value(u"0001"), 0x42);
    core.Reset();
    EXPECT_FALSE(core.CellsChangedByHand());
}

} // namespace
