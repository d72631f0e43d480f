#include "core/veskcore.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <new>

#include "core/preparedprogram.h"
#include "core/runhistory.h"
#include "core/sourcecheck.h"

namespace {

// One tick's allowance is r * kAllowanceDay / 99 days, 70 <= r <= 99: multiplied
// first, then divided. The 30 possible values are worked out once, the same way.
constexpr double kAllowanceDay = 1.0 / 4680000.0;
constexpr std::int32_t kAllowanceBase = 70;
constexpr std::int32_t kAllowanceSpread = 30;

constexpr std::array<double, kAllowanceSpread> MakeAllowances()
{
    std::array<double, kAllowanceSpread> allowances{};
    for (std::int32_t i = 0; i < kAllowanceSpread; ++i)
        allowances[static_cast<std::size_t>(i)] = (kAllowanceBase + i) * kAllowanceDay / 99;
    return allowances;
}

constexpr std::array<double, kAllowanceSpread> kAllowances = MakeAllowances();

constexpr double kSecondsPerDay = 86400.0;
// A batch with a deadline reads the clock once per this many steps.
constexpr std::uint64_t kClockEvery = 256;

[[nodiscard]] std::u16string AddressText(std::int32_t code)
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    if (code < 0)
        return {};
    std::u16string text(4, u'0');
    for (std::size_t i = 0; i < 4; ++i)
        text[3 - i] = kHex[(code >> (4 * i)) & 15];
    return text;
}

} // namespace

TVeskCore::TVeskCore(TTimerOwner& owner, TVeskClock* clock, TVeskRandom* random)
    : _owner(owner),
      _ownClock(clock ? nullptr : std::make_unique<TSteadyClock>()),
      _ownRandom(random ? nullptr : std::make_unique<TFastRandom>()),
      _clock(clock ? clock : _ownClock.get()),
      _random(random ? random : _ownRandom.get())
{
}

// The timer belongs to its owner, which stops the core before destroying it.
TVeskCore::~TVeskCore() = default;

// ---- run control -----------------------------------------------------------

void TVeskCore::Execute()
{
    // A program loaded ready is neither prepared nor checked again, unless its
    // lines were taken for writing since.
    const bool ready = _loadedReady && !_textTouched;
    _loadedReady = false;
    if (ready ? !ReportFault(_loadedFault) : !CheckSource()) {
        TimerOff();
        Notify(OnStop);
        return;
    }
    if (_program.empty()) {
        TimerOff();
        Notify(OnFinish);
        Notify(OnStop);
        return;
    }
    EnsureDecoded();
    // A run that goes on from an earlier moment replaces the future it had.
    if (_history)
        _history->Resume(*this);
    if (!_timer)
        _timer = &_owner.MakeTimer(1, [this] { TimerTick(); });
    _timer->SetEnabled(true);
    Notify(OnStart);
}

void TVeskCore::Pause()
{
    if (!IsRun())
        return;
    PauseFor(TPauseCause::pcUser);
}

void TVeskCore::Stop()
{
    TimerOff();
    Notify(OnStop);
}

void TVeskCore::Reset()
{
    TimerOff();
    _cells.Clear();
    _program.clear();
    _astack.clear();
    _cstack.Clear();
    _code.Clear();
    _textTouched = true;
    _loadedReady = false;
    _outOfMemory = false;
    _pc = 0;
    _prevPc = -1;
    _status = TProgramStatus::psNormal;
    _step = 0;
    _time = 0;
    _cas = -1;
    _cai = -1;
    _stepStop = false;
    _runToLine = -1;
    _breakArmed = true;
    if (_history)
        _history->Clear();
    _rules.ClearHits();
    _profile.Clear();
    _leave.reset();
    _observedStop.reset();
    _changedByHand = false;
    UpdateObserving();
}

TMemory TVeskCore::GetMemory() const
{
    return _cells.Values();
}

std::vector<std::u16string> TVeskCore::GetVariables() const
{
    return _cells.Names();
}

std::vector<std::u16string>& TVeskCore::ProgramCode()
{
    // The caller may change the lines through this reference.
    _textTouched = true;
    return _program;
}

const std::vector<std::u16string>& TVeskCore::ProgramCode() const
{
    return _program;
}

bool TVeskCore::IsRun() const
{
    return _timer != nullptr && _timer->Enabled();
}

