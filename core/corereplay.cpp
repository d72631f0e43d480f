// Snapshots and replays: how the interpreter goes back to an earlier moment of
// a run and looks through the steps it took.
#include <algorithm>

#include "core/veskcore.h"

TCoreSnapshot TVeskCore::Snapshot() const
{
    TCoreSnapshot snapshot;
    snapshot.values = _cells.Values();
    snapshot.names = _cells.Names();
    snapshot.currentOrder = _cells.OrderOf(_cai);
    snapshot.currentCode = _cas;
    snapshot.addresses = _astack;
    snapshot.loops = _cstack.Save();
    snapshot.pc = _pc;
    snapshot.prevPc = _prevPc;
    snapshot.textHash = _textHash;
    snapshot.condition = _status == TProgramStatus::psCondition;
    snapshot.step = _step;
    snapshot.time = _time;
    snapshot.hasRandom = _ownRandom ? _ownRandom->SaveState(snapshot.random) : _random->SaveState(snapshot.random);
    return snapshot;
}

void TVeskCore::Restore(const TCoreSnapshot& snapshot)
{
    TimerOff();
    _cells.Clear();
    for (std::size_t i = 0; i < snapshot.names.size(); ++i) {
        const std::int32_t slot = _cells.Add(snapshot.names[i], TCellMemory::CodeOf(snapshot.names[i]));
        if (slot >= 0)
            _cells.Value(slot) = snapshot.values[i];
    }
    // Freshly added cells have no holes: a cell's slot is its place in order.
    _cai = snapshot.currentOrder;
    _cas = snapshot.currentCode;
    _astack = snapshot.addresses;
    _cstack.Restore(snapshot.loops);
    // Operator indices hold for the text they were taken from; another text
    // goes on from the same place, as a paused run does after an edit.
    if (snapshot.textHash == _textHash || _code.Empty()) {
        _pc = snapshot.pc;
        _prevPc = snapshot.prevPc;
    }
    _status = snapshot.condition ? TProgramStatus::psCondition : TProgramStatus::psNormal;
    _step = snapshot.step;
    _time = snapshot.time;
    if (snapshot.hasRandom) {
        if (_ownRandom)
            _ownRandom->RestoreState(snapshot.random);
        else
            _random->RestoreState(snapshot.random);
    }
    _stepStop = false;
    _breakArmed = false;
}

// What the run loop does per step, minus the events, the timer, the marks and
// the clock. A replay that stays (ReplayTo) still draws each step's allowance,
// so that the random source ends where the run had it; the searches are undone
// by a restore and skip it. The probe sees each step before and after it runs.
template <typename TProbe>
void TVeskCore::Replay(std::uint64_t target, TProbe& probe)
{
    if (_code.Empty())
        return;
    _replaying = true;
    _breakArmed = true;
    try {
        while (_step < target) {
            const std::int32_t here = _pc;
            probe.Before(*this, here);
            ++_step;
            const TOutcome outcome = ExecuteOp();
            _prevPc = here;
            if (outcome != TOutcome::Done)
                break;
            if constexpr (TProbe::kDraws)
                (void)DrawAllowance();
            probe.After(*this, here);
        }
    } catch (...) {
        // The run failed on this step too; the replay ends with it.
    }
    _replaying = false;
    _breakArmed = false;
}

namespace {

struct TNoProbe {
    static constexpr bool kDraws = true;
    void Before(const TVeskCore&, std::int32_t) {}
    void After(const TVeskCore&, std::int32_t) {}
};

} // namespace

void TVeskCore::ReplayTo(std::uint64_t target)
{
    TNoProbe probe;
    Replay(target, probe);
}

struct TVeskCore::TStopProbe {
    static constexpr bool kDraws = false;
    const TStopTest* extra;
    std::optional<std::uint64_t> found;

    void Before(const TVeskCore& core, std::int32_t here)
    {
        const TOp& op = core._code.Ops()[static_cast<std::size_t>(here)];
        if ((op.flags & ofMarked) != 0 && core.ArrivesAtMark()
            && std::binary_search(core._breakpoints.begin(), core._breakpoints.end(), op.line))
            found = core._step;
        else if (extra && (*extra)(core))
            found = core._step;
    }
    void After(const TVeskCore&, std::int32_t) {}
};

