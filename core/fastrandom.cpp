#include "core/fastrandom.h"

#include <random>

TFastRandom::TFastRandom() : TFastRandom(std::random_device{}() * 0x100000001ULL ^ std::random_device{}()) {}

TFastRandom::TFastRandom(std::uint64_t seed) : _state(seed) {}

// splitmix64: every seed is a good one, one multiply-xorshift chain per draw.
std::uint32_t TFastRandom::Next32()
{
    std::uint64_t z = (_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

// Multiply-and-shift range reduction; the rare low products are redrawn so
// that every value is equally likely.
std::int32_t TFastRandom::Next(std::int32_t n)
{
    if (n <= 1)
        return 0;
    const auto range = static_cast<std::uint32_t>(n);
    std::uint64_t product = static_cast<std::uint64_t>(Next32()) * range;
    auto low = static_cast<std::uint32_t>(product);
    if (low < range) {
        const std::uint32_t threshold = (0U - range) % range;
        while (low < threshold) {
            product = static_cast<std::uint64_t>(Next32()) * range;
            low = static_cast<std::uint32_t>(product);
        }
    }
    return static_cast<std::int32_t>(product >> 32);
}
