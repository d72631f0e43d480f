// Every kind of stop on generated programs, checked against the plain
// reference interpreter stepped by hand: the pause must land on exactly the
// step where its condition first holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/veskcore.h"
#include "tests/core/reference_core.h"
#include "tests/fuzz/programgenerator.h"

namespace {

using TLines = std::vector<std::u16string>;
constexpr int kPrograms = 500;
constexpr std::uint64_t kStepLimit = 20000;
constexpr std::uint32_t kSeed = 1717;

TLines Generate(std::mt19937& rng)
{
    std::vector<std::uint8_t> bytes(64 + rng() % 448);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return TProgramGenerator(bytes.data(), bytes.size()).Lines();
}

// A cell of the reference by address, letter case ignored.
std::optional<std::uint8_t> CellOf(const TReferenceCore& ref, std::int32_t code)
{
    for (std::size_t i = 0; i < ref.Names().size(); ++i) {
        if (TCellMemory::CodeOf(ref.Names()[i]) == code)
            return ref.Values()[i];
    }
    return std::nullopt;
}

// How far an operator reaches when execution flows on past it.
std::int32_t Width(const std::u16string& line, std::int32_t column)
{
    const auto at = static_cast<std::size_t>(column - 1);
    if (at >= line.size())
        return 1;
    const char16_t next = at + 1 < line.size() ? line[at + 1] : 0;
    switch (line[at]) {
    case u'$':
    case u'^':
    case u'~': return 5;
    case u'+':
    case u'-': return next == u'@' ? 6 : 3;
    case u'?': return next == u'?' ? 2 : next == u'@' ? 6 : 3;
    case u'[': return at + 3 < line.size() && line[at + 3] == u':' ? 4 : 1;
    default: return 1;
    }
}

struct TCoreRun {
    TManualTimerOwner owner;
    TVeskCore core{owner};
    bool paused = false;
    explicit TCoreRun(const TLines& lines)
    {
        core.OnPause = [this](TVeskCore&) { paused = true; };
        core.ProgramCode() = lines;
    }
    // Runs until a pause, the end or the step limit.
    void Go(bool batched)
    {
        core.Execute();
        while (core.IsRun() && core.Step() < kStepLimit) {
            if (batched)
                core.RunSteps(std::min<std::uint64_t>(997, kStepLimit - core.Step()));
            else
                core.TimerTick();
        }
    }
};

// Steps the reference until `stop` says the step just taken (or, with
// `before`, the one about to run) is where the run must pause; that step count.
template <typename TStop>
std::optional<std::uint64_t> FirstStop(const TLines& lines, TStop stop)
{
    TReferenceCore ref(lines);
    ref.Execute();
    while (ref.IsRun() && ref.Step() < kStepLimit) {
        if (stop(ref))
            return ref.Step();
    }
    return std::nullopt;
}

TEST(ObserveDifferential, WatchpointsPauseOnTheFirstStepThatHitsThem)
{
    std::mt19937 rng(kSeed);
    static const std::int32_t kCells[] = {0x0001, 0x0002, 0x00AB, 0xBEEF};
    static const std::uint8_t kKinds[] = {wkChange, wkCreate, wkDestroy, wkCreate | wkDestroy};
    int stops = 0;
    for (int n = 0; n < kPrograms; ++n) {
        const TLines lines = Generate(rng);
        const std::int32_t cell = kCells[rng() % 4];
        const std::uint8_t kinds = kKinds[rng() % 4];
        const auto expected = FirstStop(lines, [&](TReferenceCore& ref) {
            const auto before = CellOf(ref, cell);
            ref.TimerTick();
            const auto after = CellOf(ref, cell);
            const bool created = !before && after;
            const bool destroyed = before && !after;
            const bool changed = before && after && *before != *after;
            // A step that fails ends the run; it does not pause it.
            return ref.IsRun() && (((kinds & wkCreate) && created) || ((kinds & wkDestroy) && destroyed) ||
                   ((kinds & wkChange) && changed));
        });
        for (const bool batched : {false, true}) {
            TCoreRun run(lines);
            run.core.SetWatchpoints({{cell, kinds}});
            run.Go(batched);
            SCOPED_TRACE("program " + std::to_string(n) + (batched ? " batched" : " ticked"));
            ASSERT_EQ(run.paused, expected.has_value());
            if (expected) {
                EXPECT_EQ(run.core.Step(), *expected);
                EXPECT_EQ(run.core.LastPauseCause(), TVeskCore::TPauseCause::pcWatchpoint);
            }
        }
        stops += expected ? 1 : 0;
    }
    // Enough of the programs must reach a watched event for this to prove much.
    EXPECT_GT(stops, kPrograms / 20);
}

TEST(ObserveDifferential, ConditionalBreakpointsPauseOnTheCountedArrival)
{
    std::mt19937 rng(kSeed + 1);
    static const char16_t* const kConditions[] = {u"$0001 ?00", u"$0001 ??", u"$0001 ?@0002", u"$0002 ?03"};
    int stops = 0;
    for (int n = 0; n < kPrograms; ++n) {
        const TLines lines = Generate(rng);
        const auto condition = TBreakCondition::Parse(kConditions[rng() % 4]);
        const std::uint32_t hitCount = rng() % 3;
        // A line the run reaches, so that most cases stop somewhere.
        std::vector<std::int32_t> reached;
        {
            TReferenceCore ref(lines);
            ref.Execute();
            while (ref.IsRun() && ref.Step() < 2000) {
                reached.push_back(ref.Line());
                ref.TimerTick();
            }
        }
        if (reached.empty())
            continue;
        const std::int32_t line = reached[rng() % reached.size()];
        TCellMemory cells;
        std::uint32_t hits = 0;
        std::int32_t lastLine = -1;
        std::int32_t lastColumn = 0;
        const auto expected = FirstStop(lines, [&](TReferenceCore& ref) {
            // Arriving: from another line, or by a loop's jump back; a jump
            // within the line (a condition, a ':') is no arrival.
            const std::int32_t column = ref.Cursor();
            const bool onLine = ref.Line() == line;
            const bool flowsOn = lastLine == line &&
                                 column == lastColumn + Width(ref.Program()[std::size_t(line)], lastColumn);
            const bool loopBack = lastLine == line && !flowsOn &&
                                  ref.Program()[std::size_t(line)][std::size_t(lastColumn - 1)] == u']';
            bool stop = false;
            if (onLine && (lastLine != line || loopBack)) {
                cells.Clear();
                for (std::size_t i = 0; i < ref.Names().size(); ++i) {
                    const std::int32_t code = TCellMemory::CodeOf(ref.Names()[i]);
                    cells.Value(cells.Add(ref.Names()[i], code)) = ref.Values()[i];
                }
                if (condition->Holds(cells)) {
                    ++hits;
                    stop = hitCount == 0 || hits == hitCount;
                }
            }
            if (stop)
                return true;
            lastLine = ref.Line();
            lastColumn = column;
            ref.TimerTick();
            return false;
        });
        for (const bool batched : {false, true}) {
            TCoreRun run(lines);
            run.core.SetBreakRules({{line, condition, hitCount}});
            run.Go(batched);
            SCOPED_TRACE("program " + std::to_string(n) + (batched ? " batched" : " ticked"));
            ASSERT_EQ(run.paused, expected.has_value());
            if (expected) {
                EXPECT_EQ(run.core.Step(), *expected);
            }
        }
        stops += expected ? 1 : 0;
    }
    EXPECT_GT(stops, kPrograms / 50);
}

TEST(ObserveDifferential, StepOverAndOutPauseWhereExecutionFirstLeaves)
{
    std::mt19937 rng(kSeed + 2);
    int stops = 0;
    for (int n = 0; n < kPrograms; ++n) {
        const TLines lines = Generate(rng);
        // Pause somewhere first, then step over or out from there.
        const std::uint64_t at = 1 + rng() % 40;
        const bool out = rng() % 2 == 0;
        TReferenceCore ref(lines);
        ref.Execute();
        while (ref.IsRun() && ref.Step() < at)
            ref.TimerTick();
        if (!ref.IsRun())
            continue;
        const auto range = out ? EnclosingStructure(ref.Program(), ref.Cursor(), ref.Line())
                               : OpenedStructure(ref.Program(), ref.Cursor(), ref.Line());
        std::optional<std::uint64_t> expected;
        while (ref.IsRun() && ref.Step() < kStepLimit) {
            ref.TimerTick();
            if (!range || (ref.IsRun() && range->Leaves(ref.Cursor(), ref.Line()))) {
                expected = ref.Step();
                break;
            }
        }
        if (!ref.IsRun())
            expected.reset();
        for (const bool batched : {false, true}) {
            TCoreRun run(lines);
            run.core.Execute();
            run.core.RunSteps(at);
            ASSERT_TRUE(run.core.IsRun());
            run.core.Pause();
            run.paused = false;
            if (out) {
                if (!run.core.RequestStepOut() && range)
                    ADD_FAILURE() << "no loop or block to leave";
            } else {
                run.core.RequestStepOver();
            }
            run.Go(batched);
            SCOPED_TRACE("program " + std::to_string(n) + (batched ? " batched" : " ticked"));
            if (out && !range) {
                EXPECT_FALSE(run.paused);
                continue;
            }
            ASSERT_EQ(run.paused, expected.has_value());
            if (expected) {
                EXPECT_EQ(run.core.Step(), *expected);
            }
        }
        stops += expected && range ? 1 : 0;
    }
    EXPECT_GT(stops, kPrograms / 50);
}

} // namespace
