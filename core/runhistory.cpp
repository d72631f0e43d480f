#include "core/runhistory.h"

#include <algorithm>
#include <new>

TRunHistory::TRunHistory(std::size_t budgetBytes, std::uint64_t firstInterval, std::uint64_t stepsPerKilobyte)
    : _budget(budgetBytes),
      _firstInterval(std::max<std::uint64_t>(firstInterval, 1)),
      _stepsPerKilobyte(stepsPerKilobyte),
      _interval(_firstInterval)
{
}

// ---- recording ---------------------------------------------------------------

void TRunHistory::Record(const TVeskCore& core, double time)
{
    const std::uint64_t step = core.Step();
    if (step >= _latest) {
        _latest = step;
        _latestTime = time;
    }
    if (!_snapshots.empty() && step <= _snapshots.back().state.step)
        return;
    try {
        TKept kept;
        kept.state = core.Snapshot();
        kept.state.time = time;
        Add(std::move(kept));
    } catch (const std::bad_alloc&) {
        // Short of memory the run goes on; the snapshots kept still reach back.
        Thin();
        _nextDue = step + _interval;
    }
}

void TRunHistory::Add(TKept kept)
{
    kept.bytes = kept.state.Bytes() + sizeof(TKept) - sizeof(TCoreSnapshot) + kept.changed.capacity() * sizeof(std::int32_t);
    const std::uint64_t step = kept.state.step;
    const std::uint64_t wait = kept.bytes * _stepsPerKilobyte / 1024;
    _bytes += kept.bytes;
    _snapshots.push_back(std::move(kept));
    while (_bytes > _budget && Thin()) {
    }
    _nextDue = step + std::max<std::uint64_t>(_interval, wait);
}

// Drops every other snapshot between the first and the last, branches kept,
// and doubles the interval; with nothing between, the last goes. False when
// nothing could go.
bool TRunHistory::Thin()
{
    std::vector<std::size_t> candidates;
    for (std::size_t i = 1; i < _snapshots.size(); ++i)
        if (!_snapshots[i].pinned)
            candidates.push_back(i);
    if (candidates.empty())
        return false;
    std::vector<bool> drop(_snapshots.size(), false);
    if (candidates.size() == 1)
        drop[candidates.front()] = true;
    else
        for (std::size_t c = candidates.size() % 2 == 0 ? 0 : 1; c + 1 < candidates.size(); c += 2)
            drop[candidates[c]] = true;
    std::vector<TKept> kept;
    kept.reserve(_snapshots.size());
    for (std::size_t i = 0; i < _snapshots.size(); ++i) {
        if (drop[i])
            _bytes -= _snapshots[i].bytes;
        else
            kept.push_back(std::move(_snapshots[i]));
    }
    _snapshots = std::move(kept);
    _interval *= 2;
    return true;
}

void TRunHistory::Resume(const TVeskCore& core)
{
    // Another text is another run.
    if (!_snapshots.empty() && core.TextHash() != _snapshots.front().state.textHash)
        Clear();
    if (_snapshots.empty()) {
        Record(core, core.EndTime());
        return;
    }
    if (core.Step() < _latest)
        Truncate(core.Step());
    NoteLive(core);
}

void TRunHistory::Truncate(std::uint64_t step)
{
    while (!_snapshots.empty() && _snapshots.back().state.step > step) {
        _bytes -= _snapshots.back().bytes;
        _snapshots.pop_back();
    }
    while (!_stops.empty() && _stops.back().step > step)
        _stops.pop_back();
    // Interpolated while the old latest moment still bounds the last stretch.
    _latestTime = TimeAt(step);
    _latest = step;
    _nextDue = _snapshots.empty() ? step : _snapshots.back().state.step + _interval;
}

void TRunHistory::Clear()
{
    _snapshots.clear();
    _bytes = 0;
    _interval = _firstInterval;
    _nextDue = 0;
    _latest = 0;
    _latestTime = 0;
    _stops.clear();
}

void TRunHistory::NoteLive(const TVeskCore& core)
{
    if (core.Step() >= _latest) {
        _latest = core.Step();
        _latestTime = core.EndTime();
    }
}

void TRunHistory::NoteStop(std::uint64_t step, bool error)
{
    const auto at = std::upper_bound(_stops.begin(), _stops.end(), step,
                                     [](std::uint64_t s, const TStop& stop) { return s < stop.step; });
    _stops.insert(at, {step, error});
}

