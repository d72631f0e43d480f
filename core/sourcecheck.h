// Source preparation (comments, blanks and tabs removed) and the check of the
// prepared lines: character set first, then the pairing of all brackets.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/coreerror.h"

struct TSourceFault {
    std::int32_t line = 0;   // 0-based
    std::int32_t column = 0; // 1-based in the prepared line, 0 for none
    TErrorCode code = TErrorCode::ecUnknownChar;
};

// Trims codes <= 32 at both ends, cuts the comment, drops every blank and tab.
void PrepareLine(std::u16string& line);

// The first refused character in reading order, else unpaired brackets, else nothing.
[[nodiscard]] std::optional<TSourceFault> FindSourceFault(const std::vector<std::u16string>& lines,
                                                        std::stop_token stop = {});

// What every run does to its text before the first step: prepares each line
// in place, then checks them all.
[[nodiscard]] std::optional<TSourceFault> PrepareAndCheck(std::vector<std::u16string>& lines);
