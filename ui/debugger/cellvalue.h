// A cell's value as the user types it while changing a cell by hand.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Decimal ("31"), hexadecimal ("0x1F" or "$1F") or binary ("0b11111"), blanks
// around it allowed; none for anything else or a value above 255.
[[nodiscard]] std::optional<std::uint8_t> ParseCellValue(const QString& text);