std::uint64_t TRunHistory::Branch(const TVeskCore& core, std::vector<std::int32_t> changed)
{
    const std::uint64_t step = core.Step();
    NoteLive(core);
    const std::uint64_t dropped = _latest > step ? _latest - step : 0;
    Truncate(step);
    if (!_snapshots.empty() && _snapshots.back().state.step == step) {
        _bytes -= _snapshots.back().bytes;
        _snapshots.pop_back();
    }
    TKept kept;
    kept.state = core.Snapshot();
    kept.pinned = true;
    kept.changed = std::move(changed);
    Add(std::move(kept));
    _latest = step;
    _latestTime = core.EndTime();
    return dropped;
}

// ---- moments -----------------------------------------------------------------

std::uint64_t TRunHistory::First() const
{
    return _snapshots.empty() ? 0 : _snapshots.front().state.step;
}

std::size_t TRunHistory::At(std::uint64_t step) const
{
    const auto after = std::upper_bound(_snapshots.begin(), _snapshots.end(), step,
                                        [](std::uint64_t s, const TKept& kept) { return s < kept.state.step; });
    return after == _snapshots.begin() ? 0 : static_cast<std::size_t>(after - _snapshots.begin()) - 1;
}

double TRunHistory::TimeAt(std::uint64_t step) const
{
    if (_snapshots.empty())
        return _latestTime;
    const std::size_t i = At(step);
    const TCoreSnapshot& a = _snapshots[i].state;
    if (step <= a.step)
        return a.time;
    const std::uint64_t bStep = i + 1 < _snapshots.size() ? _snapshots[i + 1].state.step : _latest;
    const double bTime = i + 1 < _snapshots.size() ? _snapshots[i + 1].state.time : _latestTime;
    if (bStep <= a.step)
        return a.time;
    if (step >= bStep)
        return bTime;
    const double share = static_cast<double>(step - a.step) / static_cast<double>(bStep - a.step);
    return a.time + (bTime - a.time) * share;
}

void TRunHistory::Restore(TVeskCore& core, std::size_t index)
{
    core.Restore(_snapshots[index].state);
}

bool TRunHistory::GoTo(TVeskCore& core, std::uint64_t step)
{
    return Travel(core, step, false);
}

bool TRunHistory::Travel(TVeskCore& core, std::uint64_t step, bool restore)
{
    if (_snapshots.empty() || core.IsRun())
        return false;
    NoteLive(core);
    step = std::clamp(step, First(), _latest);
    const std::size_t i = At(step);
    // Forward within one stretch the core goes on from where it stands.
    const std::uint64_t now = core.Step();
    const bool onward = !restore && now <= step && now >= _snapshots[i].state.step && core.TextHash() == _snapshots[i].state.textHash;
    if (!onward)
        Restore(core, i);
    core.ReplayTo(step);
    core.SetRunTime(TimeAt(core.Step()));
    return true;
}

bool TRunHistory::StepBack(TVeskCore& core)
{
    if (_snapshots.empty() || core.IsRun() || core.Step() <= First())
        return false;
    return GoTo(core, core.Step() - 1);
}

template <typename TFind>
std::optional<std::uint64_t> TRunHistory::SearchBack(TVeskCore& core, std::uint64_t before, TFind find)
{
    if (_snapshots.empty() || before <= First())
        return std::nullopt;
    for (std::size_t i = At(before - 1);; --i) {
        const std::uint64_t end = i + 1 < _snapshots.size() ? std::min(before, _snapshots[i + 1].state.step) : before;
        Restore(core, i);
        if (std::optional<std::uint64_t> found = find(core, end))
            return found;
        if (i == 0)
            return std::nullopt;
    }
}

bool TRunHistory::RunBack(TVeskCore& core)
{
    if (_snapshots.empty() || core.IsRun() || core.Step() <= First())
        return false;
    NoteLive(core);
    const TVeskCore::TStopTest* extra = _stopTest ? &_stopTest : nullptr;
    const std::uint64_t now = core.Step(); // the search moves the core about
    std::optional<std::uint64_t> stop = SearchBack(
        core, now, [extra](TVeskCore& c, std::uint64_t end) { return c.ReplayFindStop(end, extra); });
    // A pause the run made (a watchpoint's, say) is a stop to go back to as well.
    for (auto it = _stops.rbegin(); it != _stops.rend(); ++it) {
        if (it->error || it->step >= now || it->step < First())
            continue;
        if (!stop || it->step > *stop)
            stop = it->step;
        break;
    }
    return Travel(core, stop.value_or(First()), true);
}