std::uint64_t TVeskCore::Step() const
{
    return _step;
}

double TVeskCore::EndTime() const
{
    return _time;
}

// Handlers are the caller's code: whatever they throw stays out of the core's
// own state changes and never escapes to the core's caller; it goes to
// OnHandlerFailure instead.
void TVeskCore::Notify(const TNotifyEvent& event)
{
    if (!event)
        return;
    try {
        event(*this);
    } catch (...) {
        HandlerFailed(std::current_exception());
    }
}

void TVeskCore::NotifyError(std::int32_t line, std::int32_t position, const TCoreError& error)
{
    if (!OnError)
        return;
    try {
        OnError(*this, line, position, error);
    } catch (...) {
        HandlerFailed(std::current_exception());
    }
}

void TVeskCore::HandlerFailed(std::exception_ptr failure)
{
    if (!OnHandlerFailure)
        return;
    // The failure handler is the last resort: nothing it throws is passed on.
    try {
        OnHandlerFailure(std::move(failure));
    } catch (...) {
    }
}

void TVeskCore::TimerOff()
{
    if (_timer)
        _timer->SetEnabled(false);
}

void TVeskCore::TimerOn()
{
    if (_timer)
        _timer->SetEnabled(true);
}

void TVeskCore::PauseFor(TPauseCause cause)
{
    TimerOff();
    _pauseCause = cause;
    CancelStepping();
    _breakArmed = false;
    Notify(OnPause);
}

// ---- debugger --------------------------------------------------------------

TVeskCore::TCodePos TVeskCore::NextPosition() const
{
    // Nothing decoded: a run starts at the beginning.
    if (_code.Empty())
        return {};
    const TOp& op = _code.Ops()[static_cast<std::size_t>(_pc)];
    return {op.line, op.column};
}

std::int32_t TVeskCore::CurrentCell() const
{
    return _cells.OrderOf(_cai);
}

std::vector<std::u16string> TVeskCore::AddressStackTop(std::size_t count) const
{
    const std::size_t from = _astack.size() - std::min(count, _astack.size());
    std::vector<std::u16string> texts;
    texts.reserve(_astack.size() - from);
    for (std::size_t i = from; i < _astack.size(); ++i)
        texts.push_back(AddressText(_astack[i]));
    return texts;
}

std::vector<TVeskCore::TLoopEntry> TVeskCore::LoopStack() const
{
    std::vector<TLoopEntry> entries;
    for (const TLoopStack::TView& view : _cstack.View())
        entries.push_back({{view.line, view.column}, view.step, view.count});
    return entries;
}

void TVeskCore::SetBreakpoints(std::vector<std::int32_t> lines)
{
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    _breakpoints = std::move(lines);
    MarkLines();
}

void TVeskCore::RequestStepStop()
{
    _stepStop = true;
}

void TVeskCore::SetRunToLine(std::int32_t line)
{
    _runToLine = line < 0 ? -1 : line;
    MarkLines();
}

std::int32_t TVeskCore::RunToLine() const
{
    return _runToLine;
}

void TVeskCore::SetBreakRules(std::vector<TBreakRule> rules)
{
    _rules.Set(std::move(rules));
    MarkLines();
}

void TVeskCore::SetWatchpoints(std::vector<TWatchpoint> watchpoints)
{
    _watches.Set(std::move(watchpoints));
    UpdateObserving();
}

void TVeskCore::RequestStepOver()
{
    const TCodePos at = NextPosition();
    _leave = OpenedStructure(_program, at.column, at.line);
    if (!_leave) {
        RequestStepStop();
        return;
    }
    _leaveCause = TPauseCause::pcStepOver;
    UpdateObserving();
}

bool TVeskCore::RequestStepOut()
{
    const TCodePos at = NextPosition();
    _leave = EnclosingStructure(_program, at.column, at.line);
    _leaveCause = TPauseCause::pcStepOut;
    UpdateObserving();
    return _leave.has_value();
}

void TVeskCore::SetProfiling(bool on)
{
    _profiling = on;
    UpdateObserving();
}

bool TVeskCore::SetCellByHand(std::u16string_view address, std::uint8_t value)
{
    const std::int32_t code = TCellMemory::CodeOf(address);
    if (IsRun() || code < 0)
        return false;
    std::int32_t slot = _cells.Find(code);
    if (slot < 0)
        slot = AddCell(address, code);
    if (slot < 0)
        return false;
    _cells.Value(slot) = value;
    _changedByHand = true;
    return true;
}

