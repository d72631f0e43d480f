// What a finished run leaves: cell rows, the time text and the results file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Base-2 text with at least eight digits: 5 gives "00000101".
[[nodiscard]] std::u16string ByteToBinary(std::uint64_t value);

// Run time in days as "S.mmm сек." with the whole number of seconds: 1.05 s
// gives "1.050 сек.", 25 hours "90000.000 сек.".
[[nodiscard]] std::u16string TimeText(double days);
// The same without the unit: "1.050".
[[nodiscard]] std::u16string SecondsText(double days);

// One row of the results list.
struct TResultRow {
    std::u16string address;   // "$" + the cell's name as stored
    std::u16string binary;    // ByteToBinary
    std::u16string hex;       // two upper-case hexadecimal digits
    std::u16string character; // the one character whose code point is the byte
};

[[nodiscard]] TResultRow MakeResultRow(std::u16string_view name, std::uint8_t value);

// The rows of a finished run, in cell order: names and values as the core hands
// them out. A name without a value (or a value without a name) gives no row.
[[nodiscard]] std::vector<TResultRow> ResultRows(std::span<const std::u16string> names,
                                                 std::span<const std::uint8_t> values);

// "Адрес\tЗначение (двоичное)\tЗначение (16-е)\tСимвол"
[[nodiscard]] std::u16string ResultsHeader();

// The lines of a results file: the header, then one tab-separated line per row.
[[nodiscard]] std::vector<std::u16string> ResultsLines(const std::vector<TResultRow>& rows);

// The results file's bytes: every line ended by CR LF, Windows-1251, no mark.
[[nodiscard]] std::string EncodeResultsFile(const std::vector<TResultRow>& rows);
