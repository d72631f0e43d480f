#include "idesettings.h"

#include <QFileInfo>
#include <QMainWindow>
#include <algorithm>

namespace {

const QString kRecentFiles = QStringLiteral("recentFiles");
const QString kGeometry = QStringLiteral("window/geometry");
const QString kState = QStringLiteral("window/state");
const QString kHistoryBudget = QStringLiteral("history/budgetMiB");
constexpr qlonglong kDefaultBudgetMiB = 64;
constexpr qlonglong kMaxBudgetMiB = 4096;

} // namespace

TIdeSettings::TIdeSettings()
    : _settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("vesk"),
                QStringLiteral("vesk"))
{
}

QStringList TIdeSettings::RecentFiles() const
{
    // The file may have been edited by hand: blanks, repeats and extras are dropped.
    QStringList files;
    for (const QString& file : _settings.value(kRecentFiles).toStringList()) {
        if (!file.isEmpty() && !files.contains(file) && files.size() < kMaxRecentFiles)
            files << file;
    }
    return files;
}

void TIdeSettings::AddRecentFile(const QString& path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(file);
    files.prepend(file);
    SetRecentFiles(files.mid(0, kMaxRecentFiles));
}

void TIdeSettings::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    files.removeAll(path);
    SetRecentFiles(files);
}

void TIdeSettings::SetRecentFiles(const QStringList& files) { _settings.setValue(kRecentFiles, files); }

void TIdeSettings::SaveWindow(const QMainWindow& window)
{
    _settings.setValue(kGeometry, window.saveGeometry());
    _settings.setValue(kState, window.saveState());
}

void TIdeSettings::RestoreWindow(QMainWindow& window) const
{
    // Nothing saved yet: the window keeps the size it was built with.
    window.restoreGeometry(_settings.value(kGeometry).toByteArray());
    window.restoreState(_settings.value(kState).toByteArray());
}

void TIdeSettings::Clear() { _settings.clear(); }

std::size_t TIdeSettings::HistoryBudget() const
{
    bool ok = false;
    qlonglong mib = _settings.value(kHistoryBudget, kDefaultBudgetMiB).toLongLong(&ok);
    if (!ok)
        mib = kDefaultBudgetMiB;
    return static_cast<std::size_t>(std::clamp<qlonglong>(mib, 1, kMaxBudgetMiB)) * 1024 * 1024;
}
