// The default clock: monotonic, so a change of the wall clock never adds or
// removes run time.
#pragma once

#include <chrono>

#include "core/vesktimer.h"

class TSteadyClock final : public TVeskClock {
public:
    // Inline: the core reads it twice a tick and calls it directly.
    [[nodiscard]] double Now() override
    {
        return static_cast<double>(std::chrono::steady_clock::now().time_since_epoch().count()) * kDaysPerTick;
    }

private:
    // A multiplication instead of a division on every reading.
    static constexpr double kDaysPerTick = static_cast<double>(std::chrono::steady_clock::period::num)
        / (static_cast<double>(std::chrono::steady_clock::period::den) * 86400.0);
};
