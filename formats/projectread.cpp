#include "formats/projectread.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/projectfile.h"
#include "formats/systemreason.h"

namespace {

[[nodiscard]] QString ReadFailure(const QString& path, const QString& reason)
{
    // Russian unless the IDE has put its English texts in place; the runner never does.
    return FileFailureText(
        QCoreApplication::translate("ProjectFile", "Не удается открыть файл \"%1\". %2"), path,
        reason);
}

// Closes the descriptor on every way out.
class TDescriptor {
public:
    explicit TDescriptor(int fd) : _fd(fd) {}
    ~TDescriptor()
    {
        if (_fd >= 0)
            ::close(_fd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    [[nodiscard]] int Get() const { return _fd; }

private:
    int _fd;
};

[[nodiscard]] QString KindReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return QCoreApplication::translate("ProjectFile", "Это папка, а не файл проекта.");
    return QCoreApplication::translate("ProjectFile",
                                       "Это устройство или канал, а не файл проекта.");
}

} // namespace

TProjectRead ReadProjectFile(const QString& path)
{
    TProjectRead read;
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const TDescriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        read.error = ReadFailure(path, SystemReason(errno));
        return read;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        read.error = ReadFailure(path, SystemReason(errno));
        return read;
    }
    if (!S_ISREG(info.st_mode)) {
        read.error = ReadFailure(path, KindReason(info.st_mode));
        return read;
    }
    const QString tooLarge =
        QCoreApplication::translate("ProjectFile", "Файл больше %1 МиБ: это не файл проекта.")
            .arg(kProjectFileCap >> 20);
    if (info.st_size > kProjectFileCap) {
        read.error = ReadFailure(path, tooLarge);
        return read;
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            read.error = ReadFailure(path, SystemReason(errno));
            return read;
        }
        if (n == 0)
            break;
        // The file may grow while it is read.
        if (bytes.size() + n > kProjectFileCap) {
            read.error = ReadFailure(path, tooLarge);
            return read;
        }
        bytes.append(chunk, n);
    }
    read.text = DecodeProjectText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return read;
}