TVeskCore::TPauseCause TVeskCore::LastPauseCause() const
{
    return _pauseCause;
}

void TVeskCore::MarkLines()
{
    if (_code.Empty())
        return;
    std::vector<std::uint8_t> marked(_program.size() + 1, 0);
    const auto mark = [&marked](std::int32_t line) {
        if (line >= 0 && static_cast<std::size_t>(line) < marked.size())
            marked[static_cast<std::size_t>(line)] = 1;
    };
    for (const std::int32_t line : _breakpoints)
        mark(line);
    for (const TBreakRule& rule : _rules.Rules())
        mark(rule.line);
    mark(_runToLine);
    _code.MarkLines(marked);
}

// Execution arrives at a line from another line or by a loop's jump back; a
// branch or a separator that jumps within the line stays on it.
bool TVeskCore::ArrivesAtMark() const
{
    const TOp& op = _code.Ops()[static_cast<std::size_t>(_pc)];
    if ((op.flags & ofMarked) == 0 || !_breakArmed)
        return false;
    if (_prevPc < 0)
        return true;
    const TOp& previous = _code.Ops()[static_cast<std::size_t>(_prevPc)];
    if (previous.line != op.line)
        return true;
    const bool loopBack = previous.kind == TOpKind::okEndCounted || previous.kind == TOpKind::okEndEndless;
    return loopBack && _pc != _prevPc + 1;
}

bool TVeskCore::BreakHere()
{
    if (!ArrivesAtMark())
        return false;
    const std::int32_t line = _code.Ops()[static_cast<std::size_t>(_pc)].line;
    if (line == _runToLine)
        return true;
    if (_rules.Governs(line))
        return _rules.Arrive(line, _cells);
    return std::binary_search(_breakpoints.begin(), _breakpoints.end(), line);
}

void TVeskCore::PauseAtMark()
{
    const std::int32_t line = _code.Ops()[static_cast<std::size_t>(_pc)].line;
    TPauseCause cause = TPauseCause::pcBreakpoint;
    if (line == _runToLine) {
        _runToLine = -1;
        if (!std::binary_search(_breakpoints.begin(), _breakpoints.end(), line))
            cause = TPauseCause::pcRunToLine;
        MarkLines();
    }
    PauseFor(cause);
}

// ---- the tick --------------------------------------------------------------

void TVeskCore::EnsureDecoded()
{
    const bool decoded = !_code.Empty();
    if (decoded && !_textTouched)
        return;
    const std::uint64_t hash = ProgramTextHash(_program);
    _textTouched = false;
    if (decoded && hash == _textHash)
        return;
    // A changed text goes on where the old one stood, as the position says.
    const TCodePos at = NextPosition();
    _code.Decode(_program);
    _textHash = hash;
    _pc = _code.OperatorAt(_program, at.column, at.line);
    _prevPc = -1;
    MarkLines();
}

void TVeskCore::TimerTick()
{
    if (_slice > 0) {
        RunFor(_slice);
        return;
    }
    TimerOff();
    EnsureDecoded();
    if (BreakHere()) {
        PauseAtMark();
        return;
    }
    const double t0 = ReadClock();
    ++_step;
    TOutcome outcome = TOutcome::Fault;
    const std::int32_t here = _pc;
    try {
        outcome = _observing ? ObservedOp() : ExecuteOp();
    } catch (const std::bad_alloc&) {
        outcome = TOutcome::Fault;
        _outOfMemory = true;
    } catch (...) {
        outcome = TOutcome::Fault;
    }
    _prevPc = here;
    _breakArmed = true;
    switch (outcome) {
    case TOutcome::Done:
        if (_observedStop || _stepStop) {
            AccountTime(t0);
            PauseFor(_observedStop ? *_observedStop : TPauseCause::pcStep);
            return;
        }
        TimerOn();
        break;
    case TOutcome::Finished:
        CancelStepping();
        Notify(OnFinish);
        Notify(OnStop);
        break;
    case TOutcome::Raised:
        CancelStepping();
        return;
    case TOutcome::Fault:
        CancelStepping();
        ReportFault();
        break;
    }
    AccountTime(t0);
    if (_history && outcome == TOutcome::Done && _step >= _history->NextDue())
        _history->Record(*this, _time);
}

