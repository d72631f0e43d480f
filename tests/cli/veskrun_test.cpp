// Drives the real vesk-run binary and checks what it prints, writes and returns.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "veskrun_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Limits for the child alone: a file size limit (with SIGXFSZ ignored, as a
// full disk behaves), an address space limit, standard output into a file.
struct TChildSetup {
    rlim_t fileSize = RLIM_INFINITY;
    rlim_t addressSpace = RLIM_INFINITY;
    QString stdoutFile;
};

TRun RunVesk(const QStringList& args, const TChildSetup& setup = {})
{
    EnsureApplication();
    QProcess process;
    if (!setup.stdoutFile.isEmpty())
        process.setStandardOutputFile(setup.stdoutFile);
    process.setChildProcessModifier([setup] {
        if (setup.fileSize != RLIM_INFINITY) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{setup.fileSize, setup.fileSize};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (setup.addressSpace != RLIM_INFINITY) {
            const rlimit limit{setup.addressSpace, setup.addressSpace};
            setrlimit(RLIMIT_AS, &limit);
        }
    });
    process.start(QStringLiteral(VESK_RUN_PATH), args);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "vesk-run did not end normally with " << args.join(u' ').toStdString();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QJsonObject JsonOf(const TRun& run)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(run.out, &error);
    EXPECT_TRUE(doc.isObject()) << error.errorString().toStdString() << ": " << run.out.toStdString();
    return doc.object();
}

class VeskRun : public testing::Test {
protected:
    QString Project(const QByteArray& bytes, const QString& name = QStringLiteral("prog.veskp"))
    {
        const QString path = _dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString PathIn(const QString& name) const { return _dir.filePath(name); }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

private:
    QTemporaryDir _dir;
};

const QRegularExpression kTimeText(QStringLiteral("^\\d+\\.\\d{3} сек\\.$"));

// The third line of a two-cell editor text holds the worked example of the error report.
const QByteArray kWorkedExample = "' first\r\n\r\n$00FF\t+01 ~0001";
const QByteArray kEndless = "$0001[+01]";

} // namespace

TEST_F(VeskRun, FinishedProgramPrintsResultsTimeAndSteps)
{
    const TRun run = RunVesk({Project("$00ff+05\r\n$0002")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n');
    ASSERT_EQ(lines.size(), 6) << run.out.toStdString(); // five lines and the empty rest after the last "\n"
    EXPECT_EQ(lines[0], QStringLiteral("Адрес\tЗначение (двоичное)\tЗначение (16-е)\tСимвол"));
    EXPECT_EQ(lines[1], QStringLiteral("$00ff\t00000101\t05\t\u0005"));
    EXPECT_EQ(lines[2], QStringLiteral("$0002\t00000000\t00") + u'\t' + QChar(u'\0'));
    ASSERT_TRUE(lines[3].startsWith(QStringLiteral("Время выполнения: "))) << lines[3].toStdString();
    EXPECT_TRUE(kTimeText.match(lines[3].mid(18)).hasMatch()) << lines[3].toStdString();
    // $00ff, +05, line advance, $0002, line advance, the end.
    EXPECT_EQ(lines[4], QStringLiteral("Выполнено операторов: 6"));
    EXPECT_TRUE(lines[5].isEmpty());
}

TEST_F(VeskRun, ErrorPrintsTheThreeLineReportWithTheMappedColumn)
{
    const QString path = Project(kWorkedExample);
    const TRun run = RunVesk({path});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.err),
              QStringLiteral("Произошла ошибка при выполнении программы\n"
                             "Строка: 3, символ: 11.\n"
                             "Сообщение: Не обнаружена ячейка для уничтожения.\n"));

    // With --json the object alone tells of the error.
    const TRun json = RunVesk({QStringLiteral("--json"), path});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_TRUE(json.err.isEmpty()) << json.err.toStdString();
    EXPECT_EQ(JsonOf(json).value(u"status").toString(), QStringLiteral("error"));
}

