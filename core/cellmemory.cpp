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
    const auto index = static_cast<std::int32_t>(_values.size() - 1);
    if (code >= 0)
        _index[static_cast<std::size_t>(code)] = index;
    return index;
}

void TCellMemory::Remove(std::int32_t index)
{
    const auto at = static_cast<std::size_t>(index);
    if (_codes[at] >= 0)
        _index[static_cast<std::size_t>(_codes[at])] = -1;
    _values.erase(_values.begin() + index);
    _names.erase(_names.begin() + index);
    _codes.erase(_codes.begin() + index);
    for (std::size_t i = at; i < _codes.size(); ++i)
        if (_codes[i] >= 0)
            _index[static_cast<std::size_t>(_codes[i])] = static_cast<std::int32_t>(i);
}

void TCellMemory::Clear()
{
    for (const std::int32_t code : _codes)
        if (code >= 0)
            _index[static_cast<std::size_t>(code)] = -1;
    _values.clear();
    _names.clear();
    _codes.clear();
}
