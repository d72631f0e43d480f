#include "core/fastrandom.h"

#include <random>

TFastRandom::TFastRandom() : TFastRandom(std::random_device{}() * 0x100000001ULL ^ std::random_device{}()) {}

TFastRandom::TFastRandom(std::uint64_t seed) : _state(seed) {}
