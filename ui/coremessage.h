// The interpreter's error messages in the interface language: the core speaks
// Russian only, and the runner keeps its words as they are.
#pragma once

#include <QString>
#include <string_view>

// A message the core does not have comes back unchanged.
[[nodiscard]] QString CoreMessageText(std::u16string_view message);
