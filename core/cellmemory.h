// The cells: names in creation order, their values, and an index from the
// address value to the cell, so that a lookup never scans the names.
//
// A cell lives in a slot that never moves while the cell exists. Destroying a
// cell leaves a hole, so it costs no shifting; the holes are squeezed out in
// one pass once they outnumber the cells (Compact), which keeps the cost of a
// destroy constant on average while the cells stay in creation order.
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

    // Slot of the cell with that address code, -1 when there is none.
    [[nodiscard]] std::int32_t Find(std::int32_t code) const
    {
        return code < 0 ? -1 : _index[static_cast<std::size_t>(code)];
    }
    // Appends a cell of value 0 under the name as written; its slot, or -1
    // when the names and the values no longer line up.
    std::int32_t Add(std::u16string name, std::int32_t code);
    // Removes the cell in a slot; the other cells keep their slots and order.
    void Remove(std::int32_t slot);
    // Whether enough holes have gathered to be worth squeezing out.
    [[nodiscard]] bool WantsCompaction() const { return _holes > kMinHoles && _holes > Count(); }
    // Squeezes the holes out; the slot that `keep` had moves, so its new slot
    // (or `keep` itself when it is not a cell) is returned.
    std::int32_t Compact(std::int32_t keep);
    void Clear();

    // Cells that exist.
    [[nodiscard]] std::int32_t Count() const { return static_cast<std::int32_t>(_values.size()) - _holes; }
    [[nodiscard]] bool Valid(std::int32_t slot) const
    {
        return static_cast<std::uint32_t>(slot) < _values.size() && _codes[static_cast<std::size_t>(slot)] != kHole;
    }
    [[nodiscard]] std::uint8_t& Value(std::int32_t slot) { return _values[static_cast<std::size_t>(slot)]; }
    [[nodiscard]] std::uint8_t Value(std::int32_t slot) const { return _values[static_cast<std::size_t>(slot)]; }
    [[nodiscard]] std::uint8_t ValueAt(std::int32_t slot) const { return _values[static_cast<std::size_t>(slot)]; }
    [[nodiscard]] const std::u16string& NameAt(std::int32_t slot) const { return _names[static_cast<std::size_t>(slot)]; }
    // Position of a slot's cell in creation order, -1 when it is no cell.
    [[nodiscard]] std::int32_t OrderOf(std::int32_t slot) const;
    // The cells in creation order.
    [[nodiscard]] TMemory Values() const;
    [[nodiscard]] std::vector<std::u16string> Names() const;

private:
    static constexpr std::size_t kAddresses = 65536;
    static constexpr std::int32_t kHole = -2;
    static constexpr std::int32_t kMinHoles = 1024;

    TMemory _values;
    std::vector<std::u16string> _names;
    std::vector<std::int32_t> _codes;   // address code of each slot, kHole for a destroyed cell
    std::vector<std::int32_t> _index;   // address code -> slot or -1
    std::int32_t _holes = 0;
};
