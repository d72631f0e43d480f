// Runs every NAME.veskp of a folder through vesk-run --json and compares the
// answer with NAME.json: status, steps, cells and error must match exactly.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTextStream>

namespace {

constexpr int kCaseTimeoutMs = 60000;

QTextStream& Out()
{
    static QTextStream stream(stdout);
    return stream;
}

[[nodiscard]] QString Show(const QJsonValue& value)
{
    if (value.isUndefined())
        return QStringLiteral("(missing)");
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    if (value.isString())
        return u'"' + value.toString() + u'"';
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

// Only the listed members count; anything else an answer holds is ignored.
[[nodiscard]] QJsonValue Project(const QJsonValue& value, const QStringList& members)
{
    if (!value.isObject())
        return value;
    QJsonObject kept;
    for (const QString& member : members) {
        if (value.toObject().contains(member))
            kept.insert(member, value.toObject().value(member));
    }
    return kept;
}

[[nodiscard]] QJsonValue ProjectCells(const QJsonValue& cells)
{
    if (!cells.isArray())
        return cells;
    QJsonArray kept;
    for (const QJsonValue& cell : cells.toArray())
        kept.append(Project(cell, {QStringLiteral("name"), QStringLiteral("value")}));
    return kept;
}

[[nodiscard]] int ExpectedExitCode(const QString& status)
{
    if (status == u"finished") return 0;
    if (status == u"error") return 1;
    if (status == u"limit") return 3;
    return -1;
}

class TCaseCheck {
public:
    TCaseCheck(QString runner, QString folder, QString name)
        : _runner(std::move(runner)), _folder(std::move(folder)), _name(std::move(name)) {}

    // Empty when the case passes; otherwise one reason per line.
    [[nodiscard]] QStringList Failures()
    {
        const QJsonObject expected = LoadExpected();
        if (!_failures.isEmpty())
            return _failures;
        const QJsonObject actual = RunCase();
        if (!_failures.isEmpty())
            return _failures;
        Compare(QStringLiteral("status"), expected.value(u"status"), actual.value(u"status"));
        Compare(QStringLiteral("steps"), expected.value(u"steps"), actual.value(u"steps"));
        Compare(QStringLiteral("cells"), ProjectCells(expected.value(u"cells")),
                ProjectCells(actual.value(u"cells")));
        const QStringList errorMembers{QStringLiteral("line"), QStringLiteral("column"),
                                       QStringLiteral("message")};
        Compare(QStringLiteral("error"), Project(expected.value(u"error"), errorMembers),
                Project(actual.value(u"error"), errorMembers));
        const int exitCode = ExpectedExitCode(expected.value(u"status").toString());
        if (exitCode != _exitCode)
            _failures << QStringLiteral("exit status: expected %1, got %2").arg(exitCode).arg(_exitCode);
        return _failures;
    }

private:
    [[nodiscard]] QJsonObject LoadExpected()
    {
        QFile file(_folder + u'/' + _name + QStringLiteral(".json"));
        if (!file.open(QIODevice::ReadOnly)) {
            _failures << QStringLiteral("cannot read the expected answer: ") + file.errorString();
            return {};
        }
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
        if (!doc.isObject())
            _failures << QStringLiteral("expected answer is not a JSON object: ") + error.errorString();
        return doc.object();
    }

    [[nodiscard]] QJsonObject RunCase()
    {
        QProcess process;
        process.start(_runner, {QStringLiteral("--json"), QStringLiteral("--max-steps"),
                                QStringLiteral("20000"), _folder + u'/' + _name + QStringLiteral(".veskp")});
        if (!process.waitForFinished(kCaseTimeoutMs)) {
            process.kill();
            process.waitForFinished();
            _failures << QStringLiteral("vesk-run did not finish: ") + process.errorString();
            return {};
        }
        if (process.exitStatus() != QProcess::NormalExit) {
            _failures << QStringLiteral("vesk-run crashed");
            return {};
        }
        _exitCode = process.exitCode();
        QJsonParseError error;
        const QByteArray out = process.readAllStandardOutput();
        const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
        if (!doc.isObject()) {
            _failures << QStringLiteral("output is not a JSON object (%1): %2")
                             .arg(error.errorString(), QString::fromUtf8(out.left(200)));
        }
        return doc.object();
    }

    void Compare(const QString& member, const QJsonValue& expected, const QJsonValue& actual)
    {
        if (expected != actual)
            _failures << QStringLiteral("%1: expected %2, got %3").arg(member, Show(expected), Show(actual));
    }

    QString _runner;
    QString _folder;
    QString _name;
    QStringList _failures;
    int _exitCode = -1;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: vesk_conformance VESK_RUN CASES_FOLDER\n";
        return 2;
    }
    const QString runner = args[1];
    const QString folder = args[2];
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.veskp")}, QDir::Files, QDir::Name);

    int passed = 0;
    int failed = 0;
    for (const QString& file : files) {
        const QString name = file.chopped(QStringLiteral(".veskp").size());
        TCaseCheck check(runner, folder, name);
        const QStringList failures = check.Failures();
        if (failures.isEmpty()) {
            ++passed;
            continue;
        }
        ++failed;
        Out() << "FAIL " << name << '\n';
        for (const QString& failure : failures)
            Out() << "    " << failure << '\n';
    }
    Out() << passed << " passed, " << failed << " failed\n";
    Out().flush();
    return failed == 0 && passed > 0 ? 0 : 1;
}