std::uint64_t TVeskCore::RunSteps(std::uint64_t maxSteps)
{
    return RunBatch(maxSteps, false, 0);
}

std::uint64_t TVeskCore::RunFor(double seconds)
{
    return RunBatch(std::numeric_limits<std::uint64_t>::max(), true, ReadClock() + seconds / kSecondsPerDay);
}

void TVeskCore::SetTimerSlice(double seconds)
{
    _slice = seconds > 0 ? seconds : 0;
}

double TVeskCore::TimerSlice() const
{
    return _slice;
}

// Steps back to back. The measured part of the time is added in one piece
// whenever a handler may look and at the end, the allowance on every step.
std::uint64_t TVeskCore::RunBatch(std::uint64_t maxSteps, bool timed, double deadline)
{
    if (!IsRun() || maxSteps == 0)
        return 0;
    TimerOff();
    EnsureDecoded();
    if (_stepStop)
        maxSteps = 1;
    _clockMark = ReadClock();
    _measuring = true;
    std::uint64_t done = 0;
    TOutcome outcome = TOutcome::Done;
    bool paused = false;
    try {
        // With a history the batch runs in pieces that end where a snapshot is due.
        for (;;) {
            std::uint64_t limit = maxSteps;
            if (_history)
                limit = done + std::min(maxSteps - done, std::max(_history->NextDue(), _step + 1) - _step);
            bool halted = false;
            if (_observing) {
                ObservedSteps(limit, timed, deadline, done, outcome, paused);
                halted = paused || done < limit; // a pause, the deadline or an observed stop
            }
            while (!_observing && done < limit) {
                if (timed && done % kClockEvery == kClockEvery - 1 && ReadClock() >= deadline) {
                    halted = true;
                    break;
                }
                if ((_code.Ops()[static_cast<std::size_t>(_pc)].flags & ofMarked) != 0 && BreakHere()) {
                    paused = true;
                    halted = true;
                    break;
                }
                ++_step;
                ++done;
                const std::int32_t here = _pc;
                outcome = ExecuteOp();
                _prevPc = here;
                _breakArmed = true;
                if (outcome != TOutcome::Done)
                    break;
                _time += DrawAllowance();
            }
            if (halted || outcome != TOutcome::Done || done >= maxSteps || !_history)
                break;
            _history->Record(*this, _time + (ReadClock() - _clockMark));
        }
    } catch (const std::bad_alloc&) {
        outcome = TOutcome::Fault;
        _outOfMemory = true;
    } catch (...) {
        outcome = TOutcome::Fault;
    }
    const auto endMeasuring = [this] {
        _measuring = false;
        return _clockMark;
    };
    switch (outcome) {
    case TOutcome::Done:
        FlushMeasured();
        endMeasuring();
        if (paused)
            PauseAtMark();
        else if (_observedStop)
            PauseFor(*_observedStop);
        else if (_stepStop && done > 0)
            PauseFor(TPauseCause::pcStep);
        else
            TimerOn();
        break;
    case TOutcome::Finished: {
        CancelStepping();
        FlushMeasured();
        const double t0 = endMeasuring();
        Notify(OnFinish);
        Notify(OnStop);
        AccountTime(t0);
        break;
    }
    case TOutcome::Raised:
        CancelStepping();
        endMeasuring();
        break;
    case TOutcome::Fault: {
        CancelStepping();
        ReportFault();
        AccountTime(endMeasuring());
        break;
    }
    }
    return done;
}

// The plain loop of RunBatch with the observations around each step; a step
// that asks for a pause ends the batch once it has been counted and timed.
unsigned TVeskCore::Observations() const
{
    return (_profiling ? kCountProfile : 0U) | (_watches.Empty() ? 0U : kWatch) | (_leave ? kLeave : 0U);
}

TVeskCore::TOutcome TVeskCore::ObservedOp()
{
    // One step at the timer's pace: no need for a version per mix.
    _profile.Reserve(_program.size());
    TProfileTally tally(_profile);
    return ObservedOpFor<kCountProfile | kWatch | kLeave>(tally, true);
}

