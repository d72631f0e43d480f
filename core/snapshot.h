// The whole state of a run at one moment, as the interpreter can take it and
// put it back: going back in a run restores one and runs forward from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/loopstack.h"

struct TCoreSnapshot {
    // The cells in creation order; a cell's address code follows from its name.
    std::vector<std::uint8_t> values;
    std::vector<std::u16string> names;
    std::int32_t currentOrder = -1;   // the current cell's place in that order, -1 for none
    std::int32_t currentCode = -1;    // the current address, -1 for none
    std::vector<std::int32_t> addresses; // the address stack, top last
    TLoopStack::TSaved loops;
    std::int32_t pc = 0;              // the next operator
    std::int32_t prevPc = -1;         // the operator of the last step, -1 for none
    std::uint64_t textHash = 0;       // of the program the operator indices belong to
    bool condition = false;
    std::uint64_t step = 0;
    double time = 0;                  // run time in days
    bool hasRandom = false;           // whether the random source gave its state
    std::uint64_t random = 0;

    // Memory the snapshot holds, its own size included.
    [[nodiscard]] std::size_t Bytes() const
    {
        std::size_t bytes = sizeof(*this) + values.capacity() + addresses.capacity() * sizeof(std::int32_t)
            + names.capacity() * sizeof(std::u16string) + loops.Bytes();
        for (const std::u16string& name : names)
            if (name.capacity() > kInlineName)
                bytes += (name.capacity() + 1) * sizeof(char16_t);
        return bytes;
    }

private:
    // Names of four characters live inside the string object itself.
    static constexpr std::size_t kInlineName = 7;
};
