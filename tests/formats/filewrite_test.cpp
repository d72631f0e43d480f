// The one write path, on real files: what survives a failure, what stays a link,
// a FIFO or a device, and what the message says.
#include "formats/filewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "formats/systemreason.h"

namespace {

} // namespace

// Failures show the message as text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_mode;
}

struct TChildLimits {
    rlim_t fileSize = RLIM_INFINITY; // RLIMIT_FSIZE, with SIGXFSZ ignored
    bool unprivileged = false;       // as "nobody" when run as root
};

// Runs the write in a child process under the given limits and hands back what
// the write returned. The limits never touch the test process itself.
QString WriteInChild(const QString& path, const QByteArray& bytes, TChildLimits limits)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (limits.fileSize != RLIM_INFINITY) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{limits.fileSize, limits.fileSize};
            if (::setrlimit(RLIMIT_FSIZE, &small) != 0)
                ::_exit(3);
        }
        if (limits.unprivileged && ::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
                ::_exit(4);
        }
        const QByteArray answer = WriteWholeFile(path, bytes).toUtf8();
        const bool sent = ::write(channel[1], answer.constData(), std::size_t(answer.size()))
                          == answer.size();
        ::_exit(sent ? 0 : 5);
    }
    ::close(channel[1]);
    QByteArray answer;
    char chunk[4096];
    for (ssize_t n; (n = ::read(channel[0], chunk, sizeof chunk)) > 0;)
        answer.append(chunk, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<child failed: %1>").arg(status);
    return QString::fromUtf8(answer);
}

class FileWrite : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(_dir.isValid());
        // An unprivileged child must reach the files.
        ASSERT_EQ(::chmod(QFile::encodeName(_dir.path()).constData(), 0755), 0);
    }
    QString Path(const QString& name) const { return _dir.filePath(name); }
    QStringList Entries(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System);
    }

private:
    QTemporaryDir _dir;
};

} // namespace

TEST_F(FileWrite, FullDiskKeepsTheOldFileByteForByteAndSaysWhy)
{
    const QString path = Path(QStringLiteral("results.txt"));
    const QByteArray old(2150, 'o');
    WriteAll(path, old);
    const QString message = WriteInChild(path, QByteArray(3000, 'n'), {1000, false});
    EXPECT_EQ(message, QStringLiteral("Не удается сохранить файл \"%1\". %2.")
                           .arg(path, SystemReason(EFBIG)));
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(Entries(Path(QString())), QStringList{QStringLiteral("results.txt")});

    // Under the limit the same write goes through.
    EXPECT_EQ(WriteInChild(path, QByteArray(900, 'n'), {1000, false}), QString());
    EXPECT_EQ(ReadAll(path), QByteArray(900, 'n'));
}

TEST_F(FileWrite, ReplacedFileKeepsItsPermissionsAndLinksStayLinks)
{
    const QString target = Path(QStringLiteral("target.txt"));
    const QString link = Path(QStringLiteral("link.txt"));
    WriteAll(target, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0604), 0);
    ASSERT_TRUE(QFile::link(target, link));

    EXPECT_EQ(WriteWholeFile(link, "new"), QString());
    EXPECT_TRUE(S_ISLNK(ModeOf(link)));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(ReadAll(target), QByteArray("new"));
    EXPECT_EQ(ModeOf(target) & 07777, 0604U);
}

TEST_F(FileWrite, ReadOnlyFileIsRefusedOrKeepsItsMode)
{
    const QString path = Path(QStringLiteral("locked.txt"));
    WriteAll(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);

    EXPECT_EQ(WriteInChild(path, "new", {RLIM_INFINITY, true}),
              QStringLiteral("Не удается сохранить файл \"%1\". %2.").arg(path, SystemReason(EACCES)));
    EXPECT_EQ(ReadAll(path), QByteArray("old"));

    // Whoever may write it anyway (root) leaves it read-only.
    if (::access(QFile::encodeName(path).constData(), W_OK) == 0) {
        EXPECT_EQ(WriteWholeFile(path, "new"), QString());
        EXPECT_EQ(ReadAll(path), QByteArray("new"));
    }
    EXPECT_EQ(ModeOf(path) & 07777, 0444U);
}

