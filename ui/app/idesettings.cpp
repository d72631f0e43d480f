#include "ui/app/idesettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/filewrite.h"

namespace {

// The whole file, or nothing when it is not a regular file of sane size.
std::string ReadSettingsFile(const QString& path)
{
    // Non-blocking: a FIFO put there must not hold up the start.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    std::string bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
        && std::uint64_t(info.st_size) <= kSettingsFileCap) {
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR)
                continue;
            // A file that grew past the cap while read is as good as none.
            if (n < 0 || bytes.size() + std::size_t(n) > kSettingsFileCap) {
                bytes.clear();
                break;
            }
            if (n == 0)
                break;
            bytes.append(chunk, std::size_t(n));
        }
    }
    ::close(fd);
    return bytes;
}

QByteArray ToQt(const std::string& bytes) { return QByteArray(bytes.data(), qsizetype(bytes.size())); }

std::string FromQt(const QByteArray& bytes)
{
    // Beyond the limit it would not be read back: better not remembered at all.
    if (std::size_t(bytes.size()) > kMaxWindowBytes)
        return {};
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// The window whole on the available area of its screen: a size larger than
// that area shrinks to it, a window off its edges moves back in.
void KeepOnScreen(QMainWindow& window)
{
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window.geometry();
    frame.setSize(frame.size().boundedTo(area.size()).expandedTo(window.minimumSize()));
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
    if (frame != window.geometry())
        window.setGeometry(frame);
}

} // namespace

TIdeSettings::TIdeSettings() : _values(ParseSettings(ReadSettingsFile(FilePath()))) {}

QString TIdeSettings::FilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/vesk/vesk.conf");
}

QStringList TIdeSettings::RecentFiles() const
{
    // Blanks, repeats and extras were dropped as the file was read.
    QStringList files;
    for (const std::u16string& file : _values.recentFiles)
        files << QString::fromStdU16String(file);
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

void TIdeSettings::SetRecentFiles(const QStringList& files)
{
    _values.recentFiles.clear();
    for (const QString& file : files) {
        // What could not be read back is not written.
        if (file.startsWith(u'/') && std::size_t(file.size()) <= kMaxRecentPathUnits
            && !file.contains(QChar(0)))
            _values.recentFiles.push_back(file.toStdU16String());
    }
    Store();
}

void TIdeSettings::SaveWindow(const QMainWindow& window)
{
    _values.geometry = FromQt(window.saveGeometry());
    _values.state = FromQt(window.saveState());
    Store();
}

void TIdeSettings::RestoreWindow(QMainWindow& window) const
{
    // Nothing saved yet: the window keeps the size it was built with.
    if (!_values.geometry.empty()) {
        window.restoreGeometry(ToQt(_values.geometry));
        KeepOnScreen(window);
    }
    if (!_values.state.empty())
        window.restoreState(ToQt(_values.state));
}

void TIdeSettings::Clear()
{
    _values = {};
    Store();
}

void TIdeSettings::Store() const
{
    const QString path = FilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const std::string text = SettingsText(_values);
    (void)WriteWholeFile(path, QByteArrayView(text.data(), qsizetype(text.size())),
                         TWriteTarget::RegularFile);
}

std::size_t TIdeSettings::HistoryBudget() const
{
    constexpr std::size_t kDefaultBudgetMiB = 64;
    const std::size_t mib = _values.historyBudgetMiB != 0 ? _values.historyBudgetMiB : kDefaultBudgetMiB;
    return mib * 1024 * 1024;
}

int TIdeSettings::TickMs() const { return _values.tickMs != 0 ? int(_values.tickMs) : 1; }

void TIdeSettings::SetTickMs(int ms)
{
    // The default pace is left unwritten, as a file from before the choice.
    _values.tickMs = ms > 1 && ms <= int(kMaxTickMs) ? std::uint32_t(ms) : 0;
    Store();
}