void TVeskCore::ObservedSteps(std::uint64_t maxSteps, bool timed, double deadline, std::uint64_t& done,
                              TOutcome& outcome, bool& paused)
{
    switch (Observations()) {
    case kCountProfile: ObservedLoop<kCountProfile>(maxSteps, timed, deadline, done, outcome, paused); break;
    case kWatch: ObservedLoop<kWatch>(maxSteps, timed, deadline, done, outcome, paused); break;
    case kLeave: ObservedLoop<kLeave>(maxSteps, timed, deadline, done, outcome, paused); break;
    default:
        ObservedLoop<kCountProfile | kWatch | kLeave>(maxSteps, timed, deadline, done, outcome, paused);
        break;
    }
}

template <unsigned kWhat>
void TVeskCore::ObservedLoop(std::uint64_t maxSteps, bool timed, double deadline, std::uint64_t& done,
                             TOutcome& outcome, bool& paused)
{
    _profile.Reserve(_program.size());
    // Counted into the profile when the loop ends, however it ends.
    TProfileTally tally(_profile);
    if ((kWhat & kWatch) != 0 && !_watches.Empty())
        _watches.Before(_cells);
    while (done < maxSteps) {
        if (timed && done % kClockEvery == kClockEvery - 1 && ReadClock() >= deadline)
            break;
        if ((_code.Ops()[static_cast<std::size_t>(_pc)].flags & ofMarked) != 0 && BreakHere()) {
            paused = true;
            break;
        }
        ++_step;
        ++done;
        const std::int32_t here = _pc;
        outcome = ObservedOpFor<kWhat>(tally, false);
        _prevPc = here;
        _breakArmed = true;
        if (outcome != TOutcome::Done)
            break;
        _time += DrawAllowance();
        if (_observedStop)
            break;
    }
}

// Inlined into its loop: a call per step would cost as much as the counting.
// A version that may do more than asked checks at run time.
template <unsigned kWhat>
[[gnu::always_inline]] inline TVeskCore::TOutcome TVeskCore::ObservedOpFor(TProfileTally& tally, bool snapshot)
{
    const TOp& op = _code.Ops()[static_cast<std::size_t>(_pc)];
    // Executing may decode more operators and move the array: keep what is needed.
    const std::int32_t line = op.line;
    const std::int32_t column = op.column;
    const std::int32_t target = StoreTarget(op);
    const bool profiling = (kWhat & kCountProfile) != 0 && (kWhat == kCountProfile || _profiling);
    const bool watching = (kWhat & kWatch) != 0 && (kWhat == kWatch || !_watches.Empty());
    if (profiling)
        tally.Step(line);
    if (watching && snapshot)
        _watches.Before(_cells);
    const TOutcome outcome = ExecuteOp();
    if (outcome != TOutcome::Done)
        return outcome;
    if (profiling && target >= 0)
        tally.Write(target);
    if (watching) {
        if (const auto hit = _watches.After(_cells, target, line, column)) {
            _watchHit = *hit;
            _observedStop = TPauseCause::pcWatchpoint;
            return outcome;
        }
    }
    if ((kWhat & kLeave) != 0 && _leave) {
        const TCodePos at = NextPosition();
        if (_leave->Leaves(at.column, at.line))
            _observedStop = _leaveCause;
    }
    return outcome;
}

[[gnu::always_inline]] inline std::int32_t TVeskCore::StoreTarget(const TOp& op) const
{
    switch (op.kind) {
    case TOpKind::okAddByte:
    case TOpKind::okSubByte:
    case TOpKind::okAddCell:
    case TOpKind::okSubCell:
    case TOpKind::okInvert:
    case TOpKind::okRotateLeft:
    case TOpKind::okRotateRight: return HasCurrentCell() ? _cas : -1;
    case TOpKind::okCopy: return op.a;
    default: return -1;
    }
}

void TVeskCore::UpdateObserving()
{
    _observing = !_watches.Empty() || _profiling || _leave.has_value();
}

void TVeskCore::CancelStepping()
{
    _stepStop = false;
    _leave.reset();
    _observedStop.reset();
    UpdateObserving();
}

void TVeskCore::AccountTime(double t0)
{
    const double now = ReadClock();
    const double allowance = DrawAllowance();
    _time = ((now - t0) + _time) + allowance;
}

