#include "core/cellmemory.h"

#include "core/hexdigits.h"

TCellMemory::TCellMemory() : _index(kAddresses, -1) {}

std::int32_t TCellMemory::CodeOf(std::u16string_view name)
{
    return name.size() == 4 ? HexWord(name) : -1;
}

std::int32_t TCellMemory::Add(std::u16string name, std::int32_t code)
{
    _names.push_back(std::move(name));
    _codes.push_back(code);
    _values.push_back(0);
    if (_names.size() != _values.size())
        return -1;
    const auto slot = static_cast<std::int32_t>(_values.size() - 1);
    if (code >= 0)
        _index[static_cast<std::size_t>(code)] = slot;
    return slot;
}

void TCellMemory::Remove(std::int32_t slot)
{
    const auto at = static_cast<std::size_t>(slot);
    if (_codes[at] >= 0)
        _index[static_cast<std::size_t>(_codes[at])] = -1;
    _codes[at] = kHole;
    _names[at] = std::u16string();
    _values[at] = 0;
    ++_holes;
    // Holes at the end cost nothing to drop.
    while (!_codes.empty() && _codes.back() == kHole) {
        _codes.pop_back();
        _names.pop_back();
        _values.pop_back();
        --_holes;
    }
}

std::int32_t TCellMemory::Compact(std::int32_t keep)
{
    std::int32_t kept = keep;
    std::size_t to = 0;
    for (std::size_t from = 0; from < _codes.size(); ++from) {
        if (_codes[from] == kHole)
            continue;
        if (static_cast<std::int32_t>(from) == keep)
            kept = static_cast<std::int32_t>(to);
        _codes[to] = _codes[from];
        _values[to] = _values[from];
        _names[to] = std::move(_names[from]);
        if (_codes[to] >= 0)
            _index[static_cast<std::size_t>(_codes[to])] = static_cast<std::int32_t>(to);
        ++to;
    }
    _codes.resize(to);
    _values.resize(to);
    _names.resize(to);
    _holes = 0;
    return kept;
}

void TCellMemory::Clear()
{
    for (const std::int32_t code : _codes)
        if (code >= 0)
            _index[static_cast<std::size_t>(code)] = -1;
    _values.clear();
    _names.clear();
    _codes.clear();
    _holes = 0;
}

std::int32_t TCellMemory::OrderOf(std::int32_t slot) const
{
    if (!Valid(slot))
        return -1;
    std::int32_t order = 0;
    for (std::int32_t i = 0; i < slot; ++i)
        order += _codes[static_cast<std::size_t>(i)] != kHole ? 1 : 0;
    return order;
}

TMemory TCellMemory::Values() const
{
    if (_holes == 0)
        return _values;
    TMemory values;
    values.reserve(static_cast<std::size_t>(Count()));
    for (std::size_t i = 0; i < _codes.size(); ++i)
        if (_codes[i] != kHole)
            values.push_back(_values[i]);
    return values;
}

std::vector<std::u16string> TCellMemory::Names() const
{
    if (_holes == 0)
        return _names;
    std::vector<std::u16string> names;
    names.reserve(static_cast<std::size_t>(Count()));
    for (std::size_t i = 0; i < _codes.size(); ++i)
        if (_codes[i] != kHole)
            names.push_back(_names[i]);
    return names;
}
