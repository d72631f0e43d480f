// What the IDE remembers between runs: the recent project files and the main
// window's geometry, in the user's configuration (~/.config/vesk/vesk.conf).
#pragma once

#include <QSettings>
#include <QStringList>
#include <cstddef>

class QMainWindow;

class TIdeSettings {
public:
    static constexpr int kMaxRecentFiles = 8;

    TIdeSettings();

    // Newest first, each path once, at most kMaxRecentFiles.
    [[nodiscard]] QStringList RecentFiles() const;
    // Puts the file's absolute path in front, dropping the oldest beyond the limit.
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    // Size, position and the state of the window's docks.
    void SaveWindow(const QMainWindow& window);
    void RestoreWindow(QMainWindow& window) const;

    // The memory a run's history may take, in bytes ("history/budgetMiB", 64 MiB
    // when unset, kept between 1 MiB and 4 GiB).
    [[nodiscard]] std::size_t HistoryBudget() const;

    // Forgets everything remembered.
    void Clear();

private:
    void SetRecentFiles(const QStringList& files);

    QSettings _settings;
};