double TVeskCore::DrawAllowance()
{
    const std::int32_t drawn = Draw(kAllowanceSpread);
    // A foreign generator out of its range must not read outside the table.
    return drawn >= 0 && drawn < kAllowanceSpread ? kAllowances[static_cast<std::size_t>(drawn)]
                                                   : (kAllowanceBase + drawn) * kAllowanceDay / 99;
}

void TVeskCore::FlushMeasured()
{
    if (!_measuring)
        return;
    const double now = ReadClock();
    _time = (now - _clockMark) + _time;
    _clockMark = now;
}

TVeskCore::TOutcome TVeskCore::RaiseError(std::int32_t position, std::int32_t line, TErrorCode code,
                                          std::u16string operand)
{
    // A replay ends at the step that failed the run; the run reported it then.
    if (_replaying) {
        _status = TProgramStatus::psNormal;
        return TOutcome::Raised;
    }
    // The steps before this one have had their time: a handler may read it.
    FlushMeasured();
    Stop();
    _status = TProgramStatus::psNormal;
    NotifyError(line, position, {code, std::move(operand)});
    return TOutcome::Raised;
}

// The tick's catch-all: at the operator where the failure happened.
void TVeskCore::ReportFault()
{
    TimerOff();
    const TCodePos at = NextPosition();
    RaiseError(at.column, at.line, TErrorCode::ecUnknownFailure);
}

std::int32_t TVeskCore::AddCell(std::u16string_view name, std::int32_t code)
{
    return _cells.Add(std::u16string(name), code);
}

// ---- source preparation ----------------------------------------------------

bool TVeskCore::CheckSource()
{
    _textTouched = true;
    return ReportFault(PrepareAndCheck(_program));
}

bool TVeskCore::ReportFault(const std::optional<TSourceFault>& fault)
{
    if (!fault)
        return true;
    NotifyError(fault->line, fault->column, {fault->code, {}});
    return false;
}

void TVeskCore::LoadPrepared(TPreparedProgram program)
{
    const TCodePos at = NextPosition();
    TPreparedProgram::TParts parts = std::move(program).Release();
    _program = std::move(parts.lines);
    _loadedFault = parts.fault;
    _loadedReady = true;
    _textTouched = false;
    _code = std::move(parts.code);
    if (_code.Empty())
        return;
    _textHash = parts.hash;
    _pc = _code.OperatorAt(_program, at.column, at.line);
    _prevPc = -1;
    MarkLines();
}

// ---- operators -------------------------------------------------------------