std::vector<TRunHistory::TSpan> TRunHistory::SpansHolding(const TVeskCore& core, std::int32_t op)
{
    const std::vector<TOp>& ops = core.Decoded().Ops();
    std::vector<TSpan> spans;
    std::vector<std::int32_t> opens;
    for (std::size_t j = 0; j < ops.size(); ++j) {
        const auto index = static_cast<std::int32_t>(j);
        const TOp& at = ops[j];
        TSpan span{0, -1};
        switch (at.kind) {
        // A loop's `[` runs once per entry: its body and `]` are the loop.
        case TOpKind::okEndCounted:
        case TOpKind::okEndEndless: span = {at.a + 1, index}; break;
        // A condition jumps onto the `(` or into a branch: the block is `(` to `)`.
        case TOpKind::okOpen: opens.push_back(index); break;
        case TOpKind::okClose:
            if (!opens.empty()) {
                span = {opens.back(), index};
                opens.pop_back();
            }
            break;
        default: break;
        }
        if (span.first <= op && op <= span.last)
            spans.push_back(span);
    }
    return spans;
}

bool TRunHistory::StepBackOut(TVeskCore& core)
{
    if (_snapshots.empty() || core.IsRun() || core.Step() <= First())
        return false;
    NoteLive(core);
    const std::vector<TSpan> spans = SpansHolding(core, core.NextOperator());
    if (spans.empty())
        return GoTo(core, First());
    const TSpan inner = *std::min_element(spans.begin(), spans.end(), [](const TSpan& a, const TSpan& b) {
        return a.last - a.first < b.last - b.first;
    });
    const std::optional<std::uint64_t> entry = SearchBack(core, core.Step(), [inner](TVeskCore& c, std::uint64_t end) {
        return c.ReplayFindEntry(end, inner.first, inner.last);
    });
    return Travel(core, entry.value_or(First()), true);
}

bool TRunHistory::StepBackOver(TVeskCore& core)
{
    if (_snapshots.empty() || core.IsRun() || core.Step() <= First())
        return false;
    NoteLive(core);
    const std::uint64_t now = core.Step();
    const std::int32_t last = core.LastOperator();
    const std::int32_t next = core.NextOperator();
    std::optional<TSpan> left;
    if (last >= 0)
        for (const TSpan& span : SpansHolding(core, last))
            if ((next < span.first || next > span.last) && (!left || span.last - span.first > left->last - left->first))
                left = span;
    if (!left)
        return GoTo(core, now - 1);
    const TSpan outer = *left;
    const std::optional<std::uint64_t> entry = SearchBack(core, now - 1, [outer](TVeskCore& c, std::uint64_t end) {
        return c.ReplayFindEntry(end, outer.first, outer.last);
    });
    return Travel(core, entry.value_or(First()), true);
}

// ---- where a value came from ---------------------------------------------------

std::optional<TRunHistory::TOrigin> TRunHistory::WhereFrom(TVeskCore& core, std::int32_t code)
{
    if (_snapshots.empty() || core.IsRun() || code < 0)
        return std::nullopt;
    NoteLive(core);
    const std::uint64_t now = core.Step();
    std::optional<TOrigin> origin;
    for (std::size_t i = At(now);; --i) {
        const TKept& kept = _snapshots[i];
        const std::uint64_t end = i + 1 < _snapshots.size() ? std::min(now, _snapshots[i + 1].state.step) : now;
        Restore(core, i);
        if (const std::optional<TVeskCore::TCellWrite> write = core.ReplayFindWrite(end, code)) {
            const TOp& op = core.Decoded().Ops()[static_cast<std::size_t>(write->op)];
            origin = TOrigin{write->step, op.line, op.column, core.OperatorText(write->op), write->source, false};
            break;
        }
        if (kept.pinned && std::find(kept.changed.begin(), kept.changed.end(), code) != kept.changed.end()) {
            origin = TOrigin{kept.state.step, 0, 1, {}, -1, true};
            break;
        }
        if (i == 0)
            break;
    }
    Travel(core, now, true);
    return origin;
}