TEST_F(FileWrite, WritableFileInAClosedFolderIsWrittenInPlace)
{
    const QString folder = Path(QStringLiteral("closed"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/kept.txt");
    WriteAll(path, "old contents");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);

    EXPECT_EQ(WriteInChild(path, "new", {RLIM_INFINITY, true}), QString());
    EXPECT_EQ(ReadAll(path), QByteArray("new"));
    // A new file there still cannot be made.
    const QString fresh = folder + QStringLiteral("/fresh.txt");
    EXPECT_TRUE(WriteInChild(fresh, "new", {RLIM_INFINITY, true}).contains(fresh));
    EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("kept.txt")});

    // Without room for the new content the old one stays, byte for byte.
    const QByteArray old(500, 'o');
    EXPECT_EQ(WriteInChild(path, old, {RLIM_INFINITY, true}), QString());
    EXPECT_EQ(WriteInChild(path, QByteArray(3000, 'n'), {1000, true}),
              QStringLiteral("Не удается сохранить файл \"%1\". %2.").arg(path, SystemReason(EFBIG)));
    EXPECT_EQ(ReadAll(path), old);
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

TEST_F(FileWrite, FifoIsWrittenInPlaceAndStaysAFifo)
{
    const QString path = Path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QByteArray received;
    std::thread reader([&] { received = ReadAll(path); });
    const QByteArray bytes(200000, 'r'); // more than a pipe holds at once
    EXPECT_EQ(WriteWholeFile(path, bytes), QString());
    reader.join();
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(S_ISFIFO(ModeOf(path)));
    EXPECT_EQ(Entries(Path(QString())), QStringList{QStringLiteral("fifo")});
}

TEST_F(FileWrite, RegularFileTargetRefusesAFifoOrADeviceAtOnce)
{
    // Nobody reads this FIFO: a blocking open would never return.
    const QString fifo = Path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString notAFile = QStringLiteral(
        "Не удается сохранить файл \"%1\". Это устройство или канал, а не обычный файл.");
    EXPECT_EQ(WriteWholeFile(fifo, "text", TWriteTarget::RegularFile), notAFile.arg(fifo));
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
    EXPECT_EQ(WriteWholeFile(QStringLiteral("/dev/null"), "text", TWriteTarget::RegularFile),
              notAFile.arg(QStringLiteral("/dev/null")));

    // A regular file, new or old, is written as ever.
    const QString file = Path(QStringLiteral("file.txt"));
    EXPECT_EQ(WriteWholeFile(file, "one", TWriteTarget::RegularFile), QString());
    EXPECT_EQ(WriteWholeFile(file, "two", TWriteTarget::RegularFile), QString());
    EXPECT_EQ(ReadAll(file), QByteArray("two"));
}

TEST_F(FileWrite, FifoWhoseReaderLeftIsAFailedWriteNotADeadProcess)
{
    const QString path = Path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    std::thread reader([&] { ::close(::open(QFile::encodeName(path).constData(), O_RDONLY)); });
    const QString message = WriteWholeFile(path, QByteArray(1 << 20, 'r'));
    reader.join();
    EXPECT_EQ(message, QStringLiteral("Не удается сохранить файл \"%1\". %2.").arg(path, SystemReason(EPIPE)));
    EXPECT_TRUE(S_ISFIFO(ModeOf(path)));
}

TEST_F(FileWrite, OpenFileNamedThroughProcIsWrittenNotReplaced)
{
    // As /dev/stdout does when standard output is a file.
    const QString path = Path(QStringLiteral("out.txt"));
    WriteAll(path, "old contents");
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    struct stat before {};
    ASSERT_EQ(::fstat(fd, &before), 0);
    EXPECT_EQ(WriteWholeFile(QStringLiteral("/proc/self/fd/%1").arg(fd), "new"), QString());
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    ::close(fd);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(ReadAll(path), QByteArray("new"));
}
