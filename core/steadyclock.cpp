#include "core/steadyclock.h"

#include <chrono>

namespace {

// A multiplication instead of a division on every reading.
constexpr double kDaysPerTick = static_cast<double>(std::chrono::steady_clock::period::num)
    / (static_cast<double>(std::chrono::steady_clock::period::den) * 86400.0);

} // namespace

double TSteadyClock::Now()
{
    return static_cast<double>(std::chrono::steady_clock::now().time_since_epoch().count()) * kDaysPerTick;
}
