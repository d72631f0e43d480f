// vesk-run: runs a Vesk project file without a window and reports what it left.
#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <exception>
#include <new>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "formats/filewrite.h"
#include "formats/projectfile.h"
#include "formats/projectread.h"
#include "formats/systemreason.h"
#include "profilejson.h"
#include "runoptions.h"
#include "runreport.h"
#include "tracewriter.h"
#include "veskrunner.h"

namespace {

enum TExitCode { ecFinished = 0, ecProgramError = 1, ecUsage = 2, ecLimit = 3 };

// Standard output or error, written whole; false with errno when bytes were lost
// (a full disk, a closed pipe).
[[nodiscard]] bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// What could not be said on standard error cannot be said at all: the exit
// status alone tells then.
void Complain(const QString& text)
{
    (void)WriteAll(STDERR_FILENO, (QStringLiteral("vesk-run: ") + text + u'\n').toUtf8());
}

[[nodiscard]] int Print(int fd, const QString& text)
{
    if (WriteAll(fd, text.toUtf8()))
        return ecFinished;
    const int error = errno;
    if (fd == STDOUT_FILENO)
        Complain(QStringLiteral("cannot write to standard output: ") + SystemReason(error));
    return ecUsage;
}

[[nodiscard]] int ExitCodeOf(const TRunOutcome& outcome)
{
    switch (outcome.status) {
    case TRunStatus::rsFinished: return ecFinished;
    // No memory left is the machine's failure, whatever message the core gave it.
    case TRunStatus::rsError: return outcome.outOfMemory ? ecUsage : ecProgramError;
    case TRunStatus::rsLimit: return ecLimit;
    }
    return ecProgramError;
}

[[nodiscard]] int PrintPlain(const TRunOutcome& outcome, const TRunReport& report)
{
    switch (outcome.status) {
    case TRunStatus::rsFinished: return Print(STDOUT_FILENO, report.PlainResults());
    case TRunStatus::rsError: return Print(STDERR_FILENO, report.PlainError());
    case TRunStatus::rsLimit: return Print(STDERR_FILENO, report.PlainLimit());
    }
    return ecUsage;
}

// True when both paths name one existing file.
[[nodiscard]] bool SameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
           && ::stat(QFile::encodeName(b).constData(), &second) == 0
           && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

[[nodiscard]] int RunProject(const TRunOptions& options)
{
    const QString& results = options.ResultsPath();
    if (!results.isEmpty() && SameFile(results, options.ProjectPath())) {
        Complain(QStringLiteral("-o '%1' names FILE itself; the program is not overwritten")
                     .arg(results));
        return ecUsage;
    }
    const QString& profile = options.ProfilePath();
    if (!profile.isEmpty() && SameFile(profile, options.ProjectPath())) {
        Complain(QStringLiteral("--profile '%1' names FILE itself; the program is not overwritten")
                     .arg(profile));
        return ecUsage;
    }
    TProjectRead read = ReadProjectFile(options.ProjectPath());
    if (!read.error.isEmpty()) {
        Complain(read.error);
        return ecUsage;
    }
    const std::vector<std::u16string> lines = SplitEditorLines(read.text);
    // The lines are the program from here on: the whole text is not kept beside them.
    std::u16string().swap(read.text);

    const QString& tracePath = options.TracePath();
    if (!tracePath.isEmpty() && SameFile(tracePath, options.ProjectPath())) {
        Complain(QStringLiteral("--trace '%1' names FILE itself; the program is not overwritten").arg(tracePath));
        return ecUsage;
    }
    std::optional<TTraceWriter> trace;
    TTraceSink sink;
    if (!tracePath.isEmpty()) {
        trace.emplace(tracePath);
        if (!trace->Error().isEmpty()) {
            Complain(trace->Error());
            return ecUsage;
        }
        sink = [&trace](const TTraceStep& step) { return trace->Write(step); };
    }

    TVeskRunner runner;
    runner.SetProfiling(!options.ProfilePath().isEmpty());
    const TRunOutcome outcome = runner.Run(lines, options.MaxSteps(), sink);
    // A trace with steps missing is a failed write, whatever the run did.
    if (trace && !trace->Close()) {
        Complain(trace->Error());
        return ecUsage;
    }
    const TRunReport report(outcome);
    // The profile tells of whatever ran, also a run that failed or was cut off.
    if (outcome.lineSteps) {
        const QString failure = WriteWholeFile(profile, ProfileJson(outcome));
        if (!failure.isEmpty()) {
            Complain(failure);
            return ecUsage;
        }
    }
    // The file first: whatever happens to the output later, it is there.
    if (outcome.status == TRunStatus::rsFinished && !results.isEmpty()) {
        const QString failure = WriteWholeFile(results, report.ResultsFile());
        if (!failure.isEmpty()) {
            Complain(failure);
            return ecUsage;
        }
    }
    const int printed = options.Json() ? Print(STDOUT_FILENO, QString::fromUtf8(report.Json()))
                                       : PrintPlain(outcome, report);
    return printed != ecFinished ? printed : ExitCodeOf(outcome);
}

[[nodiscard]] int Main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const TRunOptions options = TRunOptions::Parse(QCoreApplication::arguments().mid(1));
    if (options.Help())
        return Print(STDOUT_FILENO, TRunOptions::Usage());
    if (options.Version())
        return Print(STDOUT_FILENO, TRunOptions::VersionText());
    if (!options.Error().isEmpty()) {
        // A usage error exits with its own status, whether or not the text got out.
        (void)Print(STDERR_FILENO, QStringLiteral("vesk-run: %1\n").arg(options.Error()) + TRunOptions::Usage());
        return ecUsage;
    }
    return RunProject(options);
}

} // namespace

int main(int argc, char* argv[])
{
    // A closed pipe is a failed write, answered by a message and status 2.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return Main(argc, argv);
    } catch (const std::bad_alloc&) {
        // Said without allocating anything more.
        static constexpr char kOutOfMemory[] = "vesk-run: out of memory\n";
        (void)!::write(STDERR_FILENO, kOutOfMemory, sizeof kOutOfMemory - 1);
    } catch (const std::exception& error) {
        Complain(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        Complain(QStringLiteral("unexpected failure"));
    }
    return ecUsage;
}