// One step: the operator at _pc. The common operators are here, the rest in
// helpers; errors stay on the operator, whose position the report names.
TVeskCore::TOutcome TVeskCore::ExecuteOp()
{
    const TOp& op = _code.Ops()[static_cast<std::size_t>(_pc)];
    switch (op.kind) {
    case TOpKind::okAddByte:
    case TOpKind::okSubByte: {
        if (!HasCurrentCell())
            return RaiseError(op.column, op.line, TErrorCode::ecMemoryAccess);
        std::uint8_t& cell = _cells.Value(_cai);
        cell = static_cast<std::uint8_t>(op.kind == TOpKind::okAddByte ? cell + op.a : cell - op.a);
        ++_pc;
        return TOutcome::Done;
    }
    case TOpKind::okEndCounted: {
        std::int32_t* passes = _cstack.First(LoopSlot(op.a));
        if (!passes)
            return TOutcome::Fault; // no entry for the loop: the tick's general failure
        if (--*passes > 0) {
            if (op.b < 0)
                return TOutcome::Fault;
            _pc = op.b;
        } else {
            _cstack.DropFirst(LoopSlot(op.a));
            ++_pc;
        }
        return TOutcome::Done;
    }
    case TOpKind::okLoopCounted:
    case TOpKind::okLoopEndless:
        _cstack.Push(LoopSlot(_pc), op.kind == TOpKind::okLoopCounted ? op.b : -1);
        ++_pc;
        return TOutcome::Done;
    case TOpKind::okEndEndless:
        _pc = op.b;
        return TOutcome::Done;
    case TOpKind::okLineEnd:
        _pc = op.a;
        return TOutcome::Done;
    case TOpKind::okSelect: return SelectCell(op);
    case TOpKind::okCopy: return CopyCell(op);
    case TOpKind::okDestroy: return DestroyCell(op);
    case TOpKind::okAddCell: return AddCellValue(op, false);
    case TOpKind::okSubCell: return AddCellValue(op, true);
    case TOpKind::okInvert:
    case TOpKind::okRotateLeft:
    case TOpKind::okRotateRight: {
        if (!HasCurrentCell())
            return RaiseError(op.column, op.line, TErrorCode::ecMemoryAccess);
        std::uint8_t& cell = _cells.Value(_cai);
        const unsigned v = cell;
        if (op.kind == TOpKind::okInvert)
            cell = static_cast<std::uint8_t>(v ^ 1U);
        else if (op.kind == TOpKind::okRotateLeft)
            cell = static_cast<std::uint8_t>((v << 1) | (v >> 7));
        else
            cell = static_cast<std::uint8_t>((v >> 1) | (v << 7));
        ++_pc;
        return TOutcome::Done;
    }
    case TOpKind::okPush:
        _astack.push_back(_cas);
        ++_pc;
        return TOutcome::Done;
    case TOpKind::okPop:
        // Drops the top, then selects the address saved below it.
        if (!_astack.empty())
            _astack.pop_back();
        SelectStackTop();
        ++_pc;
        return TOutcome::Done;
    case TOpKind::okOpen:
        _status = TProgramStatus::psCondition;
        ++_pc;
        return TOutcome::Done;
    case TOpKind::okClose:
        _status = TProgramStatus::psNormal;
        ++_pc;
        return TOutcome::Done;
    case TOpKind::okSeparator: return Separator(op);
    case TOpKind::okCompareByte: {
        if (!HasCurrentCell())
            return RaiseError(op.column, op.line, TErrorCode::ecMemoryAccess);
        const std::int32_t current = _cells.Value(_cai);
        if (current == op.a)
            return ChooseFirst(op, op.b);
        return ChooseBranch(op.b, current > op.a);
    }
    case TOpKind::okCompareCell: return CompareWithCell(op);
    case TOpKind::okParity:
        if (!HasCurrentCell())
            return RaiseError(op.column, op.line, TErrorCode::ecMemoryAccess);
        if (_cells.Value(_cai) % 2 == 1)
            return ChooseFirst(op, op.b);
        return ChooseBranch(op.b, false);
    case TOpKind::okNothing:
        ++_pc;
        return TOutcome::Done;
    case TOpKind::okEnd: return TOutcome::Finished;
    case TOpKind::okEndLost: return RaiseError(op.column + 1, op.line, TErrorCode::ecLostLoopStart);
    case TOpKind::okLoopBadCount:
    case TOpKind::okBadAddress:
    case TOpKind::okBadNumber:
    case TOpKind::okBareNumber:
    case TOpKind::okBareAddress: return OperandError(op);
    }
    return TOutcome::Fault;
}

TVeskCore::TOutcome TVeskCore::OperandError(const TOp& op)
{
    switch (op.kind) {
    case TOpKind::okBadAddress: return RaiseError(op.column + 1, op.line, TErrorCode::ecBadAddress);
    case TOpKind::okBareNumber: return RaiseError(op.column, op.line, TErrorCode::ecBareNumber);
    case TOpKind::okBareAddress: return RaiseError(op.column, op.line, TErrorCode::ecBareAddress);
    default:
        return RaiseError(op.column + 1, op.line, TErrorCode::ecBadNumber,
                          std::u16string(_code.OperandText(_program, op, 2)));
    }
}

// The loop stack key of the `[` operator `head`, looked up on its first use.
std::int32_t TVeskCore::LoopSlot(std::int32_t head)
{
    TOp& op = _code.Ops()[static_cast<std::size_t>(head)];
    if (op.a < 0)
        op.a = _cstack.Slot(op.line, op.column);
    return op.a;
}

