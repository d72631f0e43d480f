// The faults a program's text holds whatever its data: operators that fail
// every time a run reaches them, found without running it, each with the
// message and position that run would report. A fault that depends on the
// cells (a memory access with no current cell, a missing named cell) is left
// to the run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/coreerror.h"

struct TStaticFault {
    std::int32_t line = 0;   // 0-based
    std::int32_t start = 0;  // 1-based column of the failing operator in the prepared line
    std::int32_t column = 0; // 1-based column the run reports, start or start + 1
    TCoreError error;
};

// Every such fault of the prepared lines, in reading order. Condition and
// separator faults need the blocks to pair up; with unpaired brackets (which
// stop a run before it starts) only the faults of single operators are found.
[[nodiscard]] std::vector<TStaticFault> FindStaticFaults(const std::vector<std::u16string>& prepared);
