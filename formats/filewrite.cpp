#include "formats/filewrite.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <optional>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/systemreason.h"

namespace {

// Blocks SIGPIPE on this thread while a pipe is written, so that a reader that
// went away shows as EPIPE instead of ending the program; a SIGPIPE raised
// meanwhile is taken off again before the old mask returns.
class TPipeSignalBlock {
public:
    TPipeSignalBlock()
    {
        sigemptyset(&_pipe);
        sigaddset(&_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &_pipe, &_previous);
    }
    ~TPipeSignalBlock()
    {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) == 1 && sigismember(&_previous, SIGPIPE) == 0) {
            const timespec now{0, 0};
            sigtimedwait(&_pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &_previous, nullptr);
    }
    TPipeSignalBlock(const TPipeSignalBlock&) = delete;
    TPipeSignalBlock& operator=(const TPipeSignalBlock&) = delete;

private:
    sigset_t _pipe{};
    sigset_t _previous{};
};

// /dev/stdout, /dev/fd/N and /proc/self/fd/N name an open file of this process:
// renaming something over what they lead to would not reach that file.
[[nodiscard]] bool LeadsThroughProc(const QString& path)
{
    const auto inProc = [](const QString& p) { return p.startsWith(QStringLiteral("/proc/")); };
    QFileInfo info(path);
    if (inProc(info.absoluteFilePath()) || inProc(info.canonicalPath()))
        return true;
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) {
        const QString target = info.symLinkTarget();
        if (inProc(target))
            return true;
        info.setFile(target);
    }
    return false;
}

// Every byte through the descriptor, a failure with the system's reason.
[[nodiscard]] int WriteAllBytes(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

// Overwrites a regular file through fd. The space for the new content is
// reserved before a byte changes, so that a full disk leaves the old file as it
// was; a reservation that failed half way is cut back to the old size.
[[nodiscard]] int OverwriteRegular(int fd, off_t oldSize, QByteArrayView bytes)
{
    if (!bytes.isEmpty()) {
        const int reserved = ::posix_fallocate(fd, 0, off_t(bytes.size()));
        if (reserved != 0) {
            struct stat now {};
            if (::fstat(fd, &now) == 0 && now.st_size != oldSize)
                (void)::ftruncate(fd, oldSize);
            return reserved;
        }
    }
    const int error = WriteAllBytes(fd, bytes);
    if (error != 0)
        return error;
    return ::ftruncate(fd, off_t(bytes.size())) == 0 ? 0 : errno;
}

[[nodiscard]] QString NotAFile(const QString& path)
{
    return WriteFailure(path, QCoreApplication::translate(
                                  "ProjectFile", "Это устройство или канал, а не обычный файл."));
}

// A device, a FIFO or an open file reached through /proc: opened and written as it
// is, every write and the close checked. A regular file reached this way is
// overwritten only once its new content has room, as in OverwriteRegular.
[[nodiscard]] QString WriteInPlace(const QString& path, QByteArrayView bytes, TWriteTarget target)
{
    const QByteArray name = QFile::encodeName(path);
    const int blocking = target == TWriteTarget::RegularFile ? O_NONBLOCK : 0;
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | blocking);
    if (fd < 0)
        return WriteFailure(path, SystemReason(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return WriteFailure(path, SystemReason(error));
    }
    if (S_ISREG(info.st_mode)) {
        const int error = OverwriteRegular(fd, info.st_size, bytes);
        if (::close(fd) != 0 && errno != EINTR && error == 0)
            return WriteFailure(path, SystemReason(errno));
        return error == 0 ? QString() : WriteFailure(path, SystemReason(error));
    }
    if (target == TWriteTarget::RegularFile) {
        ::close(fd);
        return NotAFile(path);
    }
    TPipeSignalBlock pipeSignal;
    // A device or a FIFO has no content to keep; truncation is for a file behind /proc.
    const int error = WriteAllBytes(fd, bytes);
    if (error != 0) {
        ::close(fd);
        return WriteFailure(path, SystemReason(error));
    }
    if (::close(fd) != 0 && errno != EINTR)
        return WriteFailure(path, SystemReason(errno));
    return {};
}

// Beside the old file, renamed over it when complete. Unbuffered, and written
// until every byte is taken: a short write (a full disk) is followed by one
// that fails with the system's reason, instead of a truncated file passing
// through to commit().
[[nodiscard]] QString Replace(const QString& path, QByteArrayView bytes,
                              std::optional<mode_t> keptMode)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteFailure(path, file.errorString());
    // Set on the new file itself: QSaveFile's own copy of the permissions does
    // not reach a file it makes unnamed and links in at the end. Written in
    // place, the file has its mode already.
    struct stat made {};
    const bool differs = keptMode && ::fstat(file.handle(), &made) == 0
                         && (made.st_mode & 07777) != (*keptMode & 07777);
    if (differs && ::fchmod(file.handle(), *keptMode & 07777) != 0) {
        const int error = errno;
        file.cancelWriting();
        return WriteFailure(path, SystemReason(error));
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return WriteFailure(path, reason);
        }
        done += n;
    }
    if (!file.commit())
        return WriteFailure(path, file.errorString());
    return {};
}

} // namespace

QString WriteFailure(const QString& path, const QString& reason)
{
    // Russian unless the IDE has put its English texts in place; the runner never does.
    return FileFailureText(
        QCoreApplication::translate("ProjectFile", "Не удается сохранить файл \"%1\". %2"), path,
        reason);
}

QString WriteWholeFile(const QString& path, QByteArrayView bytes, TWriteTarget target)
{
    if (path.isEmpty())
        return WriteFailure(path, SystemReason(ENOENT));
    const QByteArray name = QFile::encodeName(path);
    struct stat existing {};
    if (::stat(name.constData(), &existing) != 0) {
        if (errno != ENOENT)
            return WriteFailure(path, SystemReason(errno));
        return Replace(path, bytes, std::nullopt);
    }
    if (S_ISDIR(existing.st_mode))
        return WriteFailure(path, SystemReason(EISDIR));
    if (!S_ISREG(existing.st_mode) && target == TWriteTarget::RegularFile)
        return NotAFile(path);
    if (!S_ISREG(existing.st_mode) || LeadsThroughProc(path))
        return WriteInPlace(path, bytes, target);
    if (::access(name.constData(), W_OK) != 0)
        return WriteFailure(path, SystemReason(errno));
    // Written in place only when the folder takes no new file, as the old file
    // itself may still be written.
    const QByteArray folder = QFile::encodeName(QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath());
    if (::access(folder.constData(), W_OK) != 0)
        return WriteInPlace(path, bytes, target);
    return Replace(path, bytes, existing.st_mode);
}
