// The loops under way. Entries are keyed by the position of their `[`; a lookup
// yields the oldest entry with the key and new entries go behind it.
//
// Entries of one key are kept as the oldest entry's remaining passes plus runs of
// equal later entries: a loop head that runs on every pass of an outer loop (an
// endless `[` most of all) then costs a counter, not memory.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class TLoopStack {
public:
    // A small number for the key of the `[` at (column, line), stable until Clear.
    [[nodiscard]] std::int32_t Slot(std::int32_t line, std::int32_t column);

    void Push(std::int32_t slot, std::int32_t step);
    // Remaining passes of the oldest entry of the key, or nullptr for none.
    [[nodiscard]] std::int32_t* First(std::int32_t slot)
    {
        TKeyEntries& key = _keys[static_cast<std::size_t>(slot)];
        return key.hasFirst ? &key.first : nullptr;
    }
    void DropFirst(std::int32_t slot);
    void Clear();

    // Entries in all, and the memory they take in runs: for tests and checks.
    [[nodiscard]] std::uint64_t Entries() const { return _entries; }
    [[nodiscard]] std::size_t Runs() const;

    // The entries for display, oldest first: the key's `[` position, the
    // remaining passes and how many equal entries of the key stand together.
    struct TView {
        std::int32_t line;
        std::int32_t column;
        std::int32_t step;
        std::uint64_t count;
    };
    [[nodiscard]] std::vector<TView> View() const;

private:
    struct TKeyEntries;

public:
    // The entries alone, for a snapshot of a run: the slots handed out stay
    // with the live stack, since the decoded program keeps them.
    struct TSaved {
        std::vector<TKeyEntries> keys;
        std::uint64_t entries = 0;
        std::uint64_t pushes = 0;
        [[nodiscard]] std::size_t Bytes() const;
    };
    [[nodiscard]] TSaved Save() const;
    // Back to the saved entries; slots handed out since keep existing, empty.
    void Restore(const TSaved& saved);

private:
    struct TRun {
        std::int32_t step;
        std::uint64_t count;
        std::uint64_t order; // when the run's first entry was added, for View
    };
    struct TKeyEntries {
        std::uint64_t key = 0;
        bool hasFirst = false;
        std::int32_t first = 0;
        std::uint64_t firstOrder = 0;
        std::vector<TRun> later; // oldest run first
    };

    [[nodiscard]] static std::uint64_t KeyOf(std::int32_t line, std::int32_t column);

    std::vector<TKeyEntries> _keys;
    std::unordered_map<std::uint64_t, std::int32_t> _slotOfKey;
    std::uint64_t _entries = 0;
    std::uint64_t _pushes = 0;
};
