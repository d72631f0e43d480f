// The default random source: a small, fast generator seeded once when made.
#pragma once

#include <cstdint>

#include "core/vesktimer.h"

class TFastRandom final : public TVeskRandom {
public:
    // Seeds from the system's entropy source.
    TFastRandom();
    explicit TFastRandom(std::uint64_t seed);

    // Uniform in 0 .. n-1 (0 for n <= 1), without modulo bias.
    [[nodiscard]] std::int32_t Next(std::int32_t n) override;

private:
    [[nodiscard]] std::uint32_t Next32();

    std::uint64_t _state;
};
