// The cells: names in creation order, their values, and an index from the
// address value to the cell, so that a lookup never scans the names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TMemory = std::vector<std::uint8_t>;

class TCellMemory {
public:
    TCellMemory();

    // Address code of a name of four hex digits (any letter case), -1 for none.
    [[nodiscard]] static std::int32_t CodeOf(std::u16string_view name);

    // Index of the cell with that address code, -1 when there is none.
    [[nodiscard]] std::int32_t Find(std::int32_t code) const
    {
        return code < 0 ? -1 : _index[static_cast<std::size_t>(code)];
    }
    // Appends a cell of value 0 under the name as written; its index, or -1
    // when the names and the values no longer line up.
    std::int32_t Add(std::u16string name, std::int32_t code);
    // Removes cell i; later cells move down by one.
    void Remove(std::int32_t index);
    void Clear();

    [[nodiscard]] std::int32_t Count() const { return static_cast<std::int32_t>(_values.size()); }
    [[nodiscard]] bool Valid(std::int32_t index) const
    {
        return static_cast<std::uint32_t>(index) < _values.size();
    }
    [[nodiscard]] std::uint8_t& Value(std::int32_t index) { return _values[static_cast<std::size_t>(index)]; }
    [[nodiscard]] const TMemory& Values() const { return _values; }
    [[nodiscard]] const std::vector<std::u16string>& Names() const { return _names; }

private:
    static constexpr std::size_t kAddresses = 65536;

    TMemory _values;
    std::vector<std::u16string> _names;
    std::vector<std::int32_t> _codes;   // address code of each cell, parallel to _names
    std::vector<std::int32_t> _index;   // address code -> cell index or -1
};
