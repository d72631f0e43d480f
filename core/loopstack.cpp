#include "core/loopstack.h"

#include <algorithm>

std::uint64_t TLoopStack::KeyOf(std::int32_t line, std::int32_t column)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(line)) << 32)
        | static_cast<std::uint32_t>(column);
}

std::int32_t TLoopStack::Slot(std::int32_t line, std::int32_t column)
{
    const auto [it, added] = _slotOfKey.try_emplace(KeyOf(line, column), static_cast<std::int32_t>(_keys.size()));
    if (added)
        _keys.emplace_back().key = KeyOf(line, column);
    return it->second;
}

void TLoopStack::Push(std::int32_t slot, std::int32_t step)
{
    TKeyEntries& key = _keys[static_cast<std::size_t>(slot)];
    ++_entries;
    const std::uint64_t order = _pushes++;
    if (!key.hasFirst) {
        key.hasFirst = true;
        key.first = step;
        key.firstOrder = order;
    } else if (!key.later.empty() && key.later.back().step == step) {
        ++key.later.back().count;
    } else {
        key.later.push_back({step, 1, order});
    }
}

void TLoopStack::DropFirst(std::int32_t slot)
{
    TKeyEntries& key = _keys[static_cast<std::size_t>(slot)];
    if (!key.hasFirst)
        return;
    --_entries;
    if (key.later.empty()) {
        key.hasFirst = false;
        return;
    }
    key.first = key.later.front().step;
    key.firstOrder = key.later.front().order;
    if (--key.later.front().count == 0)
        key.later.erase(key.later.begin());
}

void TLoopStack::Clear()
{
    _keys.clear();
    _slotOfKey.clear();
    _entries = 0;
    _pushes = 0;
}

std::size_t TLoopStack::Runs() const
{
    std::size_t runs = 0;
    for (const TKeyEntries& key : _keys)
        runs += (key.hasFirst ? 1 : 0) + key.later.size();
    return runs;
}

std::vector<TLoopStack::TView> TLoopStack::View() const
{
    std::vector<std::pair<std::uint64_t, TView>> ordered;
    for (const TKeyEntries& key : _keys) {
        const auto line = static_cast<std::int32_t>(key.key >> 32);
        const auto column = static_cast<std::int32_t>(key.key & 0xFFFFFFFFU);
        if (key.hasFirst)
            ordered.push_back({key.firstOrder, {line, column, key.first, 1}});
        for (const TRun& run : key.later)
            ordered.push_back({run.order, {line, column, run.step, run.count}});
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TView> view;
    view.reserve(ordered.size());
    for (const auto& entry : ordered)
        view.push_back(entry.second);
    return view;
}

std::size_t TLoopStack::TSaved::Bytes() const
{
    std::size_t bytes = keys.capacity() * sizeof(TKeyEntries);
    for (const TKeyEntries& key : keys)
        bytes += key.later.capacity() * sizeof(TRun);
    return bytes;
}

TLoopStack::TSaved TLoopStack::Save() const
{
    return {_keys, _entries, _pushes};
}

void TLoopStack::Restore(const TSaved& saved)
{
    // Slots are handed out in order and never taken back, so the saved keys
    // are a prefix of the live ones (or the live ones of theirs, after a Clear).
    std::vector<TKeyEntries> keys = saved.keys;
    for (std::size_t i = keys.size(); i < _keys.size(); ++i)
        keys.emplace_back().key = _keys[i].key;
    if (keys.size() > _keys.size()) {
        _slotOfKey.clear();
        for (std::size_t i = 0; i < keys.size(); ++i)
            _slotOfKey.emplace(keys[i].key, static_cast<std::int32_t>(i));
    }
    _keys = std::move(keys);
    _entries = saved.entries;
    _pushes = saved.pushes;
}