std::optional<std::uint64_t> TVeskCore::ReplayFindStop(std::uint64_t target, const TStopTest* extra)
{
    TStopProbe probe{extra && *extra ? extra : nullptr, std::nullopt};
    Replay(target, probe);
    return probe.found;
}

struct TVeskCore::TEntryProbe {
    static constexpr bool kDraws = false;
    std::int32_t first;
    std::int32_t last;
    std::optional<std::uint64_t> found;
    bool outside = false;

    void Before(const TVeskCore&, std::int32_t here) { outside = here < first || here > last; }
    void After(const TVeskCore& core, std::int32_t)
    {
        if (outside && core._pc >= first && core._pc <= last)
            found = core._step - 1;
    }
};

std::optional<std::uint64_t> TVeskCore::ReplayFindEntry(std::uint64_t target, std::int32_t first, std::int32_t last)
{
    TEntryProbe probe{first, last, std::nullopt};
    Replay(target, probe);
    return probe.found;
}

// Which operators write a cell: the ones on the current cell, `^` on its
// target, and `$` or `^` when they create the cell.
struct TVeskCore::TWriteProbe {
    static constexpr bool kDraws = false;
    std::int32_t code;
    std::optional<TCellWrite> found;
    bool writes = false;
    std::int32_t source = -1;

    void Before(const TVeskCore& core, std::int32_t here)
    {
        const TOp& op = core._code.Ops()[static_cast<std::size_t>(here)];
        switch (op.kind) {
        case TOpKind::okAddByte:
        case TOpKind::okSubByte:
        case TOpKind::okInvert:
        case TOpKind::okRotateLeft:
        case TOpKind::okRotateRight:
            writes = core._cas == code && core.HasCurrentCell();
            source = -1;
            break;
        case TOpKind::okAddCell:
        case TOpKind::okSubCell:
            writes = core._cas == code && core.HasCurrentCell();
            source = op.a;
            break;
        case TOpKind::okCopy:
            writes = op.a == code;
            source = core._cas;
            break;
        case TOpKind::okSelect:
            writes = op.a == code && core._cells.Find(code) == -1;
            source = -1;
            break;
        default:
            writes = false;
            break;
        }
    }
    void After(const TVeskCore& core, std::int32_t here)
    {
        if (writes)
            found = TCellWrite{core._step, here, source};
    }
};

std::optional<TVeskCore::TCellWrite> TVeskCore::ReplayFindWrite(std::uint64_t target, std::int32_t code)
{
    TWriteProbe probe{code, std::nullopt};
    Replay(target, probe);
    return probe.found;
}

const std::u16string& TVeskCore::CurrentName() const
{
    static const std::u16string kNone;
    return HasCurrentCell() ? _cells.NameAt(_cai) : kNone;
}

std::u16string TVeskCore::OperatorText(std::int32_t op) const
{
    if (op < 0 || static_cast<std::size_t>(op) >= _code.Ops().size())
        return {};
    const TOp& at = _code.Ops()[static_cast<std::size_t>(op)];
    std::size_t operand = 0;
    switch (at.kind) {
    case TOpKind::okSelect:
    case TOpKind::okCopy:
    case TOpKind::okDestroy: operand = 4; break;
    case TOpKind::okAddCell:
    case TOpKind::okSubCell: operand = 5; break;
    case TOpKind::okAddByte:
    case TOpKind::okSubByte:
    case TOpKind::okCompareByte: operand = 2; break;
    case TOpKind::okCompareCell: operand = 5; break;
    case TOpKind::okLoopCounted:
    case TOpKind::okLoopBadCount: operand = 3; break;
    default: break;
    }
    // The end of the program stands on a line after the last.
    if (at.line < 0 || static_cast<std::size_t>(at.line) >= _program.size())
        return {};
    const std::u16string& line = _program[static_cast<std::size_t>(at.line)];
    const auto column = static_cast<std::size_t>(at.column);
    if (column < 1 || column > line.size())
        return {};
    std::u16string text(1, line[column - 1]);
    if (operand > 0)
        text += _code.OperandText(_program, at, operand);
    return text;
}
