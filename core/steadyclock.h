// The default clock: monotonic, so a change of the wall clock never adds or
// removes run time.
#pragma once

#include "core/vesktimer.h"

class TSteadyClock final : public TVeskClock {
public:
    [[nodiscard]] double Now() override;
};
