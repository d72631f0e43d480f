// The default random source: a small, fast generator seeded once when made.
#pragma once

#include <cstdint>

#include "core/vesktimer.h"

class TFastRandom final : public TVeskRandom {
public:
    // Seeds from the system's entropy source.
    TFastRandom();
    explicit TFastRandom(std::uint64_t seed);

    // Uniform in 0 .. n-1 (0 for n <= 1), without modulo bias: multiply and
    // shift, redrawing the rare low products that would favour some values.
    [[nodiscard]] std::int32_t Next(std::int32_t n) override
    {
        if (n <= 1)
            return 0;
        const auto range = static_cast<std::uint32_t>(n);
        std::uint64_t product = static_cast<std::uint64_t>(Next32()) * range;
        if (static_cast<std::uint32_t>(product) < range) {
            const std::uint32_t threshold = (0U - range) % range;
            while (static_cast<std::uint32_t>(product) < threshold)
                product = static_cast<std::uint64_t>(Next32()) * range;
        }
        return static_cast<std::int32_t>(product >> 32);
    }

    [[nodiscard]] bool SaveState(std::uint64_t& state) const override
    {
        state = _state;
        return true;
    }
    void RestoreState(std::uint64_t state) override { _state = state; }

private:
    // splitmix64: every seed is a good one, one multiply-xorshift chain per draw.
    [[nodiscard]] std::uint32_t Next32()
    {
        std::uint64_t z = (_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
    }

    std::uint64_t _state;
};
