// What the IDE remembers between runs: the recent project files and the main
// window's geometry, in the user's configuration (~/.config/vesk/vesk.conf).
#pragma once

#include <QStringList>
#include <cstddef>

#include "formats/settingsfile.h"

class QMainWindow;

class TIdeSettings {
public:
    static constexpr int kMaxRecentFiles = int(::kMaxRecentFiles);

    // Reads the file as it is now. Only a regular file of at most
    // kSettingsFileCap bytes is read, without waiting (a FIFO there is passed
    // over); anything it holds beyond what each key can be is ignored.
    TIdeSettings();

    [[nodiscard]] static QString FilePath();

    // Newest first, each path once, at most kMaxRecentFiles.
    [[nodiscard]] QStringList RecentFiles() const;
    // Puts the file's absolute path in front, dropping the oldest beyond the limit.
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    // Size, position and the state of the window's docks.
    void SaveWindow(const QMainWindow& window);
    // Kept within the screen's available area, whatever size the file gives.
    void RestoreWindow(QMainWindow& window) const;

    // The memory a run's history may take, in bytes ("history/budgetMiB", 64 MiB
    // when unset, kept between 1 MiB and 4 GiB).
    [[nodiscard]] std::size_t HistoryBudget() const;

    // The paced run's milliseconds per operator ("run/tickMs", 1 when unset).
    [[nodiscard]] int TickMs() const;
    void SetTickMs(int ms);

    // Forgets everything remembered.
    void Clear();

private:
    void SetRecentFiles(const QStringList& files);
    // Each change is written at once; a file that is not a regular one is left
    // alone, and a failed write only loses what was to be remembered.
    void Store() const;

    TSettingsValues _values;
};
