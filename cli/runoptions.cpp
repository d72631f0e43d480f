#include "runoptions.h"

#include <QCommandLineParser>

namespace {

const QString kSynopsis = QStringLiteral("Usage: vesk-run [--json] [--max-steps N] [-o RESULTS] [--profile PROFILE] [--trace TRACE] FILE");

[[nodiscard]] std::optional<std::uint64_t> ParseCount(const QString& text)
{
    // Digits only: toULongLong alone would accept signs and blanks.
    if (text.isEmpty() || text.size() > 20)
        return std::nullopt;
    for (QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    return static_cast<std::uint64_t>(value);
}

} // namespace

void TRunOptions::Describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Runs the Vesk project FILE to its end and prints the cells, the time and the step count."));
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print one JSON object instead of text.")});
    parser.addOption({QStringLiteral("max-steps"),
                      QStringLiteral("Stop once N steps have run (exit status 3)."), QStringLiteral("N")});
    parser.addOption({QStringLiteral("o"),
                      QStringLiteral("Also save the results file when the program finishes."),
                      QStringLiteral("RESULTS")});
    parser.addOption({QStringLiteral("profile"),
                      QStringLiteral("Also write the run's execution profile as JSON: steps per line, "
                                     "stores per cell, total steps."),
                      QStringLiteral("PROFILE")});
    parser.addOption({QStringLiteral("trace"),
                      QStringLiteral("Write one tab-separated line per step: step, line, column, operator, "
                                     "current cell and its value after the step."),
                      QStringLiteral("TRACE")});
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")},
                      QStringLiteral("Show the version and exit.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The project file (.veskp) to run."));
}

QString TRunOptions::Usage()
{
    QCommandLineParser parser;
    Describe(parser);
    // The parser's own first line names the binary by the path it was started with.
    QString text = parser.helpText();
    text.replace(0, text.indexOf(u'\n'), kSynopsis);
    return text + QStringLiteral(
                      "\nExit status: 0 finished, 1 error in the program, 2 bad usage or file, 3 step limit.\n");
}

QString TRunOptions::VersionText() { return QStringLiteral("vesk-run " VESK_VERSION "\n"); }

TRunOptions TRunOptions::Parse(const QStringList& arguments)
{
    TRunOptions options;
    QCommandLineParser parser;
    Describe(parser);
    // The parser expects the program's name in front.
    if (!parser.parse(QStringList(QStringLiteral("vesk-run")) + arguments)) {
        options.Fail(parser.errorText());
        return options;
    }
    options._help = parser.isSet(QStringLiteral("help"));
    options._version = parser.isSet(QStringLiteral("version"));
    if (options._help || options._version)
        return options;

    options._json = parser.isSet(QStringLiteral("json"));
    if (parser.isSet(QStringLiteral("max-steps"))) {
        const QString value = parser.value(QStringLiteral("max-steps"));
        options._maxSteps = ParseCount(value);
        if (!options._maxSteps)
            options.Fail(QStringLiteral("--max-steps needs a whole number of steps, not '%1'").arg(value));
    }
    if (parser.isSet(QStringLiteral("o"))) {
        options._resultsPath = parser.value(QStringLiteral("o"));
        if (options._resultsPath.isEmpty())
            options.Fail(QStringLiteral("-o needs a file name"));
    }
    if (parser.isSet(QStringLiteral("profile"))) {
        options._profilePath = parser.value(QStringLiteral("profile"));
        if (options._profilePath.isEmpty())
            options.Fail(QStringLiteral("--profile needs a file name"));
    }
    if (parser.isSet(QStringLiteral("trace"))) {
        options._tracePath = parser.value(QStringLiteral("trace"));
        if (options._tracePath.isEmpty())
            options.Fail(QStringLiteral("--trace needs a file name"));
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        options.Fail(QStringLiteral("more than one FILE given: %1").arg(files.at(1)));
    else if (files.isEmpty())
        options.Fail(QStringLiteral("no FILE given"));
    else
        options._projectPath = files.first();
    return options;
}

void TRunOptions::Fail(const QString& why)
{
    if (_error.isEmpty())
        _error = why;
}