TVeskCore::TOutcome TVeskCore::SelectCell(const TOp& op)
{
    _cas = op.a;
    _cai = _cells.Find(op.a);
    if (_cai == -1)
        _cai = AddCell(_code.OperandText(_program, op, 4), op.a);
    if (_cai == -1)
        return RaiseError(op.column, op.line, TErrorCode::ecLostCurrentAddress);
    _pc += 1;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::CopyCell(const TOp& op)
{
    std::int32_t target = _cells.Find(op.a);
    if (target == -1)
        target = AddCell(_code.OperandText(_program, op, 4), op.a);
    if (target == -1)
        return RaiseError(op.column, op.line, TErrorCode::ecNoCopyTarget);
    if (!HasCurrentCell())
        return RaiseError(op.column, op.line, TErrorCode::ecMemoryAccess);
    _cells.Value(target) = _cells.Value(_cai);
    ++_pc;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::DestroyCell(const TOp& op)
{
    const std::int32_t slot = _cells.Find(op.a);
    if (slot == -1)
        return RaiseError(op.column, op.line, TErrorCode::ecNoCellToDestroy);
    _cells.Remove(slot);
    // The other cells keep their slots, so the current cell stays unless it went.
    if (slot == _cai)
        SelectStackTop();
    if (_cells.WantsCompaction())
        _cai = _cells.Compact(_cai);
    ++_pc;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::AddCellValue(const TOp& op, bool subtract)
{
    const std::int32_t named = _cells.Find(op.a);
    if (named == -1)
        return RaiseError(op.column, op.line, TErrorCode::ecNoOperandCell);
    if (!HasCurrentCell())
        return RaiseError(op.column, op.line, TErrorCode::ecMemoryAccess);
    const std::uint8_t value = _cells.Value(named);
    std::uint8_t& cell = _cells.Value(_cai);
    cell = static_cast<std::uint8_t>(subtract ? cell - value : cell + value);
    ++_pc;
    return TOutcome::Done;
}

void TVeskCore::SelectStackTop()
{
    _cas = _astack.empty() ? -1 : _astack.back();
    _cai = _cells.Find(_cas);
}

// ---- loops and conditions --------------------------------------------------

// Onto the `)` of the enclosing block.
TVeskCore::TOutcome TVeskCore::Separator(const TOp& op)
{
    if (_status != TProgramStatus::psCondition)
        return RaiseError(op.column, op.line, TErrorCode::ecColonOutsideBlock);
    std::int32_t target = op.a;
    if (target == TCompiledProgram::kUnresolved) {
        const std::int32_t here = _pc;
        target = _code.ResolveEnclosingEnd(_program, op);
        _code.Ops()[static_cast<std::size_t>(here)].a = target;
    }
    if (target == TCompiledProgram::kNoBlock) {
        const TOp& self = _code.Ops()[static_cast<std::size_t>(_pc)];
        return RaiseError(self.column + 1, self.line, TErrorCode::ecLostBlockEnd);
    }
    _pc = target / 2;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::CompareWithCell(const TOp& op)
{
    const std::int32_t named = _cells.Find(op.a);
    if (named == -1)
        return RaiseError(op.column, op.line, TErrorCode::ecNoCompareCell);
    if (!HasCurrentCell())
        return RaiseError(op.column, op.line, TErrorCode::ecMemoryAccess);
    const std::int32_t current = _cells.Value(_cai);
    const std::int32_t other = _cells.Value(named);
    if (current == other)
        return ChooseFirst(op, op.b);
    return ChooseBranch(op.b, current > other);
}

// The first branch's block must stand right after the operand.
TVeskCore::TOutcome TVeskCore::ChooseFirst(const TOp& op, std::int32_t record)
{
    const std::int32_t target = _code.Branches(record).first;
    if (target == TCompiledProgram::kNoBlock)
        return RaiseError(op.column, op.line, TErrorCode::ecNoConditionBlock);
    _pc = target / 2;
    return TOutcome::Done;
}

// After the separator (in the condition status) when the branch exists; on
// the block's `)` when it does not.
TVeskCore::TOutcome TVeskCore::ChooseBranch(std::int32_t record, bool greater)
{
    TBranches& branches = _code.Branches(record);
    std::int32_t target = greater ? branches.greater : branches.less;
    if (target == TCompiledProgram::kUnresolved) {
        target = _code.ResolveBranch(_program, _code.Ops()[static_cast<std::size_t>(_pc)], greater);
        TBranches& kept = _code.Branches(record);
        (greater ? kept.greater : kept.less) = target;
    }
    if (target == TCompiledProgram::kNoBlock) {
        const TOp& self = _code.Ops()[static_cast<std::size_t>(_pc)];
        return RaiseError(self.column + 1, self.line, TErrorCode::ecNoConditionBlock);
    }
    if ((target & 1) != 0)
        _status = TProgramStatus::psCondition;
    _pc = target / 2;
    return TOutcome::Done;
}
