// The IDE's settings file as text: an INI file with the recent project files in
// [General], the main window's geometry and dock state in [window] and the run
// history's memory budget in [history], the paced run's milliseconds per
// operator in [run], written
// the way Qt's INI settings write them, so that older files still read.
//
// The file lives in the user's folder and may hold anything, so it is read
// defensively: only the keys the IDE writes, each only with the kind of value it
// can have (strings for paths, a bounded byte array for the window), and no
// other value is ever turned into an object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A larger settings file is not read at all: the IDE never writes one.
inline constexpr std::size_t kSettingsFileCap = std::size_t(1) << 20;
inline constexpr std::size_t kMaxRecentFiles = 8;
// PATH_MAX: no longer path can be opened.
inline constexpr std::size_t kMaxRecentPathUnits = 4096;
// A window's geometry takes some 70 bytes, its dock state a few hundred.
inline constexpr std::size_t kMaxWindowBytes = 4096;
// The memory a run's history may take, in MiB: unset (0) means the default.
inline constexpr std::uint32_t kMaxHistoryBudgetMiB = 4096;
// The slowest pace the IDE offers is a few operators a second.
inline constexpr std::uint32_t kMaxTickMs = 1000;

struct TSettingsValues {
    // Absolute paths, newest first, each once, none empty or longer than
    // kMaxRecentPathUnits, at most kMaxRecentFiles.
    std::vector<std::u16string> recentFiles;
    std::string geometry; // at most kMaxWindowBytes, empty when none
    std::string state;    // at most kMaxWindowBytes, empty when none
    std::uint32_t historyBudgetMiB = 0; // 1 to kMaxHistoryBudgetMiB, 0 when unset
    std::uint32_t tickMs = 0;           // 1 to kMaxTickMs, 0 when unset

    bool operator==(const TSettingsValues&) const = default;
};

// What the settings file's bytes hold that can be trusted; anything else in
// them is ignored. Never fails: unreadable text gives empty values.
[[nodiscard]] TSettingsValues ParseSettings(std::string_view bytes);

// The file's text for the values, which ParseSettings reads back unchanged as
// long as they keep the limits above.
[[nodiscard]] std::string SettingsText(const TSettingsValues& values);