TEST_F(VeskRun, JsonOfAFinishedRun)
{
    const TRun run = RunVesk({QStringLiteral("--json"), Project("$00ff+FF$0001+01")});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject json = JsonOf(run);
    QStringList keys = json.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"cells", "status", "steps", "time"}));
    EXPECT_TRUE(kTimeText.match(json.value(u"time").toString()).hasMatch());
}

TEST_F(VeskRun, StepLimitStopsAnEndlessLoop)
{
    const TRun plain = RunVesk({QStringLiteral("--max-steps"), QStringLiteral("100"), Project(kEndless)});
    EXPECT_EQ(plain.exitCode, 3);
    EXPECT_TRUE(plain.out.isEmpty()) << plain.out.toStdString();
    EXPECT_EQ(plain.err.count('\n'), 1) << plain.err.toStdString();
    EXPECT_TRUE(plain.err.contains("100")) << plain.err.toStdString();
}

TEST_F(VeskRun, TraceHasOneLinePerStepWithEditorColumns)
{
    // Blanks and a comment in the text: columns are the editor's, not the prepared line's.
    const QString trace = PathIn(QStringLiteral("run.tsv"));
    const TRun run = RunVesk({QStringLiteral("--trace"), trace, Project("$00aB +05 [02:<] ' note\r\n*")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(ReadAll(trace), QByteArray("1\t1\t1\t$00aB\t00aB\t00\n"
                                         "2\t1\t7\t+05\t00aB\t05\n"
                                         "3\t1\t11\t[02:\t00aB\t05\n"
                                         "4\t1\t15\t<\t00aB\t0A\n"
                                         "5\t1\t16\t]\t00aB\t0A\n"
                                         "6\t1\t15\t<\t00aB\t14\n"
                                         "7\t1\t16\t]\t00aB\t14\n"
                                         "8\t1\t18\t\t00aB\t14\n"
                                         "9\t2\t1\t*\t00aB\t15\n"
                                         "10\t2\t2\t\t00aB\t15\n"
                                         "11\t3\t1\t\t00aB\t15\n"));
}

TEST_F(VeskRun, TraceStopsAtTheStepLimitAndAtAnError)
{
    const QString trace = PathIn(QStringLiteral("run.tsv"));
    EXPECT_EQ(RunVesk({QStringLiteral("--max-steps"), QStringLiteral("7"), QStringLiteral("--trace"), trace,
                       Project(kEndless)}).exitCode, 3);
    EXPECT_EQ(ReadAll(trace).count('\n'), 7);
    // the failing step is the last line, with no current cell
    EXPECT_EQ(RunVesk({QStringLiteral("--trace"), trace, Project("+01")}).exitCode, 1);
    EXPECT_EQ(ReadAll(trace), QByteArray("1\t1\t1\t+01\t\t\n"));
    EXPECT_EQ(RunVesk({QStringLiteral("--trace"), PathIn(QStringLiteral("none/x.tsv")), Project(kEndless)}).exitCode, 2);
}

TEST_F(VeskRun, ProgramFinishesWhenItsWholeRunFitsTheLimit)
{
    const QString path = Project("$0001+05"); // four ticks: two operators, line advance, end
    const TRun fits = RunVesk({QStringLiteral("--json"), QStringLiteral("--max-steps=4"), path});
    EXPECT_EQ(fits.exitCode, 0);
    EXPECT_EQ(JsonOf(fits).value(u"status").toString(), QStringLiteral("finished"));

    const TRun cut = RunVesk({QStringLiteral("--json"), QStringLiteral("--max-steps"), QStringLiteral("3"), path});
    EXPECT_EQ(cut.exitCode, 3);
    EXPECT_EQ(JsonOf(cut).value(u"steps").toInteger(), 3);
}

TEST_F(VeskRun, EmptyFileFinishesWithoutSteps)
{
    const TRun run = RunVesk({QStringLiteral("--max-steps"), QStringLiteral("0"), Project("")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.endsWith("Выполнено операторов: 0\n")) << run.out.toStdString();
}

TEST_F(VeskRun, ResultsFileHoldsExactBytes)
{
    const QString results = PathIn(QStringLiteral("results.txt"));
    const TRun run = RunVesk({QStringLiteral("-o"), results,
                              Project("$0000$0009+09$000a+0A$000D+0D$00FF-01")});
    EXPECT_EQ(run.exitCode, 0);
    const QByteArray header = "\xC0\xE4\xF0\xE5\xF1\t"
                              "\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5 (\xE4\xE2\xEE\xE8\xF7\xED\xEE\xE5)\t"
                              "\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5 (16-\xE5)\t"
                              "\xD1\xE8\xEC\xE2\xEE\xEB\r\n";
    const QByteArray rows = QByteArray("$0000\t00000000\t00\t\0\r\n", 21) +
                            "$0009\t00001001\t09\t\t\r\n"
                            "$000a\t00001010\t0A\t\n\r\n"
                            "$000D\t00001101\t0D\t\r\r\n"
                            "$00FF\t11111111\tFF\t?\r\n";
    EXPECT_EQ(ReadAll(results), header + rows);
}

TEST_F(VeskRun, ResultsFileIsNotTouchedUnlessTheProgramFinishes)
{
    const QString results = PathIn(QStringLiteral("results.txt"));
    {
        QFile old(results);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old results");
    }
    EXPECT_EQ(RunVesk({QStringLiteral("-o"), results, Project(kWorkedExample)}).exitCode, 1);
    EXPECT_EQ(RunVesk({QStringLiteral("-o"), results, QStringLiteral("--max-steps"), QStringLiteral("50"),
                       Project(kEndless, QStringLiteral("loop.veskp"))}).exitCode, 3);
    EXPECT_EQ(ReadAll(results), QByteArray("old results"));
}

TEST_F(VeskRun, DirectoryInTheWayOfResultsIsAFileError)
{
    const QString results = PathIn(QStringLiteral("taken"));
    ASSERT_TRUE(QDir().mkpath(results));
    const TRun run = RunVesk({QStringLiteral("-o"), results, Project("$0001+01")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(results)) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(results).isDir());
}

TEST_F(VeskRun, MissingOrUnreadableFileIsAFileError)
{
    const QString missing = PathIn(QStringLiteral("nowhere.veskp"));
    const TRun run = RunVesk({missing});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(missing)) << run.err.toStdString();
    // The system's reason follows the name (its wording depends on the locale).
    const QString err = QString::fromUtf8(run.err).trimmed();
    EXPECT_GT(err.size() - err.indexOf(missing) - missing.size(), 3) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();

    const QString folder = PathIn(QStringLiteral("folder.veskp"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const TRun dir = RunVesk({QStringLiteral("--json"), folder});
    EXPECT_EQ(dir.exitCode, 2);
    EXPECT_TRUE(dir.out.isEmpty()) << dir.out.toStdString();
    EXPECT_TRUE(QString::fromUtf8(dir.err).contains(folder)) << dir.err.toStdString();
}

TEST_F(VeskRun, FullDiskKeepsTheOldResultsFileAndFailsLoudly)
{
    // 64 cells: a results file of well over 1000 bytes.
    QByteArray program;
    for (int i = 0; i < 64; ++i)
        program += QStringLiteral("$%1+01").arg(i, 4, 16, QChar(u'0')).toLatin1();
    const QString path = Project(program);
    const QString results = PathIn(QStringLiteral("results.txt"));
    const QByteArray old(2150, 'o');
    {
        QFile file(results);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    TChildSetup fullDisk;
    fullDisk.fileSize = 1000;
    const TRun run = RunVesk({QStringLiteral("-o"), results, path}, fullDisk);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(ReadAll(results), old);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(QString::fromUtf8(run.err).startsWith(
        QStringLiteral("vesk-run: Не удается сохранить файл \"%1\". ").arg(results)))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("Unknown error")) << run.err.toStdString();

    // Standard output on a full disk: the same, in text and in JSON.
    for (const QStringList& options : {QStringList{}, QStringList{QStringLiteral("--json")}}) {
        fullDisk.stdoutFile = PathIn(QStringLiteral("out"));
        const TRun printed = RunVesk(options + QStringList{path}, fullDisk);
        EXPECT_EQ(printed.exitCode, 2) << options.join(u' ').toStdString();
        EXPECT_TRUE(printed.err.startsWith("vesk-run: cannot write to standard output: "))
            << printed.err.toStdString();
    }
}

TEST_F(VeskRun, ClosedPipeIsAFailedWriteAfterTheResultsFileIsWritten)
{
    QByteArray program;
    for (int i = 0; i < 4000; ++i)
        program += QStringLiteral("$%1").arg(i, 4, 16, QChar(u'0')).toLatin1();
    const QString results = PathIn(QStringLiteral("r.txt"));
    QProcess shell;
    shell.start(QStringLiteral("bash"),
                {QStringLiteral("-c"),
                 QStringLiteral("\"$0\" -o \"$1\" \"$2\" 2>\"$3\" | head -c 1 >\"$4\"; "
                                "echo \"${PIPESTATUS[0]}\""),
                 QStringLiteral(VESK_RUN_PATH), results, Project(program),
                 PathIn(QStringLiteral("err")), PathIn(QStringLiteral("head"))});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.readAllStandardOutput().trimmed(), QByteArray("2"));
    EXPECT_TRUE(ReadAll(PathIn(QStringLiteral("err"))).startsWith("vesk-run: cannot write to standard output: "));
    EXPECT_EQ(ReadAll(results).count("\r\n"), 4001);
}

TEST_F(VeskRun, ResultsIntoAFifoReachItsReaderAndLeaveTheFifo)
{
    const QString fifo = PathIn(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray received;
    std::thread reader([&] { received = ReadAll(fifo); });
    const TRun run = RunVesk({QStringLiteral("-o"), fifo, Project("$0001+41")});
    reader.join();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(received.endsWith("$0001\t01000001\t41\tA\r\n")) << received.toStdString();
    struct stat info {};
    ASSERT_EQ(lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(VeskRun, ResultsOverTheProgramItselfAreRefused)
{
    const QString path = Project("$0001+01");
    const QString link = PathIn(QStringLiteral("link.txt"));
    ASSERT_TRUE(QFile::link(path, link));
    for (const QString& results : {path, link}) {
        const TRun run = RunVesk({QStringLiteral("-o"), results, path});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_EQ(ReadAll(path), QByteArray("$0001+01"));
    }
}

TEST_F(VeskRun, OutOfMemoryIsAMessageAndStatusTwoNotAnAbort)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer reserves more address space than the limit allows";
#else
    const QString path = PathIn(QStringLiteral("zeros.veskp"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(64) << 20));
    }
    TChildSetup small;
    small.addressSpace = rlim_t(250) << 20;
    const TRun run = RunVesk({path}, small);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, QByteArray("vesk-run: out of memory\n"));
#endif
}

TEST_F(VeskRun, ProgramThatOutgrowsMemoryKeepsItsMessageWithStatusTwo)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer reserves more address space than the limit allows";
#else
    // Every round leaves one more address on the stack, for ever.
    TChildSetup small;
    small.addressSpace = rlim_t(250) << 20;
    const TRun run = RunVesk({Project("$0001 [ $0001 ( { $0001 : } ) ]")}, small);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("Неизвестное исключение.")) << run.err.toStdString();
#endif
}

TEST(VeskRunUsage, HelpGoesToStdoutWithStatusZero)
{
    for (const char* option : {"--help", "-h"}) {
        const TRun run = RunVesk({QString::fromLatin1(option), QStringLiteral("--max-steps"), QStringLiteral("ten")});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_TRUE(run.out.startsWith(
            "Usage: vesk-run [--json] [--max-steps N] [-o RESULTS] [--profile PROFILE] [--trace TRACE] FILE\n"))
            << run.out.toStdString();
        for (const char* listed : {"--json", "--max-steps <N>", "-o <RESULTS>", "--profile <PROFILE>",
                                   "--trace <TRACE>", "--version", "Exit status: 0"})
            EXPECT_TRUE(run.out.contains(listed)) << listed;
        EXPECT_TRUE(run.err.isEmpty());
    }
}

TEST(VeskRunUsage, VersionIsTheProjectVersion)
{
    for (const char* option : {"--version", "-v"}) {
        const TRun run = RunVesk({QString::fromLatin1(option)});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_EQ(run.out, QByteArray("vesk-run " VESK_VERSION "\n"));
        EXPECT_TRUE(run.err.isEmpty());
    }
}

TEST(VeskRunUsage, BadCommandLinesGiveUsageAndStatusTwo)
{
    const QList<QStringList> bad = {
        {},
        {QStringLiteral("--bogus"), QStringLiteral("x.veskp")},
        {QStringLiteral("--json")},
        {QStringLiteral("--max-steps"), QStringLiteral("ten"), QStringLiteral("x.veskp")},
        {QStringLiteral("--max-steps"), QStringLiteral("-1"), QStringLiteral("x.veskp")},
        {QStringLiteral("x.veskp"), QStringLiteral("--max-steps")},
        {QStringLiteral("x.veskp"), QStringLiteral("-o")},
        {QStringLiteral("a.veskp"), QStringLiteral("b.veskp")},
        {QStringLiteral("-o="), QStringLiteral("x.veskp")},
        {QStringLiteral("--json=yes"), QStringLiteral("x.veskp")},
        {QStringLiteral("x.veskp"), QStringLiteral("--trace")},
        {QStringLiteral("x.veskp"), QStringLiteral("--profile")},
    };
    for (const QStringList& args : bad) {
        const TRun run = RunVesk(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains("Usage:")) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << args.join(u' ').toStdString();
    }
}

TEST_F(VeskRun, ProfileCountsStepsPerLineAndStoresPerCell)
{
    // line 1: $, [, 3 x (+, ^, ]), advance; line 2 (a comment): advance; line 3: +, ~, advance, the end
    const QString profile = PathIn(QStringLiteral("profile.json"));
    const TRun run = RunVesk({QStringLiteral("--profile"), profile,
                              Project("$0001[03:+01^00aa]\r\n' note\r\n+01~00AA")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(ReadAll(profile)).object();
    EXPECT_EQ(json.value(u"steps").toInteger(), 17);
    const QJsonArray lines = json.value(u"lines").toArray();
    ASSERT_EQ(lines.size(), 3);
    const qint64 expected[] = {12, 1, 4};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].toObject().value(u"line").toInteger(), i + 1);
        EXPECT_EQ(lines[i].toObject().value(u"steps").toInteger(), expected[i]);
    }
    const QJsonArray cells = json.value(u"cells").toArray();
    ASSERT_EQ(cells.size(), 2);
    EXPECT_EQ(cells[0].toObject(), (QJsonObject{{"cell", "0001"}, {"writes", 4}}));
    EXPECT_EQ(cells[1].toObject(), (QJsonObject{{"cell", "00AA"}, {"writes", 3}}));

    // a run cut off by the limit still has its profile, of the steps that ran
    const TRun cut = RunVesk({QStringLiteral("--profile"), profile, QStringLiteral("--max-steps"),
                              QStringLiteral("100"), Project(kEndless)});
    EXPECT_EQ(cut.exitCode, 3);
    const QJsonObject endless = QJsonDocument::fromJson(ReadAll(profile)).object();
    EXPECT_EQ(endless.value(u"steps").toInteger(), 100);
    EXPECT_EQ(endless.value(u"lines").toArray()[0].toObject().value(u"steps").toInteger(), 100);
}
