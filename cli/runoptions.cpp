#include "runoptions.h"

namespace {

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

QString TRunOptions::Usage()
{
    return QStringLiteral(
        "Usage: vesk-run [--json] [--max-steps N] [-o RESULTS] FILE\n"
        "Runs the Vesk project FILE to its end and prints the cells, the time and the step count.\n"
        "  --json           print one JSON object instead of text\n"
        "  --max-steps N    stop once N steps have run (exit status 3)\n"
        "  -o RESULTS       also save the results file when the program finishes\n"
        "  --help           show this text\n"
        "Exit status: 0 finished, 1 error in the program, 2 bad usage or file, 3 step limit.\n");
}

TRunOptions TRunOptions::Parse(const QStringList& arguments)
{
    TRunOptions options;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size() && options._error.isEmpty(); ++i) {
        const QString& arg = arguments[i];
        QString value;
        if (onlyFiles || arg == u"-" || !arg.startsWith(u'-')) {
            if (!options._projectPath.isEmpty())
                options.Fail(QStringLiteral("more than one FILE given: %1").arg(arg));
            else
                options._projectPath = arg;
        } else if (arg == u"--") {
            onlyFiles = true;
        } else if (arg == u"--help" || arg == u"-h") {
            options._help = true;
        } else if (arg == u"--json") {
            options._json = true;
        } else if (options.TakeValue(arguments, i, QStringLiteral("--max-steps"), value)) {
            options._maxSteps = ParseCount(value);
            if (!options._maxSteps)
                options.Fail(QStringLiteral("--max-steps needs a whole number of steps, not '%1'").arg(value));
        } else if (options.TakeValue(arguments, i, QStringLiteral("-o"), value)) {
            if (value.isEmpty())
                options.Fail(QStringLiteral("-o needs a file name"));
            options._resultsPath = value;
        } else if (options._error.isEmpty()) {
            options.Fail(QStringLiteral("unknown option: %1").arg(arg));
        }
    }
    if (options._error.isEmpty() && !options._help && options._projectPath.isEmpty())
        options.Fail(QStringLiteral("no FILE given"));
    return options;
}

void TRunOptions::Fail(const QString& why)
{
    if (_error.isEmpty())
        _error = why;
}

// Accepts "OPTION VALUE" and "OPTION=VALUE"; a missing value is an error.
bool TRunOptions::TakeValue(const QStringList& arguments, qsizetype& i, const QString& option,
                            QString& value)
{
    const QString& arg = arguments[i];
    if (arg.startsWith(option + u'=')) {
        value = arg.mid(option.size() + 1);
        return true;
    }
    if (arg != option)
        return false;
    if (i + 1 >= arguments.size()) {
        Fail(QStringLiteral("%1 needs a value").arg(option));
        return true;
    }
    value = arguments[++i];
    return true;
}
