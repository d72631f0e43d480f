// vesk-run: runs a Vesk project file without a window and reports what it left.
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <string_view>

#include "formats/projectfile.h"
#include "runoptions.h"
#include "runreport.h"
#include "veskrunner.h"

namespace {

enum TExitCode { ecFinished = 0, ecProgramError = 1, ecUsage = 2, ecLimit = 3 };

void Write(std::FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void Write(std::FILE* stream, const QString& text) { Write(stream, text.toUtf8()); }

[[nodiscard]] bool ReadWholeFile(const QString& path, QByteArray& bytes, QString& why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        why = file.errorString();
        return false;
    }
    return true;
}

// QSaveFile writes beside the target and renames at the end, so a failure
// never leaves a half-written or emptied results file behind.
[[nodiscard]] bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString& why)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        why = file.errorString();
        return false;
    }
    return true;
}

[[nodiscard]] int ExitCodeOf(TRunStatus status)
{
    switch (status) {
    case TRunStatus::rsFinished: return ecFinished;
    case TRunStatus::rsError: return ecProgramError;
    case TRunStatus::rsLimit: return ecLimit;
    }
    return ecProgramError;
}

void PrintPlain(const TRunOutcome& outcome, const TRunReport& report)
{
    switch (outcome.status) {
    case TRunStatus::rsFinished: Write(stdout, report.PlainResults()); break;
    case TRunStatus::rsError: Write(stderr, report.PlainError()); break;
    case TRunStatus::rsLimit: Write(stderr, report.PlainLimit()); break;
    }
}

[[nodiscard]] int RunProject(const TRunOptions& options)
{
    QByteArray bytes;
    QString why;
    if (!ReadWholeFile(options.ProjectPath(), bytes, why)) {
        Write(stderr, QStringLiteral("vesk-run: cannot read '%1': %2\n").arg(options.ProjectPath(), why));
        return ecUsage;
    }
    const auto lines = SplitEditorLines(DecodeProjectText(std::string_view(bytes.constData(), bytes.size())));

    TVeskRunner runner;
    const TRunOutcome outcome = runner.Run(lines, options.MaxSteps());
    const TRunReport report(outcome);
    if (options.Json())
        Write(stdout, report.Json());
    else
        PrintPlain(outcome, report);

    if (outcome.status == TRunStatus::rsFinished && !options.ResultsPath().isEmpty()
        && !SaveWholeFile(options.ResultsPath(), report.ResultsFile(), why)) {
        Write(stderr, QStringLiteral("vesk-run: cannot write '%1': %2\n").arg(options.ResultsPath(), why));
        return ecUsage;
    }
    return ExitCodeOf(outcome.status);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const TRunOptions options = TRunOptions::Parse(QCoreApplication::arguments().mid(1));
    if (options.Help()) {
        Write(stdout, TRunOptions::Usage());
        return ecFinished;
    }
    if (options.Version()) {
        Write(stdout, TRunOptions::VersionText());
        return ecFinished;
    }
    if (!options.Error().isEmpty()) {
        Write(stderr, QStringLiteral("vesk-run: %1\n").arg(options.Error()) + TRunOptions::Usage());
        return ecUsage;
    }
    return RunProject(options);
}
